#include "engine/engine.h"

#include <algorithm>
#include <array>
#include <utility>

namespace dlt {

namespace {

void appendToken(std::string& out, std::int32_t number) {
    out.push_back(static_cast<char>('0' + number / 10));
    out.push_back(static_cast<char>('0' + number % 10));
}

// Every number is two decimal digits, so no pool exceeds 99.
constexpr std::int32_t kLargestNumber = 99;
static_assert(kLotteryRules.front.poolSize <= kLargestNumber &&
              kLotteryRules.back.poolSize <= kLargestNumber);

std::int32_t poolOf(const ZoneRules& rules) {
    return std::clamp(rules.poolSize, 0, kLargestNumber);
}

// One counter per number 1..poolSize; index 0 is never used.
using Tally = std::array<std::int32_t, kLargestNumber + 1>;

// Numbers of one list in their order; at most one per number of the pool.
struct Ranking {
    std::array<std::int32_t, kLargestNumber> numbers{};
    std::size_t size = 0;

    const std::int32_t* begin() const { return numbers.data(); }
    const std::int32_t* end() const { return numbers.data() + size; }
    void push(std::int32_t v) { numbers[size++] = v; }
};

Tally tallyText(std::string_view text, const ZoneRules& rules) {
    Tally counts{};
    const std::int32_t pool = poolOf(rules);
    const std::int32_t tokens = tokenCount(text);
    for (std::int32_t k = 1; k <= tokens; ++k) {
        if (const std::int32_t v = tokenNumber(text, k, pool); v != 0) {
            ++counts[static_cast<std::size_t>(v)];
        }
    }
    return counts;
}

// Orders numbers collected in ascending order by their counts, keeping ties by
// number (a stable insertion sort over at most 99 numbers).
template <typename Before> void sortKeepingNumberOrder(Ranking& ranking, Before before) {
    for (std::size_t i = 1; i < ranking.size; ++i) {
        const std::int32_t v = ranking.numbers[i];
        std::size_t j = i;
        while (j > 0 && before(v, ranking.numbers[j - 1])) {
            ranking.numbers[j] = ranking.numbers[j - 1];
            --j;
        }
        ranking.numbers[j] = v;
    }
}

// The cold numbers of a text whose occurrence table and token count are known.
Ranking coldNumbers(const Tally& counts, std::int32_t tokens, const ZoneRules& rules,
                    const YieldHook& yield) {
    const std::int32_t pool = poolOf(rules);
    const std::int32_t threshold =
        pool > 0 ? std::max(rules.baseCount, tokens / pool) : rules.baseCount;
    Ranking cold;
    for (std::int32_t v = 1; v <= pool; ++v) {
        if (counts[static_cast<std::size_t>(v)] < threshold) {
            cold.push(v);
        }
        yieldIfSet(yield);
    }
    sortKeepingNumberOrder(cold, [&](std::int32_t a, std::int32_t b) {
        return counts[static_cast<std::size_t>(a)] < counts[static_cast<std::size_t>(b)];
    });
    return cold;
}

NumberList listOf(const Ranking& ranking, const ZoneRules& rules) {
    NumberList list;
    list.text.reserve(ranking.size * 2);
    for (const std::int32_t v : ranking) {
        appendToken(list.text, v);
    }
    list.groups = splitIntoGroups(list.text, rules.picksPerDraw);
    return list;
}

NumberList emptyList(const ZoneRules& rules) {
    return NumberList{{}, GroupSet(static_cast<std::size_t>(std::max(rules.picksPerDraw, 0)))};
}

// The vote over lists whose occurrence table is known (the tally of their
// concatenation).
NumberList voteFromTally(const Tally& counts, std::int32_t passCount, const ZoneRules& rules,
                         const LevelLists* levels, const YieldHook& yield) {
    const std::int32_t pool = poolOf(rules);
    Ranking kept;
    for (std::int32_t v = 1; v <= pool; ++v) {
        if (2 * static_cast<std::int64_t>(counts[static_cast<std::size_t>(v)]) > passCount) {
            kept.push(v);
        }
        yieldIfSet(yield);
    }
    sortKeepingNumberOrder(kept, [&](std::int32_t a, std::int32_t b) {
        return counts[static_cast<std::size_t>(a)] > counts[static_cast<std::size_t>(b)];
    });

    if (levels != nullptr) {
        // Tiers of equal votes keep their order; inside a tier the positions decide.
        std::size_t begin = 0;
        while (begin < kept.size) {
            const std::int32_t votes = counts[static_cast<std::size_t>(kept.numbers[begin])];
            std::size_t end = begin;
            while (end < kept.size &&
                   counts[static_cast<std::size_t>(kept.numbers[end])] == votes) {
                ++end;
            }
            const std::vector<std::int32_t> tier(
                kept.numbers.begin() + static_cast<std::ptrdiff_t>(begin),
                kept.numbers.begin() + static_cast<std::ptrdiff_t>(end));
            const std::vector<std::int32_t> ordered = tierOrder(tier, *levels, yield);
            std::copy(ordered.begin(), ordered.end(),
                      kept.numbers.begin() + static_cast<std::ptrdiff_t>(begin));
            begin = end;
        }
    }
    return listOf(kept, rules);
}

// Walks the stride passes over a history of `tokens` tokens: onToken(index)
// for every token taken, onPassEnd() after every pass.
template <typename OnToken, typename OnPassEnd>
void walkStridePasses(const ZoneRules& rules, std::int32_t tokens, OnToken&& onToken,
                      OnPassEnd&& onPassEnd) {
    const std::int32_t window = rules.windowNumbers();
    const std::int32_t q = tokens / window;
    const std::int32_t passes = q > 1 ? q - 1 : 0;
    for (std::int32_t pass = 1; pass <= passes; ++pass) {
        const std::int32_t stride = pass + 1;
        std::int32_t taken = 0;
        for (std::int32_t index = tokens; index >= 1 && taken < window; index -= stride) {
            onToken(index);
            ++taken;
        }
        onPassEnd();
    }
}

} // namespace

GroupSet splitIntoGroups(std::string_view list, std::int32_t groupCount) {
    if (groupCount <= 0) {
        return {};
    }
    const std::int32_t n = tokenCount(list);
    std::int32_t size = n / groupCount;
    if (n - size * groupCount >= 3) {
        ++size;
    }
    GroupSet groups(static_cast<std::size_t>(groupCount));
    auto take = [&](std::int32_t firstToken, std::int32_t count) -> std::string {
        if (firstToken >= n || count <= 0) {
            return {};
        }
        count = std::min(count, n - firstToken);
        return std::string(list.substr(2 * static_cast<std::size_t>(firstToken),
                                       2 * static_cast<std::size_t>(count)));
    };
    for (std::int32_t g = 0; g + 1 < groupCount; ++g) {
        groups[static_cast<std::size_t>(g)] = take(g * size, size);
    }
    const std::int32_t lastStart = (groupCount - 1) * size;
    groups.back() = take(lastStart, n - lastStart);
    return groups;
}

NumberList coldList(std::string_view text, const ZoneRules& rules, const YieldHook& yield) {
    return listOf(coldNumbers(tallyText(text, rules), tokenCount(text), rules, yield), rules);
}

std::vector<std::int32_t> tierOrder(const std::vector<std::int32_t>& tier, const LevelLists& levels,
                                    const YieldHook& yield) {
    auto pos = [](std::string_view list, std::int32_t v) {
        const std::int32_t p = tokenPosition(list, v);
        return p != 0 ? p : tokenCount(list) + 1;
    };
    std::vector<std::pair<std::int32_t, std::int32_t>> scored; // (score, number)
    scored.reserve(tier.size());
    for (const std::int32_t v : tier) {
        scored.emplace_back(
            pos(levels.coldRecent, v) + pos(levels.strideVote, v) + pos(levels.coldAll, v), v);
        yieldIfSet(yield);
    }
    std::sort(scored.begin(), scored.end());
    std::vector<std::int32_t> ordered;
    ordered.reserve(scored.size());
    for (const auto& entry : scored) {
        ordered.push_back(entry.second);
    }
    return ordered;
}

NumberList voteList(std::string_view text, std::int32_t passCount, const ZoneRules& rules,
                    const LevelLists* levels, const YieldHook& yield) {
    if (text.empty()) {
        return emptyList(rules);
    }
    return voteFromTally(tallyText(text, rules), passCount, rules, levels, yield);
}

std::vector<int> picksFromList(std::string_view finalList, const ZoneRules& rules) {
    std::vector<int> picks(static_cast<std::size_t>(std::max(rules.picksPerDraw, 0)), 0);
    const std::int32_t taken = std::min(tokenCount(finalList), rules.picksPerDraw);
    for (std::int32_t k = 1; k <= taken; ++k) {
        picks[static_cast<std::size_t>(k - 1)] = tokenNumber(finalList, k, rules.poolSize);
    }
    std::sort(picks.begin(), picks.end());
    return picks;
}

std::vector<std::vector<std::int32_t>> strideSample(const ZoneRules& rules, std::int32_t tokens) {
    std::vector<std::vector<std::int32_t>> passes;
    std::vector<std::int32_t> current;
    walkStridePasses(
        rules, tokens, [&](std::int32_t index) { current.push_back(index); },
        [&] {
            passes.push_back(std::move(current));
            current.clear();
        });
    return passes;
}

ZoneOutcome computeZone(const ZoneRules& rules, const ZoneText& text, ResultSink& sink,
                        const YieldHook& yield) {
    if (!hasEnoughHistory(rules, text)) {
        return InsufficientHistory{rules.minimumDraws()};
    }
    const Zone zone = zoneOf(rules);
    const std::string_view history(text);
    const std::int32_t tokens = tokenCount(history);
    const std::int32_t window = rules.windowNumbers();

    auto handOver = [&](ResultLevel level, const GroupSet& groups) {
        sink.showGroups(zone, level, groups);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            yieldIfSet(yield);
        }
    };

    ZoneResult result;

    // Stage 1: the recent window, the last windowNumbers tokens.
    const std::int32_t recentTokens = std::min(tokens, window);
    result.coldRecent = coldList(history.substr(2 * static_cast<std::size_t>(tokens - recentTokens),
                                                2 * static_cast<std::size_t>(recentTokens)),
                                 rules, yield);
    handOver(ResultLevel::Level2, result.coldRecent.groups);

    // Stage 2: stride passes. The sample text only ever grows, and a cold list
    // depends only on the sample's occurrence table and token count, so both
    // are kept up to date token by token instead of re-tallying the sample
    // after every pass. Likewise the vote needs only the occurrence table of
    // the concatenated pass lists, so each pass's cold numbers are counted
    // straight into it.
    {
        Tally sampleCounts{};
        std::int32_t sampleTokens = 0;
        Tally votes{};
        bool anyCold = false;
        const std::int32_t pool = poolOf(rules);
        walkStridePasses(
            rules, tokens,
            [&](std::int32_t index) {
                if (const std::int32_t v = tokenNumber(history, index, pool); v != 0) {
                    ++sampleCounts[static_cast<std::size_t>(v)];
                }
                ++sampleTokens;
                yieldIfSet(yield);
            },
            [&] {
                for (const std::int32_t v : coldNumbers(sampleCounts, sampleTokens, rules, yield)) {
                    ++votes[static_cast<std::size_t>(v)];
                    anyCold = true;
                }
                yieldIfSet(yield);
            });
        const std::int32_t q = tokens / window;
        const std::int32_t passCount = q == 0 ? 1 : q;
        result.strideVote =
            anyCold ? voteFromTally(votes, passCount, rules, nullptr, yield) : emptyList(rules);
    }
    handOver(ResultLevel::Level1, result.strideVote.groups);

    // Stage 3: the whole history.
    result.coldAll = coldList(history, rules, yield);
    handOver(ResultLevel::Level3, result.coldAll.groups);

    // Final stage: numbers on at least two of the three lists.
    const LevelLists levels{result.coldRecent.text, result.strideVote.text, result.coldAll.text};
    result.finalList =
        voteList(result.coldRecent.text + result.strideVote.text + result.coldAll.text, 3, rules,
                 &levels, yield);

    result.nextDrawPicks = picksFromList(result.finalList.text, rules);
    sink.showNextDrawPicks(zone, result.nextDrawPicks);
    handOver(ResultLevel::Select, result.finalList.groups);

    return result;
}

} // namespace dlt
