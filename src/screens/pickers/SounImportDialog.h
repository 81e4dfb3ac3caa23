#pragma once
// "Загрузка СОУН": rebuilds the tax-office directory from the tax service's
// classifier file soun1.dbf, for a user whose office the picker does not list.
// The new directory is read at the program's next start.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kv {

class Asker;

class SounImportDialog : public QDialog {
    Q_OBJECT
public:
    SounImportDialog(Asker& asker, QWidget* parent);

private:
    void choosePath();
    void runImport();
    void openHelp();
    void openDownload();
    void tell(const QString& id, const QString& text);

    Asker& asker_;
    QLineEdit* path_;
    QPushButton* import_;
    QPushButton* ok_;
};

} // namespace kv
