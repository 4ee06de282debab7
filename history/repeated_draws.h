// The draws a history file gives, each issue once: a repeat is dropped, and
// an issue that stands with different numbers is taken from neither line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "history/draw_file.h"

namespace dlt {

struct FoundDraw {
    int line = 0;
    std::string_view text; // the line, in the file's text or in its records' lines
    DrawRecord draw;
    std::string_view date; // as written, beside the text
};

struct DistinctDraws {
    std::vector<DrawRecord> oldestFirst; // by issue
    std::vector<std::string> dates;      // parallel to oldestFirst
    std::vector<SkippedLine> dropped;    // Repeated and Conflict, in the order of the issues
};

DistinctDraws distinctDraws(const std::vector<FoundDraw>& found);

} // namespace dlt
