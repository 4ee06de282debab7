// A whole fetch of past draws from the bundled maker's site on loopback (the
// 300-entry draw file and the 100-draw results page), through the real
// widgets, downloads included: from the button's click until the closing
// message.
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "tests/support/local_server.h"
#include "app/commands/fetch_run.h"
#include "app/windows/main_window.h"
#include "app/ports/platform.h"
#include "bench/gui/counting_messages.h"
#include "online/http_get.h"
#include "online/site_server.h"

using namespace dlt;
using namespace dlt::gui;

namespace {

void BM_FetchFromBundledSite(benchmark::State& state) {
    LocalServer local;
    site::serveFolder(local.server(), DLT_SITE_DIR);
    local.start();
    QTemporaryDir dir;
    ProcessState process;
    setProductIdentity(process);
    process.installationKey = "0123456789abcdef0123456789abcdef";
    CountingMessages messages;
    MainWindow window(process, toPath(dir.path()), messages);
    window.setOuterWidth(MainWindow::kWideWidth);
    window.show();
    CurlHttpGetter curl;
    BackgroundHttpGetter http(curl);
    FetchCommand command(window, messages, http, {local.address(), local.address(), {}});
    for (auto _ : state)
        command.run();
    if (messages.shown != int(state.iterations()))
        state.SkipWithError("a fetch did not end with its message");
}
BENCHMARK(BM_FetchFromBundledSite)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
