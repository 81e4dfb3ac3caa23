#pragma once
// The tax-office picker, built once from the tax-office directory and kept by the
// main window. Its extra button opens the import that rebuilds the directory when
// the user's office is missing.
#include "core/Text.h"
#include "reference/Directories.h"
#include "screens/pickers/CodePicker.h"

namespace kv {

class Asker;

class TaxOfficePicker : public CodePicker {
    Q_OBJECT
public:
    // The picker of the window that owns it, built on first use.
    static TaxOfficePicker& of(QWidget* window, const CodeNameRows& offices, Asker& asker);

    // The chosen office, or nullopt when the user cancelled.
    std::optional<CodeName> choose(const Cp1251Text& currentCode);

private:
    TaxOfficePicker(const CodeNameRows& offices, Asker& asker, QWidget* window);

    CodeNameRows rows_;
    Asker& asker_;
};

} // namespace kv
