#pragma once
// How a check talks to the user: it puts one fault as a question (title, message,
// which answers are enabled) and gets the chosen answer back. The window offers
// the real modal dialogs; tests and the command line answer from a script.
#include "core/Text.h"
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// None is the state of a run before any fault has been shown.
enum class CheckAnswer : std::uint8_t {
    None = 0,
    Fix,     // "Исправить": go to the faulty field
    Skip,    // "Пропустить": go on with the next check
    SkipAll, // "Пропустить все": go on without any further check
    Cancel,  // "Отмена": abandon the command that asked for the check
};

// The button caption of an answer, Windows-1251 ("" for None).
const Cp1251Text& answerCaption(CheckAnswer answer);

enum class CheckDialogKind : std::uint8_t {
    Fault,       // TfmCheckError: "Исправить", "Пропустить", "Пропустить все"
    ReturnFault, // TfmCheckAllError: "Исправить", "Отмена"
};

struct CheckQuestion {
    CheckDialogKind dialog = CheckDialogKind::Fault;
    Cp1251Text sectionTitle; // Windows-1251; empty leaves the plain window title
    Cp1251Text message;      // Windows-1251
    bool fixEnabled = true;
    bool skipEnabled = true;    // TfmCheckError only
    bool skipAllEnabled = true; // TfmCheckError only
    Cp1251Text windowTitle;     // Windows-1251; when set, the whole title instead of the one below

    // "Проверка", or "Проверка: " and the section title.
    Cp1251Text title() const;
    // The buttons the dialog shows, in order, enabled or not.
    std::vector<CheckAnswer> buttons() const;
    bool enabled(CheckAnswer answer) const;
    // What closing the window answers: "Отмена" in TfmCheckAllError; in TfmCheckError a
    // skip while "Пропустить" is offered, otherwise "Исправить".
    CheckAnswer closeAnswer() const;

    friend bool operator==(const CheckQuestion&, const CheckQuestion&) = default;
};

class CheckDialog {
public:
    virtual ~CheckDialog() = default;
    // Shows the question modally. Returns an enabled answer, or closeAnswer()
    // when the user closes the window.
    virtual CheckAnswer ask(const CheckQuestion& question) = 0;
};

} // namespace kv
