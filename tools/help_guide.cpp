#include "tools/help_guide.h"

#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/gui/about_window.h"
#include "app/gui/form_widgets.h"
#include "app/gui/gbk.h"
#include "app/gui/help_window.h"
#include "app/gui/intro_window.h"
#include "app/gui/main_window.h"
#include "app/gui/maker.h"
#include "app/gui/menus.h"
#include "app/gui/message_box.h"
#include "app/gui/platform.h"
#include "core/process_state.h"
#include "history/draw_text.h"
#include "history/history_store.h"
#include "help/help_archive.h"

using namespace dlt;
using namespace dlt::gui;

namespace helpguide {

namespace {

// The guide is read at the maker's site address: Qt WebEngine loads the
// pictures of an archive whose parts have http addresses, while file
// addresses count as local resources and are blocked.
const QString kPageName = QStringLiteral("guide");
QString pageLocation() {
    return fromUtf8(maker::siteAddress) + QStringLiteral("/help/") + kPageName + QStringLiteral(".htm");
}
QString pictureFolder() {
    return kPageName + QStringLiteral(".files");
}

class SilentUrlOpener : public UrlOpener {
public:
    void openUrl(const std::string&) override {}
};

// The windows the pictures are taken of. Each main window works over its own
// history folder, as the program does over its own directory.
class Studio {
public:
    explicit Studio(const std::vector<DrawRecord>& draws) : draws_(draws) {
        setProductIdentity(state_);
        // Any 32 hex digits key the pictures' history files.
        state_.installationKey = "0123456789abcdef0123456789abcdef";
    }

    const std::vector<DrawRecord>& draws() const { return draws_; }
    ProcessState& state() { return state_; }

    // A new main window over a history of the given draws (newest first).
    MainWindow& open(const std::vector<DrawRecord>& history) {
        window_.reset();
        const QString folder = dir_.filePath(QString::number(++folders_));
        QDir().mkpath(folder);
        picturekit::storeDraws(HistoryStore(toPath(folder), state_.installationKey), history);
        window_ = std::make_unique<MainWindow>(state_, toPath(folder), messages_);
        menus_ = new MenuCommands(*window_, messages_, urls_, toPath(dir_.path()));
        window_->show();
        window_->refreshHistorySummary();
        QApplication::processEvents();
        return *window_;
    }

    MainWindow& window() { return *window_; }
    MenuCommands& menus() { return *menus_; }

    template <class T> T* control(const char* name) {
        return window_->clientArea()->findChild<T*>(QString::fromUtf8(name));
    }

    // The advanced area with the history list, through the window's button.
    void openAdvancedArea() {
        control<QPushButton>("展开高级功能按钮")->click();
        QApplication::processEvents();
    }

    // A recommendation through 推荐号码按钮.
    void recommend() {
        control<QPushButton>("推荐号码按钮")->click();
        QApplication::processEvents();
    }

    // The cells as they look while a run is in progress.
    void showBusyCells() {
        for (const auto& row : window_->controls().cells)
            for (FormLabel* cell : row)
                cell->setText(QStringLiteral("号码推荐中..."));
        control<FormLabel>("下期精选号")->setText(QStringLiteral("号码推荐中，请稍等..."));
        QApplication::processEvents();
    }

    // Types a draw into the two boxes, as the user does.
    void type(const DrawRecord& draw) {
        control<QLineEdit>("期号框")->setText(QString::fromStdString(draw.issue));
        control<QLineEdit>("号码框")->setText(QString::fromStdString(draw.front + draw.back));
        QApplication::processEvents();
    }

private:
    std::vector<DrawRecord> draws_;
    QTemporaryDir dir_;
    int folders_ = 0;
    ProcessState state_;
    QtMessageBoxPort messages_;
    SilentUrlOpener urls_;
    std::unique_ptr<MainWindow> window_;
    MenuCommands* menus_ = nullptr;
};

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

QImage barMenu(Studio& s, const char* caption) {
    auto* menu = s.window().menuBar()->findChild<QMenu*>(QString::fromUtf8(caption));
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
QImage message(const char* text, const char* caption, MessageIcon icon,
               MessageButtons buttons = MessageButtons::Ok) {
    QMessageBox box(toQtIcon(icon), QString::fromUtf8(caption), QString::fromUtf8(text),
                    buttons == MessageButtons::Ok ? QMessageBox::Ok
                                                  : QMessageBox::Ok | QMessageBox::Cancel);
    box.show();
    QApplication::processEvents();
    const QImage image = picturekit::framed(box.grab(), box.windowTitle(), false);
    box.hide();
    return image;
}

// ---- The guide -------------------------------------------------------------------

using Shot = std::function<QImage(Studio&)>;

struct Block {
    enum Kind { Section, Text, Note, Picture } kind;
    const char* text; // the words, or what a picture shows
    Shot shot = {};
};

std::vector<DrawRecord> allButNewest(const std::vector<DrawRecord>& draws) {
    return {draws.begin() + 1, draws.end()};
}

std::vector<Block> guide() {
    using B = Block;
    return {
        {B::Section, "一、打开软件"},
        {B::Text, "双击程序图标启动软件。首先出现的是欢迎窗口，它展示了软件使用中的样子。"
                  "单击右下角的“下一步”按钮进入主窗口。"},
        {B::Picture, "欢迎窗口",
         [](Studio& s) {
             IntroWindow intro(s.state());
             intro.show();
             QApplication::processEvents();
             return picturekit::framed(intro.grab(), intro.windowTitle());
         }},
        {B::Text,
         "第一次使用时号库是空的，主窗口的“选号结果”表格也是空的。左边是选号结果，右边是输入区，"
         "最下面一行是禾澄科技的网址和联系方式。"},
        {B::Picture, "第一次打开的主窗口",
         [](Studio& s) {
             s.open({});
             return whole(s, {"分组框1", "分组框2"});
         }},
        {B::Text, "菜单“软件帮助”里有“使用说明”（就是本帮助）和“关于我们”。"},
        {B::Picture, "“软件帮助”菜单", [](Studio& s) { return barMenu(s, "软件帮助"); }},
        {B::Text, "菜单“升级更新”里的“检查更新”会告诉您有没有新版本；“禾澄科技官方网站”用浏览器打开"
                  "我们的网站。"},
        {B::Picture, "“升级更新”菜单", [](Studio& s) { return barMenu(s, "升级更新"); }},
        {B::Text, "在窗口的空白处、表格的标题或左边一列上单击鼠标右键，会弹出同样的几个命令。"},
        {B::Picture, "右键菜单", [](Studio& s) { return popupAt(s, "标签6"); }},
        {B::Text, "“关于”窗口里有软件的版本、使用条款和联系方式。单击“单击这里下载最新版本”可以到网"
                  "站下载最新版本，"
                  "单击右上角的“×”关闭窗口。"},
        {B::Picture, "“关于”窗口",
         [](Studio& s) {
             AboutWindow about(s.state());
             about.show();
             QApplication::processEvents();
             return about.grab().toImage();
         }},

        {B::Section, "二、输入往期号码"},
        {B::Text, "软件根据号库里的往期号码推算下一期。号库越完整，推算越有依据。号库可以手工输入，"
                  "也可以自动获取。"},
        {B::Text, "<b>手工输入：</b>按开奖的先后顺序，从最早的一期开始，一期一期地输入。"
                  "输入区里的红字提示就是这个意思。"},
        {B::Picture, "输入区",
         [](Studio& s) {
             s.open(allButNewest(s.draws()));
             return part(s, "分组框2", {"标签2"});
         }},
        {B::Text, "在“第 期号码”中间的期号框里输入5位期号，输满5位后光标自动跳到下面的号码框。"},
        {B::Picture, "输入期号",
         [](Studio& s) {
             s.control<QLineEdit>("期号框")->setText(QString::fromStdString(s.draws().front().issue));
             return part(s, "分组框2", {"期号框"});
         }},
        {B::Text,
         "在号码框里连着输入这一期的7个号码，每个号码两位，不足两位的前面补0，中间不加空格："
         "先5个前区号码，再2个后区号码，一共14位。输满后“确 认 输 入”按钮变为可用。"},
        {B::Picture, "输入号码",
         [](Studio& s) {
             s.type(s.draws().front());
             return part(s, "分组框2", {"号码框", "确认输入按钮"});
         }},
        {B::Text,
         "按回车键或单击“确 认 输 入”按钮，这一期就存进号库，软件提示“号码已成功添加！”。"},
        {B::Picture, "号码已成功添加",
         [](Studio&) { return message("号码已成功添加！", "成功：", MessageIcon::Information); }},
        {B::Text, "两个输入框随即清空，光标回到期号框，可以接着输入下一期。按钮下面显示号库里的期数"
                  "和最新一期的号码。"},
        {B::Picture, "号库数量和最新一期",
         [](Studio& s) {
             s.open(s.draws());
             return part(s, "分组框2", {"号库显示", "上期号码"});
         }},
        {B::Text,
         "期号不是5位或号码不是14位时，软件提示输入不正确，两个框里的内容保留，改正后再确认即可。"},
        {B::Picture, "输入不正确",
         [](Studio&) {
             return message("期数或号码输入不正确：请检查后重试！", "错误：", MessageIcon::Stop);
         }},
        {B::Text, "输错了已经存进去的一期，可以单击“清除上期号”删除号库里最新的一期。"},
        {B::Picture, "“清除上期号”按钮",
         [](Studio& s) { return part(s, "分组框2", {"清除上期号按钮"}); }},
        {B::Text, "软件先问您是否确定，单击“确定”才删除。"},
        {B::Picture, "确定要删除吗",
         [](Studio&) {
             return message("您确定要删除吗？", "注意：", MessageIcon::Question,
                            MessageButtons::OkCancel);
         }},
        {B::Picture, "号码已成功删除",
         [](Studio&) { return message("号码已成功删除！", "成功：", MessageIcon::Information); }},
        {B::Text, "<b>自动获取：</b>单击“展开高级功能”，窗口向右展开。"},
        {B::Picture, "“展开高级功能”按钮",
         [](Studio& s) { return whole(s, {"展开高级功能按钮"}); }},
        {B::Text,
         "右边的列表按从新到旧的顺序列出号库里的每一期。单击列表下面的“自动获取并输入往期号码”，"
         "软件从网上取回最近的往期号码，替换原来的号库。取号期间请保持联网。"},
        {B::Picture, "高级功能区",
         [](Studio& s) {
             s.openAdvancedArea();
             return whole(s, {"列表框1", "自动获取往期号按钮"});
         }},
        {B::Text, "取完后软件告诉您一共输入了多少期。"},
        {B::Picture, "往期号码输入完成",
         [](Studio& s) {
             const QString text = QStringLiteral("往期号码输入完成！共输入%1期号码。")
                                      .arg(s.control<QListWidget>("列表框1")->count());
             return message(text.toUtf8().constData(), "输入完成", MessageIcon::Information);
         }},
        {B::Text, "列表和号库数量随之更新。"},
        {B::Picture, "自动获取之后的号库",
         [](Studio& s) { return part(s, "列表框1", {"列表框1"}); }},
        {B::Text, "再单击“收回高级功能”，窗口恢复原来的宽度。"},
        {B::Picture, "“收回高级功能”按钮",
         [](Studio& s) { return part(s, "分组框2", {"展开高级功能按钮"}); }},

        {B::Section, "三、推算下一期号码"},
        {B::Text, "号库准备好以后，单击输入区最上面的“推荐号码”按钮。"},
        {B::Picture, "“推荐号码”按钮",
         [](Studio& s) {
             s.open(s.draws());
             return part(s, "分组框2", {"推荐号码按钮"});
         }},
        {B::Text, "推算开始时，每个格子都显示“号码推荐中...”，结果一行一行地填进表格。"},
        {B::Picture, "号码推荐中",
         [](Studio& s) {
             s.showBusyCells();
             return whole(s, {"分组框1"});
         }},
        {B::Text,
         "推算完成后，表格里是前区和后区的分级推荐号码，右边的“下期精选推荐”是一注完整的号码："
         "5个前区号码，空两格，再2个后区号码。"},
        {B::Picture, "推算结果",
         [](Studio& s) {
             s.recommend();
             return whole(s, {"分组框1", "下期精选号"});
         }},
        {B::Picture, "选号结果表格", [](Studio& s) { return part(s, "分组框1"); }},
        {B::Picture, "下期精选推荐",
         [](Studio& s) {
             return part(s, "下期精选号", {"上期号码2", "下期精选号"});
         }},
        {B::Text, "前区至少要有14期、后区至少要有12期往期号码才能推算；不够时软件会提示需要的期数，"
                  "请先补足号库。"},
        {B::Picture, "号库不足",
         [](Studio&) {
             return message("号库不足：请按先后顺序依次存入最近开出至少14期的号码。", "无法荐号：",
                            MessageIcon::Information);
         }},

        {B::Section, "四、怎样选号"},
        {B::Text, "表格的每一行是一个级别，从上到下依次是“精选级”、“等级一”、“等级二”、“等级三”。"
                  "“精选级”的号码排在最前，最值得优先考虑；“等级三”排在最后。"},
        {B::Picture, "精选级",
         [](Studio& s) {
             return part(
                 s, "分组框1",
                 {"标签6", "精选11", "精选12", "精选13", "精选14", "精选15", "精选21", "精选22"});
         }},
        {B::Text, "前区五列（红字）对应前区的第①到第⑤组，后区两列（蓝字）对应后区的第①、②组。"
                  "选号时可以从每一组里挑一个号码，先看精选级，再看等级一。"},
        {B::Picture, "等级一",
         [](Studio& s) {
             return part(s, "分组框1",
                         {"标签1", "等级一11", "等级一12", "等级一13", "等级一14", "等级一15",
                          "等级一21", "等级一22"});
         }},
        {B::Text, "等级二和等级三的号码可以作为备选，或者在复式投注时补充。"},
        {B::Picture, "等级二和等级三",
         [](Studio& s) {
             return part(s, "分组框1", {"标签4", "标签5"});
         }},
        {B::Text, "不想自己挑选时，直接使用“下期精选推荐”的一注号码即可。"},
        {B::Picture, "一注精选号码",
         [](Studio& s) {
             return whole(s, {"精选11", "精选21", "下期精选号"});
         }},
        {B::Note, "请理性购彩：大乐透每一期开奖都是公平随机的，任何一组号码中奖的机会都完全相同。"
                  "本软件的分级只是对往期号码的一种统计解读，不是对下一期开奖结果的预测或承诺。"},
    };
}

// ---- The page --------------------------------------------------------------------

QString pageHead() {
    return QStringLiteral(
        "<html xmlns:v=\"urn:schemas-microsoft-com:vml\"\n"
        "xmlns:o=\"urn:schemas-microsoft-com:office:office\"\n"
        "xmlns:w=\"urn:schemas-microsoft-com:office:word\"\n"
        "xmlns=\"http://www.w3.org/TR/REC-html40\">\n\n"
        "<head>\n"
        "<meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">\n"
        "<meta name=ProgId content=Word.Document>\n"
        "<meta name=Generator content=\"Microsoft Word 11\">\n"
        "<meta name=Originator content=\"Microsoft Word 11\">\n"
        "<title>禾澄大乐透荐号器 使用帮助</title>\n"
        "<style>\n<!--\n"
        " /* Font Definitions */\n"
        " @font-face\n\t{font-family:宋体;\n\tpanose-1:2 1 6 0 3 1 1 1 1 1;\n"
        "\tmso-font-charset:134;\n\tmso-generic-font-family:auto;\n\tmso-font-pitch:variable;}\n"
        " @font-face\n\t{font-family:楷体_GB2312;\n\tpanose-1:2 1 6 9 3 1 1 1 1 1;\n"
        "\tmso-font-charset:134;\n\tmso-generic-font-family:modern;\n\tmso-font-pitch:fixed;}\n"
        " /* Style Definitions */\n"
        " p.MsoNormal, li.MsoNormal, div.MsoNormal\n"
        "\t{mso-style-parent:\"\";\n\tmargin:0cm;\n\tmargin-bottom:6.0pt;\n\ttext-align:justify;\n"
        "\ttext-justify:inter-ideograph;\n\tline-height:150%;\n\tfont-size:10.5pt;\n"
        "\tfont-family:宋体, SimSun, \"Noto Serif CJK SC\", serif;}\n"
        "h1\n\t{mso-style-next:正文;\n\tmargin-top:17.0pt;\n\tmargin-bottom:16.5pt;\n\ttext-align:"
        "center;\n"
        "\tfont-size:22.0pt;\n\tfont-family:楷体_GB2312, 楷体, KaiTi, \"AR PL UKai CN\", serif;\n"
        "\tcolor:#C00000;}\n"
        "h2\n\t{mso-style-next:正文;\n\tmargin-top:13.0pt;\n\tmargin-bottom:13.0pt;\n"
        "\tfont-size:16.0pt;\n\tfont-family:楷体_GB2312, 楷体, KaiTi, \"AR PL UKai CN\", serif;\n"
        "\tcolor:#0050A0;\n\tborder-bottom:solid #0088FF 1.0pt;}\n"
        "p.MsoPicture\n\t{mso-style-name:图片;\n\tmargin:6.0pt 0cm 12.0pt "
        "0cm;\n\ttext-align:center;}\n"
        "p.MsoNote\n\t{mso-style-name:提示;\n\tmargin:18.0pt 0cm 6.0pt 0cm;\n\tpadding:6.0pt;\n"
        "\tborder:solid #C06000 "
        "1.0pt;\n\tbackground:#FFF8E0;\n\tline-height:150%;\n\tfont-size:10.5pt;\n"
        "\tfont-family:楷体_GB2312, 楷体, KaiTi, \"AR PL UKai CN\", serif;}\n"
        "img\n\t{max-width:100%;\n\theight:auto;}\n"
        "span.MsoCaption\n\t{font-size:9.0pt;\n\tcolor:#606060;}\n"
        "@page Section1\n\t{size:595.3pt 841.9pt;\n\tmargin:72.0pt 90.0pt 72.0pt 90.0pt;}\n"
        "div.Section1\n\t{page:Section1;}\n"
        "-->\n</style>\n"
        "</head>\n\n"
        "<body lang=ZH-CN style='tab-interval:21.0pt;text-justify-trim:punctuation'>\n\n"
        "<div class=Section1 style='layout-grid:15.6pt'>\n\n"
        "<h1><span lang=ZH-CN>禾澄大乐透荐号器 使用帮助</span></h1>\n\n");
}

} // namespace

QImage helpWindowPicture(const ProcessState& state) {
    QtMessageBoxPort messages;
    QTemporaryDir temp;
    HelpWindow help;
    bool loaded = false;
    QObject::connect(&help, &HelpWindow::guideLoaded, [&] { loaded = true; });
    if (!help.openGuide(state, messages, toPath(temp.path())))
        return {};
    help.show();
    QDeadlineTimer deadline(60000);
    while (!loaded && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QWebEnginePage* page = help.browser()->view()->page();
    page->runJavaScript(QStringLiteral("document.getElementsByTagName('h2')[2].scrollIntoView()"),
                        QWebEngineScript::ApplicationWorld);
    // Let the browser draw the pictures.
    QDeadlineTimer settle(1500);
    while (!settle.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return picturekit::framed(help.grab(), help.windowTitle());
}

std::string makeHelpArchive(const std::vector<DrawRecord>& draws, const QString& shotsDir) {
    Studio studio(draws);
    QString page = pageHead();
    std::vector<help::ArchivePicture> pictures;
    const QString base = pageLocation().left(pageLocation().lastIndexOf(u'/') + 1);
    for (const Block& block : guide()) {
        const QString text = QString::fromUtf8(block.text);
        switch (block.kind) {
        case Block::Section:
            page += QStringLiteral("<h2><span lang=ZH-CN>%1</span></h2>\n\n").arg(text);
            break;
        case Block::Text:
            page +=
                QStringLiteral("<p class=MsoNormal><span lang=ZH-CN>%1</span></p>\n\n").arg(text);
            break;
        case Block::Note:
            page +=
                QStringLiteral("<p class=MsoNote><b>请注意：</b><span lang=ZH-CN>%1</span></p>\n\n")
                    .arg(text);
            break;
        case Block::Picture: {
            // Screenshots of windows have few colours: 256 keep them and make
            // the pictures a third of the size.
            const QImage image =
                block.shot(studio).convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG", 0); // smallest file
            const QString file =
                QStringLiteral("image%1.png").arg(pictures.size() + 1, 3, 10, QChar(u'0'));
            const QString relative = pictureFolder() + u'/' + file;
            pictures.push_back({(base + relative).toStdString(), png.toStdString()});
            page += QStringLiteral(
                        "<p class=MsoPicture><span lang=EN-US><img width=%1 height=%2 src=\"%3\" "
                        "alt=\"%4\"></span><br>\n<span class=MsoCaption>图%5 %4</span></p>\n\n")
                        .arg(image.width())
                        .arg(image.height())
                        .arg(relative, text)
                        .arg(pictures.size());
            if (!shotsDir.isEmpty())
                picturekit::save(image, shotsDir + u'/' + file, "PNG");
            break;
        }
        }
    }
    page += QStringLiteral("<p class=MsoNormal align=right style='text-align:right'><span "
                           "lang=ZH-CN>%1 %2</span></p>\n\n"
                           "</div>\n\n</body>\n\n</html>\n")
                .arg(fromUtf8(maker::name), fromUtf8(maker::years));
    if (!shotsDir.isEmpty()) {
        QFile html(shotsDir + QStringLiteral("/guide.htm"));
        if (html.open(QIODevice::WriteOnly))
            html.write(page.toUtf8());
    }
    return help::packArchive(pageLocation().toStdString(), page.toStdString(), pictures);
}

} // namespace helpguide
