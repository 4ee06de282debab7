// The working window: the results grid, the entry area, the advanced area
// and the footer line, every control under its form name.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/ports.h"
#include "core/process_state.h"
#include "core/draw_record.h"
#include "history/history_store.h"

class QListWidget;
class QLineEdit;
class QPushButton;

namespace dlt::gui {

class FormLabel;
class TransparentLabel;

// The controls the window's commands work on, kept as the form builds them.
struct MainWindowControls {
    QLineEdit* issueBox = nullptr;        // 期号框
    QLineEdit* numbersBox = nullptr;      // 号码框
    QPushButton* recommend = nullptr;     // 推荐号码按钮
    QPushButton* confirm = nullptr;       // 确认输入按钮
    QPushButton* deleteNewest = nullptr;  // 清除上期号按钮
    QPushButton* advanced = nullptr;      // 展开高级功能按钮
    QPushButton* fetch = nullptr;         // 自动获取往期号按钮
    QListWidget* list = nullptr;          // 列表框1
    FormLabel* summaryCount = nullptr;    // 号库显示
    FormLabel* summaryNumbers = nullptr;  // 上期号码
    FormLabel* picks = nullptr;           // 下期精选号
    TransparentLabel* siteLink = nullptr; // 透明标签1
    TransparentLabel* chatLink = nullptr; // 透明标签2
    // The result cells: rows 精选, 等级一, 等级二, 等级三 (ResultLevel order),
    // columns in the grid's order (kGridColumnDigits).
    std::array<std::array<FormLabel*, kGridColumnDigits.size()>, 4> cells{};
    // The controls of the form whose right click opens the pop-up menu.
    std::vector<QWidget*> popupTargets;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The window is 648 wide at start and 869 with the advanced area shown:
    // outer widths, frame included (clientSizeOf), so the client area is
    // 640 and 861 wide and the advanced area (x >= 641) lies just outside
    // it at 648. The client area is as high as its content (the footer line
    // ends at 392), which is what the designed outer height 443 leaves under
    // the home desktop's title bar and one-line menu bar, within a pixel or
    // two; a menu bar adds to the window, not to the client area.
    static constexpr int kNarrowWidth = 648;
    static constexpr int kWideWidth = 869;
    static constexpr int kClientHeight = 392;

    // Builds the form and runs the window's set-up: width 648, the XP-style
    // look, the title, the history file extension, the history summary.
    // messages: where the window's commands talk to the user.
    MainWindow(ProcessState& state, std::filesystem::path historyDirectory,
               MessageBoxPort& messages, QWidget* parent = nullptr);

    // The widget that holds the form; positions are relative to it.
    QWidget* clientArea() const { return client_; }
    // The window's outer width (648 or 869).
    int outerWidth() const;
    // Sets the outer width. Controls that lie outside the client area stay
    // shown (clipped away) but out of the Tab order, so that the keyboard
    // never reaches a button the user cannot see.
    void setOuterWidth(int width);

    // Rewrites the two summary lines (号库显示, 上期号码) from the history files.
    void refreshHistorySummary();

    // The commands of the entry area, as their buttons run them.
    void runRecommendation();
    void addDrawFromForm();
    void deleteNewestDraw();
    void toggleAdvancedArea();

    // Processes the window events that are waiting, then returns; the long
    // loops (a run, the list filling) call it between their steps. It does
    // not force repaints: the window repaints as its pending updates come up.
    // Processing costs a system call even when nothing waits, and the loops
    // yield tens of thousands of times, so events are processed at most once
    // a millisecond (far more often than a screen refreshes or a user acts),
    // and always at the first yield after a BusyCommands guard starts.
    void yieldToEvents();

    // While a BusyCommands guard is alive: a run, a list filling or a fetch
    // is in progress.
    bool commandsBusy() const { return busyDepth_ > 0; }

    ProcessState& state() const { return state_; }
    MessageBoxPort& messages() const { return messages_; }
    const std::filesystem::path& historyDirectory() const { return historyDirectory_; }
    // The store over the program's history files, keyed by the installation key.
    HistoryStore historyStore() const;

    const MainWindowControls& controls() const { return controls_; }

signals:
    // The window was closed by the user: the program ends.
    void closed();
    // The user asked for the update check ("检查更新", "软件升级").
    void updateCheckRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm();
    void buildResultsArea();
    void buildEntryArea();
    void buildAdvancedArea();
    void buildFooter();
    void fitToClientArea();
    void orderTabStops();
    // Puts the footer's links over the parts of its text they open.
    void placeFooterLinks(FormLabel* footer);
    void connectHistoryCommands();
    void issueChanged();
    void numbersChanged();
    // 确认输入按钮 is enabled exactly when both boxes are full (5 + 14).
    void updateConfirmButton();
    bool wholeDrawTyped() const;

    ProcessState& state_;
    MessageBoxPort& messages_;
    std::filesystem::path historyDirectory_;
    QWidget* client_ = nullptr;
    MainWindowControls controls_;
    bool activatedOnce_ = false;
    int busyDepth_ = 0;
    QElapsedTimer sinceEventsProcessed_;
    friend class BusyCommands;
};

// Disables, for its lifetime, the commands that start a run or change the
// history, so that no second computation starts and the history does not
// change under a running one. They come back in their previous state. Guards
// may nest; only the outermost one disables and restores. 确认输入按钮 then
// follows the boxes as they are by then, whatever it was before.
class BusyCommands {
public:
    explicit BusyCommands(MainWindow& window);
    ~BusyCommands();
    BusyCommands(const BusyCommands&) = delete;
    BusyCommands& operator=(const BusyCommands&) = delete;

private:
    MainWindow& window_;
    std::vector<std::pair<QPointer<QWidget>, bool>> saved_;
};

} // namespace dlt::gui
