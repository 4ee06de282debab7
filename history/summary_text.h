// The two summary lines under the entry boxes: the library's size and newest
// issue, and the newest draw's numbers.
#pragma once

#include <string>
#include <string_view>

#include "core/ports.h"

namespace dlt {

struct SummaryLines {
    std::string count;   // "号库数量:" + count + "    第" + issue + "期:"
    std::string numbers; // front groups + two spaces + back groups
};

SummaryLines summaryLines(int count, std::string_view issue, std::string_view front,
                          std::string_view back, const YieldHook& yield = {});

} // namespace dlt
