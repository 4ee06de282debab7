// One draw as the library stores it, and the names of the library's files.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/rules.h"

namespace dlt {

// The widths of a stored draw: the issue (two-digit year, three-digit number),
// then each zone's two-digit tokens.
inline constexpr std::size_t kIssueDigits = 5;
inline constexpr std::size_t kFrontDigits = kLotteryRules.front.digitsPerDraw();
inline constexpr std::size_t kBackDigits = kLotteryRules.back.digitsPerDraw();

struct DrawRecord {
    std::string issue; // kIssueDigits digits
    std::string front; // kFrontDigits digits: five two-digit numbers
    std::string back;  // kBackDigits digits: two two-digit numbers
    bool operator==(const DrawRecord&) const = default;
};

// The library's column files: issues, then each zone under its zone key.
namespace columnKey {
inline constexpr std::string_view issue = "qh";
inline constexpr std::string_view front = kLotteryRules.front.zoneKey;
inline constexpr std::string_view back = kLotteryRules.back.zoneKey;
} // namespace columnKey

inline constexpr std::string_view kHistoryFileExtension = ".dll";

// The result grid's columns: "1" and the pick's place in the front zone, "2"
// and its place in the back zone ("11" .. "15", "21", "22").
inline constexpr std::array<std::string_view,
                            kLotteryRules.front.picksPerDraw + kLotteryRules.back.picksPerDraw>
    kGridColumnDigits = {"11", "12", "13", "14", "15", "21", "22"};

} // namespace dlt
