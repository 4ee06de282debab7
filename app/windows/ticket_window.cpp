#include "app/windows/ticket_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>
#include <optional>

#include "app/form/form_widgets.h"
#include "app/ports/text.h"
#include "app/form/look.h"
#include "app/form/money_text.h"
#include "app/windows/engine_texts.h"
#include "core/texts.h"
#include "engine/prizes.h"
#include "engine/tickets.h"
#include "history/draw_details_store.h"
#include "history/draw_text.h"
#include "history/ticket_book.h"

namespace dlt::gui {

namespace {

// The pool choices of 奖池框, in its order.
enum PoolChoice { kBothPools, kPoolBelow, kPoolAtOrAbove };

// The result table's columns.
enum Column { kIssue, kTicket, kHits, kBets, kTier, kPrize, kSubtotal, kCost, kColumns };

// At most this many rows are listed; more draws than that are summed only.
constexpr int kMostRows = 20000;

// Issues, digits and kFirstKnownIssue are ASCII.
QString ascii(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString yuan(std::int64_t amount) {
    return QString::number(amount);
}

std::string_view kindName(TicketKind kind) {
    switch (kind) {
    case TicketKind::Single:
        return text::ticketWordSingle;
    case TicketKind::Multiple:
        return text::ticketWordMultiple;
    case TicketKind::Banker:
        return text::ticketWordBankerTicket;
    }
    return {};
}

// An amount under the rules: one figure, or both pool columns when the
// rules have two and the user has not chosen.
QString amountText(PrizeRules rules, int choice, const std::array<std::int64_t, 2>& yuanByPool) {
    if (!poolMatters(rules))
        return yuan(yuanByPool[0]);
    if (choice == kBothPools)
        return yuan(yuanByPool[0]) + QStringLiteral(" / ") + yuan(yuanByPool[1]);
    return yuan(yuanByPool[choice == kPoolBelow ? 0 : 1]);
}

// A published amount, or that it was not published.
std::string publishedYuan(const std::optional<Fen>& fen) {
    return fen ? fill(text::yuanAmount, {toUtf8(yuanText(*fen))}) : std::string(text::notPublished);
}

QString floatingText(bool additional) {
    return additional ? QStringLiteral("浮动（追加）") : QStringLiteral("浮动");
}

QTableWidgetItem* item(const QString& text) {
    auto* cell = new QTableWidgetItem(text);
    cell->setTextAlignment(Qt::AlignCenter);
    return cell;
}

} // namespace

TicketWindow::TicketWindow(MessageBoxPort& messages, std::filesystem::path folder,
                           std::vector<DrawRecord> newestFirst, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages), folder_(std::move(folder)),
      input_(new QPlainTextEdit(this)),
      additional_(new QCheckBox(fromUtf8(text::ticketWordAdditional), this)),
      addButton_(new QPushButton(QStringLiteral("添加"), this)),
      replaceButton_(new QPushButton(QStringLiteral("修改"), this)),
      removeButton_(new QPushButton(QStringLiteral("删除"), this)), list_(new QListWidget(this)),
      drawBox_(new QComboBox(this)),
      fromDraw_(new QCheckBox(QStringLiteral("从这一期起的每一期"), this)),
      poolBox_(new QComboBox(this)),
      checkButton_(new QPushButton(fromUtf8(text::ticketWindowName), this)),
      detailsText_(new QLabel(this)), detailsTable_(new QTableWidget(0, 3, this)),
      results_(new QTableWidget(0, kColumns, this)), total_(new QLabel(this)) {
    setObjectName(fromUtf8(text::ticketWindowName));
    setWindowTitle(fromUtf8(text::ticketWindowName));
    setFont(defaultGuiFont());
    closeOnEscape(this);

    input_->setObjectName(QStringLiteral("票输入框"));
    input_->setPlaceholderText(QStringLiteral(
        "每行一张票，例如：03 06 26 30 33 + 11 12；复式 01 02 03 04 05 06 + 01 02 03；"
        "胆拖 01 02 # 03 04 05 06 + 01 # 02 03"));
    input_->setFixedHeight(64);
    additional_->setObjectName(QStringLiteral("追加框"));
    addButton_->setObjectName(QStringLiteral("添加按钮"));
    replaceButton_->setObjectName(QStringLiteral("修改按钮"));
    removeButton_->setObjectName(QStringLiteral("删除按钮"));
    list_->setObjectName(QStringLiteral("票列表"));
    drawBox_->setObjectName(QStringLiteral("开奖期号框"));
    fromDraw_->setObjectName(QStringLiteral("逐期框"));
    poolBox_->setObjectName(QStringLiteral("奖池框"));
    poolBox_->addItems({QStringLiteral("两种奖池都显示"), fromUtf8(text::poolBelow),
                        fromUtf8(text::poolAtOrAbove)});
    poolBox_->setToolTip(QStringLiteral("自26014期起，固定奖金随开奖前的奖池是否达到8亿而不同"));
    checkButton_->setObjectName(QStringLiteral("兑奖按钮"));
    detailsText_->setObjectName(QStringLiteral("开奖详情"));
    detailsText_->setWordWrap(true);
    detailsTable_->setObjectName(QStringLiteral("开奖详情表"));
    detailsTable_->setHorizontalHeaderLabels(
        {QStringLiteral("奖级"), QStringLiteral("中奖注数"), QStringLiteral("单注奖金（元）")});
    detailsTable_->verticalHeader()->hide();
    detailsTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    detailsTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    results_->setObjectName(QStringLiteral("兑奖结果表"));
    results_->setHorizontalHeaderLabels({fromUtf8(text::issueHead), QStringLiteral("票"),
                                         fromUtf8(text::hitsHead), QStringLiteral("注数"),
                                         QStringLiteral("奖级"), QStringLiteral("单注奖金（元）"),
                                         QStringLiteral("奖金（元）"), fromUtf8(text::costHead)});
    results_->verticalHeader()->hide();
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    results_->horizontalHeader()->setStretchLastSection(true);
    total_->setObjectName(QStringLiteral("兑奖合计"));
    total_->setWordWrap(true);

    auto* entryButtons = new QHBoxLayout;
    entryButtons->addWidget(additional_);
    entryButtons->addStretch(1);
    entryButtons->addWidget(addButton_);
    entryButtons->addWidget(replaceButton_);
    entryButtons->addWidget(removeButton_);
    auto* ticketsBox = new QGroupBox(QStringLiteral("票据："), this);
    auto* ticketsLayout = new QVBoxLayout(ticketsBox);
    ticketsLayout->addWidget(input_);
    ticketsLayout->addLayout(entryButtons);
    ticketsLayout->addWidget(list_);

    auto* checkRow = new QHBoxLayout;
    checkRow->addWidget(new QLabel(QStringLiteral("开奖号码："), this));
    checkRow->addWidget(drawBox_, 1);
    checkRow->addWidget(fromDraw_);
    checkRow->addWidget(poolBox_);
    checkRow->addWidget(checkButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ticketsBox, 2);
    layout->addLayout(checkRow);
    layout->addWidget(detailsText_);
    layout->addWidget(detailsTable_, 1);
    layout->addWidget(results_, 3);
    layout->addWidget(total_);
    resize(820, 720);

    connect(addButton_, &QPushButton::clicked, this, &TicketWindow::addTickets);
    connect(replaceButton_, &QPushButton::clicked, this, &TicketWindow::replaceTicket);
    connect(removeButton_, &QPushButton::clicked, this, &TicketWindow::removeTicket);
    connect(checkButton_, &QPushButton::clicked, this, &TicketWindow::checkTickets);
    connect(list_, &QListWidget::currentRowChanged, this, &TicketWindow::selectionChanged);
    connect(drawBox_, &QComboBox::currentIndexChanged, this, &TicketWindow::showDetails);

    const TicketBook book = readTicketBook(folder_);
    bookReadable_ = book.readable;
    lines_ = book.lines;
    if (!bookReadable_) {
        // The book is there but could not be read: writing now would replace it.
        for (QPushButton* button : {addButton_, replaceButton_, removeButton_})
            button->setEnabled(false);
        total_->setText(fromUtf8(text::ticketBookUnreadable));
    }
    showBook();
    setDraws(std::move(newestFirst));
}

void TicketWindow::setDraws(std::vector<DrawRecord> newestFirst) {
    draws_ = std::move(newestFirst);
    // The details are shown once, for the draw chosen at the end.
    const QSignalBlocker quiet(drawBox_);
    drawBox_->clear();
    for (const DrawRecord& draw : draws_)
        drawBox_->addItem(ascii(draw.issue) + QStringLiteral("期  ") +
                          ascii(formatNumberGroups(draw.front)) + QStringLiteral(" + ") +
                          ascii(formatNumberGroups(draw.back)));
    drawBox_->setCurrentIndex(draws_.empty() ? -1 : 0);
    checkButton_->setEnabled(!draws_.empty());
    showDetails();
}

void TicketWindow::showDetails() {
    // The tier table is there only for a draw with details.
    detailsTable_->setRowCount(0);
    detailsTable_->hide();
    const int chosen = drawBox_->currentIndex();
    if (chosen < 0 || chosen >= static_cast<int>(draws_.size())) {
        detailsText_->clear();
        return;
    }
    const std::string& issue = draws_[static_cast<std::size_t>(chosen)].issue;
    const std::map<std::string, DrawDetails> kept = DrawDetailsStore(folder_).load();
    const auto found = kept.find(issue);
    if (found == kept.end()) {
        detailsText_->setText(fromUtf8(
            fill(text::drawWithoutDetails, {issue, text::poolBelow, text::poolAtOrAbove})));
        return;
    }
    const DrawDetails& details = found->second;
    std::string shown =
        fill(text::drawDetailsLine,
             {issue, details.date.empty() ? std::string(text::notPublished) : details.date,
              publishedYuan(details.poolBefore), publishedYuan(details.poolAfter),
              publishedYuan(details.sales)});
    shown += paidPrizes(prizeRulesFor(issue), details) ? text::paidAsPublished
                                                       : text::detailsWithoutPool;
    detailsText_->setText(fromUtf8(shown));
    detailsTable_->setRowCount(static_cast<int>(details.tiers.size()));
    detailsTable_->setVisible(!details.tiers.empty());
    for (int r = 0; r < static_cast<int>(details.tiers.size()); ++r) {
        const TierPayout& tier = details.tiers[static_cast<std::size_t>(r)];
        QString name = fromUtf8(tierName(tier.tier));
        if (tier.addOn)
            name += QStringLiteral("（追加）");
        detailsTable_->setItem(r, 0, item(name));
        detailsTable_->setItem(r, 1, item(QString::number(tier.winners)));
        detailsTable_->setItem(
            r, 2, item(tier.prizePerBet ? yuanText(*tier.prizePerBet) : QStringLiteral("—")));
    }
}

void TicketWindow::refuse(std::string_view message) {
    messages_.showMessage(std::string(message), std::string(text::refusedCaption),
                          MessageIcon::Stop, MessageButtons::Ok);
}

std::vector<std::string> TicketWindow::enteredTickets() {
    const QStringList entered = input_->toPlainText().split(u'\n');
    std::vector<std::string> tickets;
    int number = 0;
    for (const QString& line : entered) {
        if (line.trimmed().isEmpty())
            continue;
        ++number;
        const std::string typed = toUtf8(line.trimmed());
        TicketRead read = readTicket(typed);
        if (!read.ok()) {
            refuse(fill(text::ticketRefused, {number, typed, ticketProblemText(read)}) + "\n" +
                   std::string(text::ticketsNotStored));
            return {};
        }
        read.ticket.additional = read.ticket.additional || additional_->isChecked();
        tickets.push_back(ticketText(read.ticket));
    }
    if (tickets.empty())
        refuse(fill(text::ticketRefused, {1, "", text::ticketEmpty}));
    return tickets;
}

bool TicketWindow::storeBook(std::vector<std::string> lines) {
    if (!writeTicketBook(folder_, lines)) {
        refuse(text::ticketBookNotSaved);
        return false;
    }
    lines_ = std::move(lines);
    showBook();
    return true;
}

void TicketWindow::addTickets() {
    const std::vector<std::string> tickets = enteredTickets();
    if (tickets.empty())
        return;
    std::vector<std::string> lines = lines_;
    lines.insert(lines.end(), tickets.begin(), tickets.end());
    if (storeBook(std::move(lines))) {
        input_->clear();
        additional_->setChecked(false);
        list_->setCurrentRow(-1);
    }
}

void TicketWindow::replaceTicket() {
    const int row = list_->currentRow();
    if (row < 0)
        return;
    const std::vector<std::string> tickets = enteredTickets();
    if (tickets.empty())
        return;
    std::vector<std::string> lines = lines_;
    lines.erase(lines.begin() + row);
    lines.insert(lines.begin() + row, tickets.begin(), tickets.end());
    if (storeBook(std::move(lines)))
        list_->setCurrentRow(row);
}

void TicketWindow::removeTicket() {
    const int row = list_->currentRow();
    if (row < 0)
        return;
    if (messages_.showMessage(std::string(text::confirmDelete), std::string(text::attentionCaption),
                              MessageIcon::Question, MessageButtons::OkCancel) != MessageAnswer::Ok)
        return;
    std::vector<std::string> lines = lines_;
    lines.erase(lines.begin() + row);
    storeBook(std::move(lines));
}

void TicketWindow::showBook() {
    const QSignalBlocker quiet(list_);
    list_->clear();
    int number = 0;
    for (const std::string& line : lines_) {
        ++number;
        const TicketRead read = readTicket(line);
        if (read.ok())
            list_->addItem(fromUtf8(fill(text::ticketListLine,
                                         {number, kindName(read.ticket.kind()), read.ticket.bets(),
                                          read.ticket.costYuan(), ticketText(read.ticket)})));
        else
            // A line edited by hand that is no ticket is kept as it is.
            list_->addItem(fromUtf8(
                fill(text::ticketListUnreadable, {number, ticketProblemText(read), line})));
    }
    selectionChanged();
}

void TicketWindow::selectionChanged() {
    const int row = list_->currentRow();
    const bool chosen = row >= 0 && row < static_cast<int>(lines_.size());
    replaceButton_->setEnabled(bookReadable_ && chosen);
    removeButton_->setEnabled(bookReadable_ && chosen);
    if (!chosen)
        return;
    // The chosen ticket goes to the entry box to be edited; 追加 to its box.
    TicketRead read = readTicket(lines_[static_cast<std::size_t>(row)]);
    if (read.ok()) {
        additional_->setChecked(read.ticket.additional);
        read.ticket.additional = false;
        input_->setPlainText(fromUtf8(ticketText(read.ticket)));
    } else {
        additional_->setChecked(false);
        input_->setPlainText(fromUtf8(lines_[static_cast<std::size_t>(row)]));
    }
}

void TicketWindow::checkTickets() {
    const int chosen = drawBox_->currentIndex();
    if (chosen < 0 || chosen >= static_cast<int>(draws_.size()))
        return;
    const bool everyDraw = fromDraw_->isChecked();
    const int pool = poolBox_->currentIndex();

    struct Graded {
        int number;
        Ticket ticket;
    };
    std::vector<Graded> tickets;
    int unreadable = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const TicketRead read = readTicket(lines_[i]);
        if (read.ok())
            tickets.push_back({static_cast<int>(i) + 1, read.ticket});
        else
            ++unreadable;
    }

    results_->setUpdatesEnabled(false);
    results_->clearSpans();
    results_->setRowCount(0);
    std::vector<QList<QTableWidgetItem*>> rows;
    auto addRow = [&](const QStringList& texts) {
        if (static_cast<int>(rows.size()) >= kMostRows)
            return;
        QList<QTableWidgetItem*> cells;
        for (const QString& t : texts)
            cells.append(item(t));
        rows.push_back(cells);
    };

    const std::map<std::string, DrawDetails> details = DrawDetailsStore(folder_).load();
    int checkedDraws = 0;
    int detailedDraws = 0;
    int unknownDraws = 0;
    bool poolMattered = false;
    std::int64_t cost = 0;
    std::int64_t floating = 0;
    Fen paidFen = 0;
    std::array<std::int64_t, 2> fixed{};
    std::vector<int> unknownRows;
    // From the chosen draw to the newest, oldest first; or the chosen one.
    for (int d = chosen; d >= (everyDraw ? 0 : chosen); --d) {
        const DrawRecord& draw = draws_[static_cast<std::size_t>(d)];
        const QString issue = ascii(draw.issue);
        const PrizeRules rules = prizeRulesFor(draw.issue);
        if (rules == PrizeRules::Unknown) {
            ++unknownDraws;
            unknownRows.push_back(static_cast<int>(rows.size()));
            addRow({issue, fromUtf8(fill(text::drawNotChecked, {kFirstKnownIssue}))});
            continue;
        }
        ++checkedDraws;
        // A draw with its published details is paid as it was.
        const auto found = details.find(draw.issue);
        const std::optional<PaidPrizes> paid =
            found == details.end() ? std::nullopt : paidPrizes(rules, found->second);
        if (paid)
            ++detailedDraws;
        else
            poolMattered = poolMattered || poolMatters(rules);
        for (const Graded& g : tickets) {
            const HitTable bets = gradeTicket(g.ticket, draw.front, draw.back);
            const QString name = fromUtf8(fill(text::ticketName, {g.number}));
            std::int64_t missed = 0;
            for (int f = 5; f >= 0; --f) {
                for (int b = 2; b >= 0; --b) {
                    const std::int64_t n =
                        bets[static_cast<std::size_t>(f)][static_cast<std::size_t>(b)];
                    const Tier tier = tierFor(rules, f, b);
                    if (n == 0)
                        continue;
                    // Over many draws only the winning bets get rows of their own.
                    if (everyDraw && !tier.wins()) {
                        missed += n;
                        continue;
                    }
                    QString each;
                    QString subtotal;
                    const std::optional<Fen> prize =
                        paid ? paidPrize(*paid, tier, g.ticket.additional) : std::nullopt;
                    if (tier.wins() && prize) {
                        each = yuanText(*prize);
                        subtotal = yuanText(n * *prize);
                    } else if (tier.floating) {
                        each = floatingText(g.ticket.additional);
                        subtotal = each;
                    } else if (tier.wins()) {
                        each = amountText(rules, pool, tier.yuan);
                        subtotal = amountText(rules, pool, {n * tier.yuan[0], n * tier.yuan[1]});
                    }
                    addRow({issue, name, QStringLiteral("%1+%2").arg(f).arg(b), QString::number(n),
                            tier.wins() ? fromUtf8(tierName(tier.number)) : fromUtf8(text::noPrize),
                            each, subtotal, QString()});
                }
            }
            if (missed > 0)
                addRow({issue, name, QStringLiteral("其他"), QString::number(missed),
                        fromUtf8(text::noPrize), QString(), QString(), QString()});
            QString won;
            std::int64_t floatingBets = 0;
            if (paid) {
                const PaidSum sum = sumPaid(rules, bets, g.ticket.additional, *paid);
                won = yuanText(sum.fen);
                floatingBets = sum.unpaidFloatingBets;
                paidFen += sum.fen;
            } else {
                const PrizeSum sum = sumPrizes(rules, bets);
                won = amountText(rules, pool, sum.fixedYuan);
                floatingBets = sum.floatingBets();
                fixed[0] += sum.fixedYuan[0];
                fixed[1] += sum.fixedYuan[1];
            }
            if (floatingBets > 0)
                won += QStringLiteral(" + 浮动奖%1注").arg(floatingBets);
            addRow({issue, name, QStringLiteral("本票合计"), QString::number(g.ticket.bets()),
                    QString(), QString(), won, yuan(g.ticket.costYuan())});
            cost += g.ticket.costYuan();
            floating += floatingBets;
        }
    }
    results_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[static_cast<std::size_t>(r)].size()); ++c)
            results_->setItem(r, c, rows[static_cast<std::size_t>(r)][c]);
    for (const int r : unknownRows)
        if (r < results_->rowCount())
            results_->setSpan(r, kTicket, 1, kColumns - kTicket);
    results_->setUpdatesEnabled(true);

    const std::string prizes =
        poolMattered && pool == kBothPools
            ? fill(text::yuanByPool, {fixed[0], text::poolBelow, fixed[1], text::poolAtOrAbove})
            : fill(text::yuanAmount, {fixed[poolMattered && pool == kPoolAtOrAbove ? 1 : 0]});
    const int undetailedDraws = checkedDraws - detailedDraws;
    const std::string paidYuan = toUtf8(yuanText(paidFen));
    std::string total =
        detailedDraws == 0 ? fill(text::ticketTotal, {checkedDraws, tickets.size(), cost, prizes})
        : undetailedDraws == 0
            ? fill(text::ticketTotalPaid, {checkedDraws, tickets.size(), cost, paidYuan})
            : fill(text::ticketTotalSomePaid, {checkedDraws, tickets.size(), cost, detailedDraws,
                                               paidYuan, undetailedDraws, prizes});
    if (floating > 0)
        total += fill(text::ticketFloating, {floating});
    if (undetailedDraws > 0)
        total += everyDraw ? fill(text::ticketDrawsWithoutDetails, {undetailedDraws})
                           : std::string(text::ticketNoDetails);
    if (unknownDraws > 0)
        total += fill(text::ticketUnknownRules, {unknownDraws, kFirstKnownIssue});
    if (unreadable > 0)
        total += fill(text::ticketUnreadableLines, {unreadable});
    if (static_cast<int>(rows.size()) >= kMostRows)
        total += fill(text::ticketRowsCut, {kMostRows});
    total_->setText(fromUtf8(total));
}

} // namespace dlt::gui
