#include "checks/CheckRun.h"

namespace kv {

CheckRun::CheckRun(CheckDialog& dialog, const Cp1251Text& sectionTitle, CheckStop policy)
    : dialog_(dialog), policy_(policy) {
    question_.dialog = CheckDialogKind::Fault;
    question_.sectionTitle = sectionTitle;
}

CheckRun& CheckRun::offerSkip(bool on) {
    question_.skipEnabled = on;
    return *this;
}

CheckRun& CheckRun::offerSkipAll(bool on) {
    question_.skipAllEnabled = on;
    return *this;
}

CheckRun& CheckRun::windowTitle(const Cp1251Text& title) {
    question_.windowTitle = title;
    return *this;
}

void CheckRun::setSectionTitle(const Cp1251Text& sectionTitle) {
    question_.sectionTitle = sectionTitle;
}

CheckAnswer CheckRun::fault(const Cp1251Text& message, std::uint16_t elementCode) {
    if (stopped_)
        return CheckAnswer::None;
    question_.message = message;
    lastAnswer_ = dialog_.ask(question_);
    switch (lastAnswer_) {
    case CheckAnswer::Fix:
        code_ = elementCode;
        stopped_ = policy_ != CheckStop::FixGoesOn;
        break;
    case CheckAnswer::Skip:
        stopped_ = policy_ == CheckStop::AtFirstFault;
        break;
    default: // "Пропустить все", or an answer this dialog does not offer
        stopped_ = true;
        break;
    }
    return lastAnswer_;
}

CheckAnswer CheckRun::faultNoSkip(const Cp1251Text& message, std::uint16_t elementCode) {
    if (stopped_)
        return CheckAnswer::None;
    question_.skipEnabled = false;
    return fault(message, elementCode);
}

} // namespace kv
