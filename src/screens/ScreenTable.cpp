#include "model/Declaration.h"
#include "screens/DeductionsScreen.h"
#include "screens/EmptyScreen.h"
#include "screens/ForeignIncomeScreen.h"
#include "screens/Income13Screen.h"
#include "screens/InitialDataScreen.h"
#include "screens/PropertyDeductionScreen.h"
#include "screens/RussianIncomeScreen.h"
#include "screens/ScreenRegistry.h"
#include "screens/TaxpayerScreen.h"

#include <stdexcept>

namespace kv {

namespace {

template <class List> std::function<int(const Declaration&)> countOf(List Declaration::*list) {
    return [list](const Declaration& d) { return static_cast<int>((d.*list).count()); };
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
        {ScreenId::BusinessNew,
         QStringLiteral("TfrBusinessNew"),
         QStringLiteral("Доходы от предпринимательской деятельности"),
         {},
         countOf(&Declaration::businessIncomes)},
        {ScreenId::InvestTov,
         QStringLiteral("TfrInvestTov"),
         QStringLiteral("Доходы от участия в инвестиционных товариществах"),
         {},
         countOf(&Declaration::investPartnerships)},
        {ScreenId::FrameDeductData, QStringLiteral("TfrFrameDeductData"), QStringLiteral("Вычеты"),
         makeScreen<DeductionsScreen>, none},
        {ScreenId::ThirteenPercent, QStringLiteral("TfrThirteenPercent"),
         QStringLiteral("Доходы, облагаемые по ставке 13%"), makeScreen<Income13Screen>,
         countOf(&Declaration::incomes13)},
        {ScreenId::NinePercent,
         QStringLiteral("TfrNinePercent"),
         QStringLiteral("Доходы, облагаемые по ставке 9%"),
         {},
         countOf(&Declaration::incomes9)},
        {ScreenId::ThirtyFivePercent,
         QStringLiteral("TfrThirtyFivePercent"),
         QStringLiteral("Доходы, облагаемые по ставке 35%"),
         {},
         countOf(&Declaration::incomes35)},
        {ScreenId::ThirtyPercent,
         QStringLiteral("TfrThirtyPercent"),
         QStringLiteral("Доходы в виде дивидендов"),
         {},
         countOf(&Declaration::incomes30)},
        {ScreenId::ThirteenPercentNR,
         QStringLiteral("TTfrThirteenPercentNR"),
         QStringLiteral("Доходы нерезидентов, высококвалифицированных специалистов"),
         {},
         countOf(&Declaration::incomes13NonResident)},
        {ScreenId::PropertyDeduction, QStringLiteral("TfrMultyConstructionDeduct"),
         QStringLiteral("Имущественный налоговый вычет"), makeScreen<PropertyDeductionScreen>, none},
        {ScreenId::SocialDeduction,
         QStringLiteral("TfrFramePensDeduct"),
         QStringLiteral("Социальные налоговые вычеты"),
         {},
         none},
        {ScreenId::StandardDeduction,
         QStringLiteral("TfrFrameStandartDeduct"),
         QStringLiteral("Стандартные налоговые вычеты"),
         {},
         none},
        {ScreenId::CB,
         QStringLiteral("TfrCB"),
         QStringLiteral("Убытки прошлых лет по операциям с ЦБ и инвестиционные вычеты"),
         {},
         none},
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
