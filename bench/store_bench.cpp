#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "tests/support/real_draws.h"
#include "storage/cipher.h"
#include "history/history_store.h"

namespace fs = std::filesystem;

namespace {

struct StoreFixture {
    fs::path dir;
    dlt::HistoryStore store;
    dlt::HistoryColumns columns = dlt::fixture::realColumns();

    // base: where the folder is made (the temporary directory is on the disk
    // here; /dev/shm is memory, where a flush costs next to nothing).
    explicit StoreFixture(const fs::path& base = fs::temp_directory_path())
        : dir(base / ("dlt-bench-" + std::to_string(std::random_device{}()))),
          store((fs::create_directories(dir), dir), dlt::digestHex("bench")) {
        store.replaceHistory(columns.issues, columns.fronts, columns.backs);
    }
    ~StoreFixture() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

// Reading and deciphering the three column files of the 2,912 real draws.
void BM_LoadAllColumns(benchmark::State& state) {
    StoreFixture fixture;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.store.loadColumn("qh"));
        benchmark::DoNotOptimize(fixture.store.loadColumn("qq"));
        benchmark::DoNotOptimize(fixture.store.loadColumn("hq"));
    }
}
BENCHMARK(BM_LoadAllColumns)->Unit(benchmark::kMicrosecond);

// Appends one draw to the 2,912 real draws again and again, putting the
// history back between runs.
void appendRepeatedly(benchmark::State& state, StoreFixture& fixture) {
    for (auto _ : state) {
        fixture.store.appendDraw({"25129", "0102030405", "0607"});
        state.PauseTiming();
        fixture.store.replaceHistory(fixture.columns.issues, fixture.columns.fronts,
                                     fixture.columns.backs);
        state.ResumeTiming();
    }
}

// An append with its flushes: three column files, the commit record and the
// folder.
void BM_AppendDraw(benchmark::State& state) {
    StoreFixture fixture;
    appendRepeatedly(state, fixture);
}
BENCHMARK(BM_AppendDraw)->Unit(benchmark::kMicrosecond);

// The same append in memory, where the flushes cost next to nothing: the
// difference to BM_AppendDraw is what durability adds.
void BM_AppendDrawInMemory(benchmark::State& state) {
    if (!fs::is_directory("/dev/shm")) {
        state.SkipWithError("no /dev/shm");
        return;
    }
    StoreFixture fixture("/dev/shm");
    appendRepeatedly(state, fixture);
}
BENCHMARK(BM_AppendDrawInMemory)->Unit(benchmark::kMicrosecond);

} // namespace
