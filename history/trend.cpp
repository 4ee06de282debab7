#include "history/trend.h"

#include <algorithm>

#include "core/rules.h"

namespace dlt {

namespace {

// Marks the numbers of one zone field in a draw's cells; false when the field
// is shorter than the zone's width.
bool markField(const std::string& field, const ZoneRules& rules, TrendCell* cells) {
    if (static_cast<std::int32_t>(field.size()) < rules.digitsPerDraw()) {
        return false;
    }
    for (std::int32_t k = 1; k <= rules.picksPerDraw; ++k) {
        if (const std::int32_t v = tokenNumber(field, k, rules.poolSize); v != 0) {
            cells[v - 1].drawn = true;
        }
    }
    return true;
}

} // namespace

TrendTable buildTrend(const std::vector<DrawRecord>& newestFirst) {
    TrendTable table;
    const std::size_t draws = newestFirst.size();
    table.issues.reserve(draws);
    table.cells.assign(draws * TrendTable::kColumns, TrendCell{});
    std::vector<std::int32_t> missing(TrendTable::kColumns, 0);
    for (std::size_t d = 0; d < draws; ++d) {
        const DrawRecord& draw = newestFirst[draws - 1 - d];
        table.issues.push_back(draw.issue);
        TrendCell* row = &table.cells[d * TrendTable::kColumns];
        const bool frontKnown = markField(draw.front, rulesFor(Zone::Front), row);
        const bool backKnown =
            markField(draw.back, rulesFor(Zone::Back), row + TrendTable::kFrontColumns);
        for (int c = 0; c < TrendTable::kColumns; ++c) {
            TrendCell& cell = row[c];
            cell.known = c < TrendTable::kFrontColumns ? frontKnown : backKnown;
            missing[static_cast<std::size_t>(c)] =
                cell.drawn ? 0 : missing[static_cast<std::size_t>(c)] + 1;
            cell.omission = missing[static_cast<std::size_t>(c)];
        }
    }
    return table;
}

std::vector<NumberStatistics> trendStatistics(const TrendTable& table, int firstDraw) {
    std::vector<NumberStatistics> stats(TrendTable::kColumns);
    const int first = std::clamp(firstDraw, 0, table.draws());
    const int rows = table.draws() - first;
    for (int c = 0; c < TrendTable::kColumns; ++c) {
        NumberStatistics& s = stats[static_cast<std::size_t>(c)];
        int run = 0;
        for (int d = first; d < table.draws(); ++d) {
            const TrendCell& cell = table.cell(d, c);
            run = cell.drawn ? run + 1 : 0;
            s.timesDrawn += cell.drawn ? 1 : 0;
            s.longestRun = std::max(s.longestRun, run);
            s.longestOmission = std::max(s.longestOmission, cell.omission);
        }
        // n draws split the range into n + 1 gaps of missing draws.
        s.averageOmission = (rows - s.timesDrawn) / (s.timesDrawn + 1);
        s.currentOmission = rows > 0 ? table.cell(table.draws() - 1, c).omission : 0;
    }
    return stats;
}

} // namespace dlt
