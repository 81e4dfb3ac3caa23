#include "ScriptedAsker.h"

namespace kv::test {

ScriptedAsker& ScriptedAsker::expect(const QString& id, const QString& answer) {
    script_.push_back(Expected{false, false, id, answer, std::nullopt});
    return *this;
}

ScriptedAsker& ScriptedAsker::expectClosed(const QString& id) {
    script_.push_back(Expected{false, true, id, QString(), std::nullopt});
    return *this;
}

ScriptedAsker& ScriptedAsker::expectFile(const QString& id, std::optional<QString> path) {
    script_.push_back(Expected{true, false, id, QString(), std::move(path)});
    return *this;
}

std::optional<ScriptedAsker::Expected> ScriptedAsker::next(bool file, const QString& id) {
    asked_.append(id);
    if (script_.empty()) {
        failures_.append(QStringLiteral("unexpected question \"%1\"").arg(id));
        return std::nullopt;
    }
    Expected expected = script_.front();
    if (expected.file != file || expected.id != id) {
        failures_.append(QStringLiteral("asked \"%1\" where \"%2\" was expected").arg(id, expected.id));
        return std::nullopt;
    }
    script_.pop_front();
    return expected;
}

int ScriptedAsker::ask(QWidget*, const Question& q) {
    questions_.append(q);
    const std::optional<Expected> expected = next(false, q.id);
    if (!expected.has_value() || expected->closed)
        return q.escapeIndex;
    const int index = static_cast<int>(q.answers.indexOf(expected->answer));
    if (index < 0 || !q.answerEnabled(index)) {
        failures_.append(QStringLiteral("\"%1\" offers no enabled answer \"%2\" (%3)")
                             .arg(q.id, expected->answer, q.answers.join(QStringLiteral(", "))));
        return q.escapeIndex;
    }
    return index;
}

std::optional<QString> ScriptedAsker::fileAnswer(const FileQuestion& q) {
    fileQuestions_.append(q);
    const std::optional<Expected> expected = next(true, q.id);
    if (!expected.has_value())
        return std::nullopt;
    return expected->path;
}

std::optional<QString> ScriptedAsker::openFile(QWidget*, const FileQuestion& q) {
    return fileAnswer(q);
}

std::optional<QString> ScriptedAsker::saveFile(QWidget*, const FileQuestion& q) {
    return fileAnswer(q);
}

std::optional<QString> ScriptedAsker::chooseFolder(QWidget*, const FileQuestion& q) {
    return fileAnswer(q);
}

QString ScriptedAsker::textOf(const QString& id) const {
    for (auto it = questions_.crbegin(); it != questions_.crend(); ++it) {
        if (it->id == id)
            return it->text;
    }
    return {};
}

QStringList ScriptedAsker::failures() const {
    QStringList all = failures_;
    for (const Expected& e : script_)
        all.append(QStringLiteral("expected \"%1\" was never asked").arg(e.id));
    return all;
}

void ScriptedAsker::clear() {
    script_.clear();
    questions_.clear();
    fileQuestions_.clear();
    asked_.clear();
    failures_.clear();
}

} // namespace kv::test
