// The GUI on a return with 1000 sources, offscreen: the main window made ready
// (without the splash window's fixed wait), switching sections, and building the
// 13% screen when the program has one.
#include "ReturnGenerator.h"

#include "model/Declaration.h"
#include "screens/ScreenTable.h"
#include "screens/Sections.h"
#include "screens/kit/Asker.h"
#include "shell/MainWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Answers every question as Enter would, and counts them: a benchmark that is asked
// something measures a dialog path rather than the screen.
class AnsweringAsker : public kv::Asker {
public:
    int questions = 0;
    int ask(QWidget*, const kv::Question& q) override {
        ++questions;
        return q.defaultIndex;
    }
    std::optional<QString> openFile(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
    std::optional<QString> saveFile(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(QWidget*, const kv::FileQuestion&) override { return std::nullopt; }
};

struct Fixture {
    QTemporaryDir folder;
    AnsweringAsker asker;
    QString largeReturn;

    Fixture() {
        // Window settings go to a folder of the benchmark's own, never the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        const kv::Declaration d = kv::bench::makeReturn(kv::bench::shapeNamed("1000x12"));
        largeReturn = folder.filePath(QStringLiteral("1000x12.qv9"));
        d.saveToFile(QFile::encodeName(largeReturn).toStdString());
    }

    std::unique_ptr<kv::MainWindow> window(const std::optional<QString>& path) {
        kv::MainWindowOptions options;
        options.programFolder = folder.path() + QLatin1Char('/');
        options.asker = &asker;
        options.clock = &kv::bench::generatorClock();
        return std::make_unique<kv::MainWindow>(path, options);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void ready(kv::MainWindow& w) {
    w.show();
    QApplication::processEvents();
}

void reportQuestions(benchmark::State& state, int before) {
    const int asked = fixture().asker.questions - before;
    if (asked > 0)
        state.SetLabel("questions asked: " + std::to_string(asked));
}

// From construction to a shown window with its first screen, as after the splash.
void BM_MainWindowReady(benchmark::State& state, bool withLargeReturn) {
    Fixture& f = fixture();
    const int before = f.asker.questions;
    const std::optional<QString> path =
        withLargeReturn ? std::optional<QString>(f.largeReturn) : std::nullopt;
    for (auto _ : state) {
        auto w = f.window(path);
        ready(*w);
        state.PauseTiming();
        w.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    reportQuestions(state, before);
}

// One press of a section button: the screen left saves and checks itself, the next
// one is built from the document. Cycles through the sections the return enables.
void BM_SwitchSection(benchmark::State& state) {
    Fixture& f = fixture();
    auto w = f.window(f.largeReturn);
    ready(*w);
    std::vector<kv::Section> sections;
    for (const kv::SectionButtonInfo& b : kv::sectionButtons())
        if (b.screen && w->sectionEnabled(b.section))
            sections.push_back(b.section);
    if (sections.size() < 2) {
        state.SkipWithError("fewer than two sections are enabled");
        return;
    }
    const int before = f.asker.questions;
    std::size_t next = 1;
    for (auto _ : state) {
        w->switchSection(sections[next]);
        QApplication::processEvents();
        next = (next + 1) % sections.size();
    }
    reportQuestions(state, before);
}

// The 13% screen built from the return with 1000 sources, shown and destroyed.
void BM_ThirteenPercentScreen(benchmark::State& state) {
    const kv::ScreenRegistry& registry = kv::ScreenRegistry::standard();
    if (!registry.info(kv::ScreenId::ThirteenPercent).make) {
        state.SkipWithError("the program has no 13% screen yet");
        return;
    }
    Fixture& f = fixture();
    auto w = f.window(f.largeReturn);
    ready(*w);
    QWidget panel;
    panel.resize(800, 600);
    panel.show();
    const int before = f.asker.questions;
    for (auto _ : state) {
        kv::ScreenFrame* screen = registry.create(kv::ScreenId::ThirteenPercent, &panel, *w);
        screen->show();
        QApplication::processEvents();
        state.PauseTiming();
        delete screen;
        QApplication::processEvents();
        state.ResumeTiming();
    }
    reportQuestions(state, before);
}

double fastest(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

void settings(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);
}

BENCHMARK_CAPTURE(BM_MainWindowReady, new_return, false)->Apply(settings);
BENCHMARK_CAPTURE(BM_MainWindowReady, return_of_1000_sources, true)->Apply(settings);
BENCHMARK(BM_SwitchSection)->Apply(settings);
BENCHMARK(BM_ThirteenPercentScreen)->Apply(settings);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("ЗЕНТАР"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
