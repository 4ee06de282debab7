#include "app/gui/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/gui/form_build.h"
#include "app/gui/form_widgets.h"
#include "app/gui/gbk.h"
#include "app/gui/library_tools_menu.h"
#include "app/gui/look.h"
#include "app/gui/maker.h"

namespace dlt::gui {

namespace {

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kBlack(0x00, 0x00, 0x00);
const QColor kBrown(0xC0, 0x60, 0x00);

QFont songTiBold16() { return formFont(FontFace::SongTi, 16, true); }

} // namespace

MainWindow::MainWindow(ProcessState& state, std::filesystem::path historyDirectory, QWidget* parent)
    : QMainWindow(parent), state_(state), historyDirectory_(std::move(historyDirectory)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
    buildForm();
    addLibraryToolsMenu(*this);
    move(50, 50);
    // Design title; set again below as the window's set-up does.
    setWindowTitle(fromGbk(mainTitle(state_)));

    // The window's set-up.
    setClientWidth(kNarrowWidth);
    applyXpLook(kXpSchemeBlue);
    setWindowTitle(fromGbk(mainTitle(state_)));
    state_.historyFileExtension = std::string(kHistoryFileExtension);
    refreshHistorySummary();
}

void MainWindow::buildForm() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client_);
    setFont(defaultGuiFont());
    buildResultsArea();
    buildEntryArea();
    buildAdvancedArea();
    buildFooter();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::buildResultsArea() {
    auto* box = new QGroupBox(QStringLiteral("选号结果："), client_);
    box->setObjectName(QStringLiteral("分组框1"));
    box->setGeometry(8, 8, 440, 360);
    QPalette caption = box->palette();
    caption.setColor(QPalette::WindowText, QColor(0x00, 0x88, 0xFF));
    box->setPalette(caption);

    const QFont font = songTiBold16();
    const QColor select(0xD0, 0xFF, 0xD0);
    const QColor level(0xEC, 0xFF, 0xFF);
    const LabelSpec headers[] = {
        {"标签10", {20, 20, 64, 52}, "优先级", font, kBlack, Background::colour(QColor(0xE6, 0xFF, 0xFF)), kCentreMiddle, true},
        {"标签7", {83, 20, 241, 33}, "前区推荐", font, kRed,
         Background::stops({QColor(0xE1, 0xFF, 0xFF), QColor(0xFF, 0xBF, 0xD1), QColor(0xD0, 0xD0, 0xFF)}), kCentreMiddle, true},
        {"标签8", {323, 20, 97, 33}, "后区推荐", font, kBlue,
         Background::stops({QColor(0xCC, 0xCC, 0xFF), QColor(0xB0, 0xDA, 0xFF), QColor(0xDD, 0xFF, 0xFF)}), kCentreMiddle, true},
        {"精选1", {83, 52, 49, 20}, "①", font, kRed, Background::colour(select), kCentreMiddle, true},
        {"精选2", {131, 52, 49, 20}, "②", font, kRed, Background::colour(select), kCentreMiddle, true},
        {"精选3", {179, 52, 49, 20}, "③", font, kRed, Background::colour(select), kCentreMiddle, true},
        {"精选4", {227, 52, 49, 20}, "④", font, kRed, Background::colour(select), kCentreMiddle, true},
        {"精选5", {275, 52, 49, 20}, "⑤", font, kRed, Background::colour(select), kCentreMiddle, true},
        {"精选6", {323, 52, 49, 20}, "①", font, kBlue, Background::colour(select), kCentreMiddle, true},
        {"精选7", {371, 52, 49, 20}, "②", font, kBlue, Background::colour(select), kCentreMiddle, true},
        {"标签6", {20, 71, 64, 69}, "精选级", font, kRed, Background::colour(select), kCentreMiddle, true},
        {"标签1", {20, 139, 64, 69}, "等级一", font, kBlack, Background::colour(level), kCentreMiddle, true},
        {"标签4", {20, 207, 64, 69}, "等级二", font, kBlack, Background::colour(level), kCentreMiddle, true},
        {"标签5", {20, 275, 64, 69}, "等级三", font, kBlack, Background::colour(level), kCentreMiddle, true},
    };
    for (const LabelSpec& design : headers)
        addLabel(box, design);

    struct Row { const char* prefix; int top; QColor background; };
    const Row rows[] = {{"精选", 71, select}, {"等级一", 139, level}, {"等级二", 207, level}, {"等级三", 275, level}};
    struct Column { const char* digits; int left; QColor text; };
    const Column columns[] = {{"11", 83, kRed},  {"12", 131, kRed}, {"13", 179, kRed}, {"14", 227, kRed},
                              {"15", 275, kRed}, {"21", 323, kBlue}, {"22", 371, kBlue}};
    for (const Row& row : rows)
        for (const Column& column : columns)
            addLabel(box, {QString::fromUtf8(row.prefix) + QString::fromUtf8(column.digits),
                           {column.left, row.top, 49, 69}, QString(), font, column.text,
                           Background::colour(row.background), kLeftTop, true, true});
}

void MainWindow::buildEntryArea() {
    auto* box = new QGroupBox(client_);
    box->setObjectName(QStringLiteral("分组框2"));
    box->setGeometry(449, 6, 184, 362);

    addButton(box, QStringLiteral("推荐号码按钮"), {8, 21, 168, 40}, QStringLiteral("推荐号码"),
              formFont(FontFace::KaiTi, 29, true));
    const QFont songTi14 = formFont(FontFace::SongTi, 14, true);
    const QFont gui = defaultGuiFont();
    addLabel(box, {"上期号码2", {1, 84, 182, 24}, "下期精选推荐", songTi14, kRed,
                   Background::colour(QColor(0xDD, 0xDD, 0xFF)), kCentreMiddle, true});
    FormLabel* picks = addLabel(box, {"下期精选号", {1, 107, 182, 24}, QString(), songTi14, Qt::white,
                   Background::stops({QColor(0xFF, 0x71, 0x71), QColor(0xFF, 0x95, 0xCA), QColor(0x84, 0x84, 0xFF)}),
                   kCentreMiddle, true});
    picks->setTextEffect(true);
    addLabel(box, {"标签2", {8, 151, 168, 24}, "请按顺序输入往期号增加精度：", gui, kRed,
                   Background::transparent(), kLeftMiddle, false});
    addLabel(box, {"标签13", {8, 177, 17, 23}, "第", gui, kBlack, Background::transparent(), kCentreMiddle, true});
    QLineEdit* issue = addEditBox(box, QStringLiteral("期号框"), {24, 177, 79, 23},
                                  formFont(FontFace::DefaultGui, 19, true), Qt::AlignCenter);
    makeIntegerInput(issue, 5);
    addLabel(box, {"标签14", {102, 177, 74, 23}, "期号码：", gui, kBlack, Background::transparent(), kCentreMiddle, true});
    QLineEdit* numbers = addEditBox(box, QStringLiteral("号码框"), {8, 199, 168, 28},
                                    formFont(FontFace::MicrosoftSansSerif, 19, true), kLeftMiddle);
    makeIntegerInput(numbers, 14);
    QPushButton* confirm = addButton(box, QStringLiteral("确认输入按钮"), {7, 226, 170, 33},
                                     QStringLiteral("确 认 输 入"), formFont(FontFace::SongTi, 19));
    confirm->setEnabled(false);
    addLabel(box, {"号库显示", {8, 268, 168, 15}, QString(), formFont(FontFace::SongTi, 12), kBrown,
                   Background::transparent(), kLeftMiddle, false});
    addLabel(box, {"上期号码", {8, 288, 168, 15}, QString(), songTi14, kBrown, Background::transparent(),
                   kLeftMiddle, false});
    addButton(box, QStringLiteral("清除上期号按钮"), {8, 317, 71, 29}, QStringLiteral("清除上期号"), gui);
    addButton(box, QStringLiteral("展开高级功能按钮"), {87, 317, 89, 29}, QStringLiteral("展开高级功能"), gui);
}

void MainWindow::buildAdvancedArea() {
    auto* list = new QListWidget(client_);
    list->setObjectName(QStringLiteral("列表框1"));
    list->setGeometry(642, 14, 214, 330);
    list->setFont(formFont(FontFace::DefaultGui, 12));
    QPalette p = list->palette();
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    list->setPalette(p);
    advanced_[0] = list;
    advanced_[1] = addButton(client_, QStringLiteral("自动获取往期号按钮"), {641, 343, 216, 25},
                             QStringLiteral("自动获取并输入往期号码"), defaultGuiFont());
}

void MainWindow::buildFooter() {
    // Laid out so that the web address lies under 透明标签1 (56..392) and the
    // messenger contacts under 透明标签2 (392..488).
    const QString footer = QStringLiteral("%1官网：%2   客服 %3 %4   ©%5")
                               .arg(utf8(maker::name), utf8(maker::siteAddress), utf8(maker::messengerServiceShort),
                                    utf8(maker::messengerSalesShort), utf8(maker::years));
    addLabel(client_, {"标签3", {0, 368, 640, 24}, footer, defaultGuiFont(), kBlue, Background::transparent(),
                       kCentreMiddle, false});
    TransparentLabel* site = addTransparentLabel(client_, {"透明标签1", {56, 368, 336, 24}, QString(),
                                                           defaultGuiFont(), kBlue, Background::transparent()});
    site->setCursor(Qt::PointingHandCursor);
    TransparentLabel* chat = addTransparentLabel(client_, {"透明标签2", {392, 368, 96, 24}, QString(),
                                                           defaultGuiFont(), kBlue, Background::transparent()});
    chat->setCursor(Qt::PointingHandCursor);
}

int MainWindow::clientWidth() const {
    return client_->width();
}

void MainWindow::setClientWidth(int width) {
    client_->setFixedSize(width, kClientHeight);
    for (QWidget* control : advanced_)
        control->setVisible(control->geometry().right() < width);
    fitToClientArea();
}

void MainWindow::fitToClientArea() {
    // The window's layout keeps the window at the client area plus a menu
    // bar when there is one, and not resizable by the user.
    layout()->activate();
    adjustSize();
}

void MainWindow::refreshHistorySummary() {
    // Intentionally empty until the history summary lands.
}

HistoryStore MainWindow::historyStore() const {
    return HistoryStore(historyDirectory_, state_.installationKey, state_.historyFileExtension);
}

FormLabel* MainWindow::resultCell(const QString& rowPrefix, const QString& digits) const {
    return client_->findChild<FormLabel*>(rowPrefix + digits);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activatedOnce_) {
        activatedOnce_ = true;
        if (auto* issue = client_->findChild<QLineEdit*>(QStringLiteral("期号框")))
            issue->setFocus(Qt::ActiveWindowFocusReason);
    }
    return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

BusyCommands::BusyCommands(MainWindow& window) : window_(window) {
    if (window_.busyDepth_++ > 0)
        return;
    static const char* const commands[] = {"推荐号码按钮", "确认输入按钮", "清除上期号按钮",
                                           "展开高级功能按钮", "自动获取往期号按钮"};
    for (const char* name : commands) {
        if (auto* control = window_.clientArea()->findChild<QWidget*>(QString::fromUtf8(name))) {
            saved_.emplace_back(control, control->isEnabled());
            control->setEnabled(false);
        }
    }
}

BusyCommands::~BusyCommands() {
    --window_.busyDepth_;
    for (auto& [control, enabled] : saved_)
        if (control)
            control->setEnabled(enabled);
}

} // namespace dlt::gui
