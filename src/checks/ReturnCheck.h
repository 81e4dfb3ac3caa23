#pragma once
// The check of the whole return run before it is checked on request, exported,
// printed or previewed. It reports at most the first fault of its rules, in the
// check dialog TfmCheckAllError, and says where the user is to go.
#include "checks/CheckDialog.h"

#include <cstdint>

namespace kv {

class Declaration;

// Screens the check sends the user to.
enum class CheckSection : std::uint16_t {
    Conditions = 1,      // "Задание условий"
    Taxpayer = 2,        // "Сведения о декларанте"
    Incomes13 = 4,       // "Доходы, облагаемые ставкой 13%"
    ForeignIncomes = 7,  // "Доходы в валюте"
    BusinessIncomes = 8, // "Доходы от предпринимательской деятельности"
    StandardDeductions = 9, // "Стандартные вычеты"
    SocialDeductions = 10,  // "Социальные вычеты"
    // The other screens of the incomes received in Russia, for the faults of their
    // sources (tax withheld in kopecks, a refund line without OKTMO).
    Incomes9 = 12,             // "Доходы, облагаемые по ставке 9%"
    Incomes35 = 13,            // "Доходы, облагаемые по ставке 35%"
    Dividends = 14,            // "Доходы в виде дивидендов"
    Incomes13NonResident = 15, // "Доходы нерезидентов, высококвалифицированных специалистов"
    Partnerships = 16, // "Доходы от участия в инвестиционном товариществе"
};

// Element codes of single fields on screens whose other codes are 1-based list
// positions; a list holds at most 1000 entries, so the two never meet.
struct FieldCode {
    static constexpr std::uint16_t kFixedAdvance = 1001; // "Сумма фиксированных платежей"
    static constexpr std::uint16_t kActualAdvances = 1002; // "Фактические авансовые платежи"
    static constexpr std::uint16_t kAdjustedTax = 1003;    // "Скорректированный налог"
    static constexpr std::uint16_t kPatentPayments = 1004; // "Платежи по патенту"
    static constexpr std::uint16_t kTradeFee = 1005;       // "Торговый сбор"
    // Standard deductions: the count of first and second children.
    static constexpr std::uint16_t kFirstChildrenCount = 1006;
    // Social deductions: the pension contract at this code's 0-based distance from it.
    static constexpr std::uint16_t kFirstPensionContract = 2001;
};

struct ReturnCheckResult {
    // The user answered "Отмена" or closed the dialog.
    static constexpr std::uint16_t kCancelled = 0xFFFF;

    CheckSection section = CheckSection::Conditions;
    // 0 no fault reported; otherwise the field or the 1-based list entry to go to, or kCancelled.
    std::uint16_t elementCode = 0;

    // Low half the section number, high half the element code.
    std::uint32_t packed() const {
        return static_cast<std::uint32_t>(section) | (static_cast<std::uint32_t>(elementCode) << 16);
    }

    friend bool operator==(const ReturnCheckResult&, const ReturnCheckResult&) = default;
};

// Runs the computation once to learn whether tax is payable (it writes its usual
// results into the document), then the rules in their fixed order. A computation
// that cannot be done is shown as a fault that can only be cancelled.
ReturnCheckResult checkReturn(Declaration& declaration, CheckDialog& dialog);

} // namespace kv
