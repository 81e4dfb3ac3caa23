#pragma once
// The income-code picker of the income dialogs: the dictionary's incomes for a rate.
#include "reference/IncomeDict.h"
#include "screens/pickers/CodePicker.h"

#include <string>
#include <vector>

namespace kv {

class IncomeCodePicker : public CodePicker {
    Q_OBJECT
public:
    IncomeCodePicker(const IncomeDict& dict, bool investmentPartnership, bool nonResident,
                     const std::string& currentCode, const std::string& rateSelector, QWidget* parent);

    // The chosen income, or nullopt when the user cancelled.
    std::optional<IncomeChoice> choose();

private:
    const IncomeDict& dict_;
    std::string rateSelector_;
    std::vector<const IncomeEntry*> rows_;
};

} // namespace kv
