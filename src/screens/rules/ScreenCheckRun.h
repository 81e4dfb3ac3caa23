#pragma once
// One run of a screen's CheckData: faults are shown one at a time in TfmCheckError
// with all three answers; "Исправить" ends the run with the fault's element code,
// "Пропустить все" ends it with 0, and a skip or a closed window goes on.
#include "checks/CheckDialog.h"

#include <cstdint>
#include <string>

namespace kv {

class ScreenCheckRun {
public:
    explicit ScreenCheckRun(CheckDialog& dialog) : dialog_(dialog) {}

    // False once the run has ended; later checks then show nothing.
    bool open() const { return !ended_; }
    std::uint16_t result() const { return code_; }

    // Shows one fault under "Проверка: " + sectionTitle when the run is still open.
    void fault(const std::string& sectionTitle, const std::string& message, std::uint16_t elementCode) {
        if (ended_)
            return;
        CheckQuestion q;
        q.dialog = CheckDialogKind::Fault;
        q.sectionTitle = sectionTitle;
        q.message = message;
        switch (dialog_.ask(q)) {
        case CheckAnswer::Fix:
            code_ = elementCode;
            ended_ = true;
            break;
        case CheckAnswer::SkipAll:
            ended_ = true;
            break;
        default:
            break;
        }
    }

private:
    CheckDialog& dialog_;
    bool ended_ = false;
    std::uint16_t code_ = 0;
};

} // namespace kv
