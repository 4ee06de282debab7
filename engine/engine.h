// The recommendation algorithm: turns one zone's history into three graded
// number lists, a final list and the next-draw picks.
//
// Texts are byte strings of two-digit tokens ("01" .. "35"). Token k (1-based)
// occupies characters 2k-1 and 2k; a text of L characters holds floor(L / 2)
// tokens and a trailing odd character is ignored. A token that is not two
// ASCII digits spelling a number of the zone's pool (1 .. poolSize) is
// out of range: it is never tallied, but it still counts as a token (in the
// cold threshold, in the recent window and in the stride passes).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/ports.h"
#include "core/rules.h"

namespace dlt {

// Two-digit tokens, each number at most once, best first.
using NumberText = std::string;
// Exactly picksPerDraw runs of consecutive tokens of one list (a run may be empty).
using GroupSet = std::vector<std::string>;

struct NumberList {
    NumberText text;
    GroupSet groups;
};

enum class ResultLevel { Select, Level1, Level2, Level3 };

// Where the engine hands its finished lists (the result grid implements it).
class ResultSink {
public:
    virtual ~ResultSink() = default;
    virtual void showGroups(Zone zone, ResultLevel level, const GroupSet& groups) = 0;
    virtual void showNextDrawPicks(Zone zone, const std::vector<int>& picks) = 0;
};

// The engine calls its YieldHook (core/ports.h) at fixed points so that a
// window stays responsive during a run; an empty hook is never called.

struct InsufficientHistory {
    int minimumDraws;
};

struct ZoneResult {
    NumberList coldRecent;
    NumberList strideVote;
    NumberList coldAll;
    NumberList finalList;
    std::vector<int> nextDrawPicks;
};

using ZoneOutcome = std::variant<InsufficientHistory, ZoneResult>;

// Cuts a list into groupCount runs of consecutive tokens.
GroupSet splitIntoGroups(std::string_view list, std::int32_t groupCount);

// The numbers drawn fewer times in the text than the cold threshold
// max(baseCount, floor(tokens / poolSize)), fewest first, ties by number.
NumberList coldList(std::string_view text, const ZoneRules& rules, const YieldHook& yield = {});

// The three level lists whose positions order the tiers of the final vote.
struct LevelLists {
    std::string_view coldRecent;
    std::string_view strideVote;
    std::string_view coldAll;
};

// Orders the numbers of one tier by the sum of their positions on the three
// level lists (an absent number counts as the list's token count + 1),
// ties by number.
std::vector<std::int32_t> tierOrder(const std::vector<std::int32_t>& tier, const LevelLists& levels,
                                    const YieldHook& yield = {});

// The numbers held by more than half of the passCount lists concatenated in
// the text (2 x count > passCount), most votes first, ties by number; with
// levels given, each tier of equal votes is ordered by tierOrder.
NumberList voteList(std::string_view text, std::int32_t passCount, const ZoneRules& rules,
                    const LevelLists* levels = nullptr, const YieldHook& yield = {});

// The next-draw picks of a final list: its first picksPerDraw tokens as
// integers (a missing token counts as 0), in ascending order.
std::vector<int> picksFromList(std::string_view finalList, const ZoneRules& rules);

// The token indices (1-based) each stride pass takes from a history of
// tokenCount tokens, in the order they are taken: pass i uses the stride
// i + 1 from the newest token back, at most windowNumbers tokens.
std::vector<std::vector<std::int32_t>> strideSample(const ZoneRules& rules,
                                                    std::int32_t tokenCount);

// Runs the whole computation for one zone, handing each finished list to the
// sink as soon as it is ready. Nothing reaches the sink when the history holds
// fewer than minimumDraws whole draws.
ZoneOutcome computeZone(const ZoneRules& rules, const ZoneText& text, ResultSink& sink,
                        const YieldHook& yield = {});

} // namespace dlt
