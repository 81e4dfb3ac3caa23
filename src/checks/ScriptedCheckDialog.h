#pragma once
// Check dialogs answered without a window: from a script in tests, and with
// "Исправить" at the first fault where the command line checks a return.
#include "checks/CheckDialog.h"
#include "checks/ReturnCheck.h"
#include "core/Text.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class Declaration;

// Answers the questions in order from its script and records every question.
// CheckAnswer::None in the script closes the window (Escape or the close box).
// A question after the script has run out, or an answer the question does not
// enable, is counted as unexpected and answered by closing the window.
class ScriptedCheckDialog : public CheckDialog {
public:
    ScriptedCheckDialog() = default;
    explicit ScriptedCheckDialog(std::vector<CheckAnswer> script);
    // Every question gets the same answer (none is unexpected unless the answer is disabled).
    static ScriptedCheckDialog answeringAlways(CheckAnswer answer);

    CheckAnswer ask(const CheckQuestion& question) override;

    const std::vector<CheckQuestion>& asked() const { return asked_; }
    std::size_t unexpected() const { return unexpected_; }

private:
    std::deque<CheckAnswer> script_;
    std::optional<CheckAnswer> always_;
    std::vector<CheckQuestion> asked_;
    std::size_t unexpected_ = 0;
};

// The first fault of the whole-return check as the user would see it.
struct ReturnFault {
    Cp1251Text sectionTitle; // Windows-1251; empty when no section is concerned
    Cp1251Text message;      // Windows-1251
    ReturnCheckResult result;
};

// Runs the whole-return check answering "Исправить" at its first fault.
// nullopt when the return passes.
std::optional<ReturnFault> firstReturnFault(Declaration& declaration);

// The fault in four lines (section title, message, section number, element
// code), Windows-1251, for the command line.
Cp1251Text returnFaultText(const ReturnFault& fault);

} // namespace kv
