#include "app/gui/fetch_run.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <chrono>
#include <thread>

#include "app/gui/form_widgets.h"
#include "app/gui/gbk.h"
#include "app/gui/main_window.h"

namespace dlt::gui {

namespace {

constexpr std::chrono::milliseconds kEventInterval{16};

} // namespace

std::string BackgroundHttpGetter::get(const std::string& url) {
    std::string body;
    QEventLoop waiting;
    std::thread worker([&] {
        body = inner_.get(url);
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Returns early only when the program is ending; the download then ends
    // within its time limit.
    waiting.exec();
    worker.join();
    return body;
}

WindowFetchSink::WindowFetchSink(MainWindow& window) : window_(window) {}

void WindowFetchSink::clearList() {
    window_.controls().list->clear();
}

void WindowFetchSink::insertLine(int position, const std::string& line) {
    window_.controls().list->insertItem(position, fromGbk(line));
}

void WindowFetchSink::showSummary(const std::string& countLine, const std::string& numbersLine) {
    window_.controls().summaryCount->setText(fromGbk(countLine));
    window_.controls().summaryNumbers->setText(fromGbk(numbersLine));
}

FetchCommand::FetchCommand(MainWindow& window, MessageBoxPort& messages, HttpGetter& http,
                           SiteAddresses sites)
    : QObject(&window), window_(window), messages_(messages), http_(http),
      sites_(std::move(sites)) {
    connect(window.controls().fetch, &QPushButton::clicked, this, &FetchCommand::run);
}

void FetchCommand::run() {
    if (window_.commandsBusy())
        return;
    const BusyCommands busy(window_);
    WindowFetchSink sink(window_);
    // Waiting events are handled at most once a frame: the window stays
    // responsive without repainting the list after every single line.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const YieldHook yield = [&sinceEvents] {
        if (sinceEvents.elapsed() >= kEventInterval.count()) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
    };
    fetchPastDraws(window_.historyStore(), http_, drawFileUrl(sites_, window_.state()),
                   resultsPageUrl(sites_), sink, messages_, yield);
    window_.refreshHistorySummary();
}

} // namespace dlt::gui
