#include "model/Declaration.h"
#include "reference/IncomeDict.h"
#include "screens/BusinessScreen.h"
#include "screens/DeductionsScreen.h"
#include "screens/EmptyScreen.h"
#include "screens/FlatIncomeScreen.h"
#include "screens/ForeignIncomeScreen.h"
#include "screens/Income13Screen.h"
#include "screens/InitialDataScreen.h"
#include "screens/NonResidentIncomeDialog.h"
#include "screens/InvestPartnershipScreen.h"
#include "screens/PropertyDeductionScreen.h"
#include "screens/RussianIncomeScreen.h"
#include "screens/ScreenRegistry.h"
#include "screens/SecuritiesDeductionScreen.h"
#include "screens/SocialDeductionScreen.h"
#include "screens/StandardDeductionScreen.h"
#include "screens/TaxpayerScreen.h"
#include "screens/ThirtyFiveScreen.h"

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

std::vector<ScreenInfo> programScreens() {
    const auto none = std::function<int(const Declaration&)>{};
    // One row per screen; a screen's own source file lands with its issue and its
    // row then names its class.
    return {
        {ScreenId::InitialData, QStringLiteral("TfrInitialData"), QStringLiteral("Задание условий"),
         makeScreen<InitialDataScreen>, none},
        {ScreenId::Taxpayer, QStringLiteral("TfrPersonNaim"), QStringLiteral("Сведения о декларанте"),
         makeScreen<TaxpayerScreen>, none},
        {ScreenId::RussianIncome, QStringLiteral("TfrRussianIncome"),
         QStringLiteral("Доходы, полученные в РФ"), makeScreen<RussianIncomeScreen>,
         countOf(&Declaration::incomes13)},
        {ScreenId::Currency, QStringLiteral("TfrCurrency"), QStringLiteral("Доходы за пределами РФ"),
         makeScreen<ForeignIncomeScreen>, countOf(&Declaration::foreignIncomes)},
        {ScreenId::BusinessNew, QStringLiteral("TfrBusinessNew"),
         QStringLiteral("Доходы от предпринимательской деятельности"), makeScreen<BusinessScreen>,
         countOf(&Declaration::businessIncomes)},
        {ScreenId::InvestTov, QStringLiteral("TfrInvestTov"),
         QStringLiteral("Доходы от участия в инвестиционных товариществах"),
         makeScreen<InvestPartnershipScreen>, countOf(&Declaration::investPartnerships)},
        {ScreenId::FrameDeductData, QStringLiteral("TfrFrameDeductData"), QStringLiteral("Вычеты"),
         makeScreen<DeductionsScreen>, none},
        {ScreenId::ThirteenPercent, QStringLiteral("TfrThirteenPercent"),
         QStringLiteral("Доходы, облагаемые по ставке 13%"), makeScreen<Income13Screen>,
         countOf(&Declaration::incomes13)},
        {ScreenId::NinePercent, QStringLiteral("TfrNinePercent"),
         QStringLiteral("Доходы, облагаемые по ставке 9%"),
         [](QWidget* panel, ScreenHost& host) -> ScreenFrame* {
             return new FlatIncomeScreen(panel, host, FlatIncomeKind::NinePercent);
         },
         countOf(&Declaration::incomes9)},
        {ScreenId::ThirtyFivePercent, QStringLiteral("TfrThirtyFivePercent"),
         QStringLiteral("Доходы, облагаемые по ставке 35%"), makeScreen<ThirtyFiveScreen>,
         countOf(&Declaration::incomes35)},
        {ScreenId::ThirtyPercent, QStringLiteral("TfrThirtyPercent"),
         QStringLiteral("Доходы в виде дивидендов"),
         [](QWidget* panel, ScreenHost& host) -> ScreenFrame* {
             return new FlatIncomeScreen(panel, host, FlatIncomeKind::Dividends);
         },
         countOf(&Declaration::incomes30)},
        {ScreenId::ThirteenPercentNR, QStringLiteral("TTfrThirteenPercentNR"),
         QStringLiteral("Доходы нерезидентов, высококвалифицированных специалистов"), makeNonResidentIncome13,
         countOf(&Declaration::incomes13NonResident)},
        {ScreenId::PropertyDeduction, QStringLiteral("TfrMultyConstructionDeduct"),
         QStringLiteral("Имущественный налоговый вычет"), makeScreen<PropertyDeductionScreen>, none},
        {ScreenId::SocialDeduction, QStringLiteral("TfrFramePensDeduct"),
         QStringLiteral("Социальные налоговые вычеты"), makeScreen<SocialDeductionScreen>, none},
        {ScreenId::StandardDeduction, QStringLiteral("TfrFrameStandartDeduct"),
         QStringLiteral("Стандартные налоговые вычеты"), makeScreen<StandardDeductionScreen>, none},
        {ScreenId::CB, QStringLiteral("TfrCB"),
         QStringLiteral("Убытки прошлых лет по операциям с ЦБ и инвестиционные вычеты"),
         makeScreen<SecuritiesDeductionScreen>, none},
    };
}

} // namespace

const ScreenRegistry& ScreenRegistry::standard() {
    static const ScreenRegistry registry(programScreens());
    return registry;
}

ScreenRegistry::ScreenRegistry(std::vector<ScreenInfo> rows) : rows_(std::move(rows)) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (static_cast<std::size_t>(rows_[i].id) != i)
            throw std::logic_error("screen table out of order");
    }
}

const ScreenInfo& ScreenRegistry::info(ScreenId id) const {
    return rows_.at(static_cast<std::size_t>(id));
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

void ScreenRegistry::setFactory(ScreenId id, ScreenFactory make) {
    rows_.at(static_cast<std::size_t>(id)).make = std::move(make);
}

} // namespace kv
