#pragma once
// The income-code picker of the income dialogs: the dictionary's incomes for a rate.
#include "core/Text.h"
#include "reference/IncomeDict.h"
#include "screens/pickers/CodePicker.h"

#include <string>
#include <vector>

namespace kv {

class IncomeCodePicker : public CodePicker {
    Q_OBJECT
public:
    IncomeCodePicker(const IncomeDict& dict, bool investmentPartnership, bool nonResident,
                     const Cp1251Text& currentCode, const Cp1251Text& rateSelector, QWidget* parent);

    // The chosen income, or nullopt when the user cancelled.
    std::optional<IncomeChoice> choose();

    // A code typed rather than picked: the income the picker would list for it, or
    // nullopt when it lists no such code.
    static std::optional<IncomeChoice> find(const IncomeDict& dict, bool investmentPartnership,
                                            bool nonResident, const Cp1251Text& code,
                                            const Cp1251Text& rateSelector);
    // What a person typing a code the picker does not list is told.
    static QString notListedMessage(const QString& code);

private:
    const IncomeDict& dict_;
    Cp1251Text rateSelector_;
    std::vector<const IncomeEntry*> rows_;
};

} // namespace kv
