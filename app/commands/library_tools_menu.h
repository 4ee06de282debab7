// The menu "号库工具": the trend chart, the backtest, the ticket check, the
// export and import of the library, keeping it up to date from the official
// results service (or the fetch's sources), completing what the held draws
// paid, and its check. The commands themselves live in history/ and
// online/; the window chooses the files and shows the messages.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "app/commands/fetch_run.h"
#include "core/ports.h"
#include "online/http_get.h"
#include "online/official_results.h"
#include "online/sites.h"

namespace dlt::gui {

class BacktestWindow;
class MainWindow;
class TicketWindow;
class TrendWindow;

class LibraryTools : public QObject {
    Q_OBJECT
public:
    explicit LibraryTools(MainWindow& window);
    ~LibraryTools() override;

    // Answers the file dialogs: given the suggested path, the chosen one
    // (empty when the user cancels). The desktop's dialogs by default.
    using FileChooser = std::function<QString(const QString& suggested)>;
    void setSaveChooser(FileChooser chooser) { chooseSave_ = std::move(chooser); }
    void setOpenChooser(FileChooser chooser) { chooseOpen_ = std::move(chooser); }

    // The suggested file: "号库.txt" in the folder of the last file exported
    // or imported in this run, at first in the user's documents folder. The
    // folder is remembered for the run only: nothing is written.
    QString suggestedPath() const;

    void openTrendWindow();
    void openBacktestWindow();
    void openTicketWindow();
    void exportLibrary();
    void importLibrary();
    void syncLatestDraws();
    void completeDrawDetails();
    void checkLibrary();

    // Where 同步最新开奖 and 补全开奖详情 download from: the built-in sites
    // by default.
    void setSites(SiteAddresses sites) { sites_ = std::move(sites); }
    // How the official service is read (tests shorten the pauses).
    void setOfficialOptions(OfficialReadOptions options) { official_ = std::move(options); }

    // The open tool windows (null when closed).
    TrendWindow* trendWindow() const;
    BacktestWindow* backtestWindow() const;
    TicketWindow* ticketWindow() const;

private:
    // The summary lines and the open tool windows follow a changed library.
    void libraryChanged();

    MainWindow& window_;
    MessageBoxPort& messages_; // the window's
    FileChooser chooseSave_;
    FileChooser chooseOpen_;
    QString lastFolder_;
    QPointer<TrendWindow> trend_;
    QPointer<BacktestWindow> backtest_;
    QPointer<TicketWindow> tickets_;
    SiteAddresses sites_ = builtInSites();
    OfficialReadOptions official_;
    CurlHttpGetter curl_;
    // The downloads run off the user-interface thread.
    BackgroundHttpGetter http_{curl_};
};

// Appends the menu to the window's menu bar: "号码走势图", "历史回测",
// "兑奖", a separator, "导出号库...", "导入号库...", "同步最新开奖",
// "补全开奖详情", "检查号库".
// The tools live as long as the window.
LibraryTools* addLibraryToolsMenu(MainWindow& window);

} // namespace dlt::gui
