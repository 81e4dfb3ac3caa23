#pragma once
// What every road test does before its own story: the main window on a fixed day
// with a fixed file identifier and scripted answers, the conditions screen and the
// taxpayer screen filled in as a person does, and pictures of the steps on request.
#include "EntryTestSupport.h"
#include "core/Date.h"
#include "export/FileIdentity.h"
#include "shell/MainWindow.h"
#include "shell/PrintJob.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>

namespace kv::test {

// The window of a road runs on 15.03.2020 and gives its exported files one identifier,
// so their names and contents can be written down in advance.
struct RoadRun {
    FixedClock clock{*DateValue::fromYmd(2020, 3, 15)};
    FixedIdSource ids{"0F8FAD5B-D9CB-469F-A165-70867728950E"};
    ScriptedAsker script;
    ModulePrintJob printJob;

    // programFolder holds the directory files; the build copies them beside the tests.
    MainWindowOptions options(const QString& programFolder = QCoreApplication::applicationDirPath());
    // The file an export of this run writes for the taxpayer at the tax office.
    static QString exportName(const QString& taxOffice, const QString& personInn);
    // What the story left unanswered: modal windows, then scripted questions. The
    // script starts afresh for the next story.
    QStringList takeFailures();
};

// In a road test's cleanup: every window and question of the story was answered.
#define KV_VERIFY_ROAD(run)                                                                                  \
    do {                                                                                                     \
        const QStringList kvRoad = (run).takeFailures();                                                     \
        QVERIFY2(kvRoad.isEmpty(), qPrintable(kvRoad.join(QLatin1Char('\n'))));                              \
    } while (false)

// The taxpayer screen's entries; an empty text or a null date is left as it is, and
// the identity document is picked only with a code. Every member starts empty ({}),
// so a road names only what it enters.
struct RoadTaxpayer {
    QString surname{};
    QString name{};
    QString patronymic{};
    QString inn{};
    QDate birthDate{};
    QString birthPlace{};
    QString docCode{};   // in the document-type picker
    QString docNumber{}; // typed key by key, so the field's own spacing applies
    QDate docDate{};
    QString docIssuer{};
    QString phone{};
};

void clickSection(MainWindow& window, Section section);

// The tax office picked in its directory and the OKTMO of residence typed; the
// picker is pictured as pickerShot when one is named.
void enterConditions(MainWindow& window, const QString& taxOffice, const QString& oktmo,
                     const QString& pickerShot = {});
// Goes to the taxpayer screen and fills it in.
void enterTaxpayer(MainWindow& window, const RoadTaxpayer& person);

// With KV_ROAD_SHOTS naming a folder, keeps a picture of the widget there as name.png.
void snap(QWidget* widget, const QString& name);

} // namespace kv::test
