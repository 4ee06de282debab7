// The commands that show and change the library from the main window's entry
// area: adding a typed draw, deleting the newest one, and the two summary
// lines. They talk to the user through the message-box port only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ports.h"
#include "history/history_store.h"
#include "history/summary_text.h"

namespace dlt {

// Typed characters of the numbers of a whole draw (14), after the issue's.
inline constexpr std::size_t kNumbersLength = kFrontDigits + kBackDigits;

// The acceptance rule: the draw is taken when the issue holds exactly 5
// characters and the numbers exactly 14. Nothing else is checked (not the
// values, ranges, order or repeats), so what is typed is stored as typed.
std::optional<DrawRecord> acceptDraw(std::string_view issue, std::string_view numbers);

enum class AddOutcome {
    Rejected, // the lengths are wrong: "期数或号码输入不正确" was shown
    NotSaved, // the files could not be written: the library is unchanged
    Added,    // stored; "号码已成功添加！" was shown
};

// Adds a typed draw (the texts of the two boxes) and tells the user how it went.
AddOutcome addTypedDraw(const HistoryStore& store, MessageBoxPort& messages, std::string_view issue,
                        std::string_view numbers);

enum class DeleteOutcome { NothingToDelete, Cancelled, NotSaved, Deleted };

// Asks, then removes the newest draw and tells the user how it went. An empty
// library is reported as such without asking.
DeleteOutcome deleteNewestDraw(const HistoryStore& store, MessageBoxPort& messages);

// The two summary lines of the library's newest draw.
SummaryLines historySummary(const HistoryStore& store, const YieldHook& yield = {});

} // namespace dlt
