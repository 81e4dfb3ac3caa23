#include "shell/ResultSummary.h"

#include "compute/ReturnComputation.h"
#include "core/DigitGroups.h"
#include "model/Declaration.h"
#include "screens/kit/KeyboardOrder.h"
#include "screens/kit/UiText.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

namespace kv {

namespace {

QString budgetCodeName(const Cp1251Text& kbk) {
    if (kbk == "18210102010011000110")
        return QStringLiteral("налог, удержанный налоговыми агентами");
    if (kbk == "18210102020011000110")
        return QStringLiteral("налог с доходов предпринимателей, нотариусов и адвокатов");
    if (kbk == "18210102030011000110")
        return QStringLiteral("налог с доходов, декларируемых физическими лицами");
    if (kbk == "18210102050011000110")
        return QStringLiteral("налог с прибыли контролируемых иностранных компаний");
    return {};
}

Money sum(std::initializer_list<Money> amounts) {
    Money total;
    for (const Money& m : amounts)
        total += m;
    return total;
}

void addRate(ResultFigures& f, const QString& rate, const Section2Sheet& s) {
    const Money credited =
        sum({s.taxWithheld, s.taxWithheldMaterialBenefit, s.advancesPaid, s.fixedAdvancesPaid,
             s.foreignTaxCredited, s.tradeFeeCredited, s.patentCredited});
    const bool used = !s.totalIncome.isZero() || !s.cfcProfit.isZero() || !s.taxBase.isZero() ||
                      !s.taxCalculated.isZero() || !credited.isZero() || !s.taxToPay.isZero() ||
                      !s.taxToRefund.isZero();
    if (s.rateCode.empty() || !used)
        return;
    f.rates.append({rate, s.totalIncome + s.cfcProfit, s.deductions, s.taxBase, s.taxCalculated, credited,
                    s.taxToPay, s.taxToRefund});
}

void addDeduction(ResultFigures& f, const QString& name, Money amount) {
    if (!amount.isZero())
        f.deductions.append({name, amount});
}

// The kinds that enter the 13% base of this kind of return, each with what the
// computation counts for it before the base caps the whole.
void addDeductions(ResultFigures& f, ReturnKind kind, const ReturnComputation& c) {
    const Money professionalRussia = c.profDeductRussia.total;
    if (kind == ReturnKind::NonResident) {
        addDeduction(f, QStringLiteral("Имущественный вычет при продаже имущества"),
                     c.propertySale.totalPropertySale);
        addDeduction(f, QStringLiteral("Профессиональные вычеты"), professionalRussia);
    } else if (kind == ReturnKind::Termination) {
        addDeduction(f, QStringLiteral("Профессиональные вычеты"), c.business.professionalDeductions);
    } else {
        const Appendix5Sheet& a5 = c.stdSocialDeductions;
        addDeduction(f, QStringLiteral("Стандартные вычеты"), a5.standardInReturn + a5.standardByAgents);
        addDeduction(f, QStringLiteral("Социальные вычеты"), a5.socialInReturn + a5.socialByAgents);
        addDeduction(f, QStringLiteral("Инвестиционные вычеты"),
                     a5.investmentDeduction + c.securitiesSummary.investmentDeductionsTotal);
        addDeduction(f, QStringLiteral("Имущественный вычет на покупку жилья"),
                     c.propertyPurchase.purchaseThisReturn + c.propertyPurchase.purchaseByAgent);
        addDeduction(f, QStringLiteral("Имущественный вычет по процентам"),
                     c.propertyPurchase.interestThisReturn + c.propertyPurchase.interestByAgent);
        addDeduction(f, QStringLiteral("Имущественный вычет при продаже имущества"),
                     c.propertySale.totalPropertySale);
        addDeduction(f, QStringLiteral("Профессиональные вычеты"),
                     sum({c.business.professionalDeductions, professionalRussia, c.profDeductForeign.total}));
    }
    if (!f.deductions.isEmpty())
        f.deductions.append(
            {QStringLiteral("Учтено в налоговой базе по ставке 13%"), c.section2Other13.deductions});
}

QString moneyCell(Money amount) {
    return amount.isZero() ? QStringLiteral("—") : groupedRoubles(amount);
}

// The stretching column takes the window's spare width, so no empty band is left.
QTableWidget* table(QWidget* parent, const char* name, const QStringList& headers, int stretching) {
    auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setFocusPolicy(Qt::NoFocus);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(stretching, QHeaderView::Stretch);
    t->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return t;
}

void fill(QTableWidget* t, const QList<QStringList>& rows, int firstAmountColumn) {
    t->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c) {
            auto* item = new QTableWidgetItem(rows.at(r).at(c));
            if (c >= firstAmountColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            t->setItem(r, c, item);
        }
    }
    t->setVisible(!rows.isEmpty());
    // The table shows every row without a scroll bar of its own.
    int height = t->horizontalHeader()->height() + 2 * t->frameWidth();
    for (int r = 0; r < t->rowCount(); ++r)
        height += t->rowHeight(r);
    t->setFixedHeight(height);
}

} // namespace

QString groupedRoubles(Money amount) {
    const bool negative = amount.raw < 0;
    // Four decimals to whole kopecks, half a kopeck up, on the exact integer.
    const std::uint64_t kopecks = (magnitudeOf(amount) + 50) / 100;
    QString grouped = QString::fromStdString(groupedDigits(kopecks / 100, "\u00A0"));
    if (kopecks % 100 != 0)
        grouped += QLatin1Char(',') + QStringLiteral("%1").arg(kopecks % 100, 2, 10, QLatin1Char('0'));
    return (negative ? QStringLiteral("−") : QString()) + grouped + QChar(0x00A0) + QStringLiteral("₽");
}

ResultFigures resultFigures(const Declaration& document) {
    ResultFigures f;
    // The return states an estimate; nothing is computed.
    if (document.kind() == ReturnKind::Estimated) {
        f.estimatedForm = true;
        f.estimatedIncome = document.estimatedIncome;
        return f;
    }
    Declaration copy = document;
    ReturnComputation c;
    try {
        c.compute(copy);
    } catch (const ComputationError& e) {
        f.failure = fromCp1251(ComputationError::userMessage()) + QStringLiteral("\n") +
                    fromCp1251(Cp1251Text::fromBytes(e.detail()));
        return f;
    } catch (const std::exception& e) {
        f.failure = fromCp1251(ComputationError::userMessage()) + QStringLiteral("\n") + failureText(e);
        return f;
    }
    for (const Section1Line& line : c.section1.lines) {
        ResultFigures::BudgetLine b{
            fromCp1251(line.kbk), budgetCodeName(line.kbk), fromCp1251(line.oktmo), {}, {}};
        if (line.direction == "1") {
            b.toPay = line.amount;
            f.toPay += line.amount;
        } else if (line.direction == "2") {
            b.toRefund = line.amount;
            f.toRefund += line.amount;
        }
        f.budget.append(b);
    }
    const std::array<std::pair<QString, const Section2Sheet*>, 7> rates = {{
        {QStringLiteral("13%"), &c.section2Other13},
        {QStringLiteral("13% (прибыль КИК)"), &c.section2Cfc13},
        {QStringLiteral("13% (дивиденды)"), &c.section2Dividends13},
        {QStringLiteral("30%"), &c.section2Rate30},
        {QStringLiteral("35%"), &c.section2Rate35},
        {QStringLiteral("9%"), &c.section2Rate9},
        {QStringLiteral("15% (дивиденды)"), &c.section2Dividends15},
    }};
    for (const auto& [rate, sheet] : rates)
        addRate(f, rate, *sheet);
    addDeductions(f, document.kind(), c);
    return f;
}

ResultSummaryDialog::ResultSummaryDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ResultSummary"));
    setWindowTitle(QStringLiteral("Расчёт налога - ") + programTitle());
    headline_ = new QLabel(this);
    headline_->setObjectName(QStringLiteral("lblResult"));
    headline_->setWordWrap(true);
    headline_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont big = headline_->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    headline_->setFont(big);

    outdated_ = new QLabel(
        QStringLiteral(
            "Декларация изменена после расчёта: нажмите «Пересчитать», чтобы увидеть новые суммы."),
        this);
    outdated_->setObjectName(QStringLiteral("lblOutdated"));
    outdated_->setWordWrap(true);
    outdated_->setStyleSheet(QStringLiteral("color: #7a3d00"));
    outdated_->hide();

    budgetTitle_ =
        new QLabel(QStringLiteral("<b>Раздел 1.</b> Суммы налога по кодам бюджетной классификации"), this);
    budget_ = table(this, "tblBudget",
                    {QStringLiteral("КБК"), QStringLiteral("Назначение"), QStringLiteral("ОКТМО"),
                     QStringLiteral("К уплате"), QStringLiteral("К возврату")},
                    1);
    ratesTitle_ = new QLabel(QStringLiteral("<b>Раздел 2.</b> Налоговая база и сумма налога"), this);
    rates_ = table(this, "tblRates",
                   {QStringLiteral("Ставка"), QStringLiteral("Доходы"), QStringLiteral("Вычеты"),
                    QStringLiteral("Налоговая база"), QStringLiteral("Налог"),
                    QStringLiteral("Удержано и зачтено"), QStringLiteral("К уплате"),
                    QStringLiteral("К возврату")},
                   0);
    deductionsTitle_ = new QLabel(QStringLiteral("<b>Вычеты</b>"), this);
    deductions_ = table(this, "tblDeductions", {QStringLiteral("Вычет"), QStringLiteral("Сумма")}, 0);

    recalculateButton_ = new QPushButton(QStringLiteral("Пересчитать"), this);
    recalculateButton_->setObjectName(QStringLiteral("bnRecalculate"));
    recalculateButton_->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("bnClose"));
    close->setDefault(true);
    connect(recalculateButton_, &QPushButton::clicked, this, [this] {
        if (recalculate)
            recalculate();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(recalculateButton_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headline_);
    layout->addWidget(outdated_);
    layout->addSpacing(6);
    layout->addWidget(budgetTitle_);
    layout->addWidget(budget_);
    layout->addWidget(ratesTitle_);
    layout->addWidget(rates_);
    layout->addWidget(deductionsTitle_);
    layout->addWidget(deductions_);
    layout->addStretch(1);
    layout->addLayout(buttons);
    arrangeDialogForKeyboard(this);
}

void ResultSummaryDialog::showFigures(const ResultFigures& f) {
    QStringList headline;
    QString colour = QStringLiteral("#1f5f1f");
    if (!f.failure.isEmpty()) {
        headline << f.failure;
        colour = QStringLiteral("#a01c1c");
    } else if (f.estimatedForm) {
        headline << QStringLiteral("В декларации 4-НДФЛ налог не исчисляется.")
                 << QStringLiteral("Предполагаемый доход: ") + groupedRoubles(f.estimatedIncome);
    } else {
        if (!f.toRefund.isZero())
            headline << QStringLiteral("К возврату из бюджета: ") + groupedRoubles(f.toRefund);
        if (!f.toPay.isZero()) {
            headline << QStringLiteral("К уплате в бюджет: ") + groupedRoubles(f.toPay);
            colour = QStringLiteral("#7a3d00");
        }
        if (headline.isEmpty())
            headline << QStringLiteral("Налога к уплате или к возврату нет.");
    }
    headline_->setText(headline.join(QLatin1Char('\n')));
    outdated_->hide();
    headline_->setStyleSheet(QStringLiteral("color: %1").arg(colour));

    QList<QStringList> rows;
    for (const ResultFigures::BudgetLine& b : f.budget)
        rows << QStringList{b.kbk, b.kbkName, b.oktmo, moneyCell(b.toPay), moneyCell(b.toRefund)};
    fill(budget_, rows, 3);
    budgetTitle_->setVisible(!rows.isEmpty());

    rows.clear();
    for (const ResultFigures::RateLine& r : f.rates)
        rows << QStringList{r.rate,
                            groupedRoubles(r.income),
                            groupedRoubles(r.deductions),
                            groupedRoubles(r.taxBase),
                            groupedRoubles(r.tax),
                            groupedRoubles(r.credited),
                            moneyCell(r.toPay),
                            moneyCell(r.toRefund)};
    fill(rates_, rows, 1);
    ratesTitle_->setVisible(!rows.isEmpty());

    rows.clear();
    for (const ResultFigures::DeductionLine& d : f.deductions)
        rows << QStringList{d.name, groupedRoubles(d.amount)};
    fill(deductions_, rows, 1);
    deductionsTitle_->setVisible(!rows.isEmpty());
    adjustSize();
}

void ResultSummaryDialog::markOutdated() {
    outdated_->show();
}

namespace {

ResultSummaryDialog* summaryOf(QWidget* mainWindow) {
    return mainWindow->findChild<ResultSummaryDialog*>(QStringLiteral("ResultSummary"),
                                                       Qt::FindDirectChildrenOnly);
}

} // namespace

void resultSummaryOutdated(QWidget* mainWindow) {
    if (ResultSummaryDialog* dialog = summaryOf(mainWindow); dialog != nullptr && dialog->isVisible())
        dialog->markOutdated();
}

void closeResultSummary(QWidget* mainWindow) {
    if (ResultSummaryDialog* dialog = summaryOf(mainWindow))
        dialog->close();
}

ResultSummaryDialog* showResultSummary(QWidget* mainWindow, const Declaration& document,
                                       std::function<void()> recalculate) {
    ResultSummaryDialog* dialog = summaryOf(mainWindow);
    if (dialog == nullptr)
        dialog = new ResultSummaryDialog(mainWindow);
    dialog->recalculate = std::move(recalculate);
    dialog->showFigures(resultFigures(document));
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

} // namespace kv
