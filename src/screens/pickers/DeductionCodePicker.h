#pragma once
// The deduction-code picker: the deductions the dictionary allows with one income.
#include "core/Text.h"
#include "reference/IncomeDict.h"
#include "screens/pickers/CodePicker.h"

#include <string>
#include <vector>

namespace kv {

class DeductionCodePicker : public CodePicker {
    Q_OBJECT
public:
    DeductionCodePicker(const IncomeDict& dict, bool fullList, const Cp1251Text& currentCode,
                        const Cp1251Text& incomeCode, QWidget* parent);

    // The chosen deduction with its attributes, or nullopt when the user cancelled.
    std::optional<DeductionChoice> choose();

    // A code typed rather than picked: the deduction the picker would list for it, or
    // nullopt when it lists no such code.
    static std::optional<DeductionChoice> find(const IncomeDict& dict, bool fullList,
                                               const Cp1251Text& incomeCode, const Cp1251Text& code);
    // What a person typing a code the picker does not list is told.
    static QString notListedMessage(const QString& code);

private:
    std::vector<const DeductionEntry*> rows_;
};

} // namespace kv
