#pragma once
// How the window runs an import of a directory file: on a thread of its own, so that the
// window keeps drawing and answering while a large file is read and merged, with a busy
// indicator over the dialog that started it; and with a question before a classifier is
// replaced by a much smaller one.
#include <QString>
#include <functional>

class QWidget;

namespace kv {

class Asker;
class ClassifierShrinkError;

// Runs work off the window's thread and returns once it is done; meanwhile the window's
// events are processed, parent takes no input and a progress window ("importProgress")
// shows label. Whatever work throws is thrown again here, on the window's thread.
void runImport(QWidget* parent, const QString& label, const std::function<void()>& work);

// "… Заменить справочник?" with "Нет" as the default; true for "Да".
bool confirmShrink(Asker& asker, QWidget* parent, const QString& id, const ClassifierShrinkError& shrink);

} // namespace kv
