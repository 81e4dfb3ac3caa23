#pragma once
// Every modal question of the program goes through one Asker: message boxes, the
// check dialogs, the help notice and the file and folder pickers. The main window
// owns the real one and hands it to every screen and dialog it builds; tests give a
// scripted one, so nothing waits for a person.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QAbstractButton;
class QWidget;

namespace kv {

enum class QuestionIcon { None, Information, Question, Warning, Critical };

// How the real Asker shows a question.
enum class QuestionForm {
    MessageBox, // a message box with one button per answer
    HelpNotice, // HelpNoticeDialog: a message, an optional link to a help page, "Закрыть"
};

struct Question {
    QString id; // names the question for tests, and the dialog's object name
    QString title;
    QString text;
    QStringList answers;
    int defaultIndex = 0;
    int escapeIndex = -1; // what Escape and the close box answer; -1: they do nothing
    QuestionIcon icon = QuestionIcon::None;
    QList<bool> enabled; // per answer; empty means every answer is enabled
    QuestionForm form = QuestionForm::MessageBox;
    QString helpTopic; // HelpNotice: the page its link opens; empty hides the link

    bool answerEnabled(int index) const {
        return index >= 0 && index < answers.size() && (index >= enabled.size() || enabled.at(index));
    }
};

struct FileQuestion {
    QString id;
    QString title;
    QStringList filters; // "Description (*.ext)"
    QString defaultSuffix;
    QString directory; // where the dialog starts; empty: the dialog's own choice
    QString fileName;  // the name a save dialog proposes in that folder; empty: none
};

class Asker {
public:
    virtual ~Asker() = default;
    // Returns an index into q.answers, or q.escapeIndex when the window is closed.
    virtual int ask(QWidget* parent, const Question& q) = 0;
    virtual std::optional<QString> openFile(QWidget* parent, const FileQuestion& q) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileQuestion& q) = 0;
    virtual std::optional<QString> chooseFolder(QWidget* parent, const FileQuestion& q) = 0;
};

// A message with the single answer "OK", titled with the program's title.
Question messageQuestion(const QString& id, const QString& text, QuestionIcon icon);
// Да/Нет before something that cannot be undone; Enter and Escape answer "Нет".
Question deleteQuestion(const QString& id, const QString& text);
// The answer "Да" of a deleteQuestion.
inline constexpr int kDeleteYes = 0;
// Asks before a payer's source goes with the incomes entered under it; true for "Да".
bool sourceDeletionConfirmed(Asker& asker, QWidget* parent);
// A box being unticked takes what was entered under it: with something entered,
// asks the question and, on "Нет", ticks the box again. True when the untick stands.
bool untickConfirmed(Asker& asker, QWidget* parent, QAbstractButton* box, bool somethingEntered,
                     const Question& question);
// The same for a deduction's box: "Удалить все введённые сведения об этих вычетах?"
bool untickConfirmed(Asker& asker, QWidget* parent, QAbstractButton* box, bool somethingEntered);
// The help notice HelpNoticeDialog, titled with the program's title; an empty topic hides its link.
Question helpNotice(const QString& id, const QString& text, const QString& topic = {});

// The real dialogs: QMessageBox, HelpNoticeDialog, QFileDialog.
class WidgetAsker : public Asker {
public:
    // Opens a help page named by a help notice's link.
    std::function<void(const QString& topic)> openHelpTopic;

    int ask(QWidget* parent, const Question& q) override;
    std::optional<QString> openFile(QWidget* parent, const FileQuestion& q) override;
    std::optional<QString> saveFile(QWidget* parent, const FileQuestion& q) override;
    std::optional<QString> chooseFolder(QWidget* parent, const FileQuestion& q) override;
};

} // namespace kv
