#pragma once
// The country picker, built once from the country directory and kept by the main
// window: when it is opened with a code it does not list, the row chosen last
// time stays selected.
#include "core/Text.h"
#include "reference/Directories.h"
#include "screens/pickers/CodePicker.h"

namespace kv {

class CitizenshipPicker : public CodePicker {
    Q_OBJECT
public:
    // The picker of the window that owns it, built on first use.
    static CitizenshipPicker& of(QWidget* window, const CodeNameRows& countries);

    // The chosen country, or nullopt when the user cancelled.
    std::optional<CodeName> choose(const Cp1251Text& currentCode);

private:
    CitizenshipPicker(const CodeNameRows& countries, QWidget* window);

    CodeNameRows rows_;
};

} // namespace kv
