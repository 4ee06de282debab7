// The recommendation algorithm: turns one zone's history into three graded
// number lists, a final list and the next-draw picks.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "engine/rules.h"

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

// Called at fixed points so that a window stays responsive during a run.
using YieldHook = std::function<void()>;

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

ZoneOutcome computeZone(const ZoneRules& rules, const ZoneText& text, ResultSink& sink,
                        const YieldHook& yield = {});

} // namespace dlt
