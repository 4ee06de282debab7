// The ticket check (兑奖): the user's tickets kept in the ticket book, each
// graded against a chosen draw of the library or every draw from it on, by
// the prize rules in force for each draw's issue. A draw whose details are
// kept beside the library is paid as it published (the fixed prizes of its
// pool, 一等奖 and 二等奖 at their amounts); without them the floating tiers
// are only named and the fixed prizes shown for both pools.
#pragma once

#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ports.h"
#include "history/history_store.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace dlt::gui {

class TicketWindow : public QWidget {
    Q_OBJECT
public:
    // folder: the data folder, where the ticket book and the draws' details
    // live beside the library; newestFirst: the library's draws.
    TicketWindow(MessageBoxPort& messages, std::filesystem::path folder,
                 std::vector<DrawRecord> newestFirst, QWidget* parent = nullptr);

    // The library changed: the draw list follows it (the newest is chosen).
    void setDraws(std::vector<DrawRecord> newestFirst);
    // Shows the chosen draw's published details as kept now, or that it has
    // none; also after the details file changed.
    void showDetails();

    // The commands of the buttons. Adding and replacing read every line of
    // 票输入框 as a ticket; one bad ticket stores none of them.
    void addTickets();
    void replaceTicket();
    void removeTicket();
    void checkTickets();

    // The book's lines as the window holds them.
    const std::vector<std::string>& bookLines() const { return lines_; }

private:
    // The entered lines as tickets in the book's spelling; empty, after the
    // message naming the bad ticket, when one does not read.
    std::vector<std::string> enteredTickets();
    // Writes the book; the window's list changes only when it was written.
    bool storeBook(std::vector<std::string> lines);
    void showBook();
    void selectionChanged();
    void refuse(std::string_view message);

    MessageBoxPort& messages_;
    std::filesystem::path folder_;
    std::vector<DrawRecord> draws_; // newest first
    std::vector<std::string> lines_;
    bool bookReadable_ = true;
    QPlainTextEdit* input_;
    QCheckBox* additional_;
    QPushButton* addButton_;
    QPushButton* replaceButton_;
    QPushButton* removeButton_;
    QListWidget* list_;
    QComboBox* drawBox_;
    QCheckBox* fromDraw_;
    QComboBox* poolBox_;
    QPushButton* checkButton_;
    QLabel* detailsText_;
    QTableWidget* detailsTable_;
    QTableWidget* results_;
    QLabel* total_;
};

} // namespace dlt::gui
