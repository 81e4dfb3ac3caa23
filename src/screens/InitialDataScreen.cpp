#include "screens/InitialDataScreen.h"

#include "checks/IdentifierChecks.h"

#include "model/Declaration.h"
#include "screens/ScreenTable.h"
#include "screens/kit/Asker.h"
#include "screens/kit/CheckDialogs.h"
#include "screens/kit/EntryFields.h"
#include "screens/kit/FieldEdit.h"
#include "screens/kit/ScreenWidgets.h"
#include "screens/kit/UiText.h"
#include "screens/pickers/TaxOfficePicker.h"
#include "screens/rules/InitialDataRules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kv {

namespace {

constexpr std::uint8_t kIncomeBits = Declaration::kAgentIncomes | Declaration::kForeignIncomes |
                                     Declaration::kBusinessIncomes | Declaration::kPartnershipIncomes;

// The kind buttons' ids are the numbers the document keeps, so that one of no name
// still finds no button and is kept as read.
constexpr int idOf(ReturnKind kind) {
    return static_cast<int>(kind);
}
enum Kind {
    ResidentKindId = idOf(ReturnKind::Resident),
    NonResidentKindId = idOf(ReturnKind::NonResident),
    EstimatedKindId = idOf(ReturnKind::Estimated),
    TerminationKindId = idOf(ReturnKind::Termination),
};
// The income boxes each kind of return unticks (the rest it leaves as they are).
std::uint8_t bitsUntickedBy(int kind) {
    switch (kind) {
    case NonResidentKindId:
        return Declaration::kForeignIncomes | Declaration::kBusinessIncomes;
    case EstimatedKindId:
        return kIncomeBits;
    case TerminationKindId:
        return Declaration::kForeignIncomes | Declaration::kAgentIncomes | Declaration::kPartnershipIncomes;
    default:
        return 0;
    }
}

enum Submitter {
    InPersonId = static_cast<int>(SubmitterKind::InPerson),
    PersonRepresentativeId = static_cast<int>(SubmitterKind::RepresentativePerson),
    OrganisationRepresentativeId = static_cast<int>(SubmitterKind::RepresentativeOrganisation),
};

} // namespace

InitialDataScreen::InitialDataScreen(QWidget* panel, ScreenHost& host) : ScreenFrame(panel, host) {
    ScreenBuildGuard guard(host);
    buildWidgets();
    load();
    connectRules();
}

void InitialDataScreen::buildWidgets() {
    // --- "Тип декларации"
    auto* kindBox = named(new QGroupBox(QStringLiteral("Тип декларации"), this), "gbDeclarationKind");
    simpleRadio_ = named(new QRadioButton(QStringLiteral("3-НДФЛ"), kindBox), "rbSimple");
    nonResidentRadio_ = named(new QRadioButton(QStringLiteral("3-НДФЛ нерезидента"), kindBox), "rbNeRez");
    ndfl4Radio_ = named(new QRadioButton(QStringLiteral("4-НДФЛ"), kindBox), "rb4ndfl");
    nextYearRadio_ = named(new QRadioButton(QStringLiteral("3-НДФЛ при завершении деятельности ИП"), kindBox),
                           "rbNextYear");
    kindGroup_ = new QButtonGroup(this);
    auto* kindLayout = new QVBoxLayout(kindBox);
    for (auto [button, id] :
         {std::pair{simpleRadio_, ResidentKindId}, std::pair{nonResidentRadio_, NonResidentKindId},
          std::pair{ndfl4Radio_, EstimatedKindId}, std::pair{nextYearRadio_, TerminationKindId}}) {
        kindGroup_->addButton(button, id);
        kindLayout->addWidget(button);
    }
    kindLayout->addStretch(1);
    simpleRadio_->setChecked(true);

    // --- "Общая информация"
    auto* generalBox = named(new QGroupBox(QStringLiteral("Общая информация"), this), "gbGeneral");
    inspectionEdit_ = field(generalBox, "meInspection", FieldKind::Digits, 4);
    // Typed by its four-digit code, so no one needs the whole directory for their own office.
    inspectionEdit_->setMaximumWidth(70);
    inspectionEdit_->setToolTip(QStringLiteral("Код инспекции: четыре цифры"));
    inspectionButton_ =
        pickButton(generalBox, "bnInspection", QStringLiteral("Выбрать инспекцию из справочника"));
    inspectionNameLabel_ = named(new QLabel(generalBox), "lblInspectionName");
    inspectionNameLabel_->setWordWrap(true);
    correctionNumberEdit_ = field(generalBox, "meNumVer", FieldKind::Digits, 3);
    correctionNumberEdit_->setMaximumWidth(50);
    correctionUpButton_ = named(new QToolButton(generalBox), "updCorrUp");
    correctionUpButton_->setArrowType(Qt::UpArrow);
    correctionDownButton_ = named(new QToolButton(generalBox), "updCorrDown");
    correctionDownButton_->setArrowType(Qt::DownArrow);
    auto* updCorr = named(new QWidget(generalBox), "updCorr");
    auto* updLayout = new QHBoxLayout(updCorr);
    updLayout->setContentsMargins(0, 0, 0, 0);
    updLayout->setSpacing(0);
    updLayout->addWidget(correctionUpButton_);
    updLayout->addWidget(correctionDownButton_);
    okatoEdit_ = field(generalBox, "meOKATO", FieldKind::Digits, 11);
    okatoEdit_->setMaximumWidth(120);

    auto* generalLayout = new QGridLayout(generalBox);
    generalLayout->addWidget(new QLabel(QStringLiteral("Номер инспекции"), generalBox), 0, 0);
    auto* inspectionRow = new QHBoxLayout;
    inspectionRow->addWidget(inspectionEdit_);
    inspectionRow->addWidget(inspectionButton_);
    inspectionRow->addStretch(1);
    generalLayout->addLayout(inspectionRow, 0, 1);
    generalLayout->addWidget(inspectionNameLabel_, 1, 0, 1, 2);
    generalLayout->addWidget(new QLabel(QStringLiteral("Номер корректировки"), generalBox), 2, 0);
    auto* correctionRow = new QHBoxLayout;
    correctionRow->addWidget(correctionNumberEdit_);
    correctionRow->addWidget(updCorr);
    correctionRow->addStretch(1);
    generalLayout->addLayout(correctionRow, 2, 1);
    generalLayout->addWidget(new QLabel(QStringLiteral("ОКТМО"), generalBox), 3, 0);
    generalLayout->addWidget(okatoEdit_, 3, 1, Qt::AlignLeft);
    generalLayout->setColumnStretch(1, 1);
    generalLayout->setRowStretch(4, 1);

    // --- "Признак налогоплательщика"
    auto* categoryBox = named(new QGroupBox(QStringLiteral("Признак налогоплательщика"), this), "gbCategory");
    entrepreneurRadio_ =
        named(new QRadioButton(QStringLiteral("Индивидуальный предприниматель"), categoryBox), "rbPredp");
    farmHeadRadio_ =
        named(new QRadioButton(QStringLiteral("Глава фермерского хозяйства"), categoryBox), "rbFermer");
    notaryRadio_ = named(new QRadioButton(QStringLiteral("Частный нотариус"), categoryBox), "rbNotarius");
    lawyerRadio_ = named(new QRadioButton(QStringLiteral("Адвокат"), categoryBox), "rbAdvokat");
    otherPersonRadio_ =
        named(new QRadioButton(QStringLiteral("Иное физическое лицо"), categoryBox), "rbFLProch");
    arbitrationManagerRadio_ =
        named(new QRadioButton(QStringLiteral("Арбитражный управляющий"), categoryBox), "rbArbitr");
    categoryGroup_ = new QButtonGroup(this);
    auto* categoryLayout = new QGridLayout(categoryBox);
    using C = TaxpayerCategory;
    const std::array<std::pair<QRadioButton*, C>, 6> categories = {
        {{entrepreneurRadio_, C::Entrepreneur},
         {farmHeadRadio_, C::FarmHead},
         {notaryRadio_, C::Notary},
         {lawyerRadio_, C::Lawyer},
         {otherPersonRadio_, C::Other},
         {arbitrationManagerRadio_, C::ArbitrationManager}}};
    for (std::size_t i = 0; i < categories.size(); ++i) {
        // The ids are the numbers the document keeps.
        categoryGroup_->addButton(categories[i].first, static_cast<int>(categories[i].second));
        categoryLayout->addWidget(categories[i].first, static_cast<int>(i % 3), static_cast<int>(i / 3));
    }
    otherPersonRadio_->setChecked(true);

    // --- "Имеются доходы"
    auto* incomeBox = named(new QGroupBox(QStringLiteral("Имеются доходы"), this), "gbIncomes");
    incomeInquiryBox_ =
        named(new QCheckBox(
                  QStringLiteral("Учитываемые \"справками о доходах физического лица\", доходы по договорам"),
                  incomeBox),
              "chbIncomeInquiry");
    incomeInquiryLabel_ = named(
        new QLabel(
            QStringLiteral("гр.-правового характера, авторским вознаграждениям, от продажи имущества и др."),
            incomeBox),
        "lblIncomeInquiry");
    incomeInquiryLabel_->setContentsMargins(22, 0, 0, 0);
    incomeCurrencyBox_ =
        named(new QCheckBox(QStringLiteral("В иностранной валюте"), incomeBox), "chbIncomeCurrency");
    incomeBusinessBox_ = named(
        new QCheckBox(QStringLiteral("От предпринимательской деятельности"), incomeBox), "chbIncomeBusiness");
    investmentPartnershipBox_ =
        named(new QCheckBox(QStringLiteral("От участия в инвестиционных товариществах"), incomeBox),
              "chbInvestTov");
    investmentPartnershipBox_->hide();
    estimatedIncomeLabel_ =
        named(new QLabel(QStringLiteral("Предполагаемый доход"), incomeBox), "lblSupposeIncome");
    estimatedIncomeEdit_ = field(incomeBox, "meSupposeIncome", FieldKind::Digits, 12);
    estimatedIncomeEdit_->setMaximumWidth(130);
    auto* incomeLayout = new QVBoxLayout(incomeBox);
    incomeLayout->setSpacing(3);
    incomeLayout->addWidget(incomeInquiryBox_);
    incomeLayout->addWidget(incomeInquiryLabel_);
    incomeLayout->addWidget(incomeCurrencyBox_);
    auto* businessRow = new QHBoxLayout;
    businessRow->addWidget(incomeBusinessBox_);
    businessRow->addSpacing(24);
    businessRow->addWidget(estimatedIncomeLabel_);
    businessRow->addWidget(estimatedIncomeEdit_);
    businessRow->addStretch(1);
    incomeLayout->addLayout(businessRow);
    incomeLayout->addWidget(investmentPartnershipBox_);

    // --- "Достоверность подтверждается"
    auto* submitterBox =
        named(new QGroupBox(QStringLiteral("Достоверность подтверждается"), this), "gbSubmitter");
    inPersonRadio_ = named(new QRadioButton(QStringLiteral("Лично"), submitterBox), "rbGiveSelf");
    personRepresentativeRadio_ =
        named(new QRadioButton(QStringLiteral("Представителем - ФЛ"), submitterBox), "rbGiveTrustFase");
    organisationRepresentativeRadio_ =
        named(new QRadioButton(QStringLiteral("Представителем - ЮЛ"), submitterBox), "rbGiveByMail");
    submitterGroup_ = new QButtonGroup(this);
    submitterGroup_->addButton(inPersonRadio_, InPersonId);
    submitterGroup_->addButton(personRepresentativeRadio_, PersonRepresentativeId);
    submitterGroup_->addButton(organisationRepresentativeRadio_, OrganisationRepresentativeId);
    inPersonRadio_->setChecked(true);
    fullNameLabel_ = named(new QLabel(QStringLiteral("ФИО"), submitterBox), "lblFIO");
    fullNameEdit_ = field(submitterBox, "meFIO", FieldKind::Any, 182);
    documentLabel_ = named(new QLabel(QStringLiteral("Документ"), submitterBox), "lblOsn");
    documentEdit_ = field(submitterBox, "meOsn", FieldKind::Any, 120);
    organisationLabel_ =
        named(new QLabel(QStringLiteral("Организация - представитель"), submitterBox), "lblUL");
    organisationEdit_ = field(submitterBox, "meUL", FieldKind::Any, 1000);
    auto* submitterLayout = new QGridLayout(submitterBox);
    auto* submitterRadios = new QVBoxLayout;
    submitterRadios->addWidget(inPersonRadio_);
    submitterRadios->addWidget(personRepresentativeRadio_);
    submitterRadios->addWidget(organisationRepresentativeRadio_);
    submitterRadios->addStretch(1);
    submitterLayout->addLayout(submitterRadios, 0, 0, 3, 1);
    submitterLayout->addWidget(fullNameLabel_, 0, 1);
    submitterLayout->addWidget(fullNameEdit_, 0, 2);
    submitterLayout->addWidget(documentLabel_, 1, 1);
    submitterLayout->addWidget(documentEdit_, 1, 2);
    submitterLayout->addWidget(organisationLabel_, 2, 1);
    submitterLayout->addWidget(organisationEdit_, 2, 2);
    submitterLayout->setColumnStretch(2, 1);
    submitterLayout->setColumnMinimumWidth(0, 170);

    // --- The number of sheets of supporting documents: kept, not shown.
    appendixesGroup_ = named(
        new QGroupBox(QStringLiteral("Общее число листов подтверждающих документов"), this), "gbAppendixes");
    appendixesEdit_ = field(appendixesGroup_, "meAppendixes", FieldKind::Digits, 4);
    autoCalculateAppendixesBox_ = named(
        new QCheckBox(QStringLiteral("Автоматический подсчет"), appendixesGroup_), "chbAutoCalculateApp");
    auto* appendixLayout = new QHBoxLayout(appendixesGroup_);
    appendixLayout->addWidget(appendixesEdit_);
    appendixLayout->addWidget(autoCalculateAppendixesBox_);
    appendixesGroup_->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(kindBox);
    top->addWidget(generalBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(categoryBox);
    layout->addWidget(incomeBox);
    layout->addWidget(submitterBox);
    layout->addWidget(appendixesGroup_);
    layout->addStretch(1);
}

void InitialDataScreen::load() {
    const Declaration& d = document();
    inspectionEdit_->setText(fromCp1251(d.inspectionCode));
    showInspectionName();
    correctionNumberEdit_->setText(QString::number(d.correctionNumber));
    okatoEdit_->setText(fromCp1251(d.person.oktmo));
    if (QAbstractButton* submitter = submitterGroup_->button(d.submitterKind))
        submitter->setChecked(true);
    documentEdit_->setText(fromCp1251(d.representativeDocument));
    fullNameEdit_->setText(fromCp1251(d.representativeName));
    organisationEdit_->setText(fromCp1251(d.representativeOrganisation));
    if (QAbstractButton* category = categoryGroup_->button(d.taxpayerCategory))
        category->setChecked(true);
    incomeInquiryBox_->setChecked(d.has(IncomeKind::Agent));
    incomeCurrencyBox_->setChecked(d.has(IncomeKind::Foreign));
    incomeBusinessBox_->setChecked(d.has(IncomeKind::Business));
    investmentPartnershipBox_->setChecked(d.has(IncomeKind::Partnership));
    estimatedIncomeEdit_->setText(wholeRoublesText(d.estimatedIncome));
    appendixesEdit_->setText(QString::number(d.supportingSheets()));
    autoCalculateAppendixesBox_->setChecked(false);
    inspectionButton_->setEnabled(host().directories().inspections.has_value());
    if (QAbstractButton* kind = kindGroup_->button(d.declarationKind))
        kind->setChecked(true);
}

void InitialDataScreen::connectRules() {
    connect(incomeInquiryBox_, &QCheckBox::toggled, this, &InitialDataScreen::certificateClicked);
    connect(incomeCurrencyBox_, &QCheckBox::toggled, this, &InitialDataScreen::currencyClicked);
    connect(incomeBusinessBox_, &QCheckBox::toggled, this, &InitialDataScreen::businessClicked);
    connect(investmentPartnershipBox_, &QCheckBox::toggled, this, &InitialDataScreen::partnershipClicked);
    connect(kindGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || !kindChangeConfirmed(id))
            return;
        kindChosen(id);
        dropAgreed_ = false;
        markDocumentChanged();
    });
    connect(submitterGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            submitterChosen(id);
            markDocumentChanged();
        }
    });
    connect(categoryGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            markDocumentChanged();
    });
    for (FieldEdit* edit : {correctionNumberEdit_, okatoEdit_, estimatedIncomeEdit_, fullNameEdit_,
                            documentEdit_, organisationEdit_, appendixesEdit_})
        connect(edit, &FieldEdit::changed, this, [this] { markDocumentChanged(); });
    connect(inspectionButton_, &QToolButton::clicked, this, &InitialDataScreen::chooseInspection);
    connect(inspectionEdit_, &FieldEdit::changed, this, &InitialDataScreen::inspectionTyped);
    connect(correctionUpButton_, &QToolButton::clicked, this, [this] { stepCorrection(1); });
    connect(correctionDownButton_, &QToolButton::clicked, this, [this] { stepCorrection(-1); });

    // The loaded values decide what is enabled, here and among the section buttons,
    // exactly as if the user had set them.
    host().setSectionEnabled(Section::RussianIncome, incomeInquiryBox_->isChecked());
    host().setSectionEnabled(Section::ForeignIncome, incomeCurrencyBox_->isChecked());
    host().setSectionEnabled(Section::BusinessIncome, incomeBusinessBox_->isChecked());
    host().setSectionEnabled(Section::InvestmentPartnership, investmentPartnershipBox_->isChecked());
    estimatedIncomeLabel_->setEnabled(incomeBusinessBox_->isChecked());
    estimatedIncomeEdit_->setEnabled(incomeBusinessBox_->isChecked());
    submitterChosen(submitterGroup_->checkedId());
    shownKind_ = declarationKind();
    kindChosen(shownKind_);
}

int InitialDataScreen::declarationKind() const {
    return std::max(kindGroup_->checkedId(), 0);
}

bool InitialDataScreen::anyIncomeBox() const {
    return incomeInquiryBox_->isChecked() || incomeCurrencyBox_->isChecked() ||
           incomeBusinessBox_->isChecked() || investmentPartnershipBox_->isChecked();
}

void InitialDataScreen::setDeductionsSection(bool enabled) {
    host().setSectionEnabled(Section::Deductions, enabled);
}

std::uint8_t InitialDataScreen::tickedIncomeBits() const {
    std::uint8_t bits = 0;
    if (incomeInquiryBox_->isChecked())
        bits |= Declaration::kAgentIncomes;
    if (incomeCurrencyBox_->isChecked())
        bits |= Declaration::kForeignIncomes;
    if (incomeBusinessBox_->isChecked())
        bits |= Declaration::kBusinessIncomes;
    if (investmentPartnershipBox_->isChecked())
        bits |= Declaration::kPartnershipIncomes;
    return bits;
}

bool InitialDataScreen::dropConfirmed(std::uint8_t bits, QCheckBox* box) {
    if (host().buildingGuard() || dropAgreed_)
        return true;
    const Question question = deleteQuestion(QStringLiteral("dropIncomes"),
                                             QStringLiteral("Удалить все введённые доходы этого вида?"));
    return untickConfirmed(host().asker(), this, box, document().holdsEntriesUnder(bits), question);
}

bool InitialDataScreen::kindChangeConfirmed(int kind) {
    const std::uint8_t dropped = bitsUntickedBy(kind) & tickedIncomeBits();
    if (host().buildingGuard() || !document().holdsEntriesUnder(dropped)) {
        shownKind_ = kind;
        return true;
    }
    const QString text =
        QStringLiteral("В декларации этого вида не указываются некоторые из введённых доходов. "
                       "Удалить их?");
    if (host().asker().ask(this, deleteQuestion(QStringLiteral("dropIncomesOfKind"), text)) == kDeleteYes) {
        shownKind_ = kind;
        dropAgreed_ = true;
        return true;
    }
    const QSignalBlocker quiet(kindGroup_);
    if (QAbstractButton* shown = kindGroup_->button(shownKind_))
        shown->setChecked(true);
    return false;
}

void InitialDataScreen::kindChosen(int kind) {
    // Loading shows the boxes and choices as the document has them, even where the kind
    // of return would not offer them: viewing a return never changes what it holds.
    const bool byPerson = !host().buildingGuard();
    const auto disableBox = [byPerson](QCheckBox* box) {
        if (byPerson)
            box->setChecked(false);
        box->setEnabled(false);
    };
    const auto moveFrom = [byPerson](QRadioButton* from, QRadioButton* to) {
        if (byPerson && from->isChecked())
            to->setChecked(true);
    };
    switch (kind) {
    case ResidentKindId:
    case NonResidentKindId:
        if (kind == ResidentKindId) {
            incomeCurrencyBox_->setEnabled(true);
            incomeBusinessBox_->setEnabled(true);
        } else {
            disableBox(incomeCurrencyBox_);
            disableBox(incomeBusinessBox_);
        }
        incomeInquiryBox_->setEnabled(true);
        incomeInquiryLabel_->setEnabled(true);
        investmentPartnershipBox_->setEnabled(true);
        farmHeadRadio_->setEnabled(true);
        arbitrationManagerRadio_->setEnabled(true);
        otherPersonRadio_->setEnabled(true);
        autoCalculateAppendixesBox_->setEnabled(true);
        break;
    case EstimatedKindId:
        disableBox(incomeCurrencyBox_);
        disableBox(incomeBusinessBox_);
        disableBox(incomeInquiryBox_);
        incomeInquiryLabel_->setEnabled(false);
        disableBox(investmentPartnershipBox_);
        moveFrom(otherPersonRadio_, entrepreneurRadio_);
        otherPersonRadio_->setEnabled(false);
        autoCalculateAppendixesBox_->setEnabled(false);
        break;
    case TerminationKindId:
        disableBox(incomeCurrencyBox_);
        if (byPerson)
            incomeBusinessBox_->setChecked(true);
        incomeBusinessBox_->setEnabled(true);
        disableBox(incomeInquiryBox_);
        incomeInquiryLabel_->setEnabled(false);
        disableBox(investmentPartnershipBox_);
        arbitrationManagerRadio_->setEnabled(true);
        moveFrom(otherPersonRadio_, entrepreneurRadio_);
        otherPersonRadio_->setEnabled(false);
        autoCalculateAppendixesBox_->setEnabled(false);
        break;
    default:
        return;
    }

    // Only the 4-NDFL return states an estimated income and may be confirmed by an organisation.
    const bool estimated = kind == EstimatedKindId;
    estimatedIncomeLabel_->setVisible(estimated);
    estimatedIncomeEdit_->setVisible(estimated);
    if (estimated) {
        estimatedIncomeLabel_->setEnabled(true);
        estimatedIncomeEdit_->setEnabled(true);
    } else {
        moveFrom(organisationRepresentativeRadio_, personRepresentativeRadio_);
    }
    organisationRepresentativeRadio_->setVisible(estimated);
    organisationLabel_->setVisible(estimated);
    organisationEdit_->setVisible(estimated);

    // Only a resident's return has deductions, and only with some income.
    setDeductionsSection(kind == ResidentKindId &&
                         (incomeInquiryBox_->isChecked() || incomeBusinessBox_->isChecked() ||
                          incomeCurrencyBox_->isChecked()));
}

void InitialDataScreen::certificateClicked(bool checked) {
    if (!checked && !dropConfirmed(Declaration::kAgentIncomes, incomeInquiryBox_))
        return;
    host().setSectionEnabled(Section::RussianIncome, checked);
    if (!checked)
        document().drop(IncomeKind::Agent);
    setDeductionsSection(anyIncomeBox() && declarationKind() != NonResidentKindId);
    markDocumentChanged();
}

void InitialDataScreen::currencyClicked(bool checked) {
    if (!checked && !dropConfirmed(Declaration::kForeignIncomes, incomeCurrencyBox_))
        return;
    host().setSectionEnabled(Section::ForeignIncome, checked);
    if (!checked)
        document().drop(IncomeKind::Foreign);
    setDeductionsSection(anyIncomeBox());
    markDocumentChanged();
}

void InitialDataScreen::businessClicked(bool checked) {
    // The activities go with the flag when the screen is saved; the person is asked now.
    if (!checked && !dropConfirmed(Declaration::kBusinessIncomes, incomeBusinessBox_))
        return;
    host().setSectionEnabled(Section::BusinessIncome, checked);
    estimatedIncomeLabel_->setEnabled(checked);
    estimatedIncomeEdit_->setEnabled(checked);
    if (!checked)
        estimatedIncomeEdit_->clear();
    setDeductionsSection(anyIncomeBox() && declarationKind() != TerminationKindId);
    markDocumentChanged();
}

void InitialDataScreen::partnershipClicked(bool checked) {
    if (!checked && !dropConfirmed(Declaration::kPartnershipIncomes, investmentPartnershipBox_))
        return;
    host().setSectionEnabled(Section::InvestmentPartnership, checked);
    if (!anyIncomeBox())
        setDeductionsSection(false);
    else if (declarationKind() == ResidentKindId)
        setDeductionsSection(true);
    markDocumentChanged();
}

void InitialDataScreen::submitterChosen(int kind) {
    const bool person = kind == PersonRepresentativeId || kind == OrganisationRepresentativeId;
    const bool organisation = kind == OrganisationRepresentativeId;
    for (QWidget* w :
         std::initializer_list<QWidget*>{fullNameLabel_, fullNameEdit_, documentLabel_, documentEdit_})
        w->setEnabled(person);
    organisationLabel_->setEnabled(organisation);
    organisationEdit_->setEnabled(organisation);
}

void InitialDataScreen::stepCorrection(int step) {
    const std::int64_t value = std::clamp<std::int64_t>(digitsOf(correctionNumberEdit_) + step, 0, 999);
    correctionNumberEdit_->setText(QString::number(value));
}

std::optional<Cp1251Text> InitialDataScreen::directoryName(const Cp1251Text& code) const {
    const auto& offices = host().directories().inspections;
    if (!offices.has_value() || code.empty())
        return std::nullopt;
    if (const auto row = findCodeRow(*offices, code))
        return (*offices)[*row].name;
    return std::nullopt;
}

void InitialDataScreen::showInspectionName() {
    const Cp1251Text code = toCp1251(inspectionEdit_->text());
    // The name shown is the name that will be stored with the code.
    QString name;
    if (pickedInspectionName_.has_value())
        name = fromCp1251(*pickedInspectionName_);
    else if (!code.empty() && code == document().inspectionCode && !document().inspectionName.empty())
        name = fromCp1251(document().inspectionName);
    else if (const auto known = directoryName(code))
        name = fromCp1251(*known);
    // What is wrong with a typed code is said where its name would stand.
    QString note;
    if (name.isEmpty() && !code.empty())
        note = inspectionCodeValid(code) ? QStringLiteral("наименование не найдено в справочнике")
                                         : QStringLiteral("Код инспекции состоит из четырёх цифр");
    inspectionNameLabel_->setText(note.isEmpty() ? name : note);
    inspectionNameLabel_->setToolTip(note.isEmpty() ? name : note);
    inspectionNameLabel_->setStyleSheet(note.isEmpty() ? QString() : QStringLiteral("color: #a01c1c"));
}

// A typed code takes the directory's name with it; the document's own code keeps
// the name stored with it; a code nobody knows is stored without a name.
void InitialDataScreen::inspectionTyped() {
    const Cp1251Text code = toCp1251(inspectionEdit_->text());
    if (code == document().inspectionCode)
        pickedInspectionName_.reset();
    else
        pickedInspectionName_ = directoryName(code).value_or(Cp1251Text());
    showInspectionName();
    markDocumentChanged();
}

void InitialDataScreen::chooseInspection() {
    const auto& offices = host().directories().inspections;
    if (!offices.has_value())
        return;
    TaxOfficePicker& picker = TaxOfficePicker::of(window(), *offices, host().asker());
    const std::optional<CodeName> office = picker.choose(toCp1251(inspectionEdit_->text()));
    if (!office.has_value() || fromCp1251(office->code) == inspectionEdit_->text())
        return;
    inspectionEdit_->setText(fromCp1251(office->code));
    pickedInspectionName_ = office->name;
    showInspectionName();
}

void InitialDataScreen::saveData() {
    Declaration& d = document();
    d.inspectionCode = toCp1251(inspectionEdit_->text());
    if (pickedInspectionName_.has_value())
        d.inspectionName = *pickedInspectionName_;
    d.person.oktmo = toCp1251(okatoEdit_->text());
    d.submitterKind = static_cast<std::uint8_t>(std::max(submitterGroup_->checkedId(), 0));
    d.taxpayerCategory = static_cast<std::uint8_t>(std::max(categoryGroup_->checkedId(), 0));
    d.declarationKind = static_cast<std::uint8_t>(declarationKind());

    // Bits other than the four boxes are kept as the document had them.
    d.setIncomeFlags((d.incomeFlags() & static_cast<std::uint8_t>(~kIncomeBits)) | tickedIncomeBits());

    d.estimatedIncome = wholeRoublesOf(estimatedIncomeEdit_, d.estimatedIncome);
    // A representative's field the confirmation choice disabled is emptied, whatever it shows.
    const auto representative = [this](const FieldEdit* edit) {
        return !edit->text().isEmpty() && edit->isEnabledTo(this) ? toCp1251(edit->text()) : Cp1251Text();
    };
    d.representativeDocument = representative(documentEdit_);
    d.representativeName = representative(fullNameEdit_);
    d.representativeOrganisation = representative(organisationEdit_);
    d.correctionNumber = static_cast<std::int32_t>(digitsOf(correctionNumberEdit_));
    d.sheetCountAutomatic = 0;
    d.setSupportingSheets(static_cast<std::int32_t>(digitsOf(appendixesEdit_)));
}

std::uint16_t InitialDataScreen::checkData() {
    AskerCheckDialog dialog(host().asker(), this);
    return checkInitialData(document(), dialog);
}

void InitialDataScreen::setFocusToElement(std::uint16_t code) {
    switch (code) {
    case InitialInspection:
        if (inspectionButton_->isEnabled()) {
            inspectionButton_->setFocus();
            chooseInspection();
        } else {
            inspectionEdit_->setFocus();
        }
        break;
    case InitialEstimatedIncome:
        estimatedIncomeEdit_->setFocus();
        break;
    case InitialRepresentativeName:
        fullNameEdit_->setFocus();
        break;
    case InitialRepresentativeDocument:
        documentEdit_->setFocus();
        break;
    case InitialRepresentativeOrganisation:
        organisationEdit_->setFocus();
        break;
    case InitialOktmo:
        okatoEdit_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
