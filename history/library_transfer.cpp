#include "history/library_transfer.h"

#include <algorithm>

#include "core/encoding.h"
#include "core/texts.h"
#include "history/draw_text.h"
#include "storage/file_io.h"
#include "history/library_text.h"

namespace dlt {

namespace {

// A history file from another program may be verbose (JSON with many
// fields); even so a century of draws stays far below this.
constexpr std::uintmax_t kLargestImport = 64u << 20;
// Lines of a list shown in a message; the rest are counted.
constexpr std::size_t kShownItems = 10;
constexpr std::size_t kShownFindings = 20;
// Bytes of a file line shown in a message.
constexpr std::size_t kShownLineBytes = 60;

std::string count(std::size_t n) {
    return std::to_string(n);
}

void show(MessageBoxPort& messages, std::string_view text, std::string_view caption,
          MessageIcon icon) {
    messages.showMessage(std::string(text), std::string(caption), icon, MessageButtons::Ok);
}

// At most kShownLineBytes of a GBK text, not cutting a double-byte character.
std::string shortened(std::string text) {
    if (text.size() <= kShownLineBytes)
        return text;
    std::size_t at = 0;
    while (at < kShownLineBytes) {
        const std::size_t length = static_cast<unsigned char>(text[at]) >= 0x81 ? 2 : 1;
        if (at + length > kShownLineBytes)
            break;
        at += length;
    }
    text.resize(at);
    return text + "...";
}

std::string_view encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf16:
        return "UTF-16";
    case TextEncoding::Gbk:
        return "GBK";
    }
    return {};
}

std::string_view layoutName(FileLayout layout) {
    switch (layout) {
    case FileLayout::Export:
        return text::layoutExport;
    case FileLayout::List:
        return text::layoutList;
    case FileLayout::Commas:
        return text::layoutCommas;
    case FileLayout::Semicolons:
        return text::layoutSemicolons;
    case FileLayout::Tabs:
        return text::layoutTabs;
    case FileLayout::Spaces:
        return text::layoutSpaces;
    case FileLayout::Json:
        return "JSON";
    case FileLayout::None:
        break;
    }
    return {};
}

std::string_view orderName(FileOrder order) {
    switch (order) {
    case FileOrder::NewestFirst:
        return text::orderNewestFirst;
    case FileOrder::OldestFirst:
        return text::orderOldestFirst;
    case FileOrder::Mixed:
        return text::orderMixed;
    case FileOrder::None:
        break;
    }
    return {};
}

std::string_view skipReasonText(SkipReason reason) {
    switch (reason) {
    case SkipReason::NotADraw:
        return text::skipNotADraw;
    case SkipReason::Front:
        return text::skipFront;
    case SkipReason::Back:
        return text::skipBack;
    case SkipReason::Conflict:
        return text::skipConflict;
    case SkipReason::Repeated:
        return text::skipRepeated;
    }
    return {};
}

std::string issueText(std::string_view issue) {
    return std::string(text::issuePrefix) + std::string(issue);
}

std::string numbersText(const DrawRecord& draw) {
    return formatNumberGroups(draw.front) + "  " + formatNumberGroups(draw.back);
}

// "跳过的行：N行。" and the first of them with their reasons.
std::string skippedLines(const DrawFileRead& read) {
    if (read.skipped.empty())
        return {};
    std::string lines = std::string(text::summarySkipped) + count(read.skipped.size()) +
                        std::string(text::summaryLines) + "\n";
    const std::size_t shown = std::min(read.skipped.size(), kShownItems);
    for (std::size_t i = 0; i < shown; ++i) {
        const SkippedLine& line = read.skipped[i];
        lines += std::string(text::lineNumberPrefix) + count(std::size_t(line.line)) +
                 std::string(text::lineWord) + std::string(skipReasonText(line.reason)) +
                 std::string(text::summaryListSeparator) + shortened(utf8ToGbk(line.text)) + "\n";
    }
    if (read.skipped.size() > shown)
        lines += std::string(text::moreLinesPrefix) + count(read.skipped.size() - shown) +
                 std::string(text::moreLinesSuffix) + "\n";
    return lines;
}

struct LibraryColumns {
    std::string issues, fronts, backs;
    bool inStep() const {
        const std::size_t draws = fronts.size() / kFrontDigits;
        return issues.size() == kIssueDigits * draws && fronts.size() == kFrontDigits * draws &&
               backs.size() == kBackDigits * draws;
    }
};

LibraryColumns loadColumns(const HistoryStore& store) {
    return {store.loadColumn(columnKey::issue), store.loadColumn(columnKey::front),
            store.loadColumn(columnKey::back)};
}

HistoryColumns columnsOldestFirst(const std::vector<DrawRecord>& oldestFirst) {
    return columnsOf(std::vector<DrawRecord>(oldestFirst.rbegin(), oldestFirst.rend()));
}

} // namespace

ExportOutcome exportLibrary(const HistoryStore& store, const std::filesystem::path& file,
                            MessageBoxPort& messages) {
    const std::vector<DrawRecord> draws = store.drawsNewestFirst();
    if (!replaceFileDurably(file, libraryText(draws))) {
        show(messages, text::exportFailed, text::refusedCaption, MessageIcon::Stop);
        return ExportOutcome::NotWritten;
    }
    show(messages,
         std::string(text::exportDonePrefix) + count(draws.size()) + std::string(text::drawsSuffix),
         text::successCaption, MessageIcon::Information);
    return ExportOutcome::Exported;
}

std::string importSummary(const DrawFileRead& read, const LibraryComparison& comparison) {
    const std::vector<DrawRecord>& draws = read.oldestFirst;
    std::string summary = std::string(text::summaryFileHolds) + count(draws.size()) +
                          std::string(text::summaryRangeFrom) + draws.front().issue +
                          std::string(text::summaryRangeTo) + draws.back().issue +
                          std::string(text::summaryRangeEnd) + "\n";
    summary += std::string(text::summaryRecognised) + std::string(encodingName(read.encoding)) +
               std::string(text::summaryListSeparator) + std::string(layoutName(read.layout));
    if (read.order != FileOrder::None)
        summary += std::string(text::summaryListSeparator) + std::string(orderName(read.order));
    summary += std::string(text::summaryEnd) + "\n";
    summary += std::string(text::summaryNew) + count(std::size_t(comparison.newDraws)) +
               std::string(text::summarySame) + count(std::size_t(comparison.sameDraws)) +
               std::string(text::summaryConflicts) + count(comparison.conflicts.size()) +
               std::string(text::summaryDrawsEnd) + "\n";
    const std::size_t shownConflicts = std::min(comparison.conflicts.size(), kShownItems);
    for (std::size_t i = 0; i < shownConflicts; ++i) {
        const DrawConflict& conflict = comparison.conflicts[i];
        summary += issueText(conflict.file.issue) + std::string(text::conflictLibrary) + " " +
                   numbersText(conflict.library) + std::string(text::conflictFile) + " " +
                   numbersText(conflict.file) + "\n";
    }
    if (comparison.conflicts.size() > shownConflicts)
        summary += std::string(text::moreLinesPrefix) +
                   count(comparison.conflicts.size() - shownConflicts) +
                   std::string(text::moreConflictsSuffix) + "\n";
    summary += skippedLines(read);
    summary += "\n" + std::string(text::choiceMerge) + "\n" + std::string(text::choiceReplace);
    if (comparison.libraryOnly > 0)
        summary += std::string(text::choiceReplaceDrops) +
                   count(std::size_t(comparison.libraryOnly)) +
                   std::string(text::choiceReplaceDropsEnd);
    summary += std::string(text::summaryEnd);
    return summary;
}

ImportFile readImportFile(const std::filesystem::path& file, const ReadWatch& watch) {
    const FileRead bytes = readFile(file, kLargestImport);
    if (bytes.status != FileRead::Status::Read)
        return {};
    return {true, parseDrawHistoryFile(bytes.bytes, watch)};
}

ImportResult importLibrary(const HistoryStore& store, const std::filesystem::path& file,
                           MessageBoxPort& messages) {
    return importLibrary(store, readImportFile(file), messages);
}

ImportResult importLibrary(const HistoryStore& store, const ImportFile& file,
                           MessageBoxPort& messages) {
    if (!file.readable) {
        show(messages, text::importUnreadable, text::refusedCaption, MessageIcon::Stop);
        return {ImportOutcome::Unreadable};
    }
    const DrawFileRead& read = file.read;
    if (read.cancelled)
        return {ImportOutcome::Cancelled};
    if (read.oldestFirst.empty()) {
        const std::string skipped = skippedLines(read);
        show(messages, std::string(text::importEmpty) + (skipped.empty() ? "" : "\n" + skipped),
             text::refusedCaption, MessageIcon::Stop);
        return {ImportOutcome::NoDraws};
    }

    const LibraryColumns columns = loadColumns(store);
    const std::vector<DrawRecord> newestFirst = store.drawsNewestFirst();
    const std::vector<DrawRecord> library(newestFirst.rbegin(), newestFirst.rend());
    const LibraryComparison comparison = compareWithLibrary(library, read.oldestFirst);
    const MessageAnswer answer =
        messages.showMessage(importSummary(read, comparison), std::string(text::attentionCaption),
                             MessageIcon::Question, MessageButtons::MergeReplaceCancel);

    std::vector<DrawRecord> result;
    if (answer == MessageAnswer::Merge) {
        // Draws are rebuilt from whole records: columns that disagree would
        // lose the bytes that belong to no whole draw.
        if (!columns.inStep()) {
            show(messages, text::mergeOutOfStep, text::refusedCaption, MessageIcon::Stop);
            return {ImportOutcome::OutOfStep};
        }
        if (comparison.newDraws == 0) {
            show(messages, text::mergeNothingNew, text::attentionCaption, MessageIcon::Information);
            return {ImportOutcome::NothingNew, 0, int(library.size())};
        }
        result = mergedLibrary(library, read.oldestFirst);
    } else if (answer == MessageAnswer::Replace) {
        result = read.oldestFirst;
    } else {
        return {ImportOutcome::Cancelled};
    }

    const HistoryColumns written = columnsOldestFirst(result);
    if (!store.replaceHistory(written.issues, written.fronts, written.backs)) {
        show(messages, text::importWriteFailed, text::refusedCaption, MessageIcon::Stop);
        return {ImportOutcome::NotWritten};
    }
    if (answer == MessageAnswer::Replace) {
        show(messages,
             std::string(text::importDonePrefix) + count(result.size()) +
                 std::string(text::drawsSuffix),
             text::successCaption, MessageIcon::Information);
        return {ImportOutcome::Replaced, 0, int(result.size())};
    }
    show(messages,
         std::string(text::mergeDonePrefix) + count(std::size_t(comparison.newDraws)) +
             std::string(text::mergeDoneMiddle) + count(result.size()) +
             std::string(text::drawsSuffix),
         text::successCaption, MessageIcon::Information);
    return {ImportOutcome::Merged, comparison.newDraws, int(result.size())};
}

std::string libraryCheckReport(const LibraryCheck& check) {
    std::string report = std::string(text::checkCountPrefix) + count(std::size_t(check.draws));
    if (check.findings.empty())
        return report + std::string(text::checkClean) + "\n" +
               std::string(text::checkChangesNothing);
    report += std::string(text::checkFoundMiddle) + count(check.findings.size()) +
              std::string(text::checkFoundSuffix) + "\n";
    const std::size_t shown = std::min(check.findings.size(), kShownFindings);
    for (std::size_t i = 0; i < shown; ++i) {
        const LibraryFinding& finding = check.findings[i];
        switch (finding.kind) {
        case FindingKind::ColumnsOutOfStep:
            report += std::string(text::checkOutOfStepPrefix) + count(check.columnBytes[0]) +
                      std::string(text::checkOutOfStepFront) + count(check.columnBytes[1]) +
                      std::string(text::checkOutOfStepBack) + count(check.columnBytes[2]) +
                      std::string(text::checkOutOfStepEnd);
            break;
        case FindingKind::IssueGap:
            report += std::string(text::checkGapPrefix) + finding.issue;
            if (finding.lastIssue != finding.issue)
                report += std::string(text::checkGapTo) + finding.lastIssue;
            report += std::string(text::issueSuffix);
            break;
        case FindingKind::RepeatedIssue:
            report += issueText(finding.issue) + std::string(text::checkRepeatedMiddle) +
                      count(std::size_t(finding.count)) + std::string(text::checkRepeatedSuffix);
            break;
        case FindingKind::BadIssue:
            report += std::string(text::checkBadIssuePrefix) + finding.issue +
                      std::string(text::checkBadIssueSuffix);
            break;
        case FindingKind::FrontNumbers:
            report += issueText(finding.issue) + std::string(text::checkFrontNumbers);
            break;
        case FindingKind::BackNumbers:
            report += issueText(finding.issue) + std::string(text::checkBackNumbers);
            break;
        }
        report += "\n";
    }
    if (check.findings.size() > shown)
        report += std::string(text::moreLinesPrefix) + count(check.findings.size() - shown) +
                  std::string(text::moreFindingsSuffix) + "\n";
    return report + std::string(text::checkChangesNothing);
}

LibraryCheck checkLibraryFiles(const HistoryStore& store, MessageBoxPort& messages) {
    const LibraryColumns columns = loadColumns(store);
    const LibraryCheck check = checkLibrary(columns.issues, columns.fronts, columns.backs);
    show(messages, libraryCheckReport(check), text::checkCaption,
         check.findings.empty() ? MessageIcon::Information : MessageIcon::Exclamation);
    return check;
}

} // namespace dlt
