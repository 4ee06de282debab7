#include "history/library_merge.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "core/draw_check.h"

namespace dlt {

namespace {

std::vector<std::string_view> sortedGroups(std::string_view digits) {
    std::vector<std::string_view> groups;
    for (std::size_t at = 0; at + 1 < digits.size(); at += 2)
        groups.push_back(digits.substr(at, 2));
    std::sort(groups.begin(), groups.end());
    return groups;
}

} // namespace

bool sameNumbers(const DrawRecord& a, const DrawRecord& b) {
    return sortedGroups(a.front) == sortedGroups(b.front) &&
           sortedGroups(a.back) == sortedGroups(b.back);
}

LibraryComparison compareWithLibrary(const std::vector<DrawRecord>& library,
                                     const std::vector<DrawRecord>& file) {
    std::unordered_map<std::string_view, std::vector<const DrawRecord*>> held;
    held.reserve(library.size());
    for (const DrawRecord& draw : library)
        held[draw.issue].push_back(&draw);
    LibraryComparison comparison;
    std::unordered_map<std::string_view, bool> inFile;
    inFile.reserve(file.size());
    for (const DrawRecord& draw : file) {
        inFile[draw.issue] = true;
        const auto found = held.find(draw.issue);
        if (found == held.end()) {
            ++comparison.newDraws;
        } else if (std::any_of(found->second.begin(), found->second.end(),
                               [&](const DrawRecord* own) { return sameNumbers(*own, draw); })) {
            ++comparison.sameDraws;
        } else {
            comparison.conflicts.push_back({*found->second.front(), draw});
        }
    }
    comparison.libraryOnly =
        static_cast<int>(std::count_if(library.begin(), library.end(), [&](const DrawRecord& d) {
            return !inFile.count(d.issue);
        }));
    return comparison;
}

std::vector<DrawRecord> mergedLibrary(const std::vector<DrawRecord>& library,
                                      const std::vector<DrawRecord>& file) {
    std::unordered_map<std::string_view, bool> held;
    held.reserve(library.size());
    for (const DrawRecord& draw : library)
        held[draw.issue] = true;
    std::vector<const DrawRecord*> added;
    for (const DrawRecord& draw : file)
        if (!held.count(draw.issue))
            added.push_back(&draw);
    std::sort(added.begin(), added.end(),
              [](const DrawRecord* a, const DrawRecord* b) { return a->issue < b->issue; });
    // A new draw goes before the first library draw with a later issue, so a
    // library in issue order stays in issue order and one that is not keeps
    // its own order.
    std::vector<DrawRecord> merged;
    merged.reserve(library.size() + added.size());
    auto next = added.begin();
    for (const DrawRecord& own : library) {
        while (next != added.end() && (*next)->issue < own.issue)
            merged.push_back(**next++);
        merged.push_back(own);
    }
    for (; next != added.end(); ++next)
        merged.push_back(**next);
    return merged;
}

std::vector<DrawRecord> drawsNewerThanLibrary(const std::vector<DrawRecord>& library,
                                              std::vector<DrawRecord> fetched) {
    std::string newest;
    for (const DrawRecord& draw : library)
        newest = std::max(newest, draw.issue);
    std::erase_if(fetched,
                  [&](const DrawRecord& d) { return !isSoundDraw(d) || d.issue <= newest; });
    std::stable_sort(fetched.begin(), fetched.end(),
                     [](const DrawRecord& a, const DrawRecord& b) { return a.issue < b.issue; });
    fetched.erase(
        std::unique(fetched.begin(), fetched.end(),
                    [](const DrawRecord& a, const DrawRecord& b) { return a.issue == b.issue; }),
        fetched.end());
    return fetched;
}

LibraryCheck checkLibrary(std::string_view issues, std::string_view fronts,
                          std::string_view backs) {
    LibraryCheck check;
    check.columnBytes[0] = issues.size();
    check.columnBytes[1] = fronts.size();
    check.columnBytes[2] = backs.size();
    const std::size_t count = fronts.size() / kFrontDigits;
    check.draws = static_cast<int>(count);
    if (issues.size() != kIssueDigits * count || fronts.size() != kFrontDigits * count ||
        backs.size() != kBackDigits * count)
        check.findings.push_back({FindingKind::ColumnsOutOfStep, {}, {}, 0});

    // Draws are aligned from the newest, as the store reads them; a column
    // too short for a draw leaves that field out of the check.
    std::map<std::string, int> seen;
    for (std::size_t oldest = 0; oldest < count; ++oldest) {
        const std::size_t fromNewest = count - oldest;
        auto field = [&](std::string_view column, std::size_t width) -> std::string_view {
            return column.size() >= width * fromNewest
                       ? column.substr(column.size() - width * fromNewest, width)
                       : std::string_view();
        };
        const std::string issue(field(issues, kIssueDigits));
        const std::string_view front = field(fronts, kFrontDigits);
        const std::string_view back = field(backs, kBackDigits);
        if (isIssue(issue))
            ++seen[issue];
        else if (!issue.empty())
            check.findings.push_back({FindingKind::BadIssue, issue, {}, 0});
        if (!isSoundZone(front, kLotteryRules.front))
            check.findings.push_back({FindingKind::FrontNumbers, issue, {}, 0});
        if (!back.empty() && !isSoundZone(back, kLotteryRules.back))
            check.findings.push_back({FindingKind::BackNumbers, issue, {}, 0});
    }
    for (const auto& [issue, times] : seen)
        if (times > 1)
            check.findings.push_back({FindingKind::RepeatedIssue, issue, {}, times});

    // Issues run 001, 002, ... within a year (the first two digits). A year
    // that follows a year of the library must start at 001.
    auto issueText = [](int year, int number) {
        std::string text = std::to_string(year * 1000 + number);
        return std::string(kIssueDigits - std::min(kIssueDigits, text.size()), '0') + text;
    };
    int previousYear = -1, previousNumber = 0;
    for (const auto& [issue, times] : seen) {
        const int year = std::stoi(issue.substr(0, 2));
        const int number = std::stoi(issue.substr(2));
        int firstMissing = 0;
        if (year == previousYear)
            firstMissing = previousNumber + 1;
        else if (year == previousYear + 1)
            firstMissing = 1;
        if (firstMissing > 0 && number > firstMissing)
            check.findings.push_back({FindingKind::IssueGap, issueText(year, firstMissing),
                                      issueText(year, number - 1), number - firstMissing});
        previousYear = year;
        previousNumber = number;
    }
    return check;
}

} // namespace dlt
