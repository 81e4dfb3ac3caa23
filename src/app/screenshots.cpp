// Shows the main window with a return, opens every section and inner screen in
// turn, and saves a picture of each, plus the splash, About and help windows, so
// that people can look at the program without clicking through it.
//
//   kvilmar-screenshots OUTPUT-FOLDER [RETURN.qv9]
//
// The print preview is pictured too. Questions the screens and the check ask on the way (faults of the screen
// being left) are answered "Пропустить все" or with their escape answer and listed in questions.txt.
#include "screens/ScreenContainer.h"
#include "screens/Sections.h"
#include "screens/kit/Asker.h"
#include "screens/kit/UiText.h"
#include "shell/AboutDialog.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"
#include "shell/SplashWindow.h"
#include "shell/Startup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace {

class AnsweringAsker : public kv::Asker {
public:
    explicit AnsweringAsker(QTextStream& log) : log_(log) {}

    int ask(QWidget*, const kv::Question& q) override {
        int answer = static_cast<int>(q.answers.indexOf(QStringLiteral("Пропустить все")));
        if (!q.answerEnabled(answer))
            answer = q.escapeIndex >= 0 ? q.escapeIndex : q.defaultIndex;
        log_ << q.title << ": " << q.text << " -> " << q.answers.value(answer) << "\n";
        return answer;
    }
    std::optional<QString> openFile(QWidget*, const kv::FileQuestion& q) override { return skip(q); }
    std::optional<QString> saveFile(QWidget*, const kv::FileQuestion& q) override { return skip(q); }
    std::optional<QString> chooseFolder(QWidget*, const kv::FileQuestion& q) override { return skip(q); }

private:
    std::optional<QString> skip(const kv::FileQuestion& q) {
        log_ << q.title << ": (cancelled)\n";
        return std::nullopt;
    }
    QTextStream& log_;
};

void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool save(QWidget& widget, const QString& folder, const QString& name) {
    settle();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(kv::programTitle());
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.isEmpty() || arguments.size() > 2) {
        std::fprintf(stderr, "usage: kvilmar-screenshots OUTPUT-FOLDER [RETURN.qv9]\n");
        return 2;
    }
    const QString folder = arguments.at(0);
    QDir().mkpath(folder);
    QFile logFile(QDir(folder).filePath(QStringLiteral("questions.txt")));
    if (!logFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return 1;
    QTextStream log(&logFile);
    AnsweringAsker asker(log);
    bool ok = true;

    {
        kv::SplashWindow splash(std::chrono::hours(1)); // pictured, then gone with its scope
        splash.showAndPaint();
        ok &= save(splash, folder, QStringLiteral("00-splash"));
    }

    kv::ProgramServices services;
    kv::MainWindowOptions options = services.options();
    options.asker = &asker;
    kv::MainWindow window(arguments.size() > 1 ? std::optional<QString>(arguments.at(1)) : std::nullopt,
                          options);
    window.show();
    settle();

    int number = 1;
    for (const kv::SectionButtonInfo& info : kv::sectionButtons()) {
        if (!info.visible || !info.screen.has_value() || !window.sectionEnabled(info.section))
            continue;
        log << "== " << info.caption << "\n";
        window.switchSection(info.section);
        const QString prefix = QStringLiteral("%1").arg(number++, 2, 10, QLatin1Char('0'));
        auto* container = qobject_cast<kv::ScreenContainer*>(window.currentScreen());
        if (container == nullptr) {
            ok &= save(window, folder, prefix + QLatin1Char('-') + window.currentScreen()->objectName());
            continue;
        }
        for (QAbstractButton* button : container->innerButtons()) {
            if (button->isHidden())
                continue;
            button->click();
            ok &= save(window, folder,
                       prefix + QLatin1Char('-') + container->objectName() + QLatin1Char('-') +
                           container->innerScreen()->objectName());
        }
    }

    {
        kv::AboutDialog about(asker, &window);
        about.show();
        ok &= save(about, folder, QStringLiteral("90-about"));
    }
    // The preview is modal: it is pictured and closed from a timer once it shows.
    {
        QTimer timer;
        timer.setInterval(100);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr)
                return;
            timer.stop();
            modal->resize(1000, 800);
            ok &= save(*modal, folder, QStringLiteral("92-preview"));
            modal->close();
        });
        timer.start();
        window.previewDoc();
    }
    window.showResult();
    if (auto* result = window.findChild<QDialog*>(QStringLiteral("ResultSummary"))) {
        ok &= save(*result, folder, QStringLiteral("93-result"));
        result->close();
    }
    window.showHelpContents();
    if (window.helpWindow() != nullptr) {
        ok &= save(*window.helpWindow(), folder, QStringLiteral("91-help"));
        window.helpWindow()->close();
    }

    log.flush();
    window.hide();
    return ok ? 0 : 1;
}
