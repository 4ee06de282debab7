#include "app/windows/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/form/form_build.h"
#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "core/texts.h"
#include "app/form/look.h"
#include "app/startup/maker.h"
#include "history/history_commands.h"
#include "online/sites.h"

namespace dlt::gui {

namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kBlack(0x00, 0x00, 0x00);
const QColor kBrown(0xC0, 0x60, 0x00);

QFont songTiBold16() {
    return formFont(FontFace::SongTi, 16, true);
}

// The footer line's width.
constexpr int kFooterWidth = 640;

} // namespace

MainWindow::MainWindow(ProcessState& state, std::filesystem::path historyDirectory,
                       MessageBoxPort& messages, QWidget* parent)
    : QMainWindow(parent), state_(state), messages_(messages),
      historyDirectory_(std::move(historyDirectory)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
    buildForm();
    move(50, 50);

    // The window's set-up; the look is the program's, switched on by the
    // start-up before any window shows.
    setOuterWidth(kNarrowWidth);
    setWindowTitle(fromUtf8(mainTitle(state_)));
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
    orderTabStops();
    connectHistoryCommands();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::orderTabStops() {
    // Entry first, as the user types a draw, then the run and the rest.
    const MainWindowControls& c = controls_;
    QWidget* const order[] = {c.issueBox,     c.numbersBox, c.confirm, c.recommend,
                              c.deleteNewest, c.advanced,   c.list,    c.fetch};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
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
    // clang-format off
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
    // clang-format on
    controls_.popupTargets.push_back(box);
    for (const LabelSpec& design : headers) {
        FormLabel* header = addLabel(box, design);
        // The numbered column heads (精选1 .. 精选7) have no pop-up menu.
        if (!design.name.startsWith(QStringLiteral("精选")))
            controls_.popupTargets.push_back(header);
    }

    struct Row {
        const char* prefix;
        int top;
        QColor background;
    };
    const Row rows[] = {{"精选", 71, select},
                        {"等级一", 139, level},
                        {"等级二", 207, level},
                        {"等级三", 275, level}};
    constexpr int kFirstCellLeft = 83;
    constexpr int kCellStep = 48;
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        for (std::size_t c = 0; c < kGridColumnDigits.size(); ++c) {
            const std::string_view digits = kGridColumnDigits[c];
            const bool front = digits.front() == '1';
            FormLabel* cell =
                addLabel(box, {QString::fromUtf8(rows[r].prefix) +
                                   QString::fromLatin1(digits.data(), qsizetype(digits.size())),
                               {kFirstCellLeft + kCellStep * int(c), rows[r].top, 49, 69},
                               QString(),
                               font,
                               front ? kRed : kBlue,
                               Background::colour(rows[r].background),
                               kLeftTop,
                               true,
                               true});
            controls_.cells[r][c] = cell;
            // Each zone's first cell of a row opens the pop-up menu.
            if (digits.back() == '1')
                controls_.popupTargets.push_back(cell);
        }
    }
}

void MainWindow::buildEntryArea() {
    auto* box = new QGroupBox(client_);
    box->setObjectName(QStringLiteral("分组框2"));
    box->setGeometry(449, 6, 184, 362);

    controls_.popupTargets.push_back(box);
    controls_.recommend =
        addButton(box, QStringLiteral("推荐号码按钮"), {8, 21, 168, 40}, QStringLiteral("推荐号码"),
                  formFont(FontFace::KaiTi, 29, true));
    const QFont songTi14 = formFont(FontFace::SongTi, 14, true);
    const QFont gui = defaultGuiFont();
    controls_.popupTargets.push_back(addLabel(box, {"上期号码2",
                                                    {1, 84, 182, 24},
                                                    "下期精选推荐",
                                                    songTi14,
                                                    kRed,
                                                    Background::colour(QColor(0xDD, 0xDD, 0xFF)),
                                                    kCentreMiddle,
                                                    true}));
    FormLabel* picks =
        addLabel(box, {"下期精选号",
                       {1, 107, 182, 24},
                       QString(),
                       songTi14,
                       Qt::white,
                       Background::stops({QColor(0xFF, 0x71, 0x71), QColor(0xFF, 0x95, 0xCA),
                                          QColor(0x84, 0x84, 0xFF)}),
                       kCentreMiddle,
                       true});
    picks->setTextEffect(true);
    controls_.picks = picks;
    controls_.popupTargets.push_back(picks);
    controls_.popupTargets.push_back(addLabel(box, {"标签2",
                                                    {8, 151, 168, 24},
                                                    "请按顺序输入往期号增加精度：",
                                                    gui,
                                                    kRed,
                                                    Background::transparent(),
                                                    kLeftMiddle,
                                                    false}));
    controls_.popupTargets.push_back(addLabel(box, {"标签13",
                                                    {8, 177, 17, 23},
                                                    "第",
                                                    gui,
                                                    kBlack,
                                                    Background::transparent(),
                                                    kCentreMiddle,
                                                    true}));
    QLineEdit* issue = addEditBox(box, QStringLiteral("期号框"), {24, 177, 79, 23},
                                  formFont(FontFace::DefaultGui, 19, true), Qt::AlignCenter);
    makeIntegerInput(issue, int(kIssueDigits));
    controls_.issueBox = issue;
    controls_.popupTargets.push_back(addLabel(box, {"标签14",
                                                    {102, 177, 74, 23},
                                                    "期号码：",
                                                    gui,
                                                    kBlack,
                                                    Background::transparent(),
                                                    kCentreMiddle,
                                                    true}));
    QLineEdit* numbers = addEditBox(box, QStringLiteral("号码框"), {8, 199, 168, 28},
                                    formFont(FontFace::MicrosoftSansSerif, 19, true), kLeftMiddle);
    makeIntegerInput(numbers, int(kNumbersLength));
    controls_.numbersBox = numbers;
    QPushButton* confirm = addButton(box, QStringLiteral("确认输入按钮"), {7, 226, 170, 33},
                                     QStringLiteral("确 认 输 入"), formFont(FontFace::SongTi, 19));
    confirm->setEnabled(false);
    controls_.confirm = confirm;
    controls_.summaryCount = addLabel(box, {"号库显示",
                                            {8, 268, 168, 15},
                                            QString(),
                                            formFont(FontFace::SongTi, 12),
                                            kBrown,
                                            Background::transparent(),
                                            kLeftMiddle,
                                            false});
    controls_.summaryNumbers = addLabel(box, {"上期号码",
                                              {8, 288, 168, 15},
                                              QString(),
                                              songTi14,
                                              kBrown,
                                              Background::transparent(),
                                              kLeftMiddle,
                                              false});
    controls_.popupTargets.push_back(controls_.summaryCount);
    controls_.popupTargets.push_back(controls_.summaryNumbers);
    controls_.deleteNewest = addButton(box, QStringLiteral("清除上期号按钮"), {8, 317, 71, 29},
                                       QStringLiteral("清除上期号"), gui);
    controls_.advanced = addButton(box, QStringLiteral("展开高级功能按钮"), {87, 317, 89, 29},
                                   fromUtf8(text::showAdvanced), gui);
}

void MainWindow::buildAdvancedArea() {
    auto* list = new QListWidget(client_);
    list->setObjectName(QStringLiteral("列表框1"));
    list->setGeometry(642, 14, 214, 330);
    list->setFont(formFont(FontFace::DefaultGui, 12));
    // Every line has the same height: the view then lays out a long list
    // without measuring each line again after every line added.
    list->setUniformItemSizes(true);
    QPalette p = list->palette();
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    list->setPalette(p);
    controls_.list = list;
    controls_.fetch = addButton(client_, QStringLiteral("自动获取往期号按钮"), {641, 343, 216, 25},
                                QStringLiteral("自动获取并输入往期号码"), defaultGuiFont());
}

void MainWindow::buildFooter() {
    // The address shown is the one the link opens: the maker's site this
    // program was built for.
    const QString site = QString::fromStdString(builtInSites().maker);
    const QString footer = fromUtf8(maker::name) + QStringLiteral("官网：") + site +
                           QStringLiteral("   客服 ") + fromUtf8(maker::messengerServiceShort) +
                           QLatin1Char(' ') + fromUtf8(maker::messengerSalesShort) +
                           QStringLiteral("   ©") + fromUtf8(maker::years);
    FormLabel* label = addLabel(client_, {"标签3",
                                          {0, 368, kFooterWidth, 24},
                                          footer,
                                          defaultGuiFont(),
                                          kBlue,
                                          Background::transparent(),
                                          kCentreMiddle,
                                          false});
    controls_.popupTargets.push_back(label);
    TransparentLabel* siteLink = addTransparentLabel(client_, {"透明标签1",
                                                               {56, 368, 336, 24},
                                                               QString(),
                                                               defaultGuiFont(),
                                                               kBlue,
                                                               Background::transparent()});
    siteLink->setCursor(Qt::PointingHandCursor);
    siteLink->setToolTip(QString::fromStdString(makerHomeUrl(builtInSites())));
    TransparentLabel* chat = addTransparentLabel(client_, {"透明标签2",
                                                           {392, 368, 96, 24},
                                                           QString(),
                                                           defaultGuiFont(),
                                                           kBlue,
                                                           Background::transparent()});
    chat->setCursor(Qt::PointingHandCursor);
    controls_.siteLink = siteLink;
    controls_.chatLink = chat;
    placeFooterLinks(label);
}

void MainWindow::placeFooterLinks(FormLabel* footer) {
    // The links' designed places (56..392, 392..488) fit the maker's own
    // line in 宋体; here they follow the line as it is drawn: the site link
    // from "官网" to the contacts, the chat link over "客服" and the contacts.
    const QString text = footer->text();
    const int site = int(text.indexOf(QStringLiteral("官网")));
    const int chat = int(text.indexOf(QStringLiteral("客服")));
    const QString lastContact = fromUtf8(maker::messengerSalesShort);
    const int chatEnd = int(text.indexOf(lastContact, chat)) + int(lastContact.size());
    const QRect siteSpan = footer->textSpan(site, chat - site);
    const QRect chatSpan = footer->textSpan(chat, chatEnd - chat);
    const int top = controls_.siteLink->y();
    const int height = controls_.siteLink->height();
    controls_.siteLink->setGeometry(footer->x() + siteSpan.left(), top, siteSpan.width(), height);
    controls_.chatLink->setGeometry(footer->x() + chatSpan.left(), top, chatSpan.width(), height);
}

int MainWindow::outerWidth() const {
    return client_->width() + 2 * kFrameBorder;
}

void MainWindow::setOuterWidth(int width) {
    const int clientWidth = clientWidthOf(width);
    client_->setFixedSize(clientWidth, kClientHeight);
    for (QWidget* control :
         {static_cast<QWidget*>(controls_.list), static_cast<QWidget*>(controls_.fetch)})
        control->setFocusPolicy(control->geometry().right() < clientWidth ? Qt::StrongFocus
                                                                          : Qt::NoFocus);
    fitToClientArea();
}

void MainWindow::fitToClientArea() {
    // The window's layout keeps the window at the client area plus a menu
    // bar when there is one, and not resizable by the user.
    layout()->activate();
    adjustSize();
}

HistoryStore MainWindow::historyStore() const {
    return HistoryStore(historyDirectory_, state_.installationKey, state_.historyFileExtension);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activatedOnce_) {
        activatedOnce_ = true;
        controls_.issueBox->setFocus(Qt::ActiveWindowFocusReason);
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
    // The first yield of the work shows what it has just written.
    window_.sinceEventsProcessed_.invalidate();
    const MainWindowControls& c = window_.controls_;
    for (QWidget* control : {c.recommend, c.confirm, c.deleteNewest, c.advanced, c.fetch}) {
        saved_.emplace_back(control, control->isEnabled());
        control->setEnabled(false);
    }
}

BusyCommands::~BusyCommands() {
    if (--window_.busyDepth_ > 0)
        return;
    for (auto& [control, enabled] : saved_)
        if (control)
            control->setEnabled(enabled);
    // The boxes may have been typed into meanwhile.
    window_.updateConfirmButton();
}

void MainWindow::yieldToEvents() {
    constexpr qint64 kInterval = 1'000'000; // nanoseconds
    if (sinceEventsProcessed_.isValid() && sinceEventsProcessed_.nsecsElapsed() < kInterval)
        return;
    QCoreApplication::processEvents();
    sinceEventsProcessed_.start();
}

} // namespace dlt::gui
