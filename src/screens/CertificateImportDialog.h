#pragma once
// "Загрузить справку 2-НДФЛ...": an employer's income certificate file taken into the
// return. The file dialog, then a preview of what the certificate holds (the agent, the
// recipient, the months, the totals, where its figures disagree and what will be added
// or replaced); the return changes only on "Загрузить".
#include "imports/CertificateImport.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace kv {

class Declaration;
class ScreenHost;

class CertificatePreviewDialog : public QDialog {
    Q_OBJECT
public:
    // One certificate of the file at a time; the recipient list starts at `chosen`
    // (the taxpayer's certificate, -1 when the person has to choose).
    CertificatePreviewDialog(QWidget* parent, const CertificateFile& file, const Declaration& declaration,
                             int chosen);

    const CertificateImport& currentImport() const;

private:
    void showCertificate(int index);
    void fillMonths(const Certificate& certificate);
    QString changesText(const CertificateImport& import) const;

    const CertificateFile& file_;
    std::vector<CertificateImport> imports_; // one per certificate of the file
    int current_ = 0;

    QComboBox* recipientCombo_;
    QLabel* chooseLabel_;
    QLabel* agentLabel_;
    QTreeWidget* monthsList_;
    QLabel* totalsLabel_;
    QListWidget* warningsList_;
    QLabel* changesLabel_;
    QPushButton* loadButton_;
    QPushButton* cancelButton_;
};

// The whole command. True when the return changed (markDocumentChanged has been sent).
bool importIncomeCertificate(QWidget* parent, ScreenHost& host);

} // namespace kv
