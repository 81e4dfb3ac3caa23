#include "screens/TaxpayerScreen.h"

#include "checks/CheckRun.h"
#include "core/Date.h"
#include "model/Declaration.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/DateEdit.h"
#include "screens/kit/DocNumberEdit.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/CitizenshipPicker.h"
#include "screens/pickers/DocumentTypePicker.h"
#include "screens/rules/PersonRules.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>

namespace kv {

namespace {

const QDate kEarliestDate(1900, 1, 1);
const QDate kNewDocumentDate(1990, 1, 1);
constexpr int kBirthDateElement = 20; // a birth date that is not a date yet

} // namespace

TaxpayerScreen::TaxpayerScreen(QWidget* panel, ScreenHost& host) : ScreenFrame(panel, host) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    load();

    for (FieldEdit* edit :
         {edSurname_, edName_, edPatronymic_, edInn_, edBirthPlace_, edDocIssuer_, edPhone_})
        connect(edit, &FieldEdit::changed, this, [this] { DocumentChanged(); });
    connect(edDocNumber_, &QLineEdit::textChanged, this, [this] { DocumentChanged(); });
    connect(deBirthDate_, &DateEdit::dateChanged, this, [this] { DocumentChanged(); });
    connect(deDocDate_, &DateEdit::dateChanged, this, [this] { DocumentChanged(); });
    connect(rbCitizen_, &QRadioButton::toggled, this, [this] { DocumentChanged(); });
    connect(bnDocType_, &QToolButton::clicked, this, &TaxpayerScreen::chooseDocumentKind);
    connect(bnCountry_, &QToolButton::clicked, this, &TaxpayerScreen::chooseCountry);
}

void TaxpayerScreen::buildWidgets() {
    const QDate today = toQDate(host().clock().today());

    auto* nameBox = named(new QGroupBox(QStringLiteral("Ф.И.О."), this), "gbName");
    edSurname_ = field(nameBox, "edSurname", FieldKind::edtNone, 60);
    edName_ = field(nameBox, "edName", FieldKind::edtNone, 60);
    edPatronymic_ = field(nameBox, "edPatronymic", FieldKind::edtNone, 60);
    auto* nameLayout = new QGridLayout(nameBox);
    nameLayout->addWidget(new QLabel(QStringLiteral("Фамилия"), nameBox), 0, 0);
    nameLayout->addWidget(edSurname_, 0, 1);
    nameLayout->addWidget(new QLabel(QStringLiteral("Имя"), nameBox), 1, 0);
    nameLayout->addWidget(edName_, 1, 1);
    nameLayout->addWidget(new QLabel(QStringLiteral("Отчество"), nameBox), 2, 0);
    nameLayout->addWidget(edPatronymic_, 2, 1);
    nameLayout->setColumnMinimumWidth(0, 130);

    edInn_ = field(this, "edInn", FieldKind::edtDigital, 12);
    edInn_->setMaximumWidth(140);
    lblBirthDate_ = new QLabel(QStringLiteral("Дата рождения"), this);
    deBirthDate_ = makeDateEdit(this, "deBirthDate", kEarliestDate, today);
    lblBirthPlace_ = new QLabel(QStringLiteral("Место рождения"), this);
    edBirthPlace_ = field(this, "edBirthPlace", FieldKind::edtNone, 128);
    // Telephones are written with "+", "-" and brackets as often as without.
    edPhone_ = field(this, "edPhone", FieldKind::edtPhone, 20);
    edPhone_->setMaximumWidth(180);

    auto* personLayout = new QGridLayout;
    personLayout->addWidget(new QLabel(QStringLiteral("ИНН"), this), 0, 0);
    auto* innRow = new QHBoxLayout;
    innRow->addWidget(edInn_);
    innRow->addSpacing(30);
    innRow->addWidget(lblBirthDate_);
    innRow->addWidget(deBirthDate_);
    innRow->addStretch(1);
    personLayout->addLayout(innRow, 0, 1);
    personLayout->addWidget(lblBirthPlace_, 1, 0);
    personLayout->addWidget(edBirthPlace_, 1, 1);
    personLayout->setColumnMinimumWidth(0, 139);

    gbDocument_ = named(new QGroupBox(QStringLiteral("Сведения о документе, удостоверяющем личность"), this),
                        "gbDocument");
    edDocName_ = named(new QLineEdit(gbDocument_), "edDocName");
    edDocName_->setReadOnly(true);
    bnDocType_ = pickButton(gbDocument_, "bnDocType", QStringLiteral("Выбрать вид документа из справочника"));
    edDocNumber_ = named(new DocNumberEdit(gbDocument_), "edDocNumber");
    edDocNumber_->setMaximumWidth(200);
    deDocDate_ = makeDateEdit(gbDocument_, "deDocDate", kEarliestDate, today);
    edDocIssuer_ = field(gbDocument_, "edDocIssuer", FieldKind::edtNone, 255);
    auto* documentLayout = new QGridLayout(gbDocument_);
    documentLayout->addWidget(new QLabel(QStringLiteral("Вид документа"), gbDocument_), 0, 0);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(edDocName_, 1);
    kindRow->addWidget(bnDocType_);
    documentLayout->addLayout(kindRow, 0, 1);
    documentLayout->addWidget(new QLabel(QStringLiteral("Серия и номер"), gbDocument_), 1, 0);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(edDocNumber_);
    numberRow->addSpacing(30);
    numberRow->addWidget(new QLabel(QStringLiteral("Дата выдачи"), gbDocument_));
    numberRow->addWidget(deDocDate_);
    numberRow->addStretch(1);
    documentLayout->addLayout(numberRow, 1, 1);
    documentLayout->addWidget(new QLabel(QStringLiteral("Кем выдан"), gbDocument_), 2, 0);
    documentLayout->addWidget(edDocIssuer_, 2, 1);
    documentLayout->setColumnMinimumWidth(0, 130);

    gbCitizenship_ = named(new QGroupBox(QStringLiteral("Данные о гражданстве"), this), "gbCitizenship");
    edCountryCode_ = named(new QLineEdit(gbCitizenship_), "edCountryCode");
    edCountryCode_->setReadOnly(true);
    edCountryCode_->setMaximumWidth(50);
    lblCountryName_ = named(new QLabel(gbCitizenship_), "lblCountryName");
    bnCountry_ = pickButton(gbCitizenship_, "bnCountry", QStringLiteral("Выбрать страну из справочника"));
    // Kept from the record and written back; the screen does not offer the choice.
    rbCitizen_ = named(new QRadioButton(QStringLiteral("Гражданин"), gbCitizenship_), "rbCitizen");
    rbStateless_ =
        named(new QRadioButton(QStringLiteral("Лицо без гражданства"), gbCitizenship_), "rbStateless");
    rbCitizen_->hide();
    rbStateless_->hide();
    auto* citizenshipLayout = new QHBoxLayout(gbCitizenship_);
    auto* codeLabel = new QLabel(QStringLiteral("Код страны"), gbCitizenship_);
    codeLabel->setMinimumWidth(130);
    citizenshipLayout->addWidget(codeLabel);
    citizenshipLayout->addWidget(edCountryCode_);
    citizenshipLayout->addWidget(lblCountryName_, 1);
    citizenshipLayout->addWidget(bnCountry_);
    citizenshipLayout->addWidget(rbCitizen_);
    citizenshipLayout->addWidget(rbStateless_);

    auto* phoneRow = new QHBoxLayout;
    auto* phoneLabel = new QLabel(QStringLiteral("Контактный телефон"), this);
    phoneLabel->setMinimumWidth(139);
    phoneRow->addWidget(phoneLabel);
    phoneRow->addWidget(edPhone_);
    phoneRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameBox);
    layout->addLayout(personLayout);
    layout->addWidget(gbDocument_);
    layout->addWidget(gbCitizenship_);
    layout->addLayout(phoneRow);
    layout->addStretch(1);
}

void TaxpayerScreen::load() {
    const Taxpayer& p = document().person;
    // A 4-NDFL return asks only the names, INN and telephone.
    const bool estimated = document().kind() == ReturnKind::Estimated;
    gbCitizenship_->setVisible(!estimated);
    gbDocument_->setVisible(!estimated);
    lblBirthPlace_->setVisible(!estimated);
    edBirthPlace_->setVisible(!estimated);
    lblBirthDate_->setVisible(!estimated);
    deBirthDate_->setVisible(!estimated);

    edSurname_->setText(fromCp1251(p.surname));
    edName_->setText(fromCp1251(p.firstName));
    edPatronymic_->setText(fromCp1251(p.patronymic));
    edInn_->setText(fromCp1251(p.inn));
    edPhone_->setText(fromCp1251(p.contactPhone));
    edBirthPlace_->setText(fromCp1251(p.birthPlace));
    edDocIssuer_->setText(fromCp1251(p.identityDocIssuer));
    documentCode_ = p.identityDocCode;
    edDocName_->setText(fromCp1251(p.identityDocName));
    const bool documentChosen = !p.identityDocName.empty();
    if (documentChosen) {
        edDocNumber_->setText(fromCp1251(p.identityDocNumber));
        if (const auto mask = docMaskOnLoading(p.identityDocCode))
            edDocNumber_->setMask(*mask);
    }
    edDocNumber_->setEnabled(documentChosen);
    deDocDate_->setEnabled(documentChosen);
    edDocIssuer_->setEnabled(documentChosen);
    showStoredDate(deDocDate_, p.identityDocDate);
    showStoredDate(deBirthDate_, p.birthDate);
    (p.isStateless() ? rbStateless_ : rbCitizen_)->setChecked(true);
    edCountryCode_->setText(fromCp1251(p.citizenshipCountryCode));
    lblCountryName_->setText(fromCp1251(p.citizenshipCountryName));
    bnCountry_->setEnabled(host().directories().countries.has_value());
}

void TaxpayerScreen::chooseDocumentKind() {
    DocumentTypePicker picker(documentCode_, this);
    const std::optional<DocumentKindChoice> kind = picker.choose();
    if (!kind.has_value() || fromCp1251(kind->name) == edDocName_->text())
        return;
    DocumentChanged();
    documentCode_ = static_cast<std::int16_t>(kind->kind);
    edDocName_->setText(fromCp1251(kind->name));
    if (kind->name.empty())
        return;
    // A new kind of document starts from a blank number, issuer and date.
    edDocNumber_->clear();
    edDocNumber_->setEnabled(true);
    deDocDate_->setEnabled(true);
    deDocDate_->setDate(kNewDocumentDate);
    edDocIssuer_->setEnabled(true);
    edDocIssuer_->clear();
    if (const auto mask = docMaskOnPicking(kind->kind))
        edDocNumber_->setMask(*mask);
}

void TaxpayerScreen::chooseCountry() {
    const auto& countries = host().directories().countries;
    if (!countries.has_value())
        return;
    const std::optional<CodeName> country =
        CitizenshipPicker::of(window(), *countries).choose(toCp1251(edCountryCode_->text()));
    if (!country.has_value() || fromCp1251(country->code) == edCountryCode_->text())
        return;
    edCountryCode_->setText(fromCp1251(country->code));
    lblCountryName_->setText(fromCp1251(country->name));
    DocumentChanged();
}

void TaxpayerScreen::SaveData() {
    Taxpayer& p = document().person;
    p.surname = toCp1251(edSurname_->text());
    p.firstName = toCp1251(edName_->text());
    p.patronymic = toCp1251(edPatronymic_->text());
    p.inn = toCp1251(edInn_->text());
    p.identityDocCode = documentCode_;
    p.identityDocName = toCp1251(edDocName_->text());
    // The blank the mask put after a full group is not part of the number; a number
    // kept as the document had it is written back as it was.
    const std::string number = toCp1251(edDocNumber_->text());
    if (number != p.identityDocNumber)
        p.identityDocNumber = toCp1251(edDocNumber_->text().trimmed());
    p.identityDocDate = storedDate(deDocDate_, p.identityDocDate);
    p.birthDate = storedDate(deBirthDate_, p.birthDate);
    p.identityDocIssuer = toCp1251(edDocIssuer_->text());
    p.birthPlace = toCp1251(edBirthPlace_->text());
    p.contactPhone = toCp1251(edPhone_->text());
    // A status other writers stored ("", "0") stays while the choice is the one loaded.
    if (rbCitizen_->isChecked() == p.isStateless())
        p.citizenshipStatus.assign(1,
                                   rbCitizen_->isChecked() ? '1' : '2'); // not "=": GCC 12's false -Wrestrict
    p.citizenshipCountryName = toCp1251(lblCountryName_->text());
    p.citizenshipCountryCode = toCp1251(edCountryCode_->text());
}

std::uint16_t TaxpayerScreen::CheckData() {
    AskerCheckDialog dialog(host().asker(), this);
    // A date the person has not finished correcting is named before the other
    // checks, which see only the last real date of the field.
    const Taxpayer& p = document().person;
    const std::string section = toCp1251(QStringLiteral("Сведения о декларанте"));
    CheckRun dates(dialog, section);
    for (auto [field, stored, label, code] :
         {std::tuple{deBirthDate_, p.birthDate, "Дата рождения", kBirthDateElement},
          std::tuple{deDocDate_, p.identityDocDate, "Дата выдачи документа", +kPersonDocumentDate}}) {
        if (!field->isEnabled() || field->isHidden() || field->problem().isEmpty())
            continue;
        if (dateUnreadable(field, stored))
            dates.offerSkip(false).offerSkipAll(false);
        dates.fault(toCp1251(QString::fromUtf8(label) + QStringLiteral(": ") + field->problem()),
                    static_cast<std::uint16_t>(code));
    }
    if (!dates.open())
        return dates.result();
    return CheckPersonData(p, dialog);
}

void TaxpayerScreen::SetFocusToElement(std::uint16_t code) {
    switch (code) {
    case kPersonSurname:
        edSurname_->setFocus();
        break;
    case kPersonFirstName:
        edName_->setFocus();
        break;
    case kPersonPatronymic:
        edPatronymic_->setFocus();
        break;
    case kPersonInn:
        edInn_->setFocus();
        break;
    case kPersonDocumentKind:
        bnDocType_->setFocus();
        bnDocType_->click();
        break;
    case kPersonDocumentNumber:
        edDocNumber_->setFocus();
        break;
    case kPersonDocumentDate:
        deDocDate_->setFocus();
        break;
    case kBirthDateElement:
        deBirthDate_->setFocus();
        break;
    case kPersonDocumentIssuer:
        edDocIssuer_->setFocus();
        break;
    case kPersonBirthPlace:
        edBirthPlace_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
