// The fetch of past draws behind 自动获取往期号按钮, and downloads that keep
// the window alive while they run.
#pragma once

#include <QObject>

#include <memory>

#include "app/commands/work_progress.h"
#include "core/ports.h"
#include "online/official_results.h"
#include "online/past_draws.h"
#include "online/sites.h"

namespace dlt::gui {

class MainWindow;

// Runs each download of another getter on a worker thread while the UI
// thread waits processing events, so that the windows repaint and move, and
// a 取消 or a closed window can raise the download's cancel flag.
class BackgroundHttpGetter : public HttpGetter {
public:
    explicit BackgroundHttpGetter(HttpGetter& inner) : inner_(inner) {}
    HttpResponse fetch(const HttpRequest& request, const CancelFlag& cancel) override;

private:
    HttpGetter& inner_;
};

// Shows the fetch's progress in 列表框1, 号库显示 and 上期号码.
class WindowFetchSink : public FetchSink {
public:
    explicit WindowFetchSink(MainWindow& window);
    void clearList() override;
    void insertLine(int position, const std::string& line) override;
    void showSummary(const std::string& countLine, const std::string& numbersLine) override;

private:
    MainWindow& window_;
};

// A long download command shown in a WorkProgress: 取消, Esc (in either
// window) or closing the main window raise its cancel flag; its messages
// hide the progress window first, so that it does not claim work going on;
// its yield handles waiting events at most once a frame.
class ProgressRun {
public:
    ProgressRun(MainWindow& window, MessageBoxPort& messages, const QString& title,
                const QString& note);
    ~ProgressRun();
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

    WorkProgress& progress() { return *progress_; }
    const CancelFlag& cancel() const { return cancel_; }
    MessageBoxPort& messages();
    const YieldHook& yield() const { return yield_; }
    // Shows a GBK line in the progress window.
    ProgressHook progressHook();

private:
    struct Parts;
    CancelFlag cancel_;
    std::unique_ptr<WorkProgress> progress_;
    std::unique_ptr<Parts> parts_;
    YieldHook yield_;
};

// The click handler of 自动获取往期号按钮. The commands that change the
// history are disabled for the whole fetch, a WorkProgress shows it at work,
// and 取消, Esc (in either window) or closing the main window gives it up:
// the download ends at once and the library stays as it was.
class FetchCommand : public QObject {
    Q_OBJECT
public:
    // Connects the window's button; lives as long as the window.
    FetchCommand(MainWindow& window, MessageBoxPort& messages, HttpGetter& http,
                 SiteAddresses sites);

    void run();

    // The progress window while a fetch runs; null otherwise.
    WorkProgress* progress() const { return progress_; }

private:
    MainWindow& window_;
    MessageBoxPort& messages_;
    HttpGetter& http_;
    SiteAddresses sites_;
    WorkProgress* progress_ = nullptr;
};

} // namespace dlt::gui
