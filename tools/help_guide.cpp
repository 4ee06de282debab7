#include "tools/help_guide.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>
#include <functional>
#include <map>

#include "app/windows/about_window.h"
#include "app/windows/backtest_window.h"
#include "app/form/form_widgets.h"
#include "app/windows/help_window.h"
#include "app/windows/intro_window.h"
#include "app/windows/main_window.h"
#include "app/commands/menus.h"
#include "app/ports/message_box.h"
#include "app/ports/platform.h"
#include "app/ports/text.h"
#include "app/windows/trend_window.h"
#include "core/texts.h"
#include "history/history_store.h"
#include "online/past_draws.h"
#include "tools/picture_kit.h"

using namespace dlt;
using namespace dlt::gui;

namespace helpguide {

namespace {

class SilentUrlOpener : public UrlOpener {
public:
    void openUrl(const std::string&) override {}
};

} // namespace

// The windows the pictures are taken of. Each main window works over its own
// history folder, as the program does over its own directory. A picture asks
// for the main window in one of a few settings; the window is kept while the
// next picture asks for the same.
class Studio {
public:
    enum class Setting {
        Empty,        // the first start: nothing stored
        AllButNewest, // the newest draw still to be typed
        Full,         // every draw of the history
        Fetched,      // what a fetch leaves: the newest 280 draws, the advanced area open
        Recommended,  // every draw, after a recommendation
    };

    explicit Studio(const std::vector<DrawRecord>& draws) : draws_(draws) {
        setProductIdentity(state_);
        // Any 32 hex digits key the pictures' history files.
        state_.installationKey = "0123456789abcdef0123456789abcdef";
    }

    const std::vector<DrawRecord>& draws() const { return draws_; }
    ProcessState& state() { return state_; }

    MainWindow& in(Setting setting) {
        if (window_ && setting_ == setting)
            return *window_;
        setting_ = setting;
        switch (setting) {
        case Setting::Empty:
            open({});
            break;
        case Setting::AllButNewest:
            open({draws_.begin() + 1, draws_.end()});
            break;
        case Setting::Full:
            open(draws_);
            break;
        case Setting::Fetched:
            open({draws_.begin(),
                  draws_.begin() + std::min<std::size_t>(draws_.size(), kDrawFileEntries)});
            control<QPushButton>("展开高级功能按钮")->click();
            QApplication::processEvents();
            break;
        case Setting::Recommended:
            open(draws_);
            control<QPushButton>("推荐号码按钮")->click();
            QApplication::processEvents();
            break;
        }
        return *window_;
    }

    // The window of the last setting, which a picture may change; the next
    // picture then starts afresh.
    MainWindow& window() { return *window_; }
    void changed() { window_.reset(); }
    MenuCommands& menus() { return *menus_; }

    template <class T> T* control(const char* name) {
        return window_->clientArea()->findChild<T*>(QString::fromUtf8(name));
    }

    // The cells as they look while a run is in progress.
    void showBusyCells() {
        for (const auto& row : window_->controls().cells)
            for (FormLabel* cell : row)
                cell->setText(fromUtf8(text::recommendingCell));
        control<FormLabel>("下期精选号")->setText(fromUtf8(text::recommendingPicks));
        QApplication::processEvents();
    }

    // Types into the two boxes, as the user does.
    void type(const QString& issue, const QString& numbers) {
        control<QLineEdit>("期号框")->setText(issue);
        control<QLineEdit>("号码框")->setText(numbers);
        QApplication::processEvents();
    }

private:
    void open(const std::vector<DrawRecord>& history) {
        window_.reset();
        const QString folder = dir_.filePath(QString::number(++folders_));
        QDir().mkpath(folder);
        picturekit::storeDraws(HistoryStore(toPath(folder), state_.installationKey), history);
        window_ = std::make_unique<MainWindow>(state_, toPath(folder), messages_);
        menus_ = new MenuCommands(*window_, messages_, urls_, toPath(dir_.path()));
        window_->show();
        window_->refreshHistorySummary();
        QApplication::processEvents();
    }

    std::vector<DrawRecord> draws_;
    QTemporaryDir dir_;
    int folders_ = 0;
    ProcessState state_;
    QtMessageBoxPort messages_;
    SilentUrlOpener urls_;
    std::unique_ptr<MainWindow> window_;
    Setting setting_ = Setting::Empty;
    MenuCommands* menus_ = nullptr;
};

namespace {

// ---- Taking pictures -----------------------------------------------------------

// Red rings around the named controls of the main window.
void ring(QImage& image, MainWindow& window, const std::vector<const char*>& marks) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0xE0, 0x10, 0x10), 3));
    p.setBrush(Qt::NoBrush);
    for (const char* name : marks) {
        auto* control = window.clientArea()->findChild<QWidget*>(QString::fromUtf8(name));
        if (!control) {
            std::fprintf(stderr, "make_pictures: no control %s to mark\n", name);
            continue;
        }
        const QRect place(control->mapTo(&window, QPoint(0, 0)), control->size());
        p.drawRoundedRect(QRectF(place).adjusted(-3, -3, 3, 3), 5, 5);
    }
}

// The whole main window in its frame, the named controls ringed.
QImage whole(Studio& s, const std::vector<const char*>& marks = {}) {
    QApplication::processEvents();
    QImage body = s.window().grab().toImage();
    ring(body, s.window(), marks);
    return picturekit::framed(QPixmap::fromImage(body), s.window().windowTitle());
}

// The part of the main window around one control and the ringed ones.
QImage part(Studio& s, const char* around, const std::vector<const char*>& marks = {}) {
    QApplication::processEvents();
    QImage body = s.window().grab().toImage();
    ring(body, s.window(), marks);
    QRect place;
    std::vector<const char*> shown = marks;
    shown.push_back(around);
    for (const char* name : shown) {
        if (auto* control = s.window().clientArea()->findChild<QWidget*>(QString::fromUtf8(name)))
            place |= QRect(control->mapTo(&s.window(), QPoint(0, 0)), control->size());
    }
    return body.copy(place.adjusted(-8, -8, 8, 8).intersected(body.rect()));
}

// The main window with an open menu drawn over it where the desktop shows it.
QImage withMenu(Studio& s, QMenu* menu) {
    QApplication::processEvents();
    QImage body = s.window().grab().toImage();
    const QImage shown = menu->grab().toImage();
    const QPoint at = s.window().mapFromGlobal(menu->pos());
    QImage canvas(body.width() + 40, body.height(), QImage::Format_RGB32);
    canvas.fill(QColor(0x3A, 0x6E, 0xA5));
    QPainter p(&canvas);
    p.drawImage(0, 0, body);
    p.fillRect(QRect(at + QPoint(3, 3), shown.size()), QColor(0, 0, 0, 60)); // shadow
    p.drawImage(at, shown);
    p.end();
    menu->hide();
    return picturekit::framed(QPixmap::fromImage(canvas.copy(0, 0, body.width(), body.height())),
                              s.window().windowTitle());
}

QImage barMenu(Studio& s, std::string_view caption) {
    auto* menu = s.window().menuBar()->findChild<QMenu*>(fromUtf8(caption));
    s.window().menuBar()->setActiveAction(menu->menuAction());
    QApplication::processEvents();
    QImage image = withMenu(s, menu);
    s.window().menuBar()->setActiveAction(nullptr);
    return image;
}

QImage popupAt(Studio& s, const char* control) {
    auto* target = s.window().clientArea()->findChild<QWidget*>(QString::fromUtf8(control));
    s.menus().showPopupMenu(target->mapToGlobal(QPoint(target->width() / 2, target->height() / 2)));
    QApplication::processEvents();
    return withMenu(s, s.menus().popupMenu());
}

// A message box of the program, in its frame with its caption.
QImage message(std::string_view text, std::string_view caption, MessageIcon icon,
               MessageButtons buttons = MessageButtons::Ok) {
    QMessageBox box(toQtIcon(icon), fromUtf8(caption), fromUtf8(text),
                    buttons == MessageButtons::Ok ? QMessageBox::Ok
                                                  : QMessageBox::Ok | QMessageBox::Cancel);
    box.show();
    QApplication::processEvents();
    const QImage image = picturekit::framed(box.grab(), box.windowTitle(), false);
    box.hide();
    return image;
}

// A tool window of the 号库工具 menu, opened through its item.
template <class Window> Window* openTool(Studio& s, std::string_view item) {
    s.window().findChild<QAction*>(fromUtf8(item))->trigger();
    QApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(top); window && window->isVisible())
            return window;
    return nullptr;
}

// ---- The pictures, by caption ------------------------------------------------------

using Shot = std::function<QImage(Studio&)>;
using Setting = Studio::Setting;

std::map<std::string, Shot> shots() {
    return {
        {"欢迎窗口",
         [](Studio& s) {
             IntroWindow intro(s.state());
             intro.show();
             QApplication::processEvents();
             return picturekit::framed(intro.grab(), intro.windowTitle());
         }},
        {"第一次打开的主窗口",
         [](Studio& s) {
             s.in(Setting::Empty);
             return whole(s, {"分组框1", "分组框2"});
         }},
        {"“软件帮助”菜单",
         [](Studio& s) {
             s.in(Setting::Empty);
             return barMenu(s, text::helpMenu);
         }},
        {"“升级更新”菜单",
         [](Studio& s) {
             s.in(Setting::Empty);
             return barMenu(s, text::updateMenu);
         }},
        {"右键菜单",
         [](Studio& s) {
             s.in(Setting::Empty);
             return popupAt(s, "标签6");
         }},
        {"“关于”窗口",
         [](Studio& s) {
             AboutWindow about(s.state());
             about.show();
             QApplication::processEvents();
             return about.grab().toImage();
         }},
        {"输入区",
         [](Studio& s) {
             s.in(Setting::AllButNewest);
             return part(s, "分组框2", {"标签2"});
         }},
        {"输入期号",
         [](Studio& s) {
             s.in(Setting::AllButNewest);
             s.type(QString::fromStdString(s.draws().front().issue), QString());
             const QImage image = part(s, "分组框2", {"期号框"});
             s.changed();
             return image;
         }},
        {"输入号码",
         [](Studio& s) {
             s.in(Setting::AllButNewest);
             const DrawRecord& newest = s.draws().front();
             s.type(QString::fromStdString(newest.issue),
                    QString::fromStdString(newest.front + newest.back));
             const QImage image = part(s, "分组框2", {"号码框", "确认输入按钮"});
             s.changed();
             return image;
         }},
        {"号码已成功添加",
         [](Studio&) {
             return message(text::drawAdded, text::successCaption, MessageIcon::Information);
         }},
        {"号库数量和最新一期",
         [](Studio& s) {
             s.in(Setting::Full);
             return part(s, "分组框2", {"号库显示", "上期号码"});
         }},
        {"输入不正确",
         [](Studio&) {
             return message(text::entryRejected, text::refusedCaption, MessageIcon::Stop);
         }},
        {"“清除上期号”按钮",
         [](Studio& s) {
             s.in(Setting::Full);
             return part(s, "分组框2", {"清除上期号按钮"});
         }},
        {"确定要删除吗",
         [](Studio&) {
             return message(text::confirmDelete, text::attentionCaption, MessageIcon::Question,
                            MessageButtons::OkCancel);
         }},
        {"号码已成功删除",
         [](Studio&) {
             return message(text::drawDeleted, text::successCaption, MessageIcon::Information);
         }},
        {"“展开高级功能”按钮",
         [](Studio& s) {
             s.in(Setting::Full);
             return whole(s, {"展开高级功能按钮"});
         }},
        {"高级功能区",
         [](Studio& s) {
             s.in(Setting::Fetched);
             return whole(s, {"列表框1", "自动获取往期号按钮"});
         }},
        {"往期号码输入完成",
         [](Studio& s) {
             // The count a fetch gives: the draw file's 280 entries when the
             // results page has nothing newer.
             const int fetched = s.in(Setting::Fetched).controls().list->count();
             return message(fill(text::fetchDone, {fetched}), text::fetchDoneCaption,
                            MessageIcon::Information);
         }},
        {"“收回高级功能”按钮",
         [](Studio& s) {
             s.in(Setting::Fetched);
             return part(s, "分组框2", {"展开高级功能按钮"});
         }},
        {"“推荐号码”按钮",
         [](Studio& s) {
             s.in(Setting::Full);
             return part(s, "分组框2", {"推荐号码按钮"});
         }},
        {"号码推荐中",
         [](Studio& s) {
             s.in(Setting::Full);
             s.showBusyCells();
             const QImage image = whole(s, {"分组框1"});
             s.changed();
             return image;
         }},
        {"推算结果",
         [](Studio& s) {
             s.in(Setting::Recommended);
             return whole(s, {"分组框1", "下期精选号"});
         }},
        {"选号结果表格",
         [](Studio& s) {
             s.in(Setting::Recommended);
             return part(s, "分组框1");
         }},
        {"下期精选推荐",
         [](Studio& s) {
             s.in(Setting::Recommended);
             return part(s, "下期精选号", {"上期号码2", "下期精选号"});
         }},
        {"号库不足",
         [](Studio&) {
             return message(fill(text::shortHistory, {rulesFor(Zone::Front).minimumDraws()}),
                            text::cannotRecommendCaption, MessageIcon::Information);
         }},
        {"精选级",
         [](Studio& s) {
             s.in(Setting::Recommended);
             return part(
                 s, "分组框1",
                 {"标签6", "精选11", "精选12", "精选13", "精选14", "精选15", "精选21", "精选22"});
         }},
        {"等级一",
         [](Studio& s) {
             s.in(Setting::Recommended);
             return part(s, "分组框1",
                         {"标签1", "等级一11", "等级一12", "等级一13", "等级一14", "等级一15",
                          "等级一21", "等级一22"});
         }},
        {"“号库工具”菜单",
         [](Studio& s) {
             s.in(Setting::Full);
             return barMenu(s, text::libraryToolsMenu);
         }},
        {"号码走势图",
         [](Studio& s) {
             s.in(Setting::Full);
             TrendWindow* trend = openTool<TrendWindow>(s, text::trendWindowName);
             trend->resize(trend->width(), 560);
             QApplication::processEvents();
             const QImage image = picturekit::framed(trend->grab(), trend->windowTitle());
             trend->close();
             return image;
         }},
        {"历史回测",
         [](Studio& s) {
             s.in(Setting::Full);
             BacktestWindow* backtest = openTool<BacktestWindow>(s, text::backtestWindowName);
             if (backtest->running()) {
                 QEventLoop finished;
                 QObject::connect(backtest, &BacktestWindow::finished, &finished,
                                  &QEventLoop::quit);
                 finished.exec();
             }
             QApplication::processEvents();
             const QImage image = picturekit::framed(backtest->grab(), backtest->windowTitle());
             backtest->close();
             return image;
         }},
    };
}

} // namespace

GuideShots::GuideShots(const std::vector<DrawRecord>& draws)
    : studio_(std::make_unique<Studio>(draws)) {}

GuideShots::~GuideShots() = default;

QImage GuideShots::take(const std::string& caption) {
    static const std::map<std::string, Shot> all = shots();
    const auto shot = all.find(caption);
    return shot == all.end() ? QImage() : shot->second(*studio_);
}

QImage helpWindowPicture(const ProcessState& state) {
    QtMessageBoxPort messages;
    QTemporaryDir temp;
    HelpWindow help;
    if (!help.openGuide(state, messages, toPath(temp.path())))
        return {};
    help.show();
    QApplication::processEvents();
    // The third section's heading at the top of the page.
    QTextBrowser* page = help.browser();
    const QTextCursor heading = page->document()->find(QStringLiteral("三、推算下一期号码"));
    if (!heading.isNull()) {
        QScrollBar* bar = page->verticalScrollBar();
        bar->setValue(bar->value() + page->cursorRect(heading).top() - 8);
    }
    QApplication::processEvents();
    return picturekit::framed(help.grab(), help.windowTitle());
}

} // namespace helpguide
