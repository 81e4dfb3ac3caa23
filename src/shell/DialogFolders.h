#pragma once
// Where the file dialogs start. Never the program's own folder: once installed it
// is not writable, and a person looks for their returns among their documents.
#include <QString>

namespace kv {

// The folder of the open return when it has one and the folder still exists, else
// the person's documents folder (their home folder when there is none).
QString dialogStartFolder(const QString& documentPath);

// Makes a folder the working folder for as long as it lives. The print dialog
// offers its file for printing to PDF in the working folder and takes no other hint.
class WorkingFolder {
public:
    explicit WorkingFolder(const QString& folder);
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    QString previous_;
};

} // namespace kv
