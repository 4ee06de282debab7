#include "history/draw_file.h"

#include <algorithm>

#include "core/draw_check.h"
#include "history/file_decoding.h"
#include "history/json_records.h"
#include "history/line_draw.h"
#include "history/repeated_draws.h"

namespace dlt {

namespace {

// What the reading of the lines or records has found so far.
struct Collected {
    std::vector<FoundDraw> draws;
    std::vector<SkippedLine> skipped;
    int ignored = 0;
    FileLayout layout = FileLayout::None;
};

class Watch {
public:
    explicit Watch(const ReadWatch& watch) : watch_(watch) {}
    bool cancelled() const { return watch_.cancel && watch_.cancel->cancelled(); }
    void reached(std::size_t done, std::size_t total) const {
        if (watch_.permille && total > 0)
            watch_.permille->store(int(done * 1000 / total), std::memory_order_relaxed);
    }
    const CancelFlag* flag() const { return watch_.cancel; }

private:
    const ReadWatch& watch_;
};

bool isCommentLine(std::string_view line) {
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    return line.starts_with("#") || line.starts_with("//") || line.starts_with("--");
}

// "25128 03 06 26 30 33 11 12" exactly as the export writes it.
bool isExportLine(std::string_view line) {
    if (line.size() != kIssueDigits + 7 * 3 || !isDigitText(line.substr(0, kIssueDigits)))
        return false;
    for (std::size_t at = kIssueDigits; at < line.size(); at += 3)
        if (line[at] != ' ' || !isDigitText(line.substr(at + 1, 2)))
            return false;
    return true;
}

FileLayout layoutOfLine(std::string_view line) {
    if (line.find('\t') != std::string_view::npos)
        return FileLayout::Tabs;
    if (line.find(',') != std::string_view::npos)
        return FileLayout::Commas;
    if (line.find(';') != std::string_view::npos)
        return FileLayout::Semicolons;
    if (line.substr(std::min(line.find_first_not_of(' '), line.size())).starts_with("第"))
        return FileLayout::List;
    return isExportLine(line) ? FileLayout::Export : FileLayout::Spaces;
}

// Reads one line or record; true when it gave a draw.
bool readRecord(std::string_view text, std::string_view date, int number, const Watch& watch,
                Collected& into) {
    const LineDraw read = drawOfLine(text, watch.flag());
    if (!read.hasNumber) {
        ++into.ignored;
        return false;
    }
    if (!read.draw) {
        into.skipped.push_back({number, std::string(text), read.reason});
        return false;
    }
    into.draws.push_back({number, text, *read.draw, date.empty() ? read.date : date});
    return true;
}

void readLines(std::string_view text, const Watch& watch, Collected& into) {
    const std::size_t total = text.size();
    int number = 0;
    while (!text.empty() && !watch.cancelled()) {
        watch.reached(total - text.size(), total);
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = text.substr(0, end);
        std::size_t next = end;
        if (next < text.size())
            next += text.substr(next).starts_with("\r\n") ? 2 : 1;
        text.remove_prefix(next);
        ++number;
        if (line.find_first_not_of(" \t\f\v") == std::string_view::npos)
            continue;
        if (isCommentLine(line)) {
            ++into.ignored;
            continue;
        }
        if (readRecord(line, {}, number, watch, into) && into.layout == FileLayout::None)
            into.layout = layoutOfLine(line);
    }
}

void readRecords(const std::vector<JsonRecord>& records, const Watch& watch, Collected& into) {
    for (std::size_t i = 0; i < records.size() && !watch.cancelled(); ++i) {
        watch.reached(i, records.size());
        readRecord(records[i].line, records[i].date, int(i + 1), watch, into);
    }
    into.layout = FileLayout::Json;
}

FileOrder orderOf(const std::vector<FoundDraw>& draws) {
    if (draws.size() < 2)
        return FileOrder::None;
    bool up = false, down = false;
    for (std::size_t i = 1; i < draws.size(); ++i) {
        up = up || draws[i].draw.issue > draws[i - 1].draw.issue;
        down = down || draws[i].draw.issue < draws[i - 1].draw.issue;
    }
    if (up && down)
        return FileOrder::Mixed;
    return up ? FileOrder::OldestFirst : FileOrder::NewestFirst;
}

} // namespace

DrawFileRead parseDrawHistoryFile(std::string_view bytes, const ReadWatch& readWatch) {
    const Watch watch(readWatch);
    DrawFileRead result;
    const DecodedFile file = decodeHistoryFile(bytes);
    result.encoding = file.encoding;

    // The records' lines must outlive the draws found in them.
    const std::optional<std::vector<JsonRecord>> records = jsonRecords(file.text, watch.flag());
    Collected collected;
    if (records)
        readRecords(*records, watch, collected);
    else
        readLines(file.text, watch, collected);
    if (watch.cancelled()) {
        result.cancelled = true;
        return result;
    }
    watch.reached(1, 1);

    result.layout = collected.layout;
    result.order = orderOf(collected.draws);
    result.ignoredLines = collected.ignored;
    DistinctDraws distinct = distinctDraws(collected.draws);
    result.oldestFirst = std::move(distinct.oldestFirst);
    result.dates = std::move(distinct.dates);
    // Both lists in the file's order: the skipped lines as read, the
    // dropped ones once sorted.
    const auto byLine = [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; };
    std::sort(distinct.dropped.begin(), distinct.dropped.end(), byLine);
    result.skipped = std::move(collected.skipped);
    const auto middle = std::ptrdiff_t(result.skipped.size());
    result.skipped.insert(result.skipped.end(), std::make_move_iterator(distinct.dropped.begin()),
                          std::make_move_iterator(distinct.dropped.end()));
    std::inplace_merge(result.skipped.begin(), result.skipped.begin() + middle,
                       result.skipped.end(), byLine);
    if (result.oldestFirst.empty())
        result.layout = FileLayout::None;
    return result;
}

} // namespace dlt
