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
         {surnameEdit_, nameEdit_, patronymicEdit_, innEdit_, birthPlaceEdit_, docIssuerEdit_, phoneEdit_})
        connect(edit, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
    connect(docNumberEdit_, &QLineEdit::textChanged, this, [this] { markDocumentChanged(); });
    connect(birthDateEdit_, &DateEdit::dateChanged, this, [this] { markDocumentChanged(); });
    connect(docDateEdit_, &DateEdit::dateChanged, this, [this] { markDocumentChanged(); });
    connect(citizenRadio_, &QRadioButton::toggled, this, [this] { markDocumentChanged(); });
    connect(docTypeButton_, &QToolButton::clicked, this, &TaxpayerScreen::chooseDocumentKind);
    connect(countryButton_, &QToolButton::clicked, this, &TaxpayerScreen::chooseCountry);
}

void TaxpayerScreen::buildWidgets() {
    const QDate today = toQDate(host().clock().today());

    auto* nameBox = named(new QGroupBox(QStringLiteral("Ф.И.О."), this), "gbName");
    surnameEdit_ = field(nameBox, "edSurname", FieldKind::Any, 60);
    nameEdit_ = field(nameBox, "edName", FieldKind::Any, 60);
    patronymicEdit_ = field(nameBox, "edPatronymic", FieldKind::Any, 60);
    auto* nameLayout = new QGridLayout(nameBox);
    nameLayout->addWidget(new QLabel(QStringLiteral("Фамилия"), nameBox), 0, 0);
    nameLayout->addWidget(surnameEdit_, 0, 1);
    nameLayout->addWidget(new QLabel(QStringLiteral("Имя"), nameBox), 1, 0);
    nameLayout->addWidget(nameEdit_, 1, 1);
    nameLayout->addWidget(new QLabel(QStringLiteral("Отчество"), nameBox), 2, 0);
    nameLayout->addWidget(patronymicEdit_, 2, 1);
    nameLayout->setColumnMinimumWidth(0, 130);

    innEdit_ = field(this, "edInn", FieldKind::Digits, 12);
    innEdit_->setMaximumWidth(140);
    birthDateLabel_ = new QLabel(QStringLiteral("Дата рождения"), this);
    birthDateEdit_ = makeDateEdit(this, "deBirthDate", kEarliestDate, today);
    birthPlaceLabel_ = new QLabel(QStringLiteral("Место рождения"), this);
    birthPlaceEdit_ = field(this, "edBirthPlace", FieldKind::Any, 128);
    // Telephones are written with "+", "-" and brackets as often as without.
    phoneEdit_ = field(this, "edPhone", FieldKind::Phone, 20);
    phoneEdit_->setMaximumWidth(180);

    auto* personLayout = new QGridLayout;
    personLayout->addWidget(new QLabel(QStringLiteral("ИНН"), this), 0, 0);
    auto* innRow = new QHBoxLayout;
    innRow->addWidget(innEdit_);
    innRow->addSpacing(30);
    innRow->addWidget(birthDateLabel_);
    innRow->addWidget(birthDateEdit_);
    innRow->addStretch(1);
    personLayout->addLayout(innRow, 0, 1);
    personLayout->addWidget(birthPlaceLabel_, 1, 0);
    personLayout->addWidget(birthPlaceEdit_, 1, 1);
    personLayout->setColumnMinimumWidth(0, 139);

    documentGroup_ = named(
        new QGroupBox(QStringLiteral("Сведения о документе, удостоверяющем личность"), this), "gbDocument");
    docNameEdit_ = named(new QLineEdit(documentGroup_), "edDocName");
    docNameEdit_->setReadOnly(true);
    docTypeButton_ =
        pickButton(documentGroup_, "bnDocType", QStringLiteral("Выбрать вид документа из справочника"));
    docNumberEdit_ = named(new DocNumberEdit(documentGroup_), "edDocNumber");
    docNumberEdit_->setMaximumWidth(200);
    docDateEdit_ = makeDateEdit(documentGroup_, "deDocDate", kEarliestDate, today);
    docIssuerEdit_ = field(documentGroup_, "edDocIssuer", FieldKind::Any, 255);
    auto* documentLayout = new QGridLayout(documentGroup_);
    documentLayout->addWidget(new QLabel(QStringLiteral("Вид документа"), documentGroup_), 0, 0);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(docNameEdit_, 1);
    kindRow->addWidget(docTypeButton_);
    documentLayout->addLayout(kindRow, 0, 1);
    documentLayout->addWidget(new QLabel(QStringLiteral("Серия и номер"), documentGroup_), 1, 0);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(docNumberEdit_);
    numberRow->addSpacing(30);
    numberRow->addWidget(new QLabel(QStringLiteral("Дата выдачи"), documentGroup_));
    numberRow->addWidget(docDateEdit_);
    numberRow->addStretch(1);
    documentLayout->addLayout(numberRow, 1, 1);
    documentLayout->addWidget(new QLabel(QStringLiteral("Кем выдан"), documentGroup_), 2, 0);
    documentLayout->addWidget(docIssuerEdit_, 2, 1);
    documentLayout->setColumnMinimumWidth(0, 130);

    citizenshipGroup_ = named(new QGroupBox(QStringLiteral("Данные о гражданстве"), this), "gbCitizenship");
    countryCodeEdit_ = named(new QLineEdit(citizenshipGroup_), "edCountryCode");
    countryCodeEdit_->setReadOnly(true);
    countryCodeEdit_->setMaximumWidth(50);
    countryNameLabel_ = named(new QLabel(citizenshipGroup_), "lblCountryName");
    countryButton_ =
        pickButton(citizenshipGroup_, "bnCountry", QStringLiteral("Выбрать страну из справочника"));
    // Kept from the record and written back; the screen does not offer the choice.
    citizenRadio_ = named(new QRadioButton(QStringLiteral("Гражданин"), citizenshipGroup_), "rbCitizen");
    statelessRadio_ =
        named(new QRadioButton(QStringLiteral("Лицо без гражданства"), citizenshipGroup_), "rbStateless");
    citizenRadio_->hide();
    statelessRadio_->hide();
    auto* citizenshipLayout = new QHBoxLayout(citizenshipGroup_);
    auto* codeLabel = new QLabel(QStringLiteral("Код страны"), citizenshipGroup_);
    codeLabel->setMinimumWidth(130);
    citizenshipLayout->addWidget(codeLabel);
    citizenshipLayout->addWidget(countryCodeEdit_);
    citizenshipLayout->addWidget(countryNameLabel_, 1);
    citizenshipLayout->addWidget(countryButton_);
    citizenshipLayout->addWidget(citizenRadio_);
    citizenshipLayout->addWidget(statelessRadio_);

    auto* phoneRow = new QHBoxLayout;
    auto* phoneLabel = new QLabel(QStringLiteral("Контактный телефон"), this);
    phoneLabel->setMinimumWidth(139);
    phoneRow->addWidget(phoneLabel);
    phoneRow->addWidget(phoneEdit_);
    phoneRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameBox);
    layout->addLayout(personLayout);
    layout->addWidget(documentGroup_);
    layout->addWidget(citizenshipGroup_);
    layout->addLayout(phoneRow);
    layout->addStretch(1);
}

void TaxpayerScreen::load() {
    const Taxpayer& p = document().person;
    // A 4-NDFL return asks only the names, INN and telephone.
    const bool estimated = document().kind() == ReturnKind::Estimated;
    citizenshipGroup_->setVisible(!estimated);
    documentGroup_->setVisible(!estimated);
    birthPlaceLabel_->setVisible(!estimated);
    birthPlaceEdit_->setVisible(!estimated);
    birthDateLabel_->setVisible(!estimated);
    birthDateEdit_->setVisible(!estimated);

    surnameEdit_->setText(fromCp1251(p.surname));
    nameEdit_->setText(fromCp1251(p.firstName));
    patronymicEdit_->setText(fromCp1251(p.patronymic));
    innEdit_->setText(fromCp1251(p.inn));
    phoneEdit_->setText(fromCp1251(p.contactPhone));
    birthPlaceEdit_->setText(fromCp1251(p.birthPlace));
    docIssuerEdit_->setText(fromCp1251(p.identityDocIssuer));
    documentCode_ = p.identityDocCode;
    docNameEdit_->setText(fromCp1251(p.identityDocName));
    const bool documentChosen = !p.identityDocName.empty();
    if (documentChosen) {
        docNumberEdit_->setText(fromCp1251(p.identityDocNumber));
        if (const auto mask = docMaskOnLoading(p.identityDocCode))
            docNumberEdit_->setMask(*mask);
    }
    docNumberEdit_->setEnabled(documentChosen);
    docDateEdit_->setEnabled(documentChosen);
    docIssuerEdit_->setEnabled(documentChosen);
    showStoredDate(docDateEdit_, p.identityDocDate);
    showStoredDate(birthDateEdit_, p.birthDate);
    (p.isStateless() ? statelessRadio_ : citizenRadio_)->setChecked(true);
    countryCodeEdit_->setText(fromCp1251(p.citizenshipCountryCode));
    countryNameLabel_->setText(fromCp1251(p.citizenshipCountryName));
    countryButton_->setEnabled(host().directories().countries.has_value());
}

void TaxpayerScreen::chooseDocumentKind() {
    DocumentTypePicker picker(documentCode_, this);
    const std::optional<DocumentKindChoice> kind = picker.choose();
    if (!kind.has_value() || fromCp1251(kind->name) == docNameEdit_->text())
        return;
    markDocumentChanged();
    documentCode_ = static_cast<std::int16_t>(kind->kind);
    docNameEdit_->setText(fromCp1251(kind->name));
    if (kind->name.empty())
        return;
    // A new kind of document starts from a blank number, issuer and date.
    docNumberEdit_->clear();
    docNumberEdit_->setEnabled(true);
    docDateEdit_->setEnabled(true);
    docDateEdit_->setDate(kNewDocumentDate);
    docIssuerEdit_->setEnabled(true);
    docIssuerEdit_->clear();
    if (const auto mask = docMaskOnPicking(kind->kind))
        docNumberEdit_->setMask(*mask);
}

void TaxpayerScreen::chooseCountry() {
    const auto& countries = host().directories().countries;
    if (!countries.has_value())
        return;
    const std::optional<CodeName> country =
        CitizenshipPicker::of(window(), *countries).choose(toCp1251(countryCodeEdit_->text()));
    if (!country.has_value() || fromCp1251(country->code) == countryCodeEdit_->text())
        return;
    countryCodeEdit_->setText(fromCp1251(country->code));
    countryNameLabel_->setText(fromCp1251(country->name));
    markDocumentChanged();
}

void TaxpayerScreen::saveData() {
    Taxpayer& p = document().person;
    p.surname = toCp1251(surnameEdit_->text());
    p.firstName = toCp1251(nameEdit_->text());
    p.patronymic = toCp1251(patronymicEdit_->text());
    p.inn = toCp1251(innEdit_->text());
    p.identityDocCode = documentCode_;
    p.identityDocName = toCp1251(docNameEdit_->text());
    // The blank the mask put after a full group is not part of the number; a number
    // kept as the document had it is written back as it was.
    const Cp1251Text number = toCp1251(docNumberEdit_->text());
    if (number != p.identityDocNumber)
        p.identityDocNumber = toCp1251(docNumberEdit_->text().trimmed());
    p.identityDocDate = storedDate(docDateEdit_, p.identityDocDate);
    p.birthDate = storedDate(birthDateEdit_, p.birthDate);
    p.identityDocIssuer = toCp1251(docIssuerEdit_->text());
    p.birthPlace = toCp1251(birthPlaceEdit_->text());
    p.contactPhone = toCp1251(phoneEdit_->text());
    // A status other writers stored ("", "0") stays while the choice is the one loaded.
    if (citizenRadio_->isChecked() == p.isStateless())
        p.citizenshipStatus = Cp1251Text::number(citizenRadio_->isChecked() ? 1 : 2);
    p.citizenshipCountryName = toCp1251(countryNameLabel_->text());
    p.citizenshipCountryCode = toCp1251(countryCodeEdit_->text());
}

std::uint16_t TaxpayerScreen::checkData() {
    AskerCheckDialog dialog(host().asker(), this);
    // A date the person has not finished correcting is named before the other
    // checks, which see only the last real date of the field.
    const Taxpayer& p = document().person;
    const Cp1251Text section = toCp1251(QStringLiteral("Сведения о декларанте"));
    CheckRun dates(dialog, section);
    for (auto [field, stored, label, code] :
         {std::tuple{birthDateEdit_, p.birthDate, "Дата рождения", kBirthDateElement},
          std::tuple{docDateEdit_, p.identityDocDate, "Дата выдачи документа", +PersonDocumentDate}}) {
        if (!field->isEnabled() || field->isHidden() || field->problem().isEmpty())
            continue;
        if (dateUnreadable(field, stored))
            dates.offerSkip(false).offerSkipAll(false);
        dates.fault(toCp1251(QString::fromUtf8(label) + QStringLiteral(": ") + field->problem()),
                    static_cast<std::uint16_t>(code));
    }
    if (!dates.open())
        return dates.result();
    return checkPersonData(p, dialog);
}

void TaxpayerScreen::setFocusToElement(std::uint16_t code) {
    switch (code) {
    case PersonSurname:
        surnameEdit_->setFocus();
        break;
    case PersonFirstName:
        nameEdit_->setFocus();
        break;
    case PersonPatronymic:
        patronymicEdit_->setFocus();
        break;
    case PersonInn:
        innEdit_->setFocus();
        break;
    case PersonDocumentKind:
        docTypeButton_->setFocus();
        docTypeButton_->click();
        break;
    case PersonDocumentNumber:
        docNumberEdit_->setFocus();
        break;
    case PersonDocumentDate:
        docDateEdit_->setFocus();
        break;
    case kBirthDateElement:
        birthDateEdit_->setFocus();
        break;
    case PersonDocumentIssuer:
        docIssuerEdit_->setFocus();
        break;
    case PersonBirthPlace:
        birthPlaceEdit_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
