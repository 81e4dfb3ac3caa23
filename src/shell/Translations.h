#pragma once
// Qt's own words (the buttons of message boxes, the file, folder, print and preview
// dialogs, context menus of text fields) in Russian, from the translations Qt ships.
class QCoreApplication;
class QTranslator;

namespace kv {

// Installs qtbase_ru from Qt's translations folder; the translator belongs to the
// application. nullptr when the translations are not installed: Qt's words stay English.
QTranslator* installQtTranslations(QCoreApplication& application);

} // namespace kv
