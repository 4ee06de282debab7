// The reader of history files at the import's limit of 64 MB, in the shapes
// a file can have: the real draws on one single line, the same on lines of
// their own, and one line of JSON records. Time and memory grow in
// proportion to the file in each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "history/draw_file.h"
#include "history/library_text.h"
#include "tests/support/real_draws.h"

namespace {

constexpr std::size_t kImportLimit = 64u << 20;

// The real draws as the export writes them, again and again up to the limit;
// the line ends replaced by blanks when oneLine.
std::string exportUpToTheLimit(bool oneLine) {
    std::string draws = dlt::libraryText(dlt::fixture::realDraws());
    if (oneLine)
        for (char& c : draws)
            if (c == '\n' || c == '\r')
                c = ' ';
    std::string text;
    text.reserve(kImportLimit);
    while (text.size() + draws.size() <= kImportLimit)
        text += draws;
    return text;
}

// One line of JSON records with a draw each, up to the limit.
std::string jsonUpToTheLimit() {
    std::string text = "[";
    char record[160];
    for (int i = 0; text.size() + sizeof record < kImportLimit; ++i) {
        const int length = std::snprintf(record, sizeof record,
                                         "{\"issue\":\"%05d\",\"drawDate\":\"2026-08-19\","
                                         "\"red\":\"05 14 15 17 33\",\"blue\":\"01 07\"},",
                                         i % 100000);
        text.append(record, std::size_t(length));
    }
    text.back() = ']';
    return text;
}

void readWhole(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        const dlt::DrawFileRead read = dlt::parseDrawHistoryFile(text);
        benchmark::DoNotOptimize(read.oldestFirst.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}

void BM_ReadOneLineOf64MB(benchmark::State& state) {
    readWhole(state, exportUpToTheLimit(true));
}
BENCHMARK(BM_ReadOneLineOf64MB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadLinesOf64MB(benchmark::State& state) {
    readWhole(state, exportUpToTheLimit(false));
}
BENCHMARK(BM_ReadLinesOf64MB)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadOneLineOfJsonOf64MB(benchmark::State& state) {
    readWhole(state, jsonUpToTheLimit());
}
BENCHMARK(BM_ReadOneLineOfJsonOf64MB)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
