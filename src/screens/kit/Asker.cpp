#include "screens/kit/Asker.h"

#include "screens/HelpNoticeDialog.h"
#include "screens/kit/UiText.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace kv {

Question messageQuestion(const QString& id, const QString& text, QuestionIcon icon) {
    Question q;
    q.id = id;
    q.title = programTitle();
    q.text = text;
    q.answers = {QStringLiteral("OK")};
    q.escapeIndex = 0;
    q.icon = icon;
    return q;
}

Question deleteQuestion(const QString& id, const QString& text) {
    Question q = messageQuestion(id, text, QuestionIcon::Question);
    q.answers = {QStringLiteral("Да"), QStringLiteral("Нет")};
    q.defaultIndex = 1;
    q.escapeIndex = 1;
    return q;
}

bool sourceDeletionConfirmed(Asker& asker, QWidget* parent) {
    return asker.ask(parent, deleteQuestion(QStringLiteral("deleteSource"),
                                            QStringLiteral("Удалить источник выплаты и все его доходы?"))) ==
           kDeleteYes;
}

bool untickConfirmed(Asker& asker, QWidget* parent, QAbstractButton* box, bool somethingEntered,
                     const Question& question) {
    if (!somethingEntered || asker.ask(parent, question) == kDeleteYes)
        return true;
    const QSignalBlocker quiet(box);
    box->setChecked(true);
    return false;
}

bool untickConfirmed(Asker& asker, QWidget* parent, QAbstractButton* box, bool somethingEntered) {
    return untickConfirmed(asker, parent, box, somethingEntered,
                           deleteQuestion(QStringLiteral("dropDeductions"),
                                          QStringLiteral("Удалить все введённые сведения об этих вычетах?")));
}

Question helpNotice(const QString& id, const QString& text, const QString& topic) {
    Question q = messageQuestion(id, text, QuestionIcon::Information);
    q.answers = {QStringLiteral("Закрыть")};
    q.form = QuestionForm::HelpNotice;
    q.helpTopic = topic;
    return q;
}

namespace {

// A message box whose Escape key also answers when the escape answer's button is
// disabled: closing the check dialog counts as a skip even where "Пропустить"
// may not be pressed.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        QAbstractButton* escape = escapeButton();
        if (event->matches(QKeySequence::Cancel) && escape != nullptr && !escape->isEnabled()) {
            close();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
};

QMessageBox::Icon boxIcon(QuestionIcon icon) {
    switch (icon) {
    case QuestionIcon::Information:
        return QMessageBox::Information;
    case QuestionIcon::Question:
        return QMessageBox::Question;
    case QuestionIcon::Warning:
        return QMessageBox::Warning;
    case QuestionIcon::Critical:
        return QMessageBox::Critical;
    case QuestionIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

std::optional<QString> runFileDialog(QFileDialog& dialog, const FileQuestion& q) {
    dialog.setObjectName(q.id);
    dialog.setNameFilters(q.filters);
    dialog.setDefaultSuffix(q.defaultSuffix);
    if (!q.directory.isEmpty())
        dialog.setDirectory(q.directory);
    if (!q.fileName.isEmpty())
        dialog.selectFile(q.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    return files.first();
}

} // namespace

int WidgetAsker::ask(QWidget* parent, const Question& q) {
    if (q.form == QuestionForm::HelpNotice) {
        HelpNoticeDialog dialog(parent);
        dialog.setObjectName(q.id);
        dialog.setWindowTitle(q.title);
        dialog.setMessage(q.text);
        dialog.setTopic(q.helpTopic);
        dialog.setLinkVisible(!q.helpTopic.isEmpty());
        dialog.openTopic = openHelpTopic;
        dialog.exec();
        return 0;
    }

    QuestionBox box(parent);
    box.setObjectName(q.id);
    box.setWindowTitle(q.title);
    box.setTextFormat(Qt::PlainText);
    box.setText(q.text);
    box.setIcon(boxIcon(q.icon));
    // ActionRole for every answer keeps the buttons in the order the question gives.
    QList<QAbstractButton*> buttons;
    for (int i = 0; i < q.answers.size(); ++i) {
        QPushButton* button = box.addButton(q.answers.at(i), QMessageBox::ActionRole);
        button->setEnabled(q.answerEnabled(i));
        buttons.append(button);
    }
    if (q.answerEnabled(q.defaultIndex))
        box.setDefaultButton(static_cast<QPushButton*>(buttons.at(q.defaultIndex)));
    if (q.escapeIndex >= 0 && q.escapeIndex < buttons.size())
        box.setEscapeButton(buttons.at(q.escapeIndex));
    box.exec();
    const int index = static_cast<int>(buttons.indexOf(box.clickedButton()));
    return index >= 0 ? index : q.escapeIndex;
}

std::optional<QString> WidgetAsker::openFile(QWidget* parent, const FileQuestion& q) {
    QFileDialog dialog(parent, q.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog, q);
}

std::optional<QString> WidgetAsker::saveFile(QWidget* parent, const FileQuestion& q) {
    QFileDialog dialog(parent, q.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return runFileDialog(dialog, q);
}

std::optional<QString> WidgetAsker::chooseFolder(QWidget* parent, const FileQuestion& q) {
    QFileDialog dialog(parent, q.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setObjectName(q.id);
    if (!q.directory.isEmpty())
        dialog.setDirectory(q.directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString folder = dialog.selectedFiles().first();
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace kv
