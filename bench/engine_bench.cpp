// Cost of one zone's recommendation on the real history and on long synthetic
// histories (the cost should grow linearly with the number of draws).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "tests/support/real_draws.h"
#include "engine/tickets.h"

namespace {

struct ZoneTexts {
    std::string front;
    std::string back;
};

class NullSink : public dlt::ResultSink {
public:
    void showGroups(dlt::Zone, dlt::ResultLevel, const dlt::GroupSet& groups) override {
        benchmark::DoNotOptimize(groups.data());
    }
    void showNextDrawPicks(dlt::Zone, const std::vector<int>& picks) override {
        benchmark::DoNotOptimize(picks.data());
    }
};

void appendToken(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + v / 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

// All draws of the data file, oldest first.
const ZoneTexts& realHistory() {
    static const ZoneTexts texts = [] {
        const dlt::HistoryColumns columns = dlt::fixture::realColumns();
        return ZoneTexts{columns.fronts, columns.backs};
    }();
    return texts;
}

// Valid pseudo-random draws, the same every run.
ZoneTexts syntheticHistory(int draws) {
    std::mt19937 generator(20251110u + static_cast<unsigned>(draws));
    auto pick = [&](int pool, int count, std::string& out) {
        std::vector<int> numbers(static_cast<std::size_t>(pool));
        for (int v = 1; v <= pool; ++v)
            numbers[static_cast<std::size_t>(v - 1)] = v;
        for (int i = 0; i < count; ++i) {
            std::uniform_int_distribution<int> at(i, pool - 1);
            std::swap(numbers[static_cast<std::size_t>(i)],
                      numbers[static_cast<std::size_t>(at(generator))]);
            appendToken(out, numbers[static_cast<std::size_t>(i)]);
        }
    };
    ZoneTexts t;
    t.front.reserve(static_cast<std::size_t>(draws) * 10);
    t.back.reserve(static_cast<std::size_t>(draws) * 4);
    for (int d = 0; d < draws; ++d) {
        pick(35, 5, t.front);
        pick(12, 2, t.back);
    }
    return t;
}

const ZoneTexts& synthetic(int draws) {
    static const ZoneTexts tenThousand = syntheticHistory(10'000);
    static const ZoneTexts hundredThousand = syntheticHistory(100'000);
    return draws == 10'000 ? tenThousand : hundredThousand;
}

void runZone(benchmark::State& state, const dlt::ZoneRules& rules, const std::string& text) {
    NullSink sink;
    const dlt::YieldHook noOp = [] {};
    for (auto _ : state) {
        dlt::ZoneOutcome outcome = dlt::computeZone(rules, text, sink, noOp);
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["draws"] =
        static_cast<double>(text.size() / static_cast<std::size_t>(rules.digitsPerDraw()));
}

void BM_RealHistoryFront(benchmark::State& state) {
    runZone(state, dlt::rulesFor(dlt::Zone::Front), realHistory().front);
}
void BM_RealHistoryBack(benchmark::State& state) {
    runZone(state, dlt::rulesFor(dlt::Zone::Back), realHistory().back);
}
// A whole recommendation: the front zone, then the back zone.
void BM_RealHistoryBothZones(benchmark::State& state) {
    NullSink sink;
    const dlt::YieldHook noOp = [] {};
    const ZoneTexts& texts = realHistory();
    for (auto _ : state) {
        dlt::ZoneOutcome front =
            dlt::computeZone(dlt::rulesFor(dlt::Zone::Front), texts.front, sink, noOp);
        dlt::ZoneOutcome back =
            dlt::computeZone(dlt::rulesFor(dlt::Zone::Back), texts.back, sink, noOp);
        benchmark::DoNotOptimize(front);
        benchmark::DoNotOptimize(back);
    }
}
void BM_SyntheticFront(benchmark::State& state) {
    runZone(state, dlt::rulesFor(dlt::Zone::Front),
            synthetic(static_cast<int>(state.range(0))).front);
}
void BM_SyntheticBack(benchmark::State& state) {
    runZone(state, dlt::rulesFor(dlt::Zone::Back),
            synthetic(static_cast<int>(state.range(0))).back);
}

} // namespace

BENCHMARK(BM_RealHistoryFront)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RealHistoryBack)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RealHistoryBothZones)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SyntheticFront)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SyntheticBack)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// Grading the largest 复式 ticket, 20 + 12 (1,023,264 bets), against a draw.
void BM_GradeLargestMultiple(benchmark::State& state) {
    const dlt::TicketRead read =
        dlt::readTicket("01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 + "
                        "01 02 03 04 05 06 07 08 09 10 11 12");
    for (auto _ : state) {
        const dlt::HitTable bets = dlt::gradeTicket(read.ticket, "0306263033", "1112");
        const dlt::PrizeSum prizes = dlt::sumPrizes(dlt::PrizeRules::SevenTiers, bets);
        benchmark::DoNotOptimize(prizes);
    }
    state.counters["bets"] = static_cast<double>(read.ticket.bets());
}
BENCHMARK(BM_GradeLargestMultiple)->Unit(benchmark::kMicrosecond);
