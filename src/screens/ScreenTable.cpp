#include "model/Declaration.h"
#include "screens/ScreenRegistry.h"
#include "screens/TfrEmptyScreen.h"
#include "screens/TfrFrameDeductData.h"
#include "screens/TfrInitialData.h"
#include "screens/TfrMultyConstructionDeduct.h"
#include "screens/TfrPersonNaim.h"
#include "screens/TfrRussianIncome.h"
#include "screens/TfrThirteenPercent.h"

#include <stdexcept>

namespace kv {

namespace {

template <class List> std::function<int(const mTDeclaration&)> countOf(List mTDeclaration::*list) {
    return [list](const mTDeclaration& d) { return static_cast<int>((d.*list).count()); };
}

std::vector<ScreenInfo> programScreens() {
    const auto none = std::function<int(const mTDeclaration&)>{};
    // One row per screen; a screen's own source file lands with its issue and its
    // row then names its class.
    return {
        {ScreenId::InitialData,
         QStringLiteral("TfrInitialData"),
         QStringLiteral("Задание условий"),
         makeScreen<TfrInitialData>,
         none},
        {ScreenId::PersonNaim,
         QStringLiteral("TfrPersonNaim"),
         QStringLiteral("Сведения о декларанте"),
         makeScreen<TfrPersonNaim>,
         none},
        {ScreenId::RussianIncome, QStringLiteral("TfrRussianIncome"),
         QStringLiteral("Доходы, полученные в РФ"), makeScreen<TfrRussianIncome>,
         countOf(&mTDeclaration::incomes13)},
        {ScreenId::Currency,
         QStringLiteral("TfrCurrency"),
         QStringLiteral("Доходы за пределами РФ"),
         {},
         countOf(&mTDeclaration::foreignIncomes)},
        {ScreenId::BusinessNew,
         QStringLiteral("TfrBusinessNew"),
         QStringLiteral("Доходы от предпринимательской деятельности"),
         {},
         countOf(&mTDeclaration::businessIncomes)},
        {ScreenId::InvestTov,
         QStringLiteral("TfrInvestTov"),
         QStringLiteral("Доходы от участия в инвестиционных товариществах"),
         {},
         countOf(&mTDeclaration::investPartnerships)},
        {ScreenId::FrameDeductData, QStringLiteral("TfrFrameDeductData"), QStringLiteral("Вычеты"),
         makeScreen<TfrFrameDeductData>, none},
        {ScreenId::ThirteenPercent,
         QStringLiteral("TfrThirteenPercent"),
         QStringLiteral("Доходы, облагаемые по ставке 13%"),
         makeScreen<TfrThirteenPercent>,
         countOf(&mTDeclaration::incomes13)},
        {ScreenId::NinePercent,
         QStringLiteral("TfrNinePercent"),
         QStringLiteral("Доходы, облагаемые по ставке 9%"),
         {},
         countOf(&mTDeclaration::incomes9)},
        {ScreenId::ThirtyFivePercent,
         QStringLiteral("TfrThirtyFivePercent"),
         QStringLiteral("Доходы, облагаемые по ставке 35%"),
         {},
         countOf(&mTDeclaration::incomes35)},
        {ScreenId::ThirtyPercent,
         QStringLiteral("TfrThirtyPercent"),
         QStringLiteral("Доходы в виде дивидендов"),
         {},
         countOf(&mTDeclaration::incomes30)},
        {ScreenId::ThirteenPercentNR,
         QStringLiteral("TTfrThirteenPercentNR"),
         QStringLiteral("Доходы нерезидентов, высококвалифицированных специалистов"),
         {},
         countOf(&mTDeclaration::incomes13NonResident)},
        {ScreenId::MultyConstructionDeduct,
         QStringLiteral("TfrMultyConstructionDeduct"),
         QStringLiteral("Имущественный налоговый вычет"),
         makeScreen<TfrMultyConstructionDeduct>,
         none},
        {ScreenId::FramePensDeduct,
         QStringLiteral("TfrFramePensDeduct"),
         QStringLiteral("Социальные налоговые вычеты"),
         {},
         none},
        {ScreenId::FrameStandartDeduct,
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

TThinkingFrame* ScreenRegistry::create(ScreenId id, QWidget* panel, ScreenHost& host) const {
    const ScreenInfo& row = info(id);
    TThinkingFrame* screen = row.make ? row.make(panel, host) : new TfrEmptyScreen(panel, host, row.title);
    screen->screenId_ = id;
    screen->setObjectName(row.className);
    return screen;
}

bool ScreenRegistry::hasFirstEntry(ScreenId id, const mTDeclaration& document) const {
    const ScreenInfo& row = info(id);
    return row.firstListCount && row.firstListCount(document) > 0;
}

void ScreenRegistry::setFactory(ScreenId id, ScreenFactory make) {
    rows_.at(static_cast<std::size_t>(id)).make = std::move(make);
}

} // namespace kv
