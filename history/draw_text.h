// How draws are shown: digit texts as two-character groups, and the lines of
// the history list.
#pragma once

#include <string>
#include <string_view>

#include "core/ports.h"

namespace dlt {

// The two-character groups of digits joined by one space ("0102" gives
// "01 02"); an odd last character is dropped. yield runs after each group.
std::string formatNumberGroups(std::string_view digits, const YieldHook& yield = {});

// "第" + issue + "期 " + front groups + two spaces + back groups.
std::string historyListLine(std::string_view issue, std::string_view front, std::string_view back,
                            const YieldHook& yield = {});

} // namespace dlt
