#pragma once
// "Вид деятельности": the kind of a business or private-practice activity and, for
// entrepreneurship, its OKVED code chosen in the classifier picker. The dialog only
// reports the choice; the screen writes it into the activity.
#include "core/Text.h"
#include <QDialog>
#include <filesystem>
#include <string>

class QButtonGroup;
class QLineEdit;
class QToolButton;

namespace kv {

class Asker;
struct OkvedClassifier;

class BusinessActivityDialog : public QDialog {
    Q_OBJECT
public:
    // kind "1" to "9", or "" for none chosen yet.
    BusinessActivityDialog(Asker& asker, const OkvedClassifier* classifier, std::filesystem::path okvedFile,
                           const Cp1251Text& kind, const Cp1251Text& okvedCode, QWidget* parent);

    Cp1251Text kind() const;      // "" when no kind is chosen
    Cp1251Text okvedCode() const; // Windows-1251
    // "Да" and Enter accept, except for entrepreneurship without a code, which cancels.
    void accept() override;

private:
    void kindChosen();
    void pickCode();

    Asker& asker_;
    const OkvedClassifier* classifier_;
    std::filesystem::path okvedFile_;
    QButtonGroup* kinds_;
    QLineEdit* okvedEdit_;
    QToolButton* okvedButton_;
};

} // namespace kv
