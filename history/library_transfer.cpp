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
// Width of a file line shown in a message, counting a Chinese (wide)
// character as two and any other as one.
constexpr std::size_t kShownLineWidth = 60;

void show(MessageBoxPort& messages, std::string_view text, std::string_view caption,
          MessageIcon icon) {
    messages.showMessage(std::string(text), std::string(caption), icon, MessageButtons::Ok);
}

// The length of the UTF-8 character that starts with c.
std::size_t characterLength(unsigned char c) {
    return c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
}

// At most kShownLineWidth of a UTF-8 text, not cutting a character.
std::string shortened(std::string text) {
    std::size_t at = 0;
    std::size_t width = 0;
    while (at < text.size()) {
        const std::size_t length = characterLength(static_cast<unsigned char>(text[at]));
        width += length == 1 ? 1 : 2;
        if (width > kShownLineWidth)
            break;
        at += length;
    }
    if (at >= text.size())
        return text;
    text.resize(at);
    return text + "...";
}

// A line of a history file as UTF-8, for the messages: the reader gives the
// lines of UTF-8 and UTF-16 files in UTF-8 already, those of GBK files in
// their own bytes.
std::string lineText(std::string_view text, TextEncoding encoding) {
    return encoding == TextEncoding::Gbk ? gbkToUtf8(text) : std::string(text);
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

std::string numbersText(const DrawRecord& draw) {
    return formatNumberGroups(draw.front) + "  " + formatNumberGroups(draw.back);
}

// "跳过的行：N行。" and the first of them with their reasons.
std::string skippedLines(const DrawFileRead& read) {
    if (read.skipped.empty())
        return {};
    std::string lines = fill(text::summarySkipped, {read.skipped.size()}) + "\n";
    const std::size_t shown = std::min(read.skipped.size(), kShownItems);
    for (std::size_t i = 0; i < shown; ++i) {
        const SkippedLine& line = read.skipped[i];
        lines += fill(text::skippedLine, {line.line, skipReasonText(line.reason),
                                          shortened(lineText(line.text, read.encoding))}) +
                 "\n";
    }
    if (read.skipped.size() > shown)
        lines += fill(text::moreLines, {read.skipped.size() - shown}) + "\n";
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
    show(messages, fill(text::exportDone, {draws.size()}), text::successCaption,
         MessageIcon::Information);
    return ExportOutcome::Exported;
}

std::string importSummary(const DrawFileRead& read, const LibraryComparison& comparison) {
    const std::vector<DrawRecord>& draws = read.oldestFirst;
    std::string summary =
        fill(text::summaryRange, {draws.size(), draws.front().issue, draws.back().issue}) + "\n";
    std::string recognised = std::string(encodingName(read.encoding)) +
                             std::string(text::listSeparator) +
                             std::string(layoutName(read.layout));
    if (read.order != FileOrder::None)
        recognised += std::string(text::listSeparator) + std::string(orderName(read.order));
    summary += fill(text::summaryRecognised, {recognised}) + "\n";
    summary += fill(text::summaryDraws,
                    {comparison.newDraws, comparison.sameDraws, comparison.conflicts.size()}) +
               "\n";
    const std::size_t shownConflicts = std::min(comparison.conflicts.size(), kShownItems);
    for (std::size_t i = 0; i < shownConflicts; ++i) {
        const DrawConflict& conflict = comparison.conflicts[i];
        summary += fill(text::conflictLine, {conflict.file.issue, numbersText(conflict.library),
                                             numbersText(conflict.file)}) +
                   "\n";
    }
    if (comparison.conflicts.size() > shownConflicts)
        summary += fill(text::moreConflicts, {comparison.conflicts.size() - shownConflicts}) + "\n";
    summary += skippedLines(read);
    summary += "\n" + std::string(text::choiceMerge) + "\n";
    summary += comparison.libraryOnly > 0
                   ? fill(text::choiceReplaceDropping, {comparison.libraryOnly})
                   : std::string(text::choiceReplace);
    return summary;
}

ImportResult importLibrary(const HistoryStore& store, const std::filesystem::path& file,
                           MessageBoxPort& messages) {
    const FileRead bytes = readFile(file, kLargestImport);
    if (bytes.status != FileRead::Status::Read) {
        show(messages, text::importUnreadable, text::refusedCaption, MessageIcon::Stop);
        return {ImportOutcome::Unreadable};
    }
    const DrawFileRead read = parseDrawHistoryFile(bytes.bytes);
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
        show(messages, fill(text::importDone, {result.size()}), text::successCaption,
             MessageIcon::Information);
        return {ImportOutcome::Replaced, 0, int(result.size())};
    }
    show(messages, fill(text::mergeDone, {comparison.newDraws, result.size()}),
         text::successCaption, MessageIcon::Information);
    return {ImportOutcome::Merged, comparison.newDraws, int(result.size())};
}

std::string libraryCheckReport(const LibraryCheck& check) {
    if (check.findings.empty())
        return fill(text::checkClean, {check.draws}) + "\n" +
               std::string(text::checkChangesNothing);
    std::string report = fill(text::checkFound, {check.draws, check.findings.size()}) + "\n";
    const std::size_t shown = std::min(check.findings.size(), kShownFindings);
    for (std::size_t i = 0; i < shown; ++i) {
        const LibraryFinding& finding = check.findings[i];
        switch (finding.kind) {
        case FindingKind::ColumnsOutOfStep:
            report += fill(text::checkOutOfStep,
                           {check.columnBytes[0], check.columnBytes[1], check.columnBytes[2]});
            break;
        case FindingKind::IssueGap:
            report += finding.lastIssue != finding.issue
                          ? fill(text::checkGapRange, {finding.issue, finding.lastIssue})
                          : fill(text::checkGap, {finding.issue});
            break;
        case FindingKind::RepeatedIssue:
            report += fill(text::checkRepeated, {finding.issue, finding.count});
            break;
        case FindingKind::BadIssue:
            report += fill(text::checkBadIssue, {finding.issue});
            break;
        case FindingKind::FrontNumbers:
            report += fill(text::checkFrontNumbers, {finding.issue});
            break;
        case FindingKind::BackNumbers:
            report += fill(text::checkBackNumbers, {finding.issue});
            break;
        }
        report += "\n";
    }
    if (check.findings.size() > shown)
        report += fill(text::moreFindings, {check.findings.size() - shown}) + "\n";
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
