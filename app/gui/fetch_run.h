// The fetch of past draws behind 自动获取往期号按钮, and downloads that keep
// the window alive while they run.
#pragma once

#include <QObject>

#include "core/ports.h"
#include "online/past_draws.h"
#include "online/sites.h"

namespace dlt::gui {

class MainWindow;

// Runs each download of another getter on a worker thread while the UI
// thread waits processing events, so that the windows repaint and move.
class BackgroundHttpGetter : public HttpGetter {
public:
    explicit BackgroundHttpGetter(HttpGetter& inner) : inner_(inner) {}
    std::string get(const std::string& url) override;

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

// The click handler of 自动获取往期号按钮. The commands that change the
// history are disabled for the whole fetch.
class FetchCommand : public QObject {
    Q_OBJECT
public:
    // Connects the window's button; lives as long as the window.
    FetchCommand(MainWindow& window, MessageBoxPort& messages, HttpGetter& http,
                 SiteAddresses sites);

    void run();

private:
    MainWindow& window_;
    MessageBoxPort& messages_;
    HttpGetter& http_;
    SiteAddresses sites_;
};

} // namespace dlt::gui
