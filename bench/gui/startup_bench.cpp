// How long start-up keeps the user waiting, measured offscreen:
//  - from the start of the start-up sequence until the intro window is
//    shown and drawn, with the installation secret already kept and on a
//    first start that generates it;
//  - from "下一步" until the main window is shown and drawn.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <functional>

#include "app/windows/intro_window.h"
#include "app/form/look.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "app/startup/startup_sequence.h"
#include "bench/footprint/first_paint.h"
#include "bench/gui/counting_messages.h"
#include "storage/installation.h"
#include "core/process_state.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

using footprint::FirstPaint;

struct Timings {
    double startToIntro = 0; // seconds
    double nextToMain = 0;
};

// One whole start-up: sequence, intro, "下一步", main window.
Timings startOnce(const QString& secretFolder, const QString& historyDir) {
    CountingMessages messages;
    Timings timings;
    QElapsedTimer clock;
    bool mainPainted = false;
    StartupSequence sequence(messages, secretFolder, toPath(historyDir));
    QObject::connect(&sequence, &StartupSequence::introShown, &sequence, [&](IntroWindow* intro) {
        new FirstPaint(intro, [&, intro] {
            timings.startToIntro = double(clock.nsecsElapsed()) * 1e-9;
            clock.restart();
            intro->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
        });
    });
    QObject::connect(&sequence, &StartupSequence::mainWindowShown, &sequence,
                     [&](MainWindow* window) {
                         new FirstPaint(window, [&] {
                             timings.nextToMain = double(clock.nsecsElapsed()) * 1e-9;
                             mainPainted = true;
                         });
                     });
    clock.start();
    if (!sequence.run())
        return timings;
    while (!mainPainted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return timings;
}

void startUp(benchmark::State& state, bool firstStart, bool reportNext) {
    QTemporaryDir dir;
    const QString secretFolder = dir.path() + QStringLiteral("/secret");
    const SecretStore store(toPath(secretFolder));
    store.create(generateSecret({}));
    double total = 0;
    double first = -1;
    for (auto _ : state) {
        if (firstStart) {
            state.PauseTiming();
            QFile::remove(secretFolder + QStringLiteral("/installation.secret"));
            QDir(secretFolder).removeRecursively();
            state.ResumeTiming();
        }
        const Timings t = startOnce(secretFolder, dir.path());
        const double measured = reportNext ? t.nextToMain : t.startToIntro;
        state.SetIterationTime(measured);
        total += measured;
        if (first < 0)
            first = measured;
    }
    state.counters["ms"] = benchmark::Counter(total * 1e3 / double(state.iterations()));
    // The first start in a process also loads the fonts and the pictures.
    state.counters["first_ms"] = benchmark::Counter(first * 1e3);
}

void BM_StartToIntroShown_SecretKept(benchmark::State& state) {
    startUp(state, false, false);
}
void BM_StartToIntroShown_FirstStart(benchmark::State& state) {
    startUp(state, true, false);
}
void BM_NextToMainWindowShown(benchmark::State& state) {
    startUp(state, false, true);
}

BENCHMARK(BM_StartToIntroShown_SecretKept)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(BM_StartToIntroShown_FirstStart)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(BM_NextToMainWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Building the main window's form alone (no showing).
void BM_MainWindowBuilt(benchmark::State& state) {
    ProcessState process;
    setProductIdentity(process);
    CountingMessages messages;
    for (auto _ : state) {
        MainWindow window(process, toPath(QDir::tempPath()), messages);
        benchmark::DoNotOptimize(window.clientArea());
    }
}
BENCHMARK(BM_MainWindowBuilt)->Unit(benchmark::kMillisecond);

} // namespace
