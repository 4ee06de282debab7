// The fetch of past draws behind 自动获取往期号按钮, and downloads that keep
// the window alive while they run.
#pragma once

#include <QObject>

#include "app/commands/work_progress.h"
#include "core/ports.h"
#include "online/past_draws.h"
#include "online/sites.h"

namespace dlt::gui {

class MainWindow;

// Runs each download of another getter off the window's thread
// (runOffWindowThread).
class BackgroundHttpGetter : public HttpGetter {
public:
    explicit BackgroundHttpGetter(HttpGetter& inner) : inner_(inner) {}
    std::string get(const std::string& url, const CancelFlag& cancel) override;

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

// The small window that shows a fetch at work.
class FetchProgress : public WorkProgress {
public:
    FetchProgress(MainWindow& window, CancelFlag& cancel);
};

// The click handler of 自动获取往期号按钮. The commands that change the
// history are disabled for the whole fetch, a FetchProgress shows it at work,
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
    FetchProgress* progress() const { return progress_; }

private:
    MainWindow& window_;
    MessageBoxPort& messages_;
    HttpGetter& http_;
    SiteAddresses sites_;
    FetchProgress* progress_ = nullptr;
};

} // namespace dlt::gui
