#pragma once
// An Asker for tests: it answers from a script of expected questions, in order,
// and records every question it receives. A question that is not the next one
// expected is a failure and gets the escape answer at once; nothing ever waits.
#include "screens/kit/Asker.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <optional>

namespace kv::test {

class ScriptedAsker : public Asker {
public:
    // The next question has this id; answer the answer with this caption.
    ScriptedAsker& expect(const QString& id, const QString& answer);
    // The next question has this id; close its window (Escape or the close box).
    ScriptedAsker& expectClosed(const QString& id);
    // The next file or folder question has this id; answer this path or cancel.
    ScriptedAsker& expectFile(const QString& id, std::optional<QString> path);

    int ask(QWidget* parent, const Question& q) override;
    std::optional<QString> openFile(QWidget* parent, const FileQuestion& q) override;
    std::optional<QString> saveFile(QWidget* parent, const FileQuestion& q) override;
    std::optional<QString> chooseFolder(QWidget* parent, const FileQuestion& q) override;

    const QList<Question>& questions() const { return questions_; }
    const QList<FileQuestion>& fileQuestions() const { return fileQuestions_; }
    // Ids of everything asked, in order, file questions included.
    const QStringList& asked() const { return asked_; }
    // The text of the last question with this id, or an empty text.
    QString textOf(const QString& id) const;

    QStringList failures() const;
    void clear();

private:
    struct Expected {
        bool file = false;
        bool closed = false;
        QString id;
        QString answer;
        std::optional<QString> path;
    };
    std::optional<Expected> next(bool file, const QString& id);
    std::optional<QString> fileAnswer(const FileQuestion& q);

    std::deque<Expected> script_;
    QList<Question> questions_;
    QList<FileQuestion> fileQuestions_;
    QStringList asked_;
    QStringList failures_;
};

} // namespace kv::test

// Every scripted answer was used and nothing unexpected was asked.
#define KV_VERIFY_ASKER(asker)                                                                               \
    do {                                                                                                     \
        const QStringList kvFailures = (asker).failures();                                                   \
        QVERIFY2(kvFailures.isEmpty(), qPrintable(kvFailures.join(QLatin1Char('\n'))));                      \
    } while (false)
