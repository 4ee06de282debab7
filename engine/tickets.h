// Tickets as people write them: a single bet (5 + 2), a 复式 ticket (more
// numbers in a zone, every combination of 5 + 2 of them a bet) and a 胆拖
// ticket (its 胆 numbers in every bet, the rest of each zone filled from its
// 拖 numbers), each with or without 追加. Reading a ticket's text, writing it
// back, counting its bets and grading it against a draw.
//
// Texts are UTF-8. A ticket is read from one line in any of the usual
// spellings:
//   03 06 26 30 33 + 11 12          03,06,26,30,33|11,12
//   复式 01 02 03 04 05 06 + 01 02 03
//   01 02 # 03 04 05 06 + 01 # 02 03      (胆 before "#", 拖 after it)
//   前区胆 01 02 拖 03 04 05 06 后区胆 01 拖 02 03
//   (01 02) 03 04 05 06 + 01 02 追加      (胆 in brackets)
// Numbers are one or two digits (full-width digits too) separated by spaces,
// commas or 、; the zones by "+", "|" (also full-width) or the word 后区. Seven
// numbers without a zone mark are read as five front and two back numbers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/prizes.h"
#include "core/rules.h"

namespace dlt {

// Most numbers of a zone in a 复式 ticket; most 胆 numbers of a zone (one
// fewer than the numbers of a bet, or every bet would be the same).
inline constexpr int kMostFrontNumbers = 20;
inline constexpr int kMostBackNumbers = 12;
inline constexpr int kMostFrontBankers = 4;
inline constexpr int kMostBackBankers = 1;

struct TicketZone {
    std::vector<int> bankers; // 胆: in every bet (ascending)
    std::vector<int> others;  // 拖, or every number of a zone without 胆 (ascending)
    bool operator==(const TicketZone&) const = default;
};

enum class TicketKind { Single, Multiple, Banker }; // 单式, 复式, 胆拖

struct Ticket {
    TicketZone front;
    TicketZone back;
    bool additional = false; // 追加
    bool operator==(const Ticket&) const = default;

    TicketKind kind() const;
    std::int64_t bets() const;
    // Every bet costs 2 yuan, 3 with 追加.
    std::int64_t costYuan() const;
};

enum class TicketProblem {
    None,
    Empty,          // no numbers at all
    Unreadable,     // a character that is no number, mark or known word
    OutOfRange,     // a number outside the zone's pool
    Repeated,       // a number twice in one zone
    TooFew,         // fewer numbers than a bet needs
    TooMany,        // more numbers than a 复式 ticket may have
    TooManyBankers, // more 胆 numbers than a zone allows
    NoBackZone,     // more than seven numbers and no mark where the back zone starts
};

struct TicketRead {
    Ticket ticket; // meaningful only without a problem
    TicketProblem problem = TicketProblem::None;
    Zone zone = Zone::Front; // the zone with the problem
    std::string detail;      // the number or character concerned, as written
    int count = 0;           // for TooFew: the numbers the zone has
    bool ok() const { return problem == TicketProblem::None; }
};

TicketRead readTicket(std::string_view line);

// The ticket in the program's own spelling, which readTicket reads back to
// the same ticket: "03 06 26 30 33 + 11 12", "01 02 # 03 04 05 06 + 01 # 02
// 03", with " 追加" at the end.
std::string ticketText(const Ticket& ticket);

// One bet: five front and two back numbers, ascending.
struct Bet {
    std::array<int, 5> front;
    std::array<int, 2> back;
    bool operator==(const Bet&) const = default;
};

// Every bet of the ticket, in ascending order of the front then the back
// numbers. Meant for tickets of few bets; bets() and gradeTicket count
// without listing them.
std::vector<Bet> expandBets(const Ticket& ticket);

// How many of the ticket's bets have each hit pair against the draw, counted
// by combinations rather than by listing the bets. The drawn zones are
// two-digit tokens as the store keeps them; a token outside the pool is never
// hit, and a number drawn twice counts once.
HitTable gradeTicket(const Ticket& ticket, std::string_view drawnFront, std::string_view drawnBack);

} // namespace dlt
