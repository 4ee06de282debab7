#include "online/library_sync.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/texts.h"
#include "history/draw_text.h"
#include "history/library_merge.h"
#include "online/past_draws.h"
#include "online/text_search.h"

namespace dlt {

namespace {

std::string count(std::size_t n) {
    return std::to_string(n);
}

// The oldest issue the service is read back to when the library is empty:
// the game's first draw.
constexpr std::string_view kFirstIssue = "07001";

// Draws go by a year's numbers one after another; a source may lack a few,
// and a year starts again from its first draws.
constexpr int kLargestGap = 5;

// Whether next can follow previous (empty: anything can).
bool follows(std::string_view previous, std::string_view next) {
    if (previous.empty())
        return true;
    const int previousYear = leadingInteger(previous.substr(0, 2));
    const int year = leadingInteger(next.substr(0, 2));
    const int previousNumber = leadingInteger(previous.substr(2));
    const int number = leadingInteger(next.substr(2));
    if (year == previousYear)
        return number > previousNumber && number - previousNumber <= kLargestGap;
    return year == (previousYear + 1) % 100 && number >= 1 && number <= kLargestGap;
}

// "01 02 03 04 05  06 07"
std::string numbersText(const DrawRecord& draw) {
    return formatNumberGroups(draw.front) + "  " + formatNumberGroups(draw.back);
}

// Another line of a message.
void addLine(std::string& message, const std::string& line) {
    message += '\n';
    message += line;
}

// At most this many draws are listed one by one in a message.
constexpr std::size_t kListedDraws = 10;

std::string drawLines(const std::vector<DrawRecord>& draws) {
    std::string lines;
    for (std::size_t i = 0; i < draws.size() && i < kListedDraws; ++i)
        addLine(lines, historyListLine(draws[i].issue, draws[i].front, draws[i].back));
    if (draws.size() > kListedDraws)
        addLine(lines, fill(text::syncMoreDraws, {count(draws.size() - kListedDraws)}));
    return lines;
}

// Details worth keeping: something beyond the issue was read.
bool hasDetails(const DrawDetails& details) {
    return !details.date.empty() || details.poolBefore || details.poolAfter || details.sales ||
           !details.tiers.empty();
}

// The draws a source gave, set against the library.
struct Sorted {
    std::vector<DrawRecord> newer;       // above the library's newest, in issue order
    std::vector<DrawConflict> conflicts; // held issues given with other numbers
    std::set<std::string> held;          // held issues given with the same numbers
    int repeats = 0;                     // an issue given twice: the first counts
};

Sorted sortAgainst(const std::vector<DrawRecord>& library, const std::vector<DrawRecord>& given) {
    std::map<std::string, const DrawRecord*> byIssue;
    std::string newest;
    for (const DrawRecord& draw : library) {
        byIssue.emplace(draw.issue, &draw);
        newest = std::max(newest, draw.issue);
    }
    Sorted sorted;
    std::set<std::string> seen;
    for (const DrawRecord& draw : given) {
        if (!seen.insert(draw.issue).second) {
            ++sorted.repeats;
            continue;
        }
        if (const auto it = byIssue.find(draw.issue); it != byIssue.end()) {
            if (sameNumbers(*it->second, draw))
                sorted.held.insert(draw.issue);
            else
                sorted.conflicts.push_back({*it->second, draw});
        } else if (draw.issue > newest) {
            sorted.newer.push_back(draw);
        }
        // An older issue the library lacks stays out: a sync only adds
        // after the newest.
    }
    std::ranges::sort(sorted.newer, {}, &DrawRecord::issue);
    return sorted;
}

std::string newestIssue(const std::vector<DrawRecord>& library) {
    std::string newest;
    for (const DrawRecord& draw : library)
        newest = std::max(newest, draw.issue);
    return newest;
}

void tell(MessageBoxPort& messages, const std::string& message, std::string_view caption,
          MessageIcon icon) {
    messages.showMessage(message, std::string(caption), icon, MessageButtons::Ok);
}

// The lines about what a reading of the service left out.
std::string skippedLines(const OfficialReading& reading) {
    std::string lines;
    if (reading.skipped.draws() > 0)
        addLine(lines, fill(text::syncSkipped,
                            {count(reading.skipped.draws()), count(reading.skipped.noIssue),
                             count(reading.skipped.badNumbers)}));
    if (reading.skipped.badDetails > 0)
        addLine(lines, fill(text::syncDetailsSkipped, {count(reading.skipped.badDetails)}));
    return lines;
}

// Writes the details of the draws the library holds with the same numbers
// that differ from those kept. The count written, or none when the file
// could not be written.
std::optional<int> keepDetails(const DrawDetailsStore& store,
                               const std::vector<OfficialDraw>& draws,
                               const std::set<std::string>& issues) {
    const std::map<std::string, DrawDetails> kept = store.load();
    std::vector<DrawDetails> changed;
    for (const OfficialDraw& draw : draws) {
        if (!issues.contains(draw.draw.issue) || !hasDetails(draw.details))
            continue;
        const auto it = kept.find(draw.draw.issue);
        if (it == kept.end() || it->second != draw.details)
            changed.push_back(draw.details);
    }
    if (changed.empty())
        return 0;
    if (!store.merge(changed))
        return std::nullopt;
    return int(changed.size());
}

} // namespace

SyncResult syncLatestDraws(const HistoryStore& store, const DrawDetailsStore& details,
                           HttpGetter& http, const SyncSources& sources, MessageBoxPort& messages,
                           const ProgressHook& progress, const CancelFlag& cancel,
                           const YieldHook& yield) {
    const std::vector<DrawRecord> newestFirst = store.drawsNewestFirst();
    const std::vector<DrawRecord> library(newestFirst.rbegin(), newestFirst.rend());
    const std::string newest = newestIssue(library);

    SyncResult result{SyncOutcome::Unreachable};
    std::string notes; // what the message says after its first line

    // The official service first.
    OfficialReading reading;
    if (!sources.officialSite.empty()) {
        reading = readOfficialDraws(http, sources.officialSite,
                                    newest.empty() ? kFirstIssue : std::string_view(newest),
                                    sources.official, progress, cancel, yield);
        switch (reading.outcome) {
        case OfficialOutcome::Cancelled:
            return {SyncOutcome::Cancelled};
        case OfficialOutcome::Refused:
            tell(messages,
                 fill(text::officialRefused,
                      {troubleText(reading.trouble), count(sources.official.refusalWaits.size())}) +
                     std::string(text::libraryUnchanged),
                 text::refusedCaption, MessageIcon::Stop);
            return {SyncOutcome::Refused};
        case OfficialOutcome::ServiceError:
            tell(messages,
                 fill(text::officialNoData, {troubleText(reading.trouble)}) +
                     std::string(text::libraryUnchanged),
                 text::refusedCaption, MessageIcon::Stop);
            return {SyncOutcome::ServiceError};
        case OfficialOutcome::Read:
        case OfficialOutcome::Nothing:
            break;
        }
    }

    std::vector<DrawRecord> given;
    if (reading.outcome == OfficialOutcome::Read) {
        for (const OfficialDraw& draw : reading.draws)
            given.push_back(draw.draw);
        notes += skippedLines(reading);
    } else {
        // The service gave nothing: the fetch's two sources, newest first.
        result.source = SyncSource::OtherSources;
        if (!sources.officialSite.empty())
            addLine(notes, fill(text::syncFellBack, {troubleText(reading.trouble)}));
        if (progress)
            progress(std::string(text::syncReadingOthers));
        yieldIfSet(yield);
        std::vector<DrawRecord> fileDraws =
            parseDrawFile(bodyText(http.get(sources.drawFileUrl, cancel)), yield);
        // The draw file lists at least kDrawFileEntries draws: fewer is no
        // draw file (an error page that happens to hold a draw).
        if (fileDraws.size() < std::size_t(kDrawFileEntries))
            fileDraws.clear();
        std::string latest = fileDraws.empty() ? newest : fileDraws.front().issue;
        given = parseResultsPage(bodyText(http.get(sources.resultsPageUrl, cancel)), latest, yield);
        given.insert(given.end(), fileDraws.begin(), fileDraws.end());
        if (cancel.cancelled())
            return {SyncOutcome::Cancelled};
        if (given.empty()) {
            tell(messages, std::string(text::syncUnreachable) + notes, text::refusedCaption,
                 MessageIcon::Stop);
            return result;
        }
    }

    Sorted sorted = sortAgainst(library, given);
    result.conflicts = int(sorted.conflicts.size());
    if (const int repeats = sorted.repeats + reading.repeats; repeats > 0)
        addLine(notes, fill(text::syncRepeats, {count(repeats)}));
    if (!sorted.conflicts.empty()) {
        addLine(notes, fill(text::syncConflicts, {count(sorted.conflicts.size())}));
        for (std::size_t i = 0; i < sorted.conflicts.size() && i < kListedDraws; ++i) {
            const DrawConflict& conflict = sorted.conflicts[i];
            addLine(notes, fill(text::syncConflictLine,
                                {conflict.library.issue, numbersText(conflict.library),
                                 numbersText(conflict.file)}));
        }
        if (sorted.conflicts.size() > kListedDraws)
            addLine(notes,
                    fill(text::syncMoreDraws, {count(sorted.conflicts.size() - kListedDraws)}));
    }

    // The new draws that follow the library one after another are added;
    // from the first that does not, the user decides.
    std::vector<DrawRecord> added = std::move(sorted.newer);
    std::size_t following = 0;
    for (std::string previous = newest; following < added.size(); ++following) {
        if (!follows(previous, added[following].issue))
            break;
        previous = added[following].issue;
    }
    if (following < added.size()) {
        const std::vector<DrawRecord> doubtful(added.begin() + std::ptrdiff_t(following),
                                               added.end());
        // The draw they do not follow: the library's newest once the
        // following ones are added.
        const std::string last = following > 0 ? added[following - 1].issue : newest;
        const MessageAnswer answer = messages.showMessage(
            fill(text::syncDoubtfulQuestion, {count(doubtful.size()), last, drawLines(doubtful)}),
            std::string(text::attentionCaption), MessageIcon::Question, MessageButtons::YesNo);
        if (cancel.cancelled())
            return {SyncOutcome::Cancelled};
        if (answer != MessageAnswer::Yes) {
            added.resize(following);
            result.keptOut = int(doubtful.size());
            addLine(notes, fill(text::syncDoubtfulKept, {count(doubtful.size())}));
        }
    }

    if (cancel.cancelled())
        return {SyncOutcome::Cancelled};
    if (!added.empty() && !store.appendDraws(added)) {
        tell(messages, std::string(text::fetchNotWritten), text::refusedCaption, MessageIcon::Stop);
        return {SyncOutcome::NotWritten};
    }
    result.added = int(added.size());
    result.outcome = added.empty() ? SyncOutcome::UpToDate : SyncOutcome::Added;

    // What each draw paid, for the draws the library now holds as given.
    std::string newestDate;
    if (result.source == SyncSource::Official) {
        std::set<std::string> issues = std::move(sorted.held);
        for (const DrawRecord& draw : added)
            issues.insert(draw.issue);
        const std::string libraryNewest = added.empty() ? newest : added.back().issue;
        for (const OfficialDraw& draw : reading.draws)
            if (draw.draw.issue == libraryNewest && issues.contains(libraryNewest))
                newestDate = draw.details.date;
        if (cancel.cancelled())
            return result; // the draws are written; nothing more is
        if (const std::optional<int> saved = keepDetails(details, reading.draws, issues)) {
            result.detailsSaved = *saved;
            if (*saved > 0)
                addLine(notes, fill(text::syncDetailsSaved, {count(*saved)}));
        } else {
            addLine(notes, std::string(text::detailsNotWritten));
        }
    }

    const std::string sourceName(result.source == SyncSource::Official ? text::officialServiceName
                                                                       : text::otherSourcesName);
    const std::string shownNewest = added.empty() ? newest : added.back().issue;
    std::string message;
    if (result.outcome == SyncOutcome::Added)
        message = newestDate.empty()
                      ? fill(text::syncAdded, {sourceName, count(added.size()), shownNewest})
                      : fill(text::syncAddedDated,
                             {sourceName, count(added.size()), shownNewest, newestDate});
    else
        message = newestDate.empty()
                      ? fill(text::syncNothingNewer, {sourceName, shownNewest})
                      : fill(text::syncNothingNewerDated, {sourceName, shownNewest, newestDate});
    const bool trouble = result.conflicts > 0 || result.keptOut > 0;
    tell(messages, message + notes,
         result.outcome == SyncOutcome::Added ? text::successCaption : text::syncCaption,
         trouble ? MessageIcon::Exclamation : MessageIcon::Information);
    return result;
}

DetailsResult completeDrawDetails(const HistoryStore& store, const DrawDetailsStore& details,
                                  HttpGetter& http, const std::string& officialSite,
                                  const OfficialReadOptions& options, MessageBoxPort& messages,
                                  const ProgressHook& progress, const CancelFlag& cancel,
                                  const YieldHook& yield) {
    const std::vector<DrawRecord> library = store.drawsNewestFirst();
    const std::map<std::string, DrawDetails> kept = details.load();
    // The held draws that lack details; the service is read back to the
    // oldest of them and no further.
    std::set<std::string> missing;
    for (const DrawRecord& draw : library)
        if (draw.issue >= kFirstDetailedIssue && !kept.contains(draw.issue))
            missing.insert(draw.issue);
    if (missing.empty()) {
        tell(messages, fill(text::detailsComplete, {std::string(kFirstDetailedIssue)}),
             text::detailsCaption, MessageIcon::Information);
        return {DetailsOutcome::Complete};
    }
    const std::string oldestMissing = *missing.begin();

    OfficialReading reading =
        readOfficialDraws(http, officialSite, oldestMissing, options, progress, cancel, yield);
    switch (reading.outcome) {
    case OfficialOutcome::Cancelled:
        return {DetailsOutcome::Cancelled};
    case OfficialOutcome::Refused:
        tell(messages,
             fill(text::officialRefused,
                  {troubleText(reading.trouble), count(options.refusalWaits.size())}) +
                 std::string(text::detailsUnchanged),
             text::refusedCaption, MessageIcon::Stop);
        return {DetailsOutcome::Refused};
    case OfficialOutcome::ServiceError:
        tell(messages,
             fill(text::officialNoData, {troubleText(reading.trouble)}) +
                 std::string(text::detailsUnchanged),
             text::refusedCaption, MessageIcon::Stop);
        return {DetailsOutcome::ServiceError};
    case OfficialOutcome::Nothing:
        tell(messages,
             fill(text::officialUnreachable, {troubleText(reading.trouble)}) +
                 std::string(text::detailsUnchanged),
             text::refusedCaption, MessageIcon::Stop);
        return {DetailsOutcome::Unreachable};
    case OfficialOutcome::Read:
        break;
    }

    std::vector<DrawRecord> given;
    for (const OfficialDraw& draw : reading.draws)
        given.push_back(draw.draw);
    const Sorted sorted = sortAgainst({library.rbegin(), library.rend()}, given);
    std::set<std::string> issues;
    for (const std::string& issue : sorted.held)
        if (missing.contains(issue))
            issues.insert(issue);
    if (cancel.cancelled())
        return {DetailsOutcome::Cancelled};
    const std::optional<int> saved = keepDetails(details, reading.draws, issues);
    if (!saved) {
        tell(messages, std::string(text::detailsNotWritten), text::refusedCaption,
             MessageIcon::Stop);
        return {DetailsOutcome::NotWritten};
    }
    DetailsResult result{DetailsOutcome::Saved, *saved, int(missing.size()) - *saved};
    std::string message =
        fill(text::detailsDone,
             {count(result.saved), std::string(kFirstDetailedIssue), count(result.missing)});
    if (!sorted.conflicts.empty())
        addLine(message, fill(text::detailsConflicts, {count(sorted.conflicts.size())}));
    message += skippedLines(reading);
    tell(messages, message, text::detailsCaption,
         sorted.conflicts.empty() ? MessageIcon::Information : MessageIcon::Exclamation);
    return result;
}

} // namespace dlt
