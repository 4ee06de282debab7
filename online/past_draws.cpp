#include "online/past_draws.h"

#include "core/process_state.h"
#include "core/texts.h"
#include "history/draw_text.h"
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

// The last "_blank" wholly before redBalls, or -1.
int issueMarkBefore(std::string_view page, int redBalls) {
    return findBackward(page, "_blank", redBalls, kIgnoreCase);
}

// The issue standing after `_blank">`.
std::string_view issueAfterMark(std::string_view page, int blank) {
    return middleText(page, blank + 8, 5);
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
        draws.push_back(drawFileEntry(text, bar));
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
    const int newestMark = issueMarkBefore(page, redBalls);
    if (newestMark < 0)
        return draws;
    if (leadingInteger(issueAfterMark(page, newestMark)) <= leadingInteger(latestIssue))
        return draws;
    const int stop = findForward(page, latestIssue, 1, kIgnoreCase);

    while (redBalls > 0 && redBalls < stop) {
        const int blank = issueMarkBefore(page, redBalls);
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
        draws.push_back(std::move(draw));
        const int next = findForward(page, "redBalls", em, kIgnoreCase);
        // A page whose numbers stand before their marker would find the same
        // marker again; it ends the walk instead of repeating it.
        redBalls = next > redBalls ? next : -1;
        yieldIfSet(yield);
    }
    return draws;
}

FetchResult fetchPastDraws(const HistoryStore& store, HttpGetter& http,
                           const std::string& drawFileUrl, const std::string& resultsPageUrl,
                           FetchSink& sink, MessageBoxPort& messages, const YieldHook& yield) {
    // The library files stay untouched until the new library is written, so
    // that a fetch that fails keeps the old one.
    sink.clearList();
    yieldIfSet(yield);

    int shown = 0;
    // Each source keeps its draws oldest first: a newer draw goes in front.
    struct Gathered {
        std::string issues, fronts, backs;
    };
    auto gatherAll = [&](const std::vector<DrawRecord>& draws, Gathered& into, int firstPosition) {
        int position = firstPosition;
        for (const DrawRecord& draw : draws) {
            into.issues.insert(0, draw.issue);
            into.fronts.insert(0, draw.front);
            into.backs.insert(0, draw.back);
            sink.insertLine(position++, historyListLine(draw.issue, draw.front, draw.back, yield));
            ++shown;
            // The latest draw is the first of the newest source that gave any.
            const DrawRecord& latest = draws.front();
            const SummaryLines summary =
                summaryLines(shown, latest.issue, latest.front, latest.back, yield);
            sink.showSummary(summary.count, summary.numbers);
            yieldIfSet(yield);
        }
    };

    Gathered fromFile, fromPage;
    const std::string file = http.get(drawFileUrl);
    const std::vector<DrawRecord> fileDraws = parseDrawFile(bodyText(file), yield);
    gatherAll(fileDraws, fromFile, 0);

    const std::string latestIssue = fileDraws.empty() ? std::string() : fileDraws.front().issue;
    const std::string page = http.get(resultsPageUrl);
    gatherAll(parseResultsPage(bodyText(page), latestIssue, yield), fromPage, 0);

    FetchOutcome outcome = FetchOutcome::NothingFetched;
    if (shown > 0) {
        outcome =
            store.replaceHistory(fromFile.issues + fromPage.issues,
                                 fromFile.fronts + fromPage.fronts, fromFile.backs + fromPage.backs)
                ? FetchOutcome::Replaced
                : FetchOutcome::NotWritten;
    }

    if (outcome != FetchOutcome::Replaced) {
        // The list shows the library as it stays.
        sink.clearList();
        shown = 0;
        for (const DrawRecord& draw : store.drawsNewestFirst()) {
            sink.insertLine(shown++, historyListLine(draw.issue, draw.front, draw.back, yield));
            yieldIfSet(yield);
        }
    }

    switch (outcome) {
    case FetchOutcome::Replaced:
        messages.showMessage(std::string(text::fetchDonePrefix) + numberText(double(shown)) +
                                 std::string(text::drawsSuffix),
                             std::string(text::fetchDoneCaption), MessageIcon::Information,
                             MessageButtons::Ok);
        break;
    case FetchOutcome::NothingFetched:
        messages.showMessage(std::string(text::fetchNothing), std::string(text::refusedCaption),
                             MessageIcon::Stop, MessageButtons::Ok);
        break;
    case FetchOutcome::NotWritten:
        messages.showMessage(std::string(text::fetchNotWritten),
                             std::string(text::refusedCaption), MessageIcon::Stop,
                             MessageButtons::Ok);
        break;
    }
    return {outcome, shown};
}

} // namespace dlt
