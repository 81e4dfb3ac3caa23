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
    kResident = idOf(ReturnKind::Resident),
    kNonResident = idOf(ReturnKind::NonResident),
    kEstimated = idOf(ReturnKind::Estimated),
    kTermination = idOf(ReturnKind::Termination),
};
// The income boxes each kind of return unticks (the rest it leaves as they are).
std::uint8_t bitsUntickedBy(int kind) {
    switch (kind) {
    case kNonResident:
        return Declaration::kForeignIncomes | Declaration::kBusinessIncomes;
    case kEstimated:
        return kIncomeBits;
    case kTermination:
        return Declaration::kForeignIncomes | Declaration::kAgentIncomes | Declaration::kPartnershipIncomes;
    default:
        return 0;
    }
}

enum Submitter {
    kSelf = static_cast<int>(SubmitterKind::InPerson),
    kPersonRepresentative = static_cast<int>(SubmitterKind::RepresentativePerson),
    kOrganisationRepresentative = static_cast<int>(SubmitterKind::RepresentativeOrganisation),
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
    rbSimple_ = named(new QRadioButton(QStringLiteral("3-НДФЛ"), kindBox), "rbSimple");
    rbNeRez_ = named(new QRadioButton(QStringLiteral("3-НДФЛ нерезидента"), kindBox), "rbNeRez");
    rb4ndfl_ = named(new QRadioButton(QStringLiteral("4-НДФЛ"), kindBox), "rb4ndfl");
    rbNextYear_ = named(new QRadioButton(QStringLiteral("3-НДФЛ при завершении деятельности ИП"), kindBox),
                        "rbNextYear");
    kindGroup_ = new QButtonGroup(this);
    auto* kindLayout = new QVBoxLayout(kindBox);
    for (auto [button, id] : {std::pair{rbSimple_, kResident}, std::pair{rbNeRez_, kNonResident},
                              std::pair{rb4ndfl_, kEstimated}, std::pair{rbNextYear_, kTermination}}) {
        kindGroup_->addButton(button, id);
        kindLayout->addWidget(button);
    }
    kindLayout->addStretch(1);
    rbSimple_->setChecked(true);

    // --- "Общая информация"
    auto* generalBox = named(new QGroupBox(QStringLiteral("Общая информация"), this), "gbGeneral");
    meInspection_ = field(generalBox, "meInspection", FieldKind::edtDigital, 4);
    // Typed by its four-digit code, so no one needs the whole directory for their own office.
    meInspection_->setMaximumWidth(70);
    meInspection_->setToolTip(QStringLiteral("Код инспекции: четыре цифры"));
    bnInspection_ =
        pickButton(generalBox, "bnInspection", QStringLiteral("Выбрать инспекцию из справочника"));
    lblInspectionName_ = named(new QLabel(generalBox), "lblInspectionName");
    lblInspectionName_->setWordWrap(true);
    meNumVer_ = field(generalBox, "meNumVer", FieldKind::edtDigital, 3);
    meNumVer_->setMaximumWidth(50);
    updCorrUp_ = named(new QToolButton(generalBox), "updCorrUp");
    updCorrUp_->setArrowType(Qt::UpArrow);
    updCorrDown_ = named(new QToolButton(generalBox), "updCorrDown");
    updCorrDown_->setArrowType(Qt::DownArrow);
    auto* updCorr = named(new QWidget(generalBox), "updCorr");
    auto* updLayout = new QHBoxLayout(updCorr);
    updLayout->setContentsMargins(0, 0, 0, 0);
    updLayout->setSpacing(0);
    updLayout->addWidget(updCorrUp_);
    updLayout->addWidget(updCorrDown_);
    meOKATO_ = field(generalBox, "meOKATO", FieldKind::edtDigital, 11);
    meOKATO_->setMaximumWidth(120);

    auto* generalLayout = new QGridLayout(generalBox);
    generalLayout->addWidget(new QLabel(QStringLiteral("Номер инспекции"), generalBox), 0, 0);
    auto* inspectionRow = new QHBoxLayout;
    inspectionRow->addWidget(meInspection_);
    inspectionRow->addWidget(bnInspection_);
    inspectionRow->addStretch(1);
    generalLayout->addLayout(inspectionRow, 0, 1);
    generalLayout->addWidget(lblInspectionName_, 1, 0, 1, 2);
    generalLayout->addWidget(new QLabel(QStringLiteral("Номер корректировки"), generalBox), 2, 0);
    auto* correctionRow = new QHBoxLayout;
    correctionRow->addWidget(meNumVer_);
    correctionRow->addWidget(updCorr);
    correctionRow->addStretch(1);
    generalLayout->addLayout(correctionRow, 2, 1);
    generalLayout->addWidget(new QLabel(QStringLiteral("ОКТМО"), generalBox), 3, 0);
    generalLayout->addWidget(meOKATO_, 3, 1, Qt::AlignLeft);
    generalLayout->setColumnStretch(1, 1);
    generalLayout->setRowStretch(4, 1);

    // --- "Признак налогоплательщика"
    auto* categoryBox = named(new QGroupBox(QStringLiteral("Признак налогоплательщика"), this), "gbCategory");
    rbPredp_ =
        named(new QRadioButton(QStringLiteral("Индивидуальный предприниматель"), categoryBox), "rbPredp");
    rbFermer_ =
        named(new QRadioButton(QStringLiteral("Глава фермерского хозяйства"), categoryBox), "rbFermer");
    rbNotarius_ = named(new QRadioButton(QStringLiteral("Частный нотариус"), categoryBox), "rbNotarius");
    rbAdvokat_ = named(new QRadioButton(QStringLiteral("Адвокат"), categoryBox), "rbAdvokat");
    rbFLProch_ = named(new QRadioButton(QStringLiteral("Иное физическое лицо"), categoryBox), "rbFLProch");
    rbArbitr_ = named(new QRadioButton(QStringLiteral("Арбитражный управляющий"), categoryBox), "rbArbitr");
    categoryGroup_ = new QButtonGroup(this);
    auto* categoryLayout = new QGridLayout(categoryBox);
    using C = TaxpayerCategory;
    const std::array<std::pair<QRadioButton*, C>, 6> categories = {{{rbPredp_, C::Entrepreneur},
                                                                    {rbFermer_, C::FarmHead},
                                                                    {rbNotarius_, C::Notary},
                                                                    {rbAdvokat_, C::Lawyer},
                                                                    {rbFLProch_, C::Other},
                                                                    {rbArbitr_, C::ArbitrationManager}}};
    for (std::size_t i = 0; i < categories.size(); ++i) {
        // The ids are the numbers the document keeps.
        categoryGroup_->addButton(categories[i].first, static_cast<int>(categories[i].second));
        categoryLayout->addWidget(categories[i].first, static_cast<int>(i % 3), static_cast<int>(i / 3));
    }
    rbFLProch_->setChecked(true);

    // --- "Имеются доходы"
    auto* incomeBox = named(new QGroupBox(QStringLiteral("Имеются доходы"), this), "gbIncomes");
    chbIncomeInquiry_ =
        named(new QCheckBox(
                  QStringLiteral("Учитываемые \"справками о доходах физического лица\", доходы по договорам"),
                  incomeBox),
              "chbIncomeInquiry");
    lblIncomeInquiry_ = named(
        new QLabel(
            QStringLiteral("гр.-правового характера, авторским вознаграждениям, от продажи имущества и др."),
            incomeBox),
        "lblIncomeInquiry");
    lblIncomeInquiry_->setContentsMargins(22, 0, 0, 0);
    chbIncomeCurrency_ =
        named(new QCheckBox(QStringLiteral("В иностранной валюте"), incomeBox), "chbIncomeCurrency");
    chbIncomeBusiness_ = named(
        new QCheckBox(QStringLiteral("От предпринимательской деятельности"), incomeBox), "chbIncomeBusiness");
    chbInvestTov_ =
        named(new QCheckBox(QStringLiteral("От участия в инвестиционных товариществах"), incomeBox),
              "chbInvestTov");
    chbInvestTov_->hide();
    lblSupposeIncome_ =
        named(new QLabel(QStringLiteral("Предполагаемый доход"), incomeBox), "lblSupposeIncome");
    meSupposeIncome_ = field(incomeBox, "meSupposeIncome", FieldKind::edtDigital, 12);
    meSupposeIncome_->setMaximumWidth(130);
    auto* incomeLayout = new QVBoxLayout(incomeBox);
    incomeLayout->setSpacing(3);
    incomeLayout->addWidget(chbIncomeInquiry_);
    incomeLayout->addWidget(lblIncomeInquiry_);
    incomeLayout->addWidget(chbIncomeCurrency_);
    auto* businessRow = new QHBoxLayout;
    businessRow->addWidget(chbIncomeBusiness_);
    businessRow->addSpacing(24);
    businessRow->addWidget(lblSupposeIncome_);
    businessRow->addWidget(meSupposeIncome_);
    businessRow->addStretch(1);
    incomeLayout->addLayout(businessRow);
    incomeLayout->addWidget(chbInvestTov_);

    // --- "Достоверность подтверждается"
    auto* submitterBox =
        named(new QGroupBox(QStringLiteral("Достоверность подтверждается"), this), "gbSubmitter");
    rbGiveSelf_ = named(new QRadioButton(QStringLiteral("Лично"), submitterBox), "rbGiveSelf");
    rbGiveTrustFase_ =
        named(new QRadioButton(QStringLiteral("Представителем - ФЛ"), submitterBox), "rbGiveTrustFase");
    rbGiveByMail_ =
        named(new QRadioButton(QStringLiteral("Представителем - ЮЛ"), submitterBox), "rbGiveByMail");
    submitterGroup_ = new QButtonGroup(this);
    submitterGroup_->addButton(rbGiveSelf_, kSelf);
    submitterGroup_->addButton(rbGiveTrustFase_, kPersonRepresentative);
    submitterGroup_->addButton(rbGiveByMail_, kOrganisationRepresentative);
    rbGiveSelf_->setChecked(true);
    lblFIO_ = named(new QLabel(QStringLiteral("ФИО"), submitterBox), "lblFIO");
    meFIO_ = field(submitterBox, "meFIO", FieldKind::edtNone, 182);
    lblOsn_ = named(new QLabel(QStringLiteral("Документ"), submitterBox), "lblOsn");
    meOsn_ = field(submitterBox, "meOsn", FieldKind::edtNone, 120);
    lblUL_ = named(new QLabel(QStringLiteral("Организация - представитель"), submitterBox), "lblUL");
    meUL_ = field(submitterBox, "meUL", FieldKind::edtNone, 1000);
    auto* submitterLayout = new QGridLayout(submitterBox);
    auto* submitterRadios = new QVBoxLayout;
    submitterRadios->addWidget(rbGiveSelf_);
    submitterRadios->addWidget(rbGiveTrustFase_);
    submitterRadios->addWidget(rbGiveByMail_);
    submitterRadios->addStretch(1);
    submitterLayout->addLayout(submitterRadios, 0, 0, 3, 1);
    submitterLayout->addWidget(lblFIO_, 0, 1);
    submitterLayout->addWidget(meFIO_, 0, 2);
    submitterLayout->addWidget(lblOsn_, 1, 1);
    submitterLayout->addWidget(meOsn_, 1, 2);
    submitterLayout->addWidget(lblUL_, 2, 1);
    submitterLayout->addWidget(meUL_, 2, 2);
    submitterLayout->setColumnStretch(2, 1);
    submitterLayout->setColumnMinimumWidth(0, 170);

    // --- The number of sheets of supporting documents: kept, not shown.
    gbAppendixes_ = named(new QGroupBox(QStringLiteral("Общее число листов подтверждающих документов"), this),
                          "gbAppendixes");
    meAppendixes_ = field(gbAppendixes_, "meAppendixes", FieldKind::edtDigital, 4);
    chbAutoCalculateApp_ =
        named(new QCheckBox(QStringLiteral("Автоматический подсчет"), gbAppendixes_), "chbAutoCalculateApp");
    auto* appendixLayout = new QHBoxLayout(gbAppendixes_);
    appendixLayout->addWidget(meAppendixes_);
    appendixLayout->addWidget(chbAutoCalculateApp_);
    gbAppendixes_->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(kindBox);
    top->addWidget(generalBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(categoryBox);
    layout->addWidget(incomeBox);
    layout->addWidget(submitterBox);
    layout->addWidget(gbAppendixes_);
    layout->addStretch(1);
}

void InitialDataScreen::load() {
    const Declaration& d = document();
    meInspection_->setText(fromCp1251(d.inspectionCode));
    showInspectionName();
    meNumVer_->setText(QString::number(d.correctionNumber));
    meOKATO_->setText(fromCp1251(d.person.oktmo));
    if (QAbstractButton* submitter = submitterGroup_->button(d.submitterKind))
        submitter->setChecked(true);
    meOsn_->setText(fromCp1251(d.representativeDocument));
    meFIO_->setText(fromCp1251(d.representativeName));
    meUL_->setText(fromCp1251(d.representativeOrganisation));
    if (QAbstractButton* category = categoryGroup_->button(d.taxpayerCategory))
        category->setChecked(true);
    chbIncomeInquiry_->setChecked(d.has(IncomeKind::Agent));
    chbIncomeCurrency_->setChecked(d.has(IncomeKind::Foreign));
    chbIncomeBusiness_->setChecked(d.has(IncomeKind::Business));
    chbInvestTov_->setChecked(d.has(IncomeKind::Partnership));
    meSupposeIncome_->setText(wholeRoublesText(d.estimatedIncome));
    meAppendixes_->setText(QString::number(d.supportingSheets()));
    chbAutoCalculateApp_->setChecked(false);
    bnInspection_->setEnabled(host().directories().inspections.has_value());
    if (QAbstractButton* kind = kindGroup_->button(d.declarationKind))
        kind->setChecked(true);
}

void InitialDataScreen::connectRules() {
    connect(chbIncomeInquiry_, &QCheckBox::toggled, this, &InitialDataScreen::certificateClicked);
    connect(chbIncomeCurrency_, &QCheckBox::toggled, this, &InitialDataScreen::currencyClicked);
    connect(chbIncomeBusiness_, &QCheckBox::toggled, this, &InitialDataScreen::businessClicked);
    connect(chbInvestTov_, &QCheckBox::toggled, this, &InitialDataScreen::partnershipClicked);
    connect(kindGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || !kindChangeConfirmed(id))
            return;
        kindChosen(id);
        dropAgreed_ = false;
        DocumentChanged();
    });
    connect(submitterGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            submitterChosen(id);
            DocumentChanged();
        }
    });
    connect(categoryGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            DocumentChanged();
    });
    for (FieldEdit* edit : {meNumVer_, meOKATO_, meSupposeIncome_, meFIO_, meOsn_, meUL_, meAppendixes_})
        connect(edit, &FieldEdit::changed, this, [this] { DocumentChanged(); });
    connect(bnInspection_, &QToolButton::clicked, this, &InitialDataScreen::chooseInspection);
    connect(meInspection_, &FieldEdit::changed, this, &InitialDataScreen::inspectionTyped);
    connect(updCorrUp_, &QToolButton::clicked, this, [this] { stepCorrection(1); });
    connect(updCorrDown_, &QToolButton::clicked, this, [this] { stepCorrection(-1); });

    // The loaded values decide what is enabled, here and among the section buttons,
    // exactly as if the user had set them.
    host().setSectionEnabled(Section::RussianIncome, chbIncomeInquiry_->isChecked());
    host().setSectionEnabled(Section::ForeignIncome, chbIncomeCurrency_->isChecked());
    host().setSectionEnabled(Section::BusinessIncome, chbIncomeBusiness_->isChecked());
    host().setSectionEnabled(Section::InvestTov, chbInvestTov_->isChecked());
    lblSupposeIncome_->setEnabled(chbIncomeBusiness_->isChecked());
    meSupposeIncome_->setEnabled(chbIncomeBusiness_->isChecked());
    submitterChosen(submitterGroup_->checkedId());
    shownKind_ = declarationKind();
    kindChosen(shownKind_);
}

int InitialDataScreen::declarationKind() const {
    return std::max(kindGroup_->checkedId(), 0);
}

bool InitialDataScreen::anyIncomeBox() const {
    return chbIncomeInquiry_->isChecked() || chbIncomeCurrency_->isChecked() ||
           chbIncomeBusiness_->isChecked() || chbInvestTov_->isChecked();
}

void InitialDataScreen::setDeductionsSection(bool enabled) {
    host().setSectionEnabled(Section::Deduction, enabled);
}

std::uint8_t InitialDataScreen::tickedIncomeBits() const {
    std::uint8_t bits = 0;
    if (chbIncomeInquiry_->isChecked())
        bits |= Declaration::kAgentIncomes;
    if (chbIncomeCurrency_->isChecked())
        bits |= Declaration::kForeignIncomes;
    if (chbIncomeBusiness_->isChecked())
        bits |= Declaration::kBusinessIncomes;
    if (chbInvestTov_->isChecked())
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
    case kResident:
    case kNonResident:
        if (kind == kResident) {
            chbIncomeCurrency_->setEnabled(true);
            chbIncomeBusiness_->setEnabled(true);
        } else {
            disableBox(chbIncomeCurrency_);
            disableBox(chbIncomeBusiness_);
        }
        chbIncomeInquiry_->setEnabled(true);
        lblIncomeInquiry_->setEnabled(true);
        chbInvestTov_->setEnabled(true);
        rbFermer_->setEnabled(true);
        rbArbitr_->setEnabled(true);
        rbFLProch_->setEnabled(true);
        chbAutoCalculateApp_->setEnabled(true);
        break;
    case kEstimated:
        disableBox(chbIncomeCurrency_);
        disableBox(chbIncomeBusiness_);
        disableBox(chbIncomeInquiry_);
        lblIncomeInquiry_->setEnabled(false);
        disableBox(chbInvestTov_);
        moveFrom(rbFLProch_, rbPredp_);
        rbFLProch_->setEnabled(false);
        chbAutoCalculateApp_->setEnabled(false);
        break;
    case kTermination:
        disableBox(chbIncomeCurrency_);
        if (byPerson)
            chbIncomeBusiness_->setChecked(true);
        chbIncomeBusiness_->setEnabled(true);
        disableBox(chbIncomeInquiry_);
        lblIncomeInquiry_->setEnabled(false);
        disableBox(chbInvestTov_);
        rbArbitr_->setEnabled(true);
        moveFrom(rbFLProch_, rbPredp_);
        rbFLProch_->setEnabled(false);
        chbAutoCalculateApp_->setEnabled(false);
        break;
    default:
        return;
    }

    // Only the 4-NDFL return states an estimated income and may be confirmed by an organisation.
    const bool estimated = kind == kEstimated;
    lblSupposeIncome_->setVisible(estimated);
    meSupposeIncome_->setVisible(estimated);
    if (estimated) {
        lblSupposeIncome_->setEnabled(true);
        meSupposeIncome_->setEnabled(true);
    } else {
        moveFrom(rbGiveByMail_, rbGiveTrustFase_);
    }
    rbGiveByMail_->setVisible(estimated);
    lblUL_->setVisible(estimated);
    meUL_->setVisible(estimated);

    // Only a resident's return has deductions, and only with some income.
    setDeductionsSection(kind == kResident &&
                         (chbIncomeInquiry_->isChecked() || chbIncomeBusiness_->isChecked() ||
                          chbIncomeCurrency_->isChecked()));
}

void InitialDataScreen::certificateClicked(bool checked) {
    if (!checked && !dropConfirmed(Declaration::kAgentIncomes, chbIncomeInquiry_))
        return;
    host().setSectionEnabled(Section::RussianIncome, checked);
    if (!checked)
        document().drop(IncomeKind::Agent);
    setDeductionsSection(anyIncomeBox() && declarationKind() != kNonResident);
    DocumentChanged();
}

void InitialDataScreen::currencyClicked(bool checked) {
    if (!checked && !dropConfirmed(Declaration::kForeignIncomes, chbIncomeCurrency_))
        return;
    host().setSectionEnabled(Section::ForeignIncome, checked);
    if (!checked)
        document().drop(IncomeKind::Foreign);
    setDeductionsSection(anyIncomeBox());
    DocumentChanged();
}

void InitialDataScreen::businessClicked(bool checked) {
    // The activities go with the flag when the screen is saved; the person is asked now.
    if (!checked && !dropConfirmed(Declaration::kBusinessIncomes, chbIncomeBusiness_))
        return;
    host().setSectionEnabled(Section::BusinessIncome, checked);
    lblSupposeIncome_->setEnabled(checked);
    meSupposeIncome_->setEnabled(checked);
    if (!checked)
        meSupposeIncome_->clear();
    setDeductionsSection(anyIncomeBox() && declarationKind() != kTermination);
    DocumentChanged();
}

void InitialDataScreen::partnershipClicked(bool checked) {
    if (!checked && !dropConfirmed(Declaration::kPartnershipIncomes, chbInvestTov_))
        return;
    host().setSectionEnabled(Section::InvestTov, checked);
    if (!anyIncomeBox())
        setDeductionsSection(false);
    else if (declarationKind() == kResident)
        setDeductionsSection(true);
    DocumentChanged();
}

void InitialDataScreen::submitterChosen(int kind) {
    const bool person = kind == kPersonRepresentative || kind == kOrganisationRepresentative;
    const bool organisation = kind == kOrganisationRepresentative;
    for (QWidget* w : std::initializer_list<QWidget*>{lblFIO_, meFIO_, lblOsn_, meOsn_})
        w->setEnabled(person);
    lblUL_->setEnabled(organisation);
    meUL_->setEnabled(organisation);
}

void InitialDataScreen::stepCorrection(int step) {
    const std::int64_t value = std::clamp<std::int64_t>(digitsOf(meNumVer_) + step, 0, 999);
    meNumVer_->setText(QString::number(value));
}

std::optional<std::string> InitialDataScreen::directoryName(const std::string& code) const {
    const auto& offices = host().directories().inspections;
    if (!offices.has_value() || code.empty())
        return std::nullopt;
    if (const auto row = findCodeRow(*offices, code))
        return (*offices)[*row].name;
    return std::nullopt;
}

void InitialDataScreen::showInspectionName() {
    const std::string code = toCp1251(meInspection_->text());
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
        note = InspectionCodeValid(code) ? QStringLiteral("наименование не найдено в справочнике")
                                         : QStringLiteral("Код инспекции состоит из четырёх цифр");
    lblInspectionName_->setText(note.isEmpty() ? name : note);
    lblInspectionName_->setToolTip(note.isEmpty() ? name : note);
    lblInspectionName_->setStyleSheet(note.isEmpty() ? QString() : QStringLiteral("color: #a01c1c"));
}

// A typed code takes the directory's name with it; the document's own code keeps
// the name stored with it; a code nobody knows is stored without a name.
void InitialDataScreen::inspectionTyped() {
    const std::string code = toCp1251(meInspection_->text());
    if (code == document().inspectionCode)
        pickedInspectionName_.reset();
    else
        pickedInspectionName_ = directoryName(code).value_or(std::string());
    showInspectionName();
    DocumentChanged();
}

void InitialDataScreen::chooseInspection() {
    const auto& offices = host().directories().inspections;
    if (!offices.has_value())
        return;
    TaxOfficePicker& picker = TaxOfficePicker::of(window(), *offices, host().asker());
    const std::optional<CodeName> office = picker.choose(toCp1251(meInspection_->text()));
    if (!office.has_value() || fromCp1251(office->code) == meInspection_->text())
        return;
    meInspection_->setText(fromCp1251(office->code));
    pickedInspectionName_ = office->name;
    showInspectionName();
}

void InitialDataScreen::SaveData() {
    Declaration& d = document();
    d.inspectionCode = toCp1251(meInspection_->text());
    if (pickedInspectionName_.has_value())
        d.inspectionName = *pickedInspectionName_;
    d.person.oktmo = toCp1251(meOKATO_->text());
    d.submitterKind = static_cast<std::uint8_t>(std::max(submitterGroup_->checkedId(), 0));
    d.taxpayerCategory = static_cast<std::uint8_t>(std::max(categoryGroup_->checkedId(), 0));
    d.declarationKind = static_cast<std::uint8_t>(declarationKind());

    // Bits other than the four boxes are kept as the document had them.
    d.setIncomeFlags((d.incomeFlags() & static_cast<std::uint8_t>(~kIncomeBits)) | tickedIncomeBits());

    d.estimatedIncome = wholeRoublesOf(meSupposeIncome_, d.estimatedIncome);
    // A representative's field the confirmation choice disabled is emptied, whatever it shows.
    const auto representative = [this](const FieldEdit* edit) {
        return !edit->text().isEmpty() && edit->isEnabledTo(this) ? toCp1251(edit->text()) : std::string();
    };
    d.representativeDocument = representative(meOsn_);
    d.representativeName = representative(meFIO_);
    d.representativeOrganisation = representative(meUL_);
    d.correctionNumber = static_cast<std::int32_t>(digitsOf(meNumVer_));
    d.sheetCountAutomatic = 0;
    d.setSupportingSheets(static_cast<std::int32_t>(digitsOf(meAppendixes_)));
}

std::uint16_t InitialDataScreen::CheckData() {
    AskerCheckDialog dialog(host().asker(), this);
    return CheckInitialData(document(), dialog);
}

void InitialDataScreen::SetFocusToElement(std::uint16_t code) {
    switch (code) {
    case kInitialInspection:
        if (bnInspection_->isEnabled()) {
            bnInspection_->setFocus();
            chooseInspection();
        } else {
            meInspection_->setFocus();
        }
        break;
    case kInitialEstimatedIncome:
        meSupposeIncome_->setFocus();
        break;
    case kInitialRepresentativeName:
        meFIO_->setFocus();
        break;
    case kInitialRepresentativeDocument:
        meOsn_->setFocus();
        break;
    case kInitialRepresentativeOrganisation:
        meUL_->setFocus();
        break;
    case kInitialOktmo:
        meOKATO_->setFocus();
        break;
    default:
        break;
    }
}

} // namespace kv
