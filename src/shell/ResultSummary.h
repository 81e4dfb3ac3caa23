#pragma once
// What the return comes to, on screen: the tax to pay or to refund in total and by
// budget code and OKTMO (Section 1), the tax base and tax by rate (Section 2), and
// the deductions that reduce the base. A person learns their refund here without
// printing the return.
#include "core/Money.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kv {

class Declaration;

struct ResultFigures {
    struct BudgetLine {
        QString kbk;
        QString kbkName; // what the budget code is for, in words
        QString oktmo;
        Money toPay;
        Money toRefund;
    };
    struct RateLine {
        QString rate; // "13%", "13% (дивиденды)", ...
        Money income;
        Money deductions;
        Money taxBase;
        Money tax;
        Money credited; // withheld, advances and credits set against the tax
        Money toPay;
        Money toRefund;
    };
    struct DeductionLine {
        QString name;
        Money amount;
    };

    QString failure;            // the computation could not run: its message
    bool estimatedForm = false; // 4-NDFL: no tax is computed
    Money estimatedIncome;
    Money toPay; // totals of Section 1
    Money toRefund;
    QList<BudgetLine> budget;
    QList<RateLine> rates;           // only the rates the return uses
    QList<DeductionLine> deductions; // only the kinds the return has
};

// Computes a copy of the document, so the figures never change the return itself.
ResultFigures resultFigures(const Declaration& document);

// "156 000 ₽", "1 234,50 ₽", "−2 000 ₽": digit groups, kopecks only when there are any.
QString groupedRoubles(Money amount);

// A window beside the main window; "Пересчитать" asks the main window for fresh figures.
class ResultSummaryDialog : public QDialog {
    Q_OBJECT
public:
    explicit ResultSummaryDialog(QWidget* parent = nullptr);

    void showFigures(const ResultFigures& figures);
    // The return changed after the figures were computed: they are marked as old
    // until "Пересчитать".
    void markOutdated();
    std::function<void()> recalculate;

private:
    QLabel* headline_;
    QLabel* outdated_;
    QLabel* budgetTitle_;
    QTableWidget* budget_;
    QLabel* ratesTitle_;
    QTableWidget* rates_;
    QLabel* deductionsTitle_;
    QTableWidget* deductions_;
    QPushButton* recalculateButton_;
};

// Shows the window of this main window with the document's figures, reusing it
// when it is open already.
ResultSummaryDialog* showResultSummary(QWidget* mainWindow, const Declaration& document,
                                       std::function<void()> recalculate);
// The open return changed: an open window says its figures are old.
void resultSummaryOutdated(QWidget* mainWindow);
// Another return replaced the open one: figures of the old one must not stay on screen.
void closeResultSummary(QWidget* mainWindow);

} // namespace kv
