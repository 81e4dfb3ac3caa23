#pragma once
// A screen holding a row of inner buttons and a panel with one inner screen, for
// the incomes in Russia and the deductions. It passes the screen operations on to
// its current inner screen.
#include "screens/kit/ScreenFrame.h"

#include <QIcon>
#include <map>

class QAbstractButton;
class QButtonGroup;
class QHBoxLayout;
class QToolButton;
class QVBoxLayout;

namespace kv {

class ScreenContainer : public ScreenFrame {
    Q_OBJECT
public:
    void saveData() override;
    std::uint16_t checkData() override;
    void setFocusToElement(std::uint16_t code) override;
    void selectFirstEntry() override;

    ScreenFrame* innerScreen() const { return inner_; }
    // Left to right, hidden ones included.
    QList<QAbstractButton*> innerButtons() const;
    QAbstractButton* innerButton() const { return currentButton_; }
    // The button that opens an inner screen, or nullptr when none is shown for it.
    QAbstractButton* buttonFor(ScreenId id) const;
    // Shows an inner screen with its button pressed without checking the one it
    // replaces; the whole-return check goes to a fault this way.
    void openInner(ScreenId id);

protected:
    ScreenContainer(QWidget* panel, ScreenHost& host, const QString& panelName);

    QToolButton* addInnerButton(const QString& objectName, const QString& caption, const QString& hint,
                                const QIcon& icon);
    // Which inner screen a button opens (buttons hidden for a kind open nothing).
    void setTarget(QAbstractButton* button, ScreenId id);
    // Builds the first inner screen while the container itself is built.
    void showFirst(QAbstractButton* button);
    // Whether a newly shown inner screen selects the first entry of its list.
    virtual bool selectsFirstEntryOnSwitch() const = 0;

private:
    void innerButtonClicked(QAbstractButton* button);
    void buildInner(QAbstractButton* button);

    QButtonGroup* group_;
    QHBoxLayout* buttonRow_;
    QWidget* innerPanel_;
    QVBoxLayout* innerLayout_;
    std::map<QAbstractButton*, ScreenId> targets_;
    ScreenFrame* inner_ = nullptr;
    QAbstractButton* currentButton_ = nullptr;
};

} // namespace kv
