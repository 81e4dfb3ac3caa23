#pragma once
// One run of checks shown one fault at a time in TfmCheckError: a screen's
// checkData, an entry dialog's checks on "Да", the payer checks.
//
// How to use:
//   CheckRun run(dialog, title);                     // today's screens: stop at "Исправить"
//   if (noName) run.fault(messageNoName, kNameElement);
//   if (noSum)  run.faultNoSkip(messageNoSum, kSumElement);   // "Пропустить" off from here on
//   return run.result();                             // the element to go to, 0 for none
// fault() shows nothing once the run has stopped, so checks are written one after
// another without testing the answers. The policy says when a run stops:
//   CheckStop::AtFix         every answer but "Пропустить" stops: "Исправить" with the
//                            fault's code, "Пропустить все" with 0 (most screens, the
//                            entry dialogs and the payer checks);
//   CheckStop::AtFirstFault  the first fault shown stops the run whatever the answer,
//                            with the code on "Исправить" and 0 otherwise (foreign incomes);
//   CheckStop::FixGoesOn     "Исправить" records the code and the run goes on, the last
//                            one recorded winning; "Пропустить все" stops (business incomes).
// Closing the window answers "Пропустить" while it is offered, "Исправить" otherwise.
#include "checks/CheckDialog.h"
#include "core/Text.h"

#include <cstdint>
#include <string>

namespace kv {

enum class CheckStop : std::uint8_t {
    AtFix,
    AtFirstFault,
    FixGoesOn,
};

class CheckRun {
public:
    CheckRun(CheckDialog& dialog, const Cp1251Text& sectionTitle, CheckStop policy = CheckStop::AtFix);

    // The skip answers offered from here on.
    CheckRun& offerSkip(bool on);
    CheckRun& offerSkipAll(bool on);
    // A title that replaces "Проверка: " + section title as the whole window title.
    CheckRun& windowTitle(const Cp1251Text& title);
    // Later faults go under another section title.
    void setSectionTitle(const Cp1251Text& sectionTitle);

    // Shows one fault while the run is open and returns the answer (None when the
    // run had already stopped and nothing was shown).
    CheckAnswer fault(const Cp1251Text& message, std::uint16_t elementCode);
    // A fault that may not be skipped: "Пропустить" is disabled for it and for
    // every later fault of the run.
    CheckAnswer faultNoSkip(const Cp1251Text& message, std::uint16_t elementCode);

    // False once the run has stopped.
    bool open() const { return !stopped_; }
    // Whether any fault has been shown.
    bool shown() const { return lastAnswer_ != CheckAnswer::None; }
    // The element code to go to: 0 when nothing is to be fixed.
    std::uint16_t result() const { return code_; }
    CheckAnswer lastAnswer() const { return lastAnswer_; }

private:
    CheckDialog& dialog_;
    CheckQuestion question_;
    CheckStop policy_;
    bool stopped_ = false;
    std::uint16_t code_ = 0;
    CheckAnswer lastAnswer_ = CheckAnswer::None;
};

} // namespace kv
