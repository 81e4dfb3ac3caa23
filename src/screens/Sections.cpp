#include "screens/Sections.h"

#include "model/Declaration.h"

#include <stdexcept>

namespace kv {

const std::array<SectionButtonInfo, 8>& sectionButtons() {
    static const std::array<SectionButtonInfo, 8> buttons = {{
        {Section::InitialData, QStringLiteral("fbInitialData"), QStringLiteral("Задание условий"),
         QStringLiteral("Выбор режима ввода"), ScreenId::InitialData, true},
        {Section::PersonInfo, QStringLiteral("fbPrsonInfo"), QStringLiteral("Сведения о декларанте"),
         QStringLiteral("Персональные данные налогоплательщика"), ScreenId::Taxpayer, true},
        {Section::RussianIncome, QStringLiteral("fbRussianIncome"), QStringLiteral("Доходы, полученные в РФ"),
         QStringLiteral("Доходы, полученные от налоговых агентов или иных источников, в т.ч. физлиц"),
         ScreenId::RussianIncome, true},
        {Section::ForeignIncome, QStringLiteral("fbForeignIncome"), QStringLiteral("Доходы за пределами РФ"),
         QStringLiteral("Доходы, полученные в иностранной валюте"), ScreenId::Currency, true},
        {Section::BusinessIncome, QStringLiteral("fbBusinessIncome"), QStringLiteral("Предприниматели"),
         QStringLiteral("Доходы, полученные от предпринимательской деятельности без образования юридического "
                        "лица и частной практики"),
         ScreenId::BusinessNew, true},
        {Section::Deduction, QStringLiteral("fbDeduction"), QStringLiteral("Вычеты"),
         QStringLiteral("Стандартные, социальные и имущественный налоговые вычеты"),
         ScreenId::FrameDeductData, true},
        {Section::Nalog, QStringLiteral("fbNalog"), QStringLiteral("Уплата по уведомлениям"), QString(),
         std::nullopt, false},
        {Section::InvestTov, QStringLiteral("fbInvestTov"), QStringLiteral("Инвест. товарищества"),
         QStringLiteral("Данные по участию в инвестиционных товариществах"), ScreenId::InvestTov, false},
    }};
    return buttons;
}

const SectionButtonInfo& sectionButton(Section section) {
    return sectionButtons().at(static_cast<std::size_t>(section));
}

std::optional<Section> sectionOfScreen(ScreenId screen) {
    for (const SectionButtonInfo& button : sectionButtons()) {
        if (button.screen == screen)
            return button.section;
    }
    return std::nullopt;
}

bool sectionEnabledFor(Section section, const Declaration& document) {
    const std::uint8_t flags = document.incomeFlags();
    switch (section) {
    case Section::InitialData:
    case Section::PersonInfo:
        return true;
    case Section::RussianIncome:
        return (flags & Declaration::kAgentIncomes) != 0;
    case Section::ForeignIncome:
        return (flags & Declaration::kForeignIncomes) != 0;
    case Section::BusinessIncome:
        return (flags & Declaration::kBusinessIncomes) != 0;
    case Section::InvestTov:
        return (flags & Declaration::kPartnershipIncomes) != 0;
    case Section::Deduction: {
        constexpr std::uint8_t incomes = Declaration::kAgentIncomes | Declaration::kForeignIncomes |
                                         Declaration::kBusinessIncomes | Declaration::kPartnershipIncomes;
        return (flags & incomes) != 0 && document.declarationKind == 0;
    }
    case Section::Nalog:
        return false;
    }
    throw std::logic_error("unknown section");
}

} // namespace kv
