// Save, open, compute and export of generated returns of growing size, beside the
// two yardsticks they are held against: one pass over the file's items, and
// libxml2 parsing the exported XML.
#include "ItemPass.h"
#include "ReturnGenerator.h"

#include "compute/ReturnComputation.h"
#include "export/ExportReturn.h"
#include "model/Declaration.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kv::bench::ReturnShape;

const kv::FixedIdSource& fixedIds() {
    static const kv::FixedIdSource ids("0F8FAD5B-D9CB-469F-A165-70867728950E");
    return ids;
}

const kv::ExportServices& services() {
    static const kv::ExportServices s{kv::bench::generatorClock(), fixedIds(), [](const kv::Cp1251Text&) {
                                          throw std::runtime_error("export failed");
                                      }};
    return s;
}

fs::path workFolder() {
    static const fs::path folder = [] {
        fs::path p = fs::temp_directory_path() / ("kv-bench-" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

// One generated return, saved once, with its exported XML.
struct Prepared {
    ReturnShape shape;
    std::unique_ptr<kv::Declaration> document;
    std::string path;
    std::int64_t documentBytes = 0;
    std::string xml;
};

const Prepared& prepared(int index) {
    static std::map<int, Prepared> cache;
    auto it = cache.find(index);
    if (it != cache.end())
        return it->second;
    Prepared p;
    p.shape = kv::bench::standardShapes().at(static_cast<std::size_t>(index));
    p.document = std::make_unique<kv::Declaration>(kv::bench::makeReturn(p.shape));
    p.path = (workFolder() / (p.shape.name + ".qv9")).string();
    p.document->saveToFile(p.path);
    p.documentBytes = p.document->storedSize();
    p.xml = kv::exportReturn("", *p.document, kv::kExportToText, services());
    if (p.xml == kv::kExportFailed)
        throw std::runtime_error("the generated return does not export");
    return cache.emplace(index, std::move(p)).first->second;
}

void describe(benchmark::State& state, const Prepared& p) {
    state.SetLabel(p.shape.name);
    state.counters["doc_bytes"] = static_cast<double>(p.documentBytes);
    state.counters["xml_bytes"] = static_cast<double>(p.xml.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * p.documentBytes);
}

void BM_Save(benchmark::State& state) {
    const Prepared& p = prepared(static_cast<int>(state.range(0)));
    const std::string path = (workFolder() / (p.shape.name + "-save.qv9")).string();
    for (auto _ : state)
        p.document->saveToFile(path);
    describe(state, p);
}

void BM_Open(benchmark::State& state) {
    const Prepared& p = prepared(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        kv::Declaration d(kv::bench::generatorClock());
        d.loadFromFile(p.path);
        benchmark::DoNotOptimize(d.incomes13.count());
    }
    describe(state, p);
}

void BM_ItemPass(benchmark::State& state) {
    const Prepared& p = prepared(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto r = kv::bench::passOverItems(p.path);
        benchmark::DoNotOptimize(r.checksum);
    }
    describe(state, p);
    state.counters["items"] = static_cast<double>(kv::bench::passOverItems(p.path).items);
}

void BM_Compute(benchmark::State& state) {
    const Prepared& p = prepared(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto sum = std::make_unique<kv::ReturnComputation>();
        benchmark::DoNotOptimize(sum->compute(*p.document));
    }
    describe(state, p);
}

// Text mode, as printing asks for it: the computation, the tree and its bytes.
void BM_Export(benchmark::State& state) {
    const Prepared& p = prepared(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string xml = kv::exportReturn("", *p.document, kv::kExportToText, services());
        benchmark::DoNotOptimize(xml.data());
    }
    describe(state, p);
}

void BM_XmlParse(benchmark::State& state) {
    const Prepared& p = prepared(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        xmlDocPtr doc =
            xmlReadMemory(p.xml.data(), static_cast<int>(p.xml.size()), nullptr, nullptr, XML_PARSE_NONET);
        if (doc == nullptr)
            state.SkipWithError("the exported XML does not parse");
        xmlFreeDoc(doc);
    }
    describe(state, p);
}

double fastest(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

void shapes(benchmark::internal::Benchmark* b) {
    for (std::size_t i = 0; i < kv::bench::standardShapes().size(); ++i)
        b->Arg(static_cast<int>(i));
    b->Unit(benchmark::kMillisecond);
    // On a shared machine the fastest repetition is the one least disturbed by the rest.
    b->ComputeStatistics("min", fastest);
}

BENCHMARK(BM_Save)->Apply(shapes);
BENCHMARK(BM_Open)->Apply(shapes);
BENCHMARK(BM_ItemPass)->Apply(shapes);
BENCHMARK(BM_Compute)->Apply(shapes);
BENCHMARK(BM_Export)->Apply(shapes);
BENCHMARK(BM_XmlParse)->Apply(shapes);

} // namespace

int main(int argc, char** argv) {
    xmlInitParser();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(workFolder(), ignored);
    return 0;
}
