// The library tools: the whole backtest walk and an export plus an import of
// the real history through the enciphered store and a text file, and the
// reading and merging of 100,000 synthetic draws.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>

#include "tests/support/real_draws.h"
#include "engine/backtest.h"
#include "storage/cipher.h"
#include "storage/file_io.h"
#include "history/draw_file.h"
#include "history/library_merge.h"
#include "history/library_text.h"
#include "history/library_transfer.h"

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
        const dlt::DrawFileRead read =
            dlt::parseDrawHistoryFile(dlt::readFile(file, 16u << 20).bytes);
        const dlt::HistoryColumns columns = dlt::columnsOf(
            std::vector<dlt::DrawRecord>(read.oldestFirst.rbegin(), read.oldestFirst.rend()));
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
        const dlt::DrawFileRead read = dlt::parseDrawHistoryFile(dlt::libraryText(newestFirst));
        benchmark::DoNotOptimize(read.oldestFirst.data());
    }
}
BENCHMARK(BM_ExportPlusImportTextOnly)->Unit(benchmark::kMillisecond);

// 100,000 draws, oldest first: issues 00000 to 99999, numbers from a fixed seed.
std::vector<dlt::DrawRecord> syntheticDraws() {
    std::mt19937 random(18);
    std::vector<dlt::DrawRecord> draws;
    draws.reserve(100000);
    auto zone = [&](int pool, int picks) {
        std::vector<int> numbers(static_cast<std::size_t>(pool));
        std::iota(numbers.begin(), numbers.end(), 1);
        std::shuffle(numbers.begin(), numbers.end(), random);
        numbers.resize(static_cast<std::size_t>(picks));
        std::sort(numbers.begin(), numbers.end());
        std::string digits;
        for (int v : numbers)
            digits += std::to_string(v / 10) + std::to_string(v % 10);
        return digits;
    };
    for (int i = 0; i < 100000; ++i) {
        std::string issue = std::to_string(i);
        draws.push_back({std::string(5 - issue.size(), '0') + issue, zone(35, 5), zone(12, 2)});
    }
    return draws;
}

// A CSV of 100,000 draws, newest first, with a header and a date column.
std::string syntheticCsv(const std::vector<dlt::DrawRecord>& draws) {
    std::string csv = "issue,date,red1,red2,red3,red4,red5,blue1,blue2\n";
    for (auto it = draws.rbegin(); it != draws.rend(); ++it) {
        csv += it->issue + ",2026-08-19";
        // Appended piece by piece: GCC 12 warns wrongly about "," + a substring.
        for (std::size_t at = 0; at < 10; at += 2)
            csv.append(",").append(it->front, at, 2);
        csv.append(",").append(it->back, 0, 2).append(",").append(it->back, 2, 2).append("\n");
    }
    return csv;
}

// Read the file's 100,000 draws and merge them into a library holding every
// other one of them.
void BM_ReadAndMerge100000Draws(benchmark::State& state) {
    const std::vector<dlt::DrawRecord> draws = syntheticDraws();
    const std::string csv = syntheticCsv(draws);
    std::vector<dlt::DrawRecord> library;
    for (std::size_t i = 0; i < draws.size(); i += 2)
        library.push_back(draws[i]);
    for (auto _ : state) {
        const dlt::DrawFileRead read = dlt::parseDrawHistoryFile(csv);
        const dlt::LibraryComparison comparison =
            dlt::compareWithLibrary(library, read.oldestFirst);
        benchmark::DoNotOptimize(comparison.newDraws);
        benchmark::DoNotOptimize(dlt::mergedLibrary(library, read.oldestFirst).size());
    }
    state.counters["draws"] = static_cast<double>(draws.size());
}
BENCHMARK(BM_ReadAndMerge100000Draws)->Unit(benchmark::kMillisecond);

// Answers the import's question with 合并 and drops the other messages.
class MergeAnswers : public dlt::MessageBoxPort {
public:
    dlt::MessageAnswer showMessage(const std::string&, const std::string&, dlt::MessageIcon,
                                   dlt::MessageButtons) override {
        return dlt::MessageAnswer::Merge;
    }
};

// The whole import: the file read from disk, its summary, the merge and the
// enciphered library written back.
void BM_Import100000DrawsIntoTheStore(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("dlt-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const std::vector<dlt::DrawRecord> draws = syntheticDraws();
    const fs::path file = dir / "draws.csv";
    dlt::replaceFileDurably(file, syntheticCsv(draws));
    std::vector<dlt::DrawRecord> half;
    for (std::size_t i = draws.size(); i-- > 0;)
        if (i % 2 == 0)
            half.push_back(draws[i]);
    const dlt::HistoryColumns columns = dlt::columnsOf(half);
    const dlt::HistoryStore store(dir, dlt::digestHex("bench"));
    MergeAnswers messages;
    for (auto _ : state) {
        state.PauseTiming();
        store.replaceHistory(columns.issues, columns.fronts, columns.backs);
        state.ResumeTiming();
        benchmark::DoNotOptimize(dlt::importLibrary(store, file, messages).added);
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Import100000DrawsIntoTheStore)->Unit(benchmark::kMillisecond);

} // namespace
