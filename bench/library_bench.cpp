// The library tools on the real history: the whole backtest walk, and an
// export plus an import through the enciphered store and a text file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "tests/real_draws.h"
#include "engine/backtest.h"
#include "storage/cipher.h"
#include "storage/file_io.h"
#include "history/library_text.h"

namespace {

void BM_WholeBacktestRealHistory(benchmark::State& state) {
    const dlt::HistoryColumns draws = dlt::fixture::realColumns();
    for (auto _ : state) {
        dlt::BacktestResult result = dlt::runBacktest(draws.fronts, draws.backs);
        benchmark::DoNotOptimize(result);
    }
    state.counters["walked"] =
        static_cast<double>(dlt::runBacktest(draws.fronts, draws.backs).walked());
}
BENCHMARK(BM_WholeBacktestRealHistory)->Unit(benchmark::kMillisecond);

// The whole backtest as the window runs it: the hits, then the money.
void BM_WholeBacktestWithMoneyRealHistory(benchmark::State& state) {
    const dlt::HistoryColumns draws = dlt::fixture::realColumns();
    for (auto _ : state) {
        const dlt::BacktestResult result = dlt::runBacktest(draws.fronts, draws.backs);
        const dlt::BacktestMoney money = dlt::backtestMoney(result, draws.issues);
        benchmark::DoNotOptimize(money);
    }
    state.counters["draws"] = static_cast<double>(draws.issues.size() / 5);
}
BENCHMARK(BM_WholeBacktestWithMoneyRealHistory)->Unit(benchmark::kMillisecond);

// Export: the store's draws to a text file; import: the file read, checked
// and written back to the store.
void BM_ExportPlusImportRealHistory(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("dlt-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const dlt::HistoryStore store(dir, dlt::digestHex("bench"));
    const dlt::HistoryColumns draws = dlt::fixture::realColumns();
    store.replaceHistory(draws.issues, draws.fronts, draws.backs);
    const fs::path file = dir / "library.txt";
    for (auto _ : state) {
        dlt::replaceFileDurably(file, dlt::libraryText(store.drawsNewestFirst()));
        const dlt::LibraryImport read =
            dlt::parseLibraryText(dlt::readFile(file, 16u << 20).bytes);
        const dlt::HistoryColumns columns = dlt::columnsOf(read.newestFirst);
        benchmark::DoNotOptimize(
            store.replaceHistory(columns.issues, columns.fronts, columns.backs));
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_ExportPlusImportRealHistory)->Unit(benchmark::kMillisecond);

// The text alone, without the files.
void BM_ExportPlusImportTextOnly(benchmark::State& state) {
    const std::vector<dlt::DrawRecord>& newestFirst = dlt::fixture::realDraws();
    for (auto _ : state) {
        const dlt::LibraryImport read = dlt::parseLibraryText(dlt::libraryText(newestFirst));
        benchmark::DoNotOptimize(dlt::columnsOf(read.newestFirst));
    }
}
BENCHMARK(BM_ExportPlusImportTextOnly)->Unit(benchmark::kMillisecond);

} // namespace
