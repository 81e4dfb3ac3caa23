// kv-bench-table: turns the benchmark results (Google Benchmark JSON) and the
// peak-memory measurements of bench/run.sh into Markdown tables, followed by the
// targets and whether the measured figures meet them.
//   kv-bench-table <document.json> <peak.txt> [<gui.json>]
// peak.txt: one line per return, "<size> <document bytes> <peak KiB>"; the size
// "new" is the program's baseline (a new, empty return).
// Times are the fastest of the repetitions: CPU time of the process for the
// verdicts (the machine is shared, so wall-clock time mostly measures the other
// load), wall-clock time beside it.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

using json = nlohmann::json;

struct Figure {
    double cpuMs = -1;
    double wallMs = -1;
    std::string error; // why the benchmark did not run
};

struct Row {
    std::string size;
    double docBytes = 0;
    double xmlBytes = 0;
    double items = 0;
    std::map<std::string, Figure> steps; // Save, Open, ItemPass, Compute, Export, XmlParse
    double peakKiB = 0;

    double cpu(const std::string& step) const {
        const auto it = steps.find(step);
        return it == steps.end() ? -1 : it->second.cpuMs;
    }
    double wall(const std::string& step) const {
        const auto it = steps.find(step);
        return it == steps.end() ? -1 : it->second.wallMs;
    }
};

constexpr double kMiB = 1024.0 * 1024.0;

double toMs(double value, const std::string& unit) {
    if (unit == "ns")
        return value / 1e6;
    if (unit == "us")
        return value / 1e3;
    if (unit == "s")
        return value * 1e3;
    return value;
}

json readJson(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return json::parse(in);
}

// The run name without its aggregate, and the aggregate ("" for a single run).
std::pair<std::string, std::string> nameOf(const json& b) {
    const std::string run =
        b.contains("run_name") ? b.at("run_name").get<std::string>() : b.at("name").get<std::string>();
    const std::string aggregate =
        b.contains("aggregate_name") ? b.at("aggregate_name").get<std::string>() : "";
    return {run, aggregate};
}

// Keeps the "min" aggregate, or the fastest single run when there are no aggregates.
void take(Figure& f, const json& b, const std::string& aggregate) {
    if (b.value("error_occurred", false)) {
        f.error = b.value("error_message", std::string("not run"));
        return;
    }
    if (!aggregate.empty() && aggregate != "min")
        return;
    const std::string unit = b.at("time_unit").get<std::string>();
    const double cpu = toMs(b.at("cpu_time").get<double>(), unit);
    const double wall = toMs(b.at("real_time").get<double>(), unit);
    if (f.cpuMs < 0 || cpu < f.cpuMs)
        f.cpuMs = cpu;
    if (f.wallMs < 0 || wall < f.wallMs)
        f.wallMs = wall;
}

std::string fmt(double v, int decimals = 2) {
    if (v < 0)
        return "-";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// a / b, or -1 (printed "-") when either was not measured.
double ratio(double a, double b) {
    return a < 0 || b <= 0 ? -1 : a / b;
}

std::string verdict(bool holds) {
    return holds ? "holds" : "**does not hold**";
}

std::string timeCell(double ms, double docMb) {
    if (ms < 0)
        return "-";
    return fmt(ms, 3) + " (" + fmt(ms / docMb, 2) + "/MB)";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: kv-bench-table <document.json> <peak.txt> [<gui.json>]\n";
        return 2;
    }
    try {
        std::map<int, Row> rows;
        const json document = readJson(argv[1]);
        for (const json& b : document.at("benchmarks")) {
            const auto [run, aggregate] = nameOf(b);
            // "BM_Open/3": step "Open", return 3.
            const auto slash = run.find('/');
            if (run.rfind("BM_", 0) != 0 || slash == std::string::npos)
                continue;
            Row& row = rows[std::stoi(run.substr(slash + 1))];
            if (aggregate == "stddev" || aggregate == "cv")
                continue;
            if (b.contains("label"))
                row.size = b.at("label").get<std::string>();
            if (b.contains("doc_bytes"))
                row.docBytes = b.at("doc_bytes").get<double>();
            if (b.contains("xml_bytes"))
                row.xmlBytes = b.at("xml_bytes").get<double>();
            if (b.contains("items"))
                row.items = b.at("items").get<double>();
            take(row.steps[run.substr(3, slash - 3)], b, aggregate);
        }

        double baselineKiB = 0;
        double baselineBytes = 0;
        {
            std::ifstream in(argv[2]);
            std::string size;
            double bytes = 0;
            double kib = 0;
            while (in >> size >> bytes >> kib) {
                if (size == "new") {
                    baselineKiB = kib;
                    baselineBytes = bytes;
                }
                for (auto& entry : rows)
                    if (entry.second.size == size)
                        entry.second.peakKiB = kib;
            }
        }

        std::cout
            << "CPU time in ms, the fastest of the repetitions (in brackets: ms per MB of document).\n\n"
               "| return | document | items | exported XML | save | open | compute | export (text, with "
               "its compute) | item pass | XML parse | open / pass | compute / parse | export / parse | "
               "peak memory | (peak - baseline) / document |\n"
               "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
        for (const auto& [arg, r] : rows) {
            const double docMb = r.docBytes / kMiB;
            const double parse = r.cpu("XmlParse");
            std::cout << "| " << r.size << " | " << fmt(docMb, 3) << " MB | " << fmt(r.items, 0) << " | "
                      << fmt(r.xmlBytes / kMiB, 3) << " MB | " << timeCell(r.cpu("Save"), docMb) << " | "
                      << timeCell(r.cpu("Open"), docMb) << " | " << timeCell(r.cpu("Compute"), docMb) << " | "
                      << timeCell(r.cpu("Export"), docMb) << " | " << timeCell(r.cpu("ItemPass"), docMb)
                      << " | " << fmt(parse, 3) << " | " << fmt(ratio(r.cpu("Open"), r.cpu("ItemPass")))
                      << " | " << fmt(ratio(r.cpu("Compute"), parse)) << " | "
                      << fmt(ratio(r.cpu("Export"), parse)) << " | "
                      << (r.peakKiB > 0 ? fmt(r.peakKiB / 1024.0, 1) + " MB" : "-") << " | "
                      << (r.peakKiB > 0 ? fmt((r.peakKiB - baselineKiB) * 1024.0 / r.docBytes) : "-")
                      << " |\n";
        }
        std::cout << "\nWall-clock time in ms, the fastest of the repetitions:\n\n"
                     "| return | save | open | compute | export | item pass | XML parse |\n"
                     "|---|---|---|---|---|---|---|\n";
        for (const auto& [arg, r] : rows)
            std::cout << "| " << r.size << " | " << fmt(r.wall("Save"), 3) << " | " << fmt(r.wall("Open"), 3)
                      << " | " << fmt(r.wall("Compute"), 3) << " | " << fmt(r.wall("Export"), 3) << " | "
                      << fmt(r.wall("ItemPass"), 3) << " | " << fmt(r.wall("XmlParse"), 3) << " |\n";
        std::cout << "\nPeak memory baseline (a new, empty return of " << fmt(baselineBytes, 0)
                  << " bytes opened, computed and exported by the same program): "
                  << fmt(baselineKiB / 1024.0, 1) << " MB.\n";

        if (rows.size() >= 2) {
            const Row& small = rows.begin()->second;
            const Row& large = rows.rbegin()->second;
            auto perMb = [](const Row& r, const std::string& step) {
                return r.cpu(step) / (r.docBytes / kMiB);
            };
            std::cout << "\n| target | measured | verdict |\n|---|---|---|\n";
            for (const std::string step : {"Save", "Open", "Compute", "Export"}) {
                const double growth = perMb(large, step) / perMb(small, step);
                std::cout << "| " << step << ": cost per MB grows less than 1.5x from " << small.size
                          << " to " << large.size << " | " << fmt(growth) << "x | " << verdict(growth < 1.5)
                          << " |\n";
            }
            const double open = large.cpu("Open") / large.cpu("ItemPass");
            std::cout << "| Open " << large.size << ": at most 2x one pass over its items | " << fmt(open)
                      << "x | " << verdict(open <= 2.0) << " |\n";
            const double computeRatio = large.cpu("Compute") / large.cpu("XmlParse");
            std::cout << "| Compute " << large.size << ": at most 2x parsing the exported XML | "
                      << fmt(computeRatio) << "x | " << verdict(computeRatio <= 2.0) << " |\n";
            const double exported = large.cpu("Export") / large.cpu("XmlParse");
            std::cout << "| Export " << large.size
                      << " (with its compute): at most 2x parsing the exported XML | " << fmt(exported)
                      << "x | " << verdict(exported <= 2.0) << " |\n";
            if (large.peakKiB > 0) {
                const double memory = (large.peakKiB - baselineKiB) * 1024.0 / large.docBytes;
                std::cout << "| Peak memory " << large.size
                          << ": at most 4x the document above the baseline | " << fmt(memory) << "x | "
                          << verdict(memory <= 4.0) << " |\n";
            }
        }

        if (argc > 3) {
            std::map<std::string, Figure> gui;
            const json guiRuns = readJson(argv[3]);
            for (const json& b : guiRuns.at("benchmarks")) {
                const auto [run, aggregate] = nameOf(b);
                take(gui[run], b, aggregate);
            }
            std::cout << "\n| GUI, offscreen | CPU ms | wall ms | target | verdict (CPU) "
                         "|\n|---|---|---|---|---|\n";
            for (const auto& [name, f] : gui) {
                double limit = -1;
                if (name.find("Screen") != std::string::npos)
                    limit = 100;
                else if (name.find("MainWindow") != std::string::npos)
                    limit = 300;
                if (!f.error.empty()) {
                    std::cout << "| " << name << " | not measured: " << f.error << " | | | |\n";
                    continue;
                }
                std::cout << "| " << name << " | " << fmt(f.cpuMs) << " | " << fmt(f.wallMs) << " | "
                          << (limit > 0 ? "under " + fmt(limit, 0) + " ms" : "-") << " | "
                          << (limit > 0 ? verdict(f.cpuMs < limit) : "-") << " |\n";
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "kv-bench-table: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
