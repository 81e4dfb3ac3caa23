// kv-bench-rates: merging the Bank of Russia's rates into the currency-rate directory.
// A dynamic file of N days of one currency goes into a directory that already holds N
// days of it, half of them the same days (replaced) and half earlier ones (kept). The
// merge must stay linear but for the final sort by date: the complexity fit printed at
// the end says "N" or "NlgN", never "N^2" (50 000 records were once 20 seconds; now
// tens of milliseconds).
#include "core/Date.h"
#include "reference/RatesImport.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

kv::CurrencyRate rateOn(double day, int roubles) {
    return {kv::Cp1251Text::fromBytes(kv::DateValue::fromDays(day).text('.')),
            kv::Cp1251Text::fromBytes(std::to_string(roubles) + ",1234"), kv::Cp1251Text{"1"}};
}

// Days counted back from 31.12.2019, so that any N stays within the dates a file holds.
constexpr double kLastDay = 43830;

kv::CurrencyRates directoryOf(int days) {
    kv::Currency usd{kv::Cp1251Text{"840"}, kv::Cp1251Text{"USD"}, {}};
    for (int i = 0; i < days; ++i)
        usd.rates.push_back(rateOn(kLastDay - days - days / 2 + i, 60 + i % 10));
    return kv::CurrencyRates{{usd}};
}

kv::BankRatesFile fileOf(int days) {
    kv::BankRatesFile file;
    file.kind = kv::BankRatesFile::Kind::Dynamic;
    file.bankId = "R01235";
    kv::Currency usd{kv::Cp1251Text{"840"}, kv::Cp1251Text{"USD"}, {}};
    for (int i = 0; i < days; ++i)
        usd.rates.push_back(rateOn(kLastDay - days + i, 70 + i % 10));
    file.currencies.push_back(usd);
    return file;
}

void RatesMerge(benchmark::State& state) {
    const int days = static_cast<int>(state.range(0));
    const kv::CurrencyRates directory = directoryOf(days);
    const std::vector<kv::BankRatesFile> files{fileOf(days)};
    for (auto _ : state) {
        state.PauseTiming();
        kv::CurrencyRates into = directory;
        state.ResumeTiming();
        benchmark::DoNotOptimize(kv::mergeBankRates(into, files));
    }
    state.SetComplexityN(days);
}

} // namespace

BENCHMARK(RatesMerge)->RangeMultiplier(2)->Range(6250, 50000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
