#pragma once
// The screens whose sources hold their whole income in one dialog (incomes at 9%
// and 35%, dividends): a list of payers and the read-only totals of the one
// selected. Entries reach the document when their dialog is accepted or their row
// is deleted, so there is nothing to save or check on leaving the screen.
#include "screens/kit/ScreenFrame.h"
#include "screens/kit/ScreenWidgets.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kv {

class MasterDetailList;

class SourceListScreen : public ScreenFrame {
    Q_OBJECT
public:
    void saveData() override {}
    std::uint16_t checkData() override { return 0; }
    // The whole-return check names a source by its 1-based position.
    void setFocusToElement(std::uint16_t code) override;
    void selectFirstEntry() override;

    // A read-only total beside the list: its object name and caption.
    struct Total {
        const char* name;
        QString caption;
    };

protected:
    SourceListScreen(QWidget* panel, ScreenHost& host, const QList<Total>& totals);

    // Lists the sources of the document; the derived constructor calls it last.
    void load();

    virtual int sourceCount() const = 0;
    virtual QString sourceName(int row) const = 0;
    // The totals of the source in the order they were given.
    virtual QStringList totalsOf(int row) const = 0;
    // Opens the dialog on a new source (row nullopt) or on the source of row. On
    // acceptance with a name and whatever else the list requires, writes the source
    // (a new one appended) and returns true; otherwise changes nothing.
    virtual bool enterSource(std::optional<int> row) = 0;
    virtual void removeSource(int row) = 0;
    // Whether the source holds an amount besides its payer's details, so deleting it asks first.
    virtual bool sourceHoldsEntries(int row) const = 0;

    // A failure of the document (a full list) reported to the user.
    void showFailure(const std::exception& failure);

private:
    void addSource();
    void editSource();
    void deleteSource();
    void showTotals(int row);

    RecordListBox sourceBox_;
    MasterDetailList* sources_;
    QList<QLineEdit*> totals_;
};

} // namespace kv
