#include "history/library_text.h"

#include <algorithm>
#include <optional>

#include "core/rules.h"
#include "history/draw_text.h"

namespace dlt {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool allDigits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), isDigit);
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t begin = line.find_first_not_of(" \t,", at);
        if (begin == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t,", begin), line.size());
        fields.push_back(line.substr(begin, end - begin));
        at = end;
    }
    return fields;
}

// A date as year, month and day of 4, 1-2 and 1-2 digits, joined by "-" or "/".
bool isDate(std::string_view s) {
    const std::size_t first = s.find_first_of("-/");
    const std::size_t second =
        first == std::string_view::npos ? first : s.find_first_of("-/", first + 1);
    if (first != 4 || second == std::string_view::npos || s[first] != s[second]) {
        return false;
    }
    const std::string_view month = s.substr(first + 1, second - first - 1);
    const std::string_view day = s.substr(second + 1);
    auto inRange = [](std::string_view part, int high) {
        if (part.empty() || part.size() > 2 || !allDigits(part)) {
            return false;
        }
        const int v = std::stoi(std::string(part));
        return v >= 1 && v <= high;
    };
    return allDigits(s.substr(0, 4)) && inRange(month, 12) && inRange(day, 31);
}

// The zone's numbers as two-digit tokens, or nothing when one is out of the
// pool or repeats.
std::optional<std::string> zoneDigits(const std::vector<std::string_view>& fields,
                                      std::size_t first, const ZoneRules& rules) {
    std::string digits;
    std::vector<bool> seen(static_cast<std::size_t>(rules.poolSize) + 1, false);
    for (std::size_t i = first; i < first + static_cast<std::size_t>(rules.picksPerDraw); ++i) {
        const std::string_view field = fields[i];
        if (field.empty() || field.size() > 2 || !allDigits(field)) {
            return std::nullopt;
        }
        const int v = std::stoi(std::string(field));
        if (v < 1 || v > rules.poolSize || seen[static_cast<std::size_t>(v)]) {
            return std::nullopt;
        }
        seen[static_cast<std::size_t>(v)] = true;
        digits.push_back(static_cast<char>('0' + v / 10));
        digits.push_back(static_cast<char>('0' + v % 10));
    }
    return digits;
}

} // namespace

std::string libraryText(const std::vector<DrawRecord>& newestFirst) {
    std::string text;
    text.reserve(newestFirst.size() * 27);
    for (const DrawRecord& draw : newestFirst) {
        text += draw.issue;
        text += ' ';
        text += formatNumberGroups(draw.front);
        text += ' ';
        text += formatNumberGroups(draw.back);
        text += '\n';
    }
    return text;
}

LibraryImport parseLibraryText(std::string_view text) {
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    const ZoneRules& front = rulesFor(Zone::Front);
    const ZoneRules& back = rulesFor(Zone::Back);
    const std::size_t numbers = static_cast<std::size_t>(front.picksPerDraw + back.picksPerDraw);

    LibraryImport result;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::vector<std::string_view> fields = fieldsOf(line);
        if (fields.empty()) {
            continue;
        }
        auto reject = [&](LineProblem problem) {
            result.newestFirst.clear();
            result.dates.clear();
            result.badLine = lineNumber;
            result.badText = std::string(line);
            result.problem = problem;
            return result;
        };
        const bool dated = fields.size() == numbers + 2;
        if ((fields.size() != numbers + 1 && !dated) || (dated && !isDate(fields[1]))) {
            return reject(LineProblem::Fields);
        }
        const std::string_view issue = fields[0];
        if (issue.size() != kIssueDigits || !allDigits(issue)) {
            return reject(LineProblem::Issue);
        }
        const std::size_t firstNumber = dated ? 2 : 1;
        const std::optional<std::string> frontDigits = zoneDigits(fields, firstNumber, front);
        if (!frontDigits) {
            return reject(LineProblem::Front);
        }
        const std::optional<std::string> backDigits =
            zoneDigits(fields, firstNumber + static_cast<std::size_t>(front.picksPerDraw), back);
        if (!backDigits) {
            return reject(LineProblem::Back);
        }
        // Five digits compare as text in the order of their values.
        if (!result.newestFirst.empty() && issue >= result.newestFirst.back().issue) {
            return reject(LineProblem::Order);
        }
        result.newestFirst.push_back(DrawRecord{std::string(issue), *frontDigits, *backDigits});
        result.dates.emplace_back(dated ? fields[1] : std::string_view());
    }
    return result;
}

HistoryColumns columnsOf(const std::vector<DrawRecord>& newestFirst) {
    HistoryColumns columns;
    columns.issues.reserve(newestFirst.size() * 5);
    columns.fronts.reserve(newestFirst.size() * 10);
    columns.backs.reserve(newestFirst.size() * 4);
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) {
        columns.issues += it->issue;
        columns.fronts += it->front;
        columns.backs += it->back;
    }
    return columns;
}

} // namespace dlt
