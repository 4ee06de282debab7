// The official results service: reading one page of 100 draws with what each
// paid, and a whole 同步最新开奖 of an empty library over a stand-in of the
// service on loopback with no pause between pages (30 pages, 2,930 draws,
// the library and the details file written once each).
#include <benchmark/benchmark.h>

#include "history/draw_file.h"
#include "online/http_get.h"
#include "online/library_sync.h"
#include "storage/file_io.h"
#include "tests/support/official_stand_in.h"
#include "tests/support/temp_dir.h"

using namespace dlt;

namespace {

// The real draws, newest first.
std::vector<DrawRecord> realDraws() {
    const DrawFileRead read = parseDrawHistoryFile(readFile(DLT_DRAWS_FILE, 1u << 24).bytes);
    return {read.oldestFirst.rbegin(), read.oldestFirst.rend()};
}

void BM_ParseOfficialPage(benchmark::State& state) {
    const std::vector<DrawRecord> draws = realDraws();
    standin::Json list = standin::Json::array();
    for (std::size_t i = 0; i < 100 && i < draws.size(); ++i)
        list.push_back(standin::drawEntry(draws[i]));
    const std::string body = standin::answer(list, 1, 100, int(draws.size())).dump();
    for (auto _ : state) {
        const OfficialPage page = parseOfficialPage(body);
        if (page.draws.size() != 100)
            state.SkipWithError("not every draw was read");
        benchmark::DoNotOptimize(page.draws.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(body.size()));
}
BENCHMARK(BM_ParseOfficialPage)->Unit(benchmark::kMicrosecond);

// Answers every message with OK and counts them.
class CountingMessages : public MessageBoxPort {
public:
    MessageAnswer showMessage(const std::string&, const std::string&, MessageIcon,
                              MessageButtons) override {
        ++shown;
        return MessageAnswer::Ok;
    }
    int shown = 0;
};

void BM_SyncEmptyLibraryFromOfficialService(benchmark::State& state) {
    const std::vector<DrawRecord> draws = realDraws();
    OfficialStandIn service(draws);
    CurlHttpGetter http;
    SyncSources sources{
        service.address(), service.address() + "/none", service.address() + "/none", {}};
    sources.official.pause = std::chrono::milliseconds(0);
    CountingMessages messages;
    const CancelFlag cancel;
    for (auto _ : state) {
        state.PauseTiming();
        auto dir = std::make_unique<TempDir>();
        const HistoryStore store(dir->path(), "0123456789abcdef0123456789abcdef");
        const DrawDetailsStore details(dir->path());
        state.ResumeTiming();
        const SyncResult result =
            syncLatestDraws(store, details, http, sources, messages, {}, cancel);
        if (result.added != int(draws.size()))
            state.SkipWithError("the sync did not add every draw");
        state.PauseTiming();
        dir.reset();
        state.ResumeTiming();
    }
    state.counters["draws"] = double(draws.size());
}
BENCHMARK(BM_SyncEmptyLibraryFromOfficialService)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
