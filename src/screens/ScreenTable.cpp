#include "screens/ScreenTable.h"
#include "model/Declaration.h"
#include "reference/IncomeDict.h"
#include "screens/BusinessScreen.h"
#include "screens/DeductionsScreen.h"
#include "screens/EmptyScreen.h"
#include "screens/FlatIncomeScreen.h"
#include "screens/ForeignIncomeScreen.h"
#include "screens/Income13Screen.h"
#include "screens/InitialDataScreen.h"
#include "screens/InvestPartnershipScreen.h"
#include "screens/NonResidentIncomeDialog.h"
#include "screens/PropertyDeductionScreen.h"
#include "screens/RussianIncomeScreen.h"
#include "screens/SecuritiesDeductionScreen.h"
#include "screens/SocialDeductionScreen.h"
#include "screens/StandardDeductionScreen.h"
#include "screens/TaxpayerScreen.h"
#include "screens/ThirtyFiveScreen.h"

#include <algorithm>
#include <stdexcept>

namespace kv {

namespace {

template <class List> std::function<int(const Declaration&)> countOf(List Declaration::*list) {
    return [list](const Declaration& d) { return static_cast<int>((d.*list).count()); };
}

// Non-residents' incomes at 13%: the 13% screen over their own list, with the income
// dialog of their codes, no deductions granted by tax agents, the foreigner's fixed
// payments on every return and no checks of its own on leaving.
ScreenFrame* makeNonResidentIncome13(QWidget* panel, ScreenHost& host) {
    Income13Setup setup;
    setup.sources = &Declaration::incomes13NonResident;
    setup.agentDeductions = Income13Setup::Shown::Never;
    setup.foreignerAdvance = Income13Setup::Shown::Always;
    setup.sourceMarks = false;
    setup.checked = false;
    setup.incomeDialog =
        [](QWidget* parent, ScreenHost& screenHost, const ThirteenPercentSource&,
           const std::optional<ThirteenIncomeItem>& existing) -> std::optional<ThirteenIncomeItem> {
        NonResidentIncomeDialog dialog(screenHost.asker(), IncomeDict::builtIn(), existing, parent);
        if (dialog.exec() != QDialog::Accepted || !dialog.incomeChosen())
            return std::nullopt;
        return dialog.item();
    };
    return new Income13Screen(panel, host, std::move(setup));
}

template <class Rows> auto& rowOf(Rows& rows, ScreenId id) {
    const auto found = std::ranges::find(rows, id, &ScreenInfo::id);
    if (found == rows.end())
        throw std::logic_error("a screen without its row in the screen table");
    return *found;
}

bool always(const Declaration&) {
    return true;
}

EnabledTest withIncomes(IncomeKind kind) {
    return [kind](const Declaration& d) { return d.has(kind); };
}

// Deductions are granted on a resident's return with any income.
bool deductionsOffered(const Declaration& d) {
    return d.hasIncomes() && d.kind() == ReturnKind::Resident;
}

template <FlatIncomeKind kind> ScreenFrame* makeFlatIncome(QWidget* panel, ScreenHost& host) {
    return new FlatIncomeScreen(panel, host, kind);
}

std::vector<ScreenInfo> programScreens() {
    const auto none = std::function<int(const Declaration&)>{};
    const InsideContainer incomes{ScreenId::RussianIncome};
    const InsideContainer deductions{ScreenId::Deductions};
    const QString incomesHelp = QStringLiteral("RussianIncome.htm");
    const QString deductionsHelp = QStringLiteral("Deductions.htm");
    // One row per screen, in any order; a section's button takes its place from Section.
    return {
        {ScreenId::InitialData,
         QStringLiteral("TfrInitialData"),
         QStringLiteral("Задание условий"),
         makeScreen<InitialDataScreen>,
         none,
         SectionPlace{Section::InitialData, QStringLiteral("fbInitialData"),
                      QStringLiteral("Задание условий"), QStringLiteral("Выбор режима ввода"),
                      SectionPicture::Gear, always},
         QStringLiteral("InitialData.htm"),
         {{CheckSection::Conditions}}},
        {ScreenId::Taxpayer,
         QStringLiteral("TfrPersonNaim"),
         QStringLiteral("Сведения о декларанте"),
         makeScreen<TaxpayerScreen>,
         none,
         SectionPlace{
             Section::Taxpayer, QStringLiteral("fbPrsonInfo"), QStringLiteral("Сведения о декларанте"),
             QStringLiteral("Персональные данные налогоплательщика"), SectionPicture::Person, always},
         QStringLiteral("PersonInfo.htm"),
         {{CheckSection::Taxpayer}}},
        {ScreenId::RussianIncome,
         QStringLiteral("TfrRussianIncome"),
         QStringLiteral("Доходы, полученные в РФ"),
         makeScreen<RussianIncomeScreen>,
         countOf(&Declaration::incomes13),
         SectionPlace{
             Section::RussianIncome, QStringLiteral("fbRussianIncome"),
             QStringLiteral("Доходы, полученные в РФ"),
             QStringLiteral("Доходы, полученные от налоговых агентов или иных источников, в т.ч. физлиц"),
             SectionPicture::Rouble, withIncomes(IncomeKind::Agent)},
         incomesHelp,
         {}},
        {ScreenId::ForeignIncome,
         QStringLiteral("TfrCurrency"),
         QStringLiteral("Доходы за пределами РФ"),
         makeScreen<ForeignIncomeScreen>,
         countOf(&Declaration::foreignIncomes),
         SectionPlace{Section::ForeignIncome, QStringLiteral("fbForeignIncome"),
                      QStringLiteral("Доходы за пределами РФ"),
                      QStringLiteral("Доходы, полученные в иностранной валюте"), SectionPicture::Globe,
                      withIncomes(IncomeKind::Foreign)},
         QStringLiteral("ForeignIncome.htm"),
         {{CheckSection::ForeignIncomes}}},
        {ScreenId::Business,
         QStringLiteral("TfrBusinessNew"),
         QStringLiteral("Доходы от предпринимательской деятельности"),
         makeScreen<BusinessScreen>,
         countOf(&Declaration::businessIncomes),
         SectionPlace{Section::BusinessIncome, QStringLiteral("fbBusinessIncome"),
                      QStringLiteral("Предприниматели"),
                      QStringLiteral("Доходы, полученные от предпринимательской деятельности без образования "
                                     "юридического лица и частной практики"),
                      SectionPicture::Briefcase, withIncomes(IncomeKind::Business)},
         QStringLiteral("Business.htm"),
         {{CheckSection::BusinessIncomes}}},
        // Partnership incomes are entered on the 13% screen, among its sources; this
        // section stays hidden.
        {ScreenId::InvestmentPartnership,
         QStringLiteral("TfrInvestTov"),
         QStringLiteral("Доходы от участия в инвестиционных товариществах"),
         makeScreen<InvestPartnershipScreen>,
         countOf(&Declaration::investPartnerships),
         SectionPlace{Section::InvestmentPartnership, QStringLiteral("fbInvestTov"),
                      QStringLiteral("Инвест. товарищества"),
                      QStringLiteral("Данные по участию в инвестиционных товариществах"),
                      SectionPicture::Chart, withIncomes(IncomeKind::Partnership), false},
         QString(),
         {}},
        {ScreenId::Deductions,
         QStringLiteral("TfrFrameDeductData"),
         QStringLiteral("Вычеты"),
         makeScreen<DeductionsScreen>,
         none,
         SectionPlace{Section::Deductions, QStringLiteral("fbDeduction"), QStringLiteral("Вычеты"),
                      QStringLiteral("Стандартные, социальные и имущественный налоговые вычеты"),
                      SectionPicture::PercentDown, deductionsOffered},
         deductionsHelp,
         {}},
        {ScreenId::ThirteenPercent,
         QStringLiteral("TfrThirteenPercent"),
         QStringLiteral("Доходы, облагаемые по ставке 13%"),
         makeScreen<Income13Screen>,
         countOf(&Declaration::incomes13),
         incomes,
         incomesHelp,
         {{CheckSection::Incomes13}, {CheckSection::Partnerships, false}}},
        {ScreenId::NinePercent,
         QStringLiteral("TfrNinePercent"),
         QStringLiteral("Доходы, облагаемые по ставке 9%"),
         makeFlatIncome<FlatIncomeKind::NinePercent>,
         countOf(&Declaration::incomes9),
         incomes,
         incomesHelp,
         {{CheckSection::Incomes9}}},
        {ScreenId::ThirtyFivePercent,
         QStringLiteral("TfrThirtyFivePercent"),
         QStringLiteral("Доходы, облагаемые по ставке 35%"),
         makeScreen<ThirtyFiveScreen>,
         countOf(&Declaration::incomes35),
         incomes,
         incomesHelp,
         {{CheckSection::Incomes35}}},
        {ScreenId::Dividends,
         QStringLiteral("TfrThirtyPercent"),
         QStringLiteral("Доходы в виде дивидендов"),
         makeFlatIncome<FlatIncomeKind::Dividends>,
         countOf(&Declaration::incomes30),
         incomes,
         incomesHelp,
         {{CheckSection::Dividends}}},
        {ScreenId::ThirteenPercentNonResident,
         QStringLiteral("TTfrThirteenPercentNR"),
         QStringLiteral("Доходы нерезидентов, высококвалифицированных специалистов"),
         makeNonResidentIncome13,
         countOf(&Declaration::incomes13NonResident),
         incomes,
         incomesHelp,
         {{CheckSection::Incomes13NonResident}}},
        {ScreenId::PropertyDeduction,
         QStringLiteral("TfrMultyConstructionDeduct"),
         QStringLiteral("Имущественный налоговый вычет"),
         makeScreen<PropertyDeductionScreen>,
         none,
         deductions,
         deductionsHelp,
         {}},
        {ScreenId::SocialDeduction,
         QStringLiteral("TfrFramePensDeduct"),
         QStringLiteral("Социальные налоговые вычеты"),
         makeScreen<SocialDeductionScreen>,
         none,
         deductions,
         deductionsHelp,
         {{CheckSection::SocialDeductions}}},
        {ScreenId::StandardDeduction,
         QStringLiteral("TfrFrameStandartDeduct"),
         QStringLiteral("Стандартные налоговые вычеты"),
         makeScreen<StandardDeductionScreen>,
         none,
         deductions,
         QStringLiteral("StandartDeductions.htm"),
         {{CheckSection::StandardDeductions}}},
        // Its help lies with the incomes received in Russia.
        {ScreenId::Securities,
         QStringLiteral("TfrCB"),
         QStringLiteral("Убытки прошлых лет по операциям с ЦБ и инвестиционные вычеты"),
         makeScreen<SecuritiesDeductionScreen>,
         none,
         deductions,
         incomesHelp,
         {}},
    };
}

} // namespace

const ScreenRegistry& ScreenRegistry::standard() {
    static const ScreenRegistry registry(programScreens());
    return registry;
}

ScreenRegistry::ScreenRegistry(std::vector<ScreenInfo> rows) : rows_(std::move(rows)) {}

const ScreenInfo& ScreenRegistry::info(ScreenId id) const {
    return rowOf(rows_, id);
}

ScreenInfo& ScreenRegistry::row(ScreenId id) {
    return rowOf(rows_, id);
}

ScreenFrame* ScreenRegistry::create(ScreenId id, QWidget* panel, ScreenHost& host) const {
    const ScreenInfo& row = info(id);
    ScreenFrame* screen = row.make ? row.make(panel, host) : new EmptyScreen(panel, host, row.title);
    screen->screenId_ = id;
    screen->setObjectName(row.className);
    return screen;
}

bool ScreenRegistry::hasFirstEntry(ScreenId id, const Declaration& document) const {
    const ScreenInfo& row = info(id);
    return row.firstListCount && row.firstListCount(document) > 0;
}

std::optional<FaultRoute> ScreenRegistry::faultRoute(CheckSection section) const {
    for (const ScreenInfo& screen : rows_) {
        const auto here = std::ranges::find(screen.checked, section, &CheckedHere::section);
        if (here == screen.checked.end())
            continue;
        if (const auto* place = std::get_if<SectionPlace>(&screen.place))
            return FaultRoute{place->section, std::nullopt, here->listsTheRecord};
        const ScreenInfo& container = info(std::get<InsideContainer>(screen.place).container);
        return FaultRoute{std::get<SectionPlace>(container.place).section, screen.id, here->listsTheRecord};
    }
    return std::nullopt;
}

void ScreenRegistry::setFactory(ScreenId id, ScreenFactory make) {
    row(id).make = std::move(make);
}

} // namespace kv
