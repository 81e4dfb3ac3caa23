// "kvilmar-cli pdf": the same pages as printing, into a PDF file, without a display.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status;
    QString out;
};

CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KV_CLI), args);
    p.waitForFinished(-1);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
}

QString example(const char* name) {
    return QStringLiteral(KV_EXAMPLES_DIR "/%1.qv9").arg(QLatin1String(name));
}

TEST(CliPdf, WritesTheReturnAsPdfAndRefusesBadUse) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("return.pdf"));
    const QStringList fixed = {QStringLiteral("--date"), QStringLiteral("02.03.2020"),
                               QStringLiteral("--guid"),
                               QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e")};

    const CliRun ok =
        cli(QStringList{QStringLiteral("pdf"), example("all-records"), QStringLiteral("--out"), pdf} + fixed);
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out.trimmed(), pdf);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");

    struct Bad {
        QStringList args;
        int status;
    };
    const QString other = dir.filePath(QStringLiteral("other.pdf"));
    const Bad bad[] = {
        {{QStringLiteral("pdf"), example("all-records")}, 2}, // no --out
        {{QStringLiteral("pdf"), example("all-records"), QStringLiteral("--out"), other,
          QStringLiteral("--date"), QStringLiteral("31.02.2020")},
         2},
        {{QStringLiteral("pdf"), dir.filePath(QStringLiteral("missing.qv9")), QStringLiteral("--out"), other},
         2},
        // A return that fails the whole-return check is not printed, as in the program.
        {{QStringLiteral("pdf"), example("new-return"), QStringLiteral("--out"), other}, 1},
    };
    for (const Bad& b : bad) {
        EXPECT_EQ(cli(b.args).status, b.status) << b.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(QFile::exists(other));
    }
}

} // namespace
