#include "RoadTestSupport.h"

#include "screens/kit/DateEdit.h"

#include <QAbstractButton>
#include <QDir>
#include <QTest>

namespace kv::test {

QStringList RoadRun::takeFailures() {
    QStringList failures = takeModalFailures() + script.failures();
    script.clear();
    return failures;
}

MainWindowOptions RoadRun::options(const QString& programFolder) {
    MainWindowOptions o;
    o.programFolder = programFolder;
    o.asker = &script;
    o.clock = &clock;
    o.ids = &ids;
    o.printJob = &printJob;
    return o;
}

QString RoadRun::exportName(const QString& taxOffice, const QString& personInn) {
    return QStringLiteral("NO_NDFL3_%1_%1_%2_20200315_0F8FAD5B-D9CB-469F-A165-70867728950E.xml")
        .arg(taxOffice, personInn);
}

void clickSection(MainWindow& window, Section section) {
    window.sectionButtonWidget(section)->click();
}

void enterConditions(MainWindow& window, const QString& taxOffice, const QString& oktmo,
                     const QString& pickerShot) {
    whenModal(QStringLiteral("TfmInputInspectionNumber"), [=](QDialog& picker) {
        if (!pickerShot.isEmpty())
            snap(&picker, pickerShot);
        pickCode(picker, taxOffice);
    });
    clickButton(&window, "bnInspection");
    KV_VERIFY_MODALS();
    retype(&window, "meOKATO", oktmo);
    QCOMPARE(textOf(&window, "meInspection"), taxOffice);
}

void enterTaxpayer(MainWindow& window, const RoadTaxpayer& person) {
    clickSection(window, Section::Taxpayer);
    QCOMPARE(window.currentScreen()->objectName(), QStringLiteral("TfrPersonNaim"));
    const auto type = [&window](const char* field, const QString& text) {
        if (!text.isEmpty())
            retype(&window, field, text);
    };
    const auto date = [&window](const char* field, const QDate& value) {
        if (!value.isNull())
            child<DateEdit>(&window, field)->setDate(value);
    };
    type("edSurname", person.surname);
    type("edName", person.name);
    type("edPatronymic", person.patronymic);
    type("edInn", person.inn);
    date("deBirthDate", person.birthDate);
    type("edBirthPlace", person.birthPlace);
    if (!person.docCode.isEmpty()) {
        whenPicker(QStringLiteral("TfmDocType"), person.docCode);
        clickButton(&window, "bnDocType");
        KV_VERIFY_MODALS();
    }
    if (!person.docNumber.isEmpty())
        typeText(child<QWidget>(&window, "edDocNumber"), person.docNumber);
    date("deDocDate", person.docDate);
    type("edDocIssuer", person.docIssuer);
    type("edPhone", person.phone);
}

void snap(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KV_ROAD_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace kv::test
