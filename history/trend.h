// The trend chart's figures: for every draw of the library and every number
// of both zones, whether the draw holds it or how many draws it has been
// missing, and each number's statistics over a range of draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/history_store.h"

namespace dlt {

struct TrendCell {
    std::int32_t omission = 0; // draws since the number last came up (0 when this draw holds it)
    bool drawn = false;
    bool known = true; // false when the draw's field of this zone is missing (a damaged column)
};

struct TrendTable {
    // The 35 front numbers, then the 12 back numbers.
    static constexpr int kFrontColumns = 35;
    static constexpr int kBackColumns = 12;
    static constexpr int kColumns = kFrontColumns + kBackColumns;

    std::vector<std::string> issues; // oldest first; empty for a missing field
    std::vector<TrendCell> cells;    // draw-major, kColumns per draw

    int draws() const { return static_cast<int>(issues.size()); }
    const TrendCell& cell(int draw, int column) const {
        return cells[static_cast<std::size_t>(draw) * kColumns + static_cast<std::size_t>(column)];
    }
};

// From the draws as the store lists them (newest first). A field shorter than
// its width leaves that zone's cells of the draw unknown; the omissions run on
// through it. Numbers outside the zone's pool are not drawn.
TrendTable buildTrend(const std::vector<DrawRecord>& newestFirst);

struct NumberStatistics {
    int timesDrawn = 0;
    int averageOmission =
        0; // mean length of the gaps around the draws that hold it, fraction dropped
    int longestOmission = 0; // the largest omission shown in the range
    int currentOmission = 0; // at the newest draw of the range
    int longestRun = 0;      // most consecutive draws that hold it
};

// Per column, over the draws firstDraw .. the newest.
std::vector<NumberStatistics> trendStatistics(const TrendTable& table, int firstDraw);

} // namespace dlt
