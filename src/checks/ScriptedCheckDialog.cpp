#include "checks/ScriptedCheckDialog.h"

#include "core/Text.h"

#include <utility>

namespace kv {

ScriptedCheckDialog::ScriptedCheckDialog(std::vector<CheckAnswer> script)
    : script_(script.begin(), script.end()) {}

ScriptedCheckDialog ScriptedCheckDialog::answeringAlways(CheckAnswer answer) {
    ScriptedCheckDialog dialog;
    dialog.always_ = answer;
    return dialog;
}

CheckAnswer ScriptedCheckDialog::ask(const CheckQuestion& question) {
    asked_.push_back(question);
    std::optional<CheckAnswer> answer = always_;
    if (!answer && !script_.empty()) {
        answer = script_.front();
        script_.pop_front();
    }
    if (answer == CheckAnswer::None)
        return question.closeAnswer();
    if (!answer || !question.enabled(*answer)) {
        ++unexpected_;
        return question.closeAnswer();
    }
    return *answer;
}

std::optional<ReturnFault> firstReturnFault(Declaration& declaration) {
    ScriptedCheckDialog dialog = ScriptedCheckDialog::answeringAlways(CheckAnswer::Fix);
    const ReturnCheckResult result = checkReturn(declaration, dialog);
    if (dialog.asked().empty())
        return std::nullopt;
    // With "Исправить" answered the first fault ends the check; it is the only one shown.
    const CheckQuestion& q = dialog.asked().back();
    return ReturnFault{q.sectionTitle, q.message, result};
}

Cp1251Text returnFaultText(const ReturnFault& fault) {
    static const Cp1251Text section = Cp1251Text::fromUtf8("Раздел: ");
    static const Cp1251Text element = Cp1251Text::fromUtf8("Код элемента: ");
    return (fault.sectionTitle.empty() ? fault.sectionTitle : fault.sectionTitle + "\n") + fault.message +
           "\n" + section + Cp1251Text::fromBytes(std::to_string(static_cast<int>(fault.result.section))) +
           "\n" + element + Cp1251Text::fromBytes(std::to_string(fault.result.elementCode));
}

} // namespace kv
