#include "app/windows/engine_texts.h"

#include <cstdio>

#include "app/form/money_text.h"
#include "app/ports/text.h"
#include "core/texts.h"

namespace dlt::gui {

namespace {

std::string fixed3(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

std::string_view zoneName(Zone zone) {
    return zone == Zone::Front ? text::frontZoneName : text::backZoneName;
}

} // namespace

std::string_view tierName(int number) {
    static constexpr std::string_view kNames[kMostTiers + 1] = {
        {},
        text::tierFirst,
        text::tierSecond,
        text::tierThird,
        text::tierFourth,
        text::tierFifth,
        text::tierSixth,
        text::tierSeventh,
        text::tierEighth,
        text::tierNinth,
    };
    return number >= 1 && number <= kMostTiers ? kNames[number] : std::string_view{};
}

std::string ticketProblemText(const TicketRead& read) {
    const ZoneRules& rules = rulesFor(read.zone);
    const std::string_view zone = zoneName(read.zone);
    switch (read.problem) {
    case TicketProblem::None:
        break;
    case TicketProblem::Empty:
        return std::string(text::ticketEmpty);
    case TicketProblem::Unreadable:
        return fill(text::ticketUnreadable, {read.detail});
    case TicketProblem::OutOfRange:
        return fill(text::ticketOutOfRange, {zone, read.detail, rules.poolSize});
    case TicketProblem::Repeated:
        return fill(text::ticketRepeated, {zone, read.detail});
    case TicketProblem::TooFew:
        return fill(text::ticketTooFew, {zone, rules.picksPerDraw, read.count});
    case TicketProblem::TooMany:
        return fill(text::ticketTooMany,
                    {zone, read.zone == Zone::Front ? kMostFrontNumbers : kMostBackNumbers});
    case TicketProblem::TooManyBankers:
        return fill(text::ticketTooManyBankers,
                    {zone, read.zone == Zone::Front ? kMostFrontBankers : kMostBackBankers});
    case TicketProblem::NoBackZone:
        return std::string(text::ticketNoBackZone);
    }
    return {};
}

std::string backtestVerdict(const BacktestResult& result) {
    const std::int32_t walked = result.walked();
    const std::string cancelled(result.cancelled ? text::verdictCancelled : std::string_view{});
    if (walked == 0)
        return cancelled + std::string(text::verdictTooShort);
    // The zone's clause, and whether its mean is within what luck explains.
    auto zone = [&](Zone z, const ZoneHits& hits) {
        const ZoneRules& rules = rulesFor(z);
        const ChanceInterval luck = chanceInterval(rules, walked);
        const double chance =
            chanceMoments(rules.poolSize, rules.picksPerDraw, rules.picksPerDraw).mean;
        return std::pair{fill(text::zoneHits, {zoneName(z), fixed3(hits.mean()), fixed3(chance),
                                               fixed3(luck.low), fixed3(luck.high)}),
                         luck.holds(hits.mean())};
    };
    const auto [front, frontWithin] = zone(Zone::Front, result.front);
    const auto [back, backWithin] = zone(Zone::Back, result.back);
    const std::string_view ending =
        frontWithin ? (backWithin ? text::verdictBothWithin : text::verdictBackOutside)
                    : (backWithin ? text::verdictFrontOutside : text::verdictBothOutside);
    return cancelled + fill(text::walkedVerdict, {walked, front, back, ending});
}

std::string moneyVerdict(const BacktestMoney& money, PrizePool pool) {
    if (money.counted == 0)
        return std::string(text::moneyNothingCounted);
    const std::string under =
        money.poolMatters > 0
            ? fill(text::countedUnder,
                   {pool == PrizePool::Below ? text::poolBelow : text::poolAtOrAbove})
            : std::string();
    const double returned = money.returnPerYuan(pool);
    const ChanceInterval luck = money.luckPerYuan(pool);
    const std::string_view ending = luck.holds(returned)   ? text::moneyWithin
                                    : returned > luck.high ? text::moneyAbove
                                                           : text::moneyBelow;
    return fill(text::moneyVerdict,
                {under, money.counted, fixed3(returned), fixed3(money.expectedPerYuan(pool)),
                 fixed3(luck.low), fixed3(luck.high), ending});
}

std::string moneyNotes(const BacktestMoney& money) {
    // First for how many draws the published prizes were known; where every
    // counted draw was paid as published, nothing floating is left aside.
    std::string notes;
    const std::string paid = toUtf8(yuanText(money.floatingPaidFen));
    if (money.counted > 0 && money.detailed == 0)
        notes = fill(text::moneyNoDetails, {money.counted});
    else if (money.counted > 0 && money.detailed == money.counted)
        notes = fill(text::moneyAllDetailed,
                     {money.counted, money.detailed, money.floatingPaidBets, paid});
    else if (money.counted > 0)
        notes =
            fill(text::moneySomeDetailed, {money.counted, money.detailed, money.floatingPaidBets,
                                           paid, money.counted - money.detailed});
    if (money.detailed < money.counted || money.counted == 0)
        notes += fill(text::moneyFloating, {money.floatingBets});
    if (money.unknownRules > 0)
        notes += fill(text::moneyUnknown, {money.unknownRules, kFirstKnownIssue});
    if (money.poolMatters > 0)
        notes += fill(text::moneyPools, {money.poolMatters});
    return notes;
}

} // namespace dlt::gui
