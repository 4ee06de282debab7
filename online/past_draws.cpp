#include "online/past_draws.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/draw_check.h"
#include "core/process_state.h"
#include "core/texts.h"
#include "history/draw_text.h"
#include "history/history_commands.h"
#include "history/library_merge.h"
#include "history/library_text.h"
#include "history/summary_text.h"
#include "online/text_search.h"

namespace dlt {

namespace {

constexpr bool kIgnoreCase = true;

// An entry of the draw file around its "|" at position bar.
DrawRecord drawFileEntry(std::string_view text, int bar) {
    DrawRecord draw;
    draw.issue = middleText(text, bar - 23, 5);
    for (int offset : {-14, -11, -8, -5, -2})
        draw.front += middleText(text, bar + offset, 2);
    draw.back =
        std::string(middleText(text, bar + 1, 2)) + std::string(middleText(text, bar + 4, 2));
    return draw;
}

// The issue standing after `_blank">`.
std::string_view issueAfterMark(std::string_view page, int blank) {
    return middleText(page, blank + 8, 5);
}

// Before fetched draws replace the library: what it holds, what stays,
// what goes and what comes, and the issues a source gave twice.
std::string replaceQuestion(std::size_t held, const SourceDraws& fetched, int dropped) {
    constexpr std::size_t kShownConflicts = 10;
    const std::size_t kept = held - std::size_t(dropped);
    const std::size_t added = fetched.newestFirst.size() - kept;
    std::string question =
        fill(text::fetchDrop, {held, fetched.newestFirst.size(), kept, dropped, added}) + "\n";
    if (!fetched.conflicts.empty()) {
        std::set<std::string_view> issues;
        for (const IssueConflict& conflict : fetched.conflicts)
            issues.insert(conflict.taken.issue);
        question += fill(text::fetchConflicts, {issues.size()}) + "\n";
        for (std::size_t i = 0; i < fetched.conflicts.size() && i < kShownConflicts; ++i) {
            const IssueConflict& conflict = fetched.conflicts[i];
            question += fill(text::fetchConflictLine,
                             {historyListLine(conflict.taken.issue, conflict.taken.front,
                                              conflict.taken.back),
                              formatNumberGroups(conflict.other.front),
                              formatNumberGroups(conflict.other.back)}) +
                        "\n";
        }
    }
    return question + std::string(text::fetchReplaceQuestion);
}

} // namespace

std::vector<DrawRecord> parseDrawFile(std::string_view text, const YieldHook& yield) {
    // The bound: the 280th "|", or the last one of a shorter file.
    int bound = -1;
    for (int i = 0, from = 1; i < kDrawFileEntries; ++i) {
        const int bar = findForward(text, "|", from, kIgnoreCase);
        if (bar < 0)
            break;
        bound = bar;
        from = bar + 1;
        yieldIfSet(yield);
    }
    std::vector<DrawRecord> draws;
    for (int bar = findForward(text, "|", 1, kIgnoreCase); bar > 0 && bar <= bound;
         bar = findForward(text, "|", bar + 1, kIgnoreCase)) {
        if (DrawRecord draw = drawFileEntry(text, bar); isSoundDraw(draw))
            draws.push_back(std::move(draw));
        yieldIfSet(yield);
    }
    return draws;
}

std::vector<DrawRecord> parseResultsPage(std::string_view page, std::string_view latestIssue,
                                         const YieldHook& yield) {
    std::vector<DrawRecord> draws;
    int redBalls = findForward(page, "redBalls", 1, kIgnoreCase);
    if (redBalls < 0)
        return draws;
    // Each draw's issue mark is the last "_blank" before its "redBalls"; the
    // markers only move down the page, so one pass finds them all.
    BackwardSearch issueMarks(page, "_blank", kIgnoreCase);
    const int newestMark = issueMarks.lastBefore(redBalls);
    if (newestMark < 0)
        return draws;
    if (leadingInteger(issueAfterMark(page, newestMark)) <= leadingInteger(latestIssue))
        return draws;
    const int stop = findForward(page, latestIssue, 1, kIgnoreCase);

    while (redBalls > 0 && redBalls < stop) {
        const int blank = issueMarks.lastBefore(redBalls);
        if (blank < 0)
            break;
        DrawRecord draw;
        draw.issue = issueAfterMark(page, blank);
        int em = blank;
        for (int k = 0; k < 7 && em > 0; ++k) {
            em = findForward(page, "<em>", em + 1, kIgnoreCase);
            if (em > 0)
                (k < 5 ? draw.front : draw.back) += middleText(page, em + 4, 2);
        }
        if (em < 0)
            break; // fewer than seven numbers: the page ends here
        if (isSoundDraw(draw))
            draws.push_back(std::move(draw));
        const int next = findForward(page, "redBalls", em, kIgnoreCase);
        // A page whose numbers stand before their marker would find the same
        // marker again; it ends the walk instead of repeating it.
        redBalls = next > redBalls ? next : -1;
        yieldIfSet(yield);
    }
    return draws;
}

SourceDraws inIssueOrder(const std::vector<DrawRecord>& given) {
    std::map<std::string, DrawRecord> byIssue;
    SourceDraws source;
    for (const DrawRecord& draw : given) {
        const auto [kept, added] = byIssue.try_emplace(draw.issue, draw);
        if (!added && !sameNumbers(kept->second, draw))
            source.conflicts.push_back({kept->second, draw});
    }
    // Issues are five digits: their text order is their order.
    for (auto it = byIssue.rbegin(); it != byIssue.rend(); ++it)
        source.newestFirst.push_back(std::move(it->second));
    return source;
}

int drawsDropped(const std::vector<DrawRecord>& held, const std::vector<DrawRecord>& fetched) {
    std::map<std::string, int> unmatched;
    for (const DrawRecord& draw : fetched)
        ++unmatched[draw.issue + draw.front + draw.back];
    int dropped = 0;
    for (const DrawRecord& draw : held) {
        const auto it = unmatched.find(draw.issue + draw.front + draw.back);
        if (it == unmatched.end() || it->second == 0)
            ++dropped;
        else
            --it->second;
    }
    return dropped;
}

FetchResult fetchPastDraws(const HistoryStore& store, HttpGetter& http,
                           const std::string& drawFileUrl, const std::string& resultsPageUrl,
                           FetchSink& sink, MessageBoxPort& messages, const CancelFlag& cancel,
                           const YieldHook& yield) {
    // The library files stay untouched until the new library is written, so
    // that a fetch that fails keeps the old one.
    sink.clearList();
    yieldIfSet(yield);

    // Every draw gathered, newest first: the page's newer draws, then the
    // draw file's.
    std::vector<DrawRecord> gathered;
    // Whether the list shows the draws as they are written: not when a
    // source repeats a draw or lists one out of order.
    bool shownAsWritten = true;
    // Shows a source's draws (newest first) at the top of the list, above
    // those of an older source; false when the flag was raised meanwhile.
    auto show = [&](const std::vector<DrawRecord>& draws) {
        int position = 0;
        for (const DrawRecord& draw : draws) {
            if (cancel.cancelled())
                return false;
            sink.insertLine(position++, historyListLine(draw.issue, draw.front, draw.back, yield));
            // The latest draw is the first of the newest source that gave any.
            const DrawRecord& latest = draws.front();
            const SummaryLines summary = summaryLines(int(gathered.size()) + position, latest.issue,
                                                      latest.front, latest.back, yield);
            sink.showSummary(summary.count, summary.numbers);
            yieldIfSet(yield);
        }
        return !cancel.cancelled();
    };

    // Each step that waits or shows draws may end with the flag raised: the
    // fetch then stops there, with the outcome Cancelled.
    FetchOutcome outcome = FetchOutcome::Cancelled;
    [&] {
        const std::string file = http.get(drawFileUrl, cancel);
        if (cancel.cancelled())
            return;
        const std::vector<DrawRecord> fileDraws = parseDrawFile(bodyText(file), yield);
        // The maker's file always lists kDrawFileEntries draws: a download
        // with fewer is something else (an error page holding one
        // draw-shaped line), and the page is read against the file's newest.
        if (fileDraws.size() < std::size_t(kDrawFileEntries)) {
            outcome = FetchOutcome::NothingFetched;
            return;
        }
        if (!show(fileDraws))
            return;
        gathered = fileDraws;

        // The file's newest issue, wherever the file lists it.
        const std::string latestIssue =
            std::max_element(
                fileDraws.begin(), fileDraws.end(),
                [](const DrawRecord& a, const DrawRecord& b) { return a.issue < b.issue; })
                ->issue;
        const std::string page = http.get(resultsPageUrl, cancel);
        if (cancel.cancelled())
            return;
        const std::vector<DrawRecord> pageDraws =
            parseResultsPage(bodyText(page), latestIssue, yield);
        if (!show(pageDraws))
            return;
        gathered.insert(gathered.begin(), pageDraws.begin(), pageDraws.end());

        const SourceDraws fetched = inIssueOrder(gathered);
        shownAsWritten = fetched.newestFirst == gathered;
        const std::vector<DrawRecord> held = store.drawsNewestFirst();
        const int dropped = drawsDropped(held, fetched.newestFirst);
        if (dropped > 0 || !fetched.conflicts.empty()) {
            if (messages.showMessage(replaceQuestion(held.size(), fetched, dropped),
                                     std::string(text::attentionCaption), MessageIcon::Question,
                                     MessageButtons::YesNo) != MessageAnswer::Yes) {
                outcome = FetchOutcome::Kept;
                return;
            }
        }
        // The user may have closed the window while the draws were shown.
        if (cancel.cancelled())
            return;
        const HistoryColumns columns = columnsOf(fetched.newestFirst);
        outcome = store.replaceHistory(columns.issues, columns.fronts, columns.backs)
                      ? FetchOutcome::Replaced
                      : FetchOutcome::NotWritten;
    }();

    int shown = int(gathered.size());
    if (outcome != FetchOutcome::Replaced || !shownAsWritten) {
        // The list and the summary show the library as it stays.
        sink.clearList();
        shown = 0;
        for (const DrawRecord& draw : store.drawsNewestFirst()) {
            sink.insertLine(shown++, historyListLine(draw.issue, draw.front, draw.back, yield));
            yieldIfSet(yield);
        }
        const SummaryLines summary = historySummary(store, yield);
        sink.showSummary(summary.count, summary.numbers);
    }

    switch (outcome) {
    case FetchOutcome::Replaced:
        messages.showMessage(fill(text::fetchDone, {numberText(double(shown))}),
                             std::string(text::fetchDoneCaption), MessageIcon::Information,
                             MessageButtons::Ok);
        break;
    case FetchOutcome::NothingFetched:
        messages.showMessage(std::string(text::fetchNothing), std::string(text::refusedCaption),
                             MessageIcon::Stop, MessageButtons::Ok);
        break;
    case FetchOutcome::NotWritten:
        messages.showMessage(std::string(text::fetchNotWritten), std::string(text::refusedCaption),
                             MessageIcon::Stop, MessageButtons::Ok);
        break;
    case FetchOutcome::Kept:
    case FetchOutcome::Cancelled:
        break; // the user's own choice: nothing more to say
    }
    return {outcome, shown};
}

} // namespace dlt
