#include "screens/pickers/CurrencyPicker.h"

#include "reference/RatesImport.h"
#include "screens/kit/Asker.h"
#include "screens/kit/ImportRun.h"
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/UiText.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {

CurrencyPicker::CurrencyPicker(ScreenHost& host, QWidget* parent)
    : CodePicker(QStringLiteral("TfmInputCurrencyCode"),
                 fromCp1251(pickerTexts(DirectoryPicker::Currency).title),
                 fromCp1251(pickerTexts(DirectoryPicker::Currency).secondColumn), parent),
      host_(host) {
    fillRows();
    auto* load = new QPushButton(QStringLiteral("Загрузить курсы ЦБ РФ..."), this);
    load->setObjectName(QStringLiteral("bnImportRates"));
    load->setToolTip(QStringLiteral("Добавить в справочник официальные курсы из файла XML с сайта ЦБ РФ "
                                    "(курсы на дату или динамика курса валюты)"));
    load->setAutoDefault(false);
    connect(load, &QPushButton::clicked, this, &CurrencyPicker::importRates);
    auto* row = new QHBoxLayout;
    row->addWidget(load);
    row->addStretch(1);
    extraArea()->addLayout(row);
}

void CurrencyPicker::fillRows() {
    const auto& rates = host_.directories().currencyRates;
    rows_ = rates ? rates->codeNames() : CodeNameRows{};
    QList<Row> rows;
    for (const CodeName& currency : rows_)
        rows.append({fromCp1251(currency.code), fromCp1251(currency.name)});
    setRows(rows);
}

std::optional<CodeName> CurrencyPicker::choose(const Cp1251Text& currentCode) {
    preselect(rowIndex(currencyPickerRow(rows_, currentCode)));
    const std::optional<int> row = pick();
    if (!row.has_value())
        return std::nullopt;
    return rows_.at(static_cast<std::size_t>(*row));
}

void CurrencyPicker::importRates() {
    Asker& asker = host_.asker();
    FileQuestion file;
    file.id = QStringLiteral("ratesFile");
    file.title = QStringLiteral("Файл курсов ЦБ РФ");
    file.filters = {QStringLiteral("Файлы XML (*.xml *.XML)"), QStringLiteral("Все файлы (*)")};
    const std::optional<QString> path = asker.openFile(this, file);
    if (!path.has_value())
        return;
    const auto fail = [&](const QString& text) {
        asker.ask(this, messageQuestion(QStringLiteral("ratesImportFailed"), text, QuestionIcon::Critical));
    };
    try {
        BankRatesFile rates = readBankRatesFile(QFile::encodeName(*path).toStdString());
        if (rates.needsCurrencyCode()) {
            // A currency the bank's list does not name: the person says which one it is.
            const std::optional<int> row = selectedRow();
            if (!row.has_value()) {
                fail(QStringLiteral("Курсы в файле относятся к валюте с кодом ЦБ РФ %1, которого нет в "
                                    "списке банка. Выберите эту валюту в справочнике и загрузите файл снова.")
                         .arg(fromCp1251(Cp1251Text::fromBytes(rates.bankId))));
                return;
            }
            const CodeName& chosen = rows_.at(static_cast<std::size_t>(*row));
            Question q;
            q.id = QStringLiteral("ratesCurrency");
            q.title = programTitle();
            q.text =
                QStringLiteral("Курсы в файле относятся к валюте с кодом ЦБ РФ %1, которого нет в списке "
                               "банка. Загрузить их как курсы валюты %2 «%3», выбранной в справочнике?")
                    .arg(fromCp1251(Cp1251Text::fromBytes(rates.bankId)), fromCp1251(chosen.code),
                         fromCp1251(chosen.name));
            q.answers = {QStringLiteral("Да"), QStringLiteral("Нет")};
            q.escapeIndex = 1;
            q.icon = QuestionIcon::Question;
            if (asker.ask(this, q) != 0)
                return;
            for (Currency& c : rates.currencies)
                if (c.code.empty())
                    c.code = chosen.code;
        }
        const RatesImportPlace place = host_.ratesImportPlace();
        RatesImportResult result;
        runImport(this, QStringLiteral("Загрузка курсов ЦБ РФ..."),
                  [&] { result = importBankRates(place.target, {rates}, place.seed); });
        host_.currencyRatesImported(result.rates);
        const std::optional<int> keep = selectedRow();
        const Cp1251Text code = keep ? rows_.at(static_cast<std::size_t>(*keep)).code : Cp1251Text();
        fillRows();
        preselect(rowIndex(currencyPickerRow(rows_, code)));
        asker.ask(this, messageQuestion(QStringLiteral("ratesImported"),
                                        fromCp1251(ratesImportSummaryText(result.summary)),
                                        QuestionIcon::Information));
    } catch (const RatesImportError& e) {
        fail(fromCp1251(e.message()));
    }
}

} // namespace kv
