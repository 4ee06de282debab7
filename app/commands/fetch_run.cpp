#include "app/commands/fetch_run.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>

#include <chrono>

#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "app/windows/main_window.h"
#include "core/texts.h"

namespace dlt::gui {

namespace {

constexpr std::chrono::milliseconds kEventInterval{16};

// The fetch's messages come when its downloads are over or at its question:
// the progress window goes first, so that it does not claim work going on.
class AfterProgress : public MessageBoxPort {
public:
    AfterProgress(MessageBoxPort& inner, QWidget& progress) : inner_(inner), progress_(progress) {}
    MessageAnswer showMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override {
        progress_.hide();
        return inner_.showMessage(text, caption, icon, buttons);
    }

private:
    MessageBoxPort& inner_;
    QWidget& progress_;
};

} // namespace

HttpResponse BackgroundHttpGetter::fetch(const HttpRequest& request, const CancelFlag& cancel) {
    HttpResponse response;
    runOffWindowThread([&] { response = inner_.fetch(request, cancel); });
    return response;
}

struct ProgressRun::Parts {
    std::unique_ptr<AfterProgress> messages;
    QElapsedTimer sinceEvents;
};

ProgressRun::ProgressRun(MainWindow& window, MessageBoxPort& messages, const QString& title,
                         const QString& note)
    : progress_(std::make_unique<WorkProgress>(window, cancel_,
                                               WorkProgressNames{QStringLiteral("获取进度"), title,
                                                                 note, QStringLiteral("获取进度条"),
                                                                 QStringLiteral("取消获取按钮")})),
      parts_(std::make_unique<Parts>()) {
    WorkProgress* progress = progress_.get();
    progress->show();
    parts_->messages = std::make_unique<AfterProgress>(messages, *progress);

    // Waiting events are handled at most once a frame: the window stays
    // responsive without repainting the list after every single line.
    parts_->sinceEvents.start();
    yield_ = [this] {
        if (parts_->sinceEvents.elapsed() >= kEventInterval.count()) {
            QCoreApplication::processEvents();
            parts_->sinceEvents.restart();
        }
    };
}

ProgressRun::~ProgressRun() = default;

MessageBoxPort& ProgressRun::messages() {
    return *parts_->messages;
}

ProgressHook ProgressRun::progressHook() {
    return [this](const std::string& line) { progress_->setNote(fromUtf8(line)); };
}

WindowFetchSink::WindowFetchSink(MainWindow& window) : window_(window) {}

void WindowFetchSink::clearList() {
    window_.controls().list->clear();
}

void WindowFetchSink::insertLine(int position, const std::string& line) {
    window_.controls().list->insertItem(position, fromUtf8(line));
}

void WindowFetchSink::showSummary(const std::string& countLine, const std::string& numbersLine) {
    window_.controls().summaryCount->setText(fromUtf8(countLine));
    window_.controls().summaryNumbers->setText(fromUtf8(numbersLine));
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
    ProgressRun run(window_, messages_, QStringLiteral("自动获取往期号码"),
                    fromUtf8(text::fetchInProgress));
    progress_ = &run.progress();
    fetchPastDraws(window_.historyStore(), http_, drawFileUrl(sites_, window_.state()),
                   resultsPageUrl(sites_), sink, run.messages(), run.cancel(), run.yield());
    progress_ = nullptr;
    window_.refreshHistorySummary();
}

} // namespace dlt::gui
