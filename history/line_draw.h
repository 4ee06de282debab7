// The draw one line of a history file holds, found among its tokens.
#pragma once

#include <optional>
#include <string_view>

#include "core/draw_record.h"
#include "history/draw_file.h"

namespace dlt {

struct LineDraw {
    bool hasNumber = false; // a line without a number holds no draw and is no fault
    std::optional<DrawRecord> draw;
    std::string_view date; // the first date after the issue, as written
    SkipReason reason = SkipReason::NotADraw;
};

// The issue is the first number of the line, or the second after an index
// column; the draw is the seven numbers after it, dates and words between
// them passed over. Each zone's numbers come back ascending.
LineDraw drawOfLine(std::string_view line, const CancelFlag* cancel = nullptr);

} // namespace dlt
