// The print module's calls as the main window makes them: preview, print, and
// the PDF file; their failures carry a message for the user.
#include "ModalAnswers.h"
#include "PrintTestSupport.h"
#include "core/Text.h"
#include "print/PrintModule.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace kv::print {
namespace {

using test::cp;

std::string messageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const PrintError& e) {
        return e.message().utf8();
    }
    ADD_FAILURE() << "no PrintError";
    return {};
}

int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF"))
        return -1;
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

TEST(PrintModule, PreviewShowsEveryPageInTheProgramsPreviewWindow) {
    std::string xml = test::exampleXml("all-records");
    PrintModule module;
    const int expected = static_cast<int>(module.layout(xml).pages.size());
    int shown = -1;
    QString title;
    QRect frame;
    // The preview is modal: look at it once it is up, then close it as the user would.
    kv::test::whenModal({}, [&](QDialog& window) {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(&window);
        auto* view = dialog != nullptr ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
        shown = view != nullptr ? view->pageCount() : -2;
        title = window.windowTitle();
        frame = window.frameGeometry();
        window.reject();
    });
    module.previewData(xml, std::intptr_t{0});
    EXPECT_EQ(kv::test::takeModalFailures().join('\n').toStdString(), "");
    EXPECT_EQ(shown, expected);
    // The program's name is the main window's; the preview says what it shows.
    EXPECT_EQ(title.toStdString(), "Просмотр декларации");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(frame))
        << frame.width() << "x" << frame.height() << " on " << screen.width() << "x" << screen.height();
}

TEST(PrintModule, PreviewFitsTheScreen) {
    const std::pair<QSize, QSize> cases[] = {
        {QSize(1920, 1080), QSize(900, 972)}, // as large as a page needs, shorter than the screen
        {QSize(2560, 1440), QSize(900, 1000)},
        {QSize(1024, 600), QSize(900, 540)},
        {QSize(800, 600), QSize(720, 540)},
    };
    for (const auto& [available, size] : cases) {
        EXPECT_EQ(previewSize(available), size) << available.width() << "x" << available.height();
        EXPECT_LE(previewSize(available).width(), available.width());
    }
}

TEST(PrintModule, WritesThePagesIntoAPdfFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string xml = test::exampleXml("all-records");
    PrintModule module;
    const QString path = dir.filePath(QStringLiteral("декларация.pdf"));
    module.printToPdf(xml, path.toStdString());
    EXPECT_EQ(pdfPages(path), static_cast<int>(module.layout(xml).pages.size()));

    const std::string unwritable = dir.filePath(QStringLiteral("нет/такой/папки.pdf")).toStdString();
    EXPECT_NE(messageOf([&] { module.printToPdf(xml, unwritable); }).find("Не удалось создать файл"),
              std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(unwritable)));
}

TEST(PrintModule, FailuresCarryAMessageForTheUser) {
    PrintModule module;
    std::string xml = test::exampleXml("typical");
    std::string printer = "Нет такого принтера";
    EXPECT_EQ(messageOf([&] { module.printData(xml, std::string(), printer, 0); }),
              "Принтер «Нет такого принтера» не найден");

    std::string failedExport = "ERROR";
    EXPECT_NE(messageOf([&] {
                  module.previewData(failedExport, std::intptr_t{0});
              }).find("Декларацию не удалось подготовить к печати"),
              std::string::npos);
}

TEST(PrintModule, TheTitlePageNamesTheTaxOfficeTheProgramPasses) {
    PrintModule module;
    module.setPrintTiffParam(Cp1251Text::fromUtf8("Другой параметр"), Cp1251Text::fromUtf8("не печатается"));
    module.setPrintTiffParam(kInspectionNameParam,
                             Cp1251Text::fromUtf8("Инспекция ФНС России № 1 по г. Москве"));
    module.PrintTiffFolder = "/opt/kvilmar/";
    const PrintLayout layout = module.layout(test::exampleXml("typical"));
    const std::string title = pageText(layout, layout.pages.front());
    EXPECT_NE(title.find("Наименование налогового органа Инспекция ФНС России № 1 по г. Москве"),
              std::string::npos);
    EXPECT_EQ(title.find("не печатается"), std::string::npos);
}

} // namespace
} // namespace kv::print
