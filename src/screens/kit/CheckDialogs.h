#pragma once
// The check dialogs TfmCheckError and TfmCheckAllError as questions of the Asker.
#include "checks/CheckDialog.h"
#include "screens/kit/Asker.h"

namespace kv {

// The question a check fault becomes: id "TfmCheckError" or "TfmCheckAllError",
// the check's title, its answers in order with their enabled state, "Исправить"
// as the default and the close answer as the escape.
Question checkQuestion(const CheckQuestion& question);

class AskerCheckDialog : public CheckDialog {
public:
    AskerCheckDialog(Asker& asker, QWidget* parent) : asker_(asker), parent_(parent) {}

    CheckAnswer ask(const CheckQuestion& question) override;

private:
    Asker& asker_;
    QWidget* parent_;
};

} // namespace kv
