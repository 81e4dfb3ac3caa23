#pragma once
// The deduction-code picker: the deductions the dictionary allows with one income.
#include "reference/IncomeDict.h"
#include "screens/pickers/CodePicker.h"

#include <string>
#include <vector>

namespace kv {

class DeductionCodePicker : public CodePicker {
    Q_OBJECT
public:
    DeductionCodePicker(const IncomeDict& dict, bool fullList, const std::string& currentCode,
                        const std::string& incomeCode, QWidget* parent);

    // The chosen deduction with its attributes, or nullopt when the user cancelled.
    std::optional<DeductionChoice> choose();

    // A code typed rather than picked: the deduction the picker would list for it, or
    // nullopt when it lists no such code.
    static std::optional<DeductionChoice> find(const IncomeDict& dict, bool fullList,
                                               const std::string& incomeCode, const std::string& code);
    // What a person typing a code the picker does not list is told.
    static QString notListedMessage(const QString& code);

private:
    std::vector<const DeductionEntry*> rows_;
};

} // namespace kv
