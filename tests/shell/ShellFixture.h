#pragma once
// What the main window's tests share: a program folder and settings of their own,
// a fixed clock and file identifier, the scripted Asker, and small returns.
#include "ScreenTestHost.h"
#include "ScriptedAsker.h"
#include "core/Text.h"
#include "export/FileIdentity.h"
#include "model/Declaration.h"
#include "print/PrintModule.h"
#include "screens/ScreenTable.h"
#include "shell/MainWindow.h"
#include "shell/PrintJob.h"
#include "shell/ProgramSettings.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace kv::test {

inline Cp1251Text cp(const char* utf8) {
    return Cp1251Text::fromUtf8(utf8);
}

// A return as the program starts one.
inline Declaration newReturn() {
    Declaration d(testClock());
    d.setIncomeFlags(Declaration::kAgentIncomes);
    d.sheetCountAutomatic = 1;
    return d;
}

// A return the whole-return check passes: tax office, taxpayer with a valid INN, OKTMO.
inline void completeReturn(Declaration& d) {
    d.inspectionCode = "7701";
    d.person.surname = cp("Петров");
    d.person.firstName = cp("Иван");
    d.person.inn = "123456789047";
    d.person.oktmo = "45000000";
}

// Stands for the print module: keeps what each job was given, or fails as told.
class RecordingPrintJob : public PrintJob {
public:
    struct Call {
        bool preview;
        Cp1251Text inspectionName;
        std::string programFolder;
        std::string xml;
        QString workingFolder; // where the print dialog would offer its PDF file
        QString outputName;    // the PDF file's name it would propose, without ".pdf"
    };
    QList<Call> calls;
    Cp1251Text failure; // not empty: every job fails with it

    void preview(const Cp1251Text& name, const std::string& folder, std::string& xml,
                 const QString& outputName, QWidget*) override {
        record(true, name, folder, xml, outputName);
    }
    void print(const Cp1251Text& name, const std::string& folder, std::string& xml, const QString& outputName,
               QWidget*) override {
        record(false, name, folder, xml, outputName);
    }

private:
    void record(bool preview, const Cp1251Text& name, const std::string& folder, const std::string& xml,
                const QString& outputName) {
        calls.append(Call{preview, name, folder, xml, QDir::currentPath(), outputName});
        if (!failure.empty())
            throw print::PrintError(failure);
    }
};

class ShellFixture {
public:
    ShellFixture() : screens(registryOfProbes(probes)) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    }

    // Called from each test class's init() and cleanup().
    void begin() {
        folder_ = std::make_unique<QTemporaryDir>();
        asker.clear();
        probes.clear();
        printJob = RecordingPrintJob();
        recoveryDelayMs = 3600 * 1000;
        programFolder.clear();
        userDataFolder.clear();
        locale_ = QLocale();
        for (const char* file : {"kvilmar/kvilmar.conf", "ЗЕНТАР/Квилмар 2019.conf"})
            QFile::remove(settingsDir_.filePath(QString::fromUtf8(file)));
    }
    void end() { QLocale::setDefault(locale_); }

    QString folder() const { return folder_->path() + QLatin1Char('/'); }
    QString path(const QString& name) const { return folder() + name; }
    // The user's data folder: imported directories and the recovery copy.
    QString userFolder() const { return folder() + QStringLiteral("user/"); }

    // A window whose screens are probes, unless other screens are given.
    std::unique_ptr<MainWindow> window(const std::optional<QString>& file = std::nullopt,
                                       const ScreenRegistry* otherScreens = nullptr) {
        MainWindowOptions options;
        options.programFolder = programFolder.isEmpty() ? folder() : programFolder;
        options.userDataFolder = userDataFolder.isEmpty() ? userFolder() : userDataFolder;
        options.recoveryDelayMs = recoveryDelayMs;
        options.asker = &asker;
        options.clock = &testClock();
        options.ids = &ids_;
        options.screens = otherScreens != nullptr ? otherScreens : &screens;
        options.printJob = &printJob;
        return std::make_unique<MainWindow>(file, options);
    }

    // Saves a return built by fill into the program folder; returns its path.
    QString writeReturn(const QString& name, const std::function<void(Declaration&)>& fill = {}) {
        Declaration d = newReturn();
        if (fill)
            fill(d);
        const QString file = path(name);
        d.saveToFile(QFile::encodeName(file).toStdString());
        return file;
    }

    // Where the window settings are kept for the tests (QSettings::setPath).
    QString settingsFolder() const { return settingsDir_.path(); }

    QVariant setting(const QString& name) const { return openProgramSettings()->value(name); }

    // Long unless a test waits for the recovery copy, so that no copy is written behind
    // the back of a test that counts the screens' saves.
    int recoveryDelayMs = 3600 * 1000;
    QString programFolder;  // empty: folder()
    QString userDataFolder; // empty: userFolder()
    ScriptedAsker asker;
    std::map<ScreenId, ProbeLog> probes;
    RecordingPrintJob printJob;
    const ScreenRegistry screens;

private:
    QTemporaryDir settingsDir_;
    std::unique_ptr<QTemporaryDir> folder_;
    QLocale locale_;
    FixedIdSource ids_{"0A1B2C3D-0000-4000-8000-00000000ABCD"};
};

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace kv::test
