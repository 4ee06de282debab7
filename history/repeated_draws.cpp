#include "history/repeated_draws.h"

#include <algorithm>
#include <numeric>

namespace dlt {

DistinctDraws distinctDraws(const std::vector<FoundDraw>& found) {
    std::vector<std::size_t> byIssue(found.size());
    std::iota(byIssue.begin(), byIssue.end(), std::size_t{0});
    std::stable_sort(byIssue.begin(), byIssue.end(), [&](std::size_t a, std::size_t b) {
        return found[a].draw.issue < found[b].draw.issue;
    });
    DistinctDraws result;
    result.oldestFirst.reserve(found.size());
    result.dates.reserve(found.size());
    for (std::size_t first = 0; first < byIssue.size();) {
        std::size_t end = first + 1;
        while (end < byIssue.size() &&
               found[byIssue[end]].draw.issue == found[byIssue[first]].draw.issue)
            ++end;
        const FoundDraw& kept = found[byIssue[first]];
        const bool agree = std::all_of(byIssue.begin() + std::ptrdiff_t(first),
                                       byIssue.begin() + std::ptrdiff_t(end),
                                       [&](std::size_t i) { return found[i].draw == kept.draw; });
        if (agree) {
            result.oldestFirst.push_back(kept.draw);
            result.dates.emplace_back(kept.date);
        }
        for (std::size_t k = agree ? first + 1 : first; k < end; ++k) {
            const FoundDraw& again = found[byIssue[k]];
            result.dropped.push_back({again.line, std::string(again.text),
                                      agree ? SkipReason::Repeated : SkipReason::Conflict});
        }
        first = end;
    }
    return result;
}

} // namespace dlt
