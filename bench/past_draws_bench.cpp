// Parsing the fetch's two sources at the sizes a download may reach (the
// 8 MB cap included). Both parsers take time in proportion to the body: the
// 8 MB cases take about eight times the 1 MB ones.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "online/past_draws.h"
#include "tools/site_content.h"

namespace {

constexpr std::size_t kMegabyte = std::size_t(1) << 20;

// A results page of about `bytes` full of draws newer than the draw file's
// newest, which the page names only at its end: every row is read.
struct FullPage {
    std::string html;
    std::string latestIssue;
    std::size_t newerDraws = 0;
};

FullPage fullResultsPage(std::size_t bytes) {
    const std::size_t rowBytes =
        dlt::site::resultsPageHtml(std::vector<dlt::DrawRecord>(2, {"99999", "0102030405", "0607"}))
            .size() -
        dlt::site::resultsPageHtml(std::vector<dlt::DrawRecord>(1, {"99999", "0102030405", "0607"}))
            .size();
    const std::size_t rows = bytes / rowBytes;
    std::vector<dlt::DrawRecord> draws;
    draws.reserve(rows);
    for (std::size_t i = 0; i + 1 < rows; ++i) {
        // Small unsigned numbers, so the compiler sees two digits each.
        const unsigned f = unsigned(i % 31), b = unsigned(i % 11);
        char front[11], back[5];
        std::snprintf(front, sizeof front, "%02u%02u%02u%02u%02u", 1 + f, 2 + f, 3 + f, 4 + f,
                      5 + f);
        std::snprintf(back, sizeof back, "%02u%02u", 1 + b, 2 + b);
        draws.push_back({std::to_string(99999 - int(i)), front, back});
    }
    // The draw file's newest, as the last row.
    draws.push_back({"10000", "0102030405", "0607"});
    return {dlt::site::resultsPageHtml(draws), "10000", rows - 1};
}

void BM_ParseFullResultsPage(benchmark::State& state) {
    const FullPage page = fullResultsPage(std::size_t(state.range(0)) * kMegabyte);
    for (auto _ : state) {
        const std::vector<dlt::DrawRecord> draws =
            dlt::parseResultsPage(page.html, page.latestIssue);
        if (draws.size() != page.newerDraws)
            state.SkipWithError("not every newer draw was read");
        benchmark::DoNotOptimize(draws.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(page.html.size()));
    state.counters["draws"] = double(page.newerDraws);
}
BENCHMARK(BM_ParseFullResultsPage)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

// A draw file of `bytes` whose few entries stand at its end: the bound's
// search reads all of it.
void BM_ParseDrawFileWithLongPreamble(benchmark::State& state) {
    std::string text(std::size_t(state.range(0)) * kMegabyte, 'x');
    text += "\r\n" + dlt::site::drawFileText(
                         std::vector<dlt::DrawRecord>(10, {"25001", "0102030405", "0607"}));
    for (auto _ : state) {
        const std::vector<dlt::DrawRecord> draws = dlt::parseDrawFile(text);
        if (draws.size() != 10)
            state.SkipWithError("the entries were not read");
        benchmark::DoNotOptimize(draws.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_ParseDrawFileWithLongPreamble)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

} // namespace
