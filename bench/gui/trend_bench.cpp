// The trend chart on the real history: from the menu command until the
// window is shown and its grid first painted, offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "app/commands/library_tools_menu.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "app/windows/trend_window.h"
#include "tests/support/real_draws.h"
#include "bench/gui/counting_messages.h"
#include "core/process_state.h"
#include "storage/cipher.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

// Notes when a widget has finished a paint.
class PaintSeen : public QObject {
public:
    bool seen = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            seen = true;
        return false;
    }
};

void BM_TrendWindowOpenedAndPainted(benchmark::State& state) {
    QTemporaryDir dir;
    ProcessState process;
    setProductIdentity(process);
    process.installationKey = digestHex("bench");
    CountingMessages messages;
    MainWindow window(process, toPath(dir.path()), messages);
    const dlt::HistoryColumns draws = dlt::fixture::realColumns();
    window.historyStore().replaceHistory(draws.issues, draws.fronts, draws.backs);
    LibraryTools* tools = addLibraryToolsMenu(window);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        tools->openTrendWindow();
        PaintSeen painted;
        tools->trendWindow()->grid()->viewport()->installEventFilter(&painted);
        while (!painted.seen)
            QCoreApplication::processEvents();
        // The paint event is handled when processEvents returns after it.
        state.SetIterationTime(double(clock.nsecsElapsed()) * 1e-9);
        state.PauseTiming();
        delete tools->trendWindow();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TrendWindowOpenedAndPainted)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace
