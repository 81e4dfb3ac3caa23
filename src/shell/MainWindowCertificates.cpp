// "Загрузить справку 2-НДФЛ..." of the "Декларация" menu: the same command as the
// button of the 13% screen, from wherever the person is.
#include "screens/CertificateImportDialog.h"
#include "shell/MainWindow.h"

namespace kv {

void MainWindow::loadCertificate() {
    if (screen_ != nullptr)
        screen_->saveData();
    if (!importIncomeCertificate(this, *this))
        return;
    setSectionsFromDocument();
    // A screen is built from the document: built again, it shows the new sources.
    if (screen_ != nullptr)
        buildScreen(screen_->screenId());
}

} // namespace kv
