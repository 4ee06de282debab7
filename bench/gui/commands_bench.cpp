// The main window's two long commands on the full real history, through the
// real widgets of a shown window, with yieldToEvents processing the events
// that are waiting:
//  - a whole recommendation run (推荐号码按钮), both zones;
//  - the advanced list filling (展开高级功能按钮 while the area is closed).
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "app/form/look.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "tests/support/real_draws.h"
#include "bench/gui/counting_messages.h"
#include "core/process_state.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

// A shown main window over the 2,912 real draws.
struct FullHistoryWindow {
    FullHistoryWindow() {
        setProductIdentity(process);
        process.installationKey = "0123456789ABCDEF0123456789ABCDEF";
        window = std::make_unique<MainWindow>(process, toPath(dir.path()), messages);
        const dlt::HistoryColumns draws = dlt::fixture::realColumns();
        if (!window->historyStore().replaceHistory(draws.issues, draws.fronts, draws.backs))
            throw std::runtime_error("cannot store the draws");
        window->refreshHistorySummary();
        applyXpLook(kXpSchemeBlue);
        window->show();
        QApplication::processEvents();
    }
    QPushButton* button(const char* name) const {
        return window->clientArea()->findChild<QPushButton*>(QString::fromUtf8(name));
    }

    QTemporaryDir dir;
    ProcessState process;
    CountingMessages messages;
    std::unique_ptr<MainWindow> window;
};

void BM_RecommendationRun(benchmark::State& state) {
    FullHistoryWindow fixture;
    QPushButton* recommend = fixture.button("推荐号码按钮");
    for (auto _ : state)
        recommend->click();
    state.counters["draws"] = double(fixture.window->historyStore().drawCount());
}
BENCHMARK(BM_RecommendationRun)->Unit(benchmark::kMillisecond);

void BM_AdvancedListFilling(benchmark::State& state) {
    FullHistoryWindow fixture;
    QPushButton* toggle = fixture.button("展开高级功能按钮");
    for (auto _ : state) {
        toggle->click(); // opens and fills
        state.PauseTiming();
        toggle->click(); // closes
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AdvancedListFilling)->Unit(benchmark::kMillisecond);

} // namespace
