#include "history/history_commands.h"

#include "core/encoding.h"
#include "core/texts.h"

namespace dlt {

namespace {

void tell(MessageBoxPort& messages, std::string_view text, std::string_view caption,
          MessageIcon icon) {
    messages.showMessage(std::string(text), std::string(caption), icon, MessageButtons::Ok);
}

// Names the folder the library lives in: beside the program, or the
// per-user folder of an installed one.
void tellNotSaved(const HistoryStore& store, MessageBoxPort& messages) {
    const std::filesystem::path folder = store.columnPath(columnKey::issue).parent_path();
    tell(messages, fill(text::historyNotSaved, {pathText(folder)}), text::refusedCaption,
         MessageIcon::Stop);
}

} // namespace

std::optional<DrawRecord> acceptDraw(std::string_view issue, std::string_view numbers) {
    if (issue.size() != kIssueDigits || numbers.size() != kNumbersLength)
        return std::nullopt;
    return DrawRecord{std::string(issue), std::string(numbers.substr(0, 10)),
                      std::string(numbers.substr(10))};
}

AddOutcome addTypedDraw(const HistoryStore& store, MessageBoxPort& messages, std::string_view issue,
                        std::string_view numbers) {
    const std::optional<DrawRecord> draw = acceptDraw(issue, numbers);
    if (!draw) {
        tell(messages, text::entryRejected, text::refusedCaption, MessageIcon::Stop);
        return AddOutcome::Rejected;
    }
    // A draw that did not reach the files is never announced as added.
    if (!store.appendDraw(*draw)) {
        tellNotSaved(store, messages);
        return AddOutcome::NotSaved;
    }
    tell(messages, text::drawAdded, text::successCaption, MessageIcon::Information);
    return AddOutcome::Added;
}

DeleteOutcome deleteNewestDraw(const HistoryStore& store, MessageBoxPort& messages) {
    if (store.drawCount() == 0) {
        tell(messages, text::nothingToDelete, text::attentionCaption, MessageIcon::Information);
        return DeleteOutcome::NothingToDelete;
    }
    if (messages.showMessage(std::string(text::confirmDelete), std::string(text::attentionCaption),
                             MessageIcon::Question, MessageButtons::OkCancel) != MessageAnswer::Ok)
        return DeleteOutcome::Cancelled;
    if (!store.removeNewestDraw()) {
        tellNotSaved(store, messages);
        return DeleteOutcome::NotSaved;
    }
    tell(messages, text::drawDeleted, text::successCaption, MessageIcon::Information);
    return DeleteOutcome::Deleted;
}

SummaryLines historySummary(const HistoryStore& store, const YieldHook& yield) {
    const DrawRecord newest = store.newestDraw();
    return summaryLines(store.drawCount(), newest.issue, newest.front, newest.back, yield);
}

} // namespace dlt
