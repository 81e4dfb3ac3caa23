#include "shell/Startup.h"

#include "screens/kit/Mnemonics.h"
#include "screens/kit/Pictures.h"
#include "screens/kit/UiText.h"
#include "shell/CommandLine.h"
#include "shell/MainWindow.h"
#include "shell/SplashWindow.h"
#include "shell/Translations.h"

#include <QApplication>

namespace kv {

MainWindowOptions ProgramServices::options() {
    MainWindowOptions options;
    options.asker = &asker;
    options.clock = &clock;
    options.ids = &ids;
    options.printJob = &printJob;
    return options;
}

int runProgram(QApplication& application, const QStringList& arguments) {
    QApplication::setApplicationDisplayName(programTitle());
    QApplication::setOrganizationName(QStringLiteral("ЗЕНТАР"));
    QApplication::setApplicationName(programTitle());
    QApplication::setWindowIcon(QIcon(emblemPicture(64)));
    // The desktop entry's name: the window is matched to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.zentar.kvilmar"));
    installQtTranslations(application);
    application.installEventFilter(new DialogMnemonics(&application));

    // The splash closes itself (after its time, at a key or click, or when a question
    // comes); the main window is shown as soon as it is built.
    SplashWindow splash;
    splash.showAndPaint();

    ProgramServices services;
    MainWindow window(commandLinePath(arguments), services.options());
    if (window.mustQuit())
        return 1;
    services.asker.openHelpTopic = [&window](const QString& topic) { window.showHelpTopic(topic); };
    window.show();
    splash.raise();
    return application.exec();
}

} // namespace kv
