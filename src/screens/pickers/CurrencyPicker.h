#pragma once
// "Справочник валют": the currencies of the currency-rate directory, built at each
// use. Its extra button imports the Bank of Russia's rate files into the directory,
// after which the list and every rate lookup use the new rates.
#include "core/Text.h"
#include "reference/Directories.h"
#include "screens/pickers/CodePicker.h"

namespace kv {

class Asker;
class ScreenHost;

class CurrencyPicker : public CodePicker {
    Q_OBJECT
public:
    CurrencyPicker(ScreenHost& host, QWidget* parent);

    // The chosen currency, or nullopt when the user cancelled.
    std::optional<CodeName> choose(const Cp1251Text& currentCode);

    // "Загрузить курсы ЦБ РФ...": asks for a file, imports it and reports the outcome.
    void importRates();

private:
    void fillRows();

    ScreenHost& host_;
    CodeNameRows rows_;
};

} // namespace kv
