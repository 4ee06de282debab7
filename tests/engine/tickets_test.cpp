// Tickets: the usual spellings, the problems named, the bets counted and the
// grading by combinations checked against every bet listed.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "engine/tickets.h"

using namespace dlt;

namespace {

// The few non-ASCII words the cases use.
const std::string kAdditional = "追加";
const std::string kMultiple = "复式";
const std::string kBankerTicket = "胆拖";
const std::string kFrontBanker = "前区胆";
const std::string kBackBanker = "后区胆";
const std::string kBack = "后区";
const std::string kOther = "拖";
const std::string kOthers = "拖码";
const std::string kBankers = "胆码";
const std::string kFullWidthPlus = "＋";
const std::string kFullWidthComma = "，";

// The digits as full-width ones (０ .. ９).
std::string fullWidthDigits(const std::string& ascii) {
    static const char* const kDigits[] = {"０", "１", "２", "３", "４",
                                          "５", "６", "７", "８", "９"};
    std::string out;
    for (const char c : ascii) {
        if (c >= '0' && c <= '9') {
            out += kDigits[c - '0'];
        } else {
            out += c;
        }
    }
    return out;
}

struct Spelling {
    std::string line;
    std::string text; // the program's own spelling of the ticket
    std::int64_t bets;
    TicketKind kind;
    std::int64_t cost;
};

std::vector<Spelling> spellings() {
    const std::string single = "03 06 26 30 33 + 11 12";
    return {
        {"03 06 26 30 33 + 11 12", single, 1, TicketKind::Single, 2},
        {"03,06,26,30,33|11,12", single, 1, TicketKind::Single, 2},
        {"33 30 26 6 3 + 12 11", single, 1, TicketKind::Single, 2},
        {"03 06 26 30 33 11 12", single, 1, TicketKind::Single, 2},
        {"0306263033+1112", single, 1, TicketKind::Single, 2},
        {"03062630331112", single, 1, TicketKind::Single, 2},
        {fullWidthDigits("03") + kFullWidthComma + fullWidthDigits("06 26 30 33") + kFullWidthPlus +
             fullWidthDigits("11 12"),
         single, 1, TicketKind::Single, 2},
        {"03 06 26 30 33 " + kBack + " 11 12", single, 1, TicketKind::Single, 2},
        {single + " " + kAdditional, single + " " + kAdditional, 1, TicketKind::Single, 3},
        {kMultiple + " 01 02 03 04 05 06 07 + 01 02 03", "01 02 03 04 05 06 07 + 01 02 03", 63,
         TicketKind::Multiple, 126},
        {"01 02 03 04 05 + 01 02 03", "01 02 03 04 05 + 01 02 03", 3, TicketKind::Multiple, 6},
        {"01 02 03 04 05 06 + 01 02 " + kAdditional, "01 02 03 04 05 06 + 01 02 " + kAdditional, 6,
         TicketKind::Multiple, 18},
        {"01 02 # 03 04 05 06 + 01 # 02 03", "01 02 # 03 04 05 06 + 01 # 02 03", 8,
         TicketKind::Banker, 16},
        {kFrontBanker + " 01 02 " + kOther + " 03 04 05 06 " + kBackBanker + " 01 " + kOther +
             " 02 03",
         "01 02 # 03 04 05 06 + 01 # 02 03", 8, TicketKind::Banker, 16},
        {"(01 02) 03 04 05 06 + 01 02 " + kAdditional, "01 02 # 03 04 05 06 + 01 02 " + kAdditional,
         4, TicketKind::Banker, 12},
        {kBankerTicket + " " + kBankers + ":01 02 03 04 " + kOthers + ":05 06 07 + 01 02 03 04",
         "01 02 03 04 # 05 06 07 + 01 02 03 04", 18, TicketKind::Banker, 36},
        {"01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 + 01 02 03 04 05 06 07 08 "
         "09 10 11 12",
         "01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20 + 01 02 03 04 05 06 07 08 "
         "09 10 11 12",
         1'023'264, TicketKind::Multiple, 2'046'528},
    };
}

TEST(Tickets, UsualSpellingsReadAsTheirTicket) {
    for (const Spelling& s : spellings()) {
        const TicketRead read = readTicket(s.line);
        ASSERT_TRUE(read.ok()) << s.line << ": " << static_cast<int>(read.problem);
        EXPECT_EQ(ticketText(read.ticket), s.text) << s.line;
        EXPECT_EQ(read.ticket.bets(), s.bets) << s.line;
        EXPECT_EQ(read.ticket.kind(), s.kind) << s.line;
        EXPECT_EQ(read.ticket.costYuan(), s.cost) << s.line;
        // The program's own spelling reads back to the same ticket.
        const TicketRead again = readTicket(ticketText(read.ticket));
        ASSERT_TRUE(again.ok()) << s.text;
        EXPECT_EQ(again.ticket, read.ticket) << s.text;
    }
}

TEST(Tickets, BadTicketsNameWhatIsWrong) {
    struct Case {
        std::string line;
        TicketProblem problem;
        Zone zone;
        std::string detail;
    };
    const std::string twenty = "01 02 03 04 05 06 07 08 09 10 11 12 13 14 15 16 17 18 19 20";
    const Case cases[] = {
        {"", TicketProblem::Empty, Zone::Front, ""},
        {"  " + kAdditional, TicketProblem::Empty, Zone::Front, ""},
        {"03 06 26 30 36 + 11 12", TicketProblem::OutOfRange, Zone::Front, "36"},
        {"00 06 26 30 33 + 11 12", TicketProblem::OutOfRange, Zone::Front, "00"},
        {"03 06 26 30 33 + 11 13", TicketProblem::OutOfRange, Zone::Back, "13"},
        {"03 06 26 30 333 + 11 12", TicketProblem::OutOfRange, Zone::Front, "333"},
        {"03 03 26 30 33 + 11 12", TicketProblem::Repeated, Zone::Front, "03"},
        {"3 03 26 30 33 + 11 12", TicketProblem::Repeated, Zone::Front, "03"},
        {"01 02 # 02 03 04 05 + 01 02", TicketProblem::Repeated, Zone::Front, "02"},
        {"03 06 26 30 33 + 11 11", TicketProblem::Repeated, Zone::Back, "11"},
        {"03 06 26 30 + 11 12", TicketProblem::TooFew, Zone::Front, ""},
        {"03 06 26 30 33 + 11", TicketProblem::TooFew, Zone::Back, ""},
        {"03 06 26 30 33 +", TicketProblem::TooFew, Zone::Back, ""},
        {twenty + " 21 + 01 02", TicketProblem::TooMany, Zone::Front, ""},
        {"01 02 03 04 05 # 06 07 + 01 02", TicketProblem::TooManyBankers, Zone::Front, ""},
        {"01 02 03 04 05 + 01 02 # 03 04", TicketProblem::TooManyBankers, Zone::Back, ""},
        {"01 02 03 04 05 06 07 08", TicketProblem::NoBackZone, Zone::Back, ""},
        {"01 02 03 04 05 06", TicketProblem::NoBackZone, Zone::Back, ""},
        {"03 06 26 30 33 + 11 12 x", TicketProblem::Unreadable, Zone::Back, "x"},
        {"03 06 26 30 33 + 11 + 12", TicketProblem::Unreadable, Zone::Back, "+"},
        {"03 06 26 30 33 + 11 12 啊", TicketProblem::Unreadable, Zone::Back, "啊"},
        {"03 06 26 30 33 + 11 12 \xFF", TicketProblem::Unreadable, Zone::Back, "\xFF"},
    };
    for (const Case& c : cases) {
        const TicketRead read = readTicket(c.line);
        EXPECT_EQ(read.problem, c.problem) << c.line;
        EXPECT_EQ(read.zone, c.zone) << c.line;
        EXPECT_EQ(read.detail, c.detail) << c.line;
    }
}

TEST(Tickets, ExpansionListsEveryBetOnceWithTheBankersInEach) {
    for (const Spelling& s : spellings()) {
        if (s.bets > 100)
            continue;
        const Ticket ticket = readTicket(s.line).ticket;
        const std::vector<Bet> bets = expandBets(ticket);
        ASSERT_EQ(static_cast<std::int64_t>(bets.size()), s.bets) << s.line;
        std::set<std::pair<std::array<int, 5>, std::array<int, 2>>> distinct;
        for (const Bet& bet : bets) {
            distinct.insert({bet.front, bet.back});
            EXPECT_TRUE(std::is_sorted(bet.front.begin(), bet.front.end()));
            for (const int banker : ticket.front.bankers)
                EXPECT_NE(std::find(bet.front.begin(), bet.front.end(), banker), bet.front.end());
            for (const int banker : ticket.back.bankers)
                EXPECT_NE(std::find(bet.back.begin(), bet.back.end(), banker), bet.back.end());
        }
        EXPECT_EQ(distinct.size(), bets.size()) << s.line;
    }
    EXPECT_EQ(expandBets(readTicket("01 02 03 04 05 06 + 01 02").ticket).front(),
              (Bet{{1, 2, 3, 4, 5}, {1, 2}}));
}

TEST(Tickets, SevenPlusThreeAgainstADrawOfFivePlusTwoOfItsNumbers) {
    // Front: 5 of the 7 drawn, so C(5,5), C(5,4)C(2,1) and C(5,3)C(2,2) bets
    // have 5, 4 and 3 hits; back: 2 of the 3 drawn, C(2,2) and C(2,1)C(1,1).
    const Ticket ticket = readTicket("01 02 03 04 05 06 07 + 01 02 03").ticket;
    const HitTable bets = gradeTicket(ticket, "0102030405", "0102");
    HitTable expected{};
    expected[5][2] = 1;
    expected[5][1] = 2;
    expected[4][2] = 10;
    expected[4][1] = 20;
    expected[3][2] = 10;
    expected[3][1] = 20;
    EXPECT_EQ(bets, expected);
    const PrizeSum nine = sumPrizes(PrizeRules::NineTiers, bets);
    EXPECT_EQ(nine.fixedYuan[0], 10 * 3000 + 20 * 300 + 10 * 200 + 20 * 15);
    EXPECT_EQ(nine.floatingBets(), 3);
    const PrizeSum seven = sumPrizes(PrizeRules::SevenTiers, bets);
    EXPECT_EQ(seven.fixedYuan,
              (std::array<std::int64_t, 2>{10 * 5000 + 20 * 300 + 10 * 150 + 20 * 15,
                                           10 * 6666 + 20 * 380 + 10 * 200 + 20 * 18}));
}

TEST(Tickets, BigMultipleIsCountedWithoutListing) {
    const Ticket ticket = readTicket(spellings().back().line).ticket;
    // Draw 03 06 26 30 33 + 11 12: the ticket holds 03 06 (two of the front
    // numbers) and both back numbers.
    const HitTable bets = gradeTicket(ticket, "0306263033", "1112");
    std::int64_t all = 0;
    for (const auto& row : bets)
        for (const std::int64_t n : row)
            all += n;
    EXPECT_EQ(all, 1'023'264);
    // Two hits: both of 03 06 and three of the 18 others, C(18,3) = 816 ways;
    // back 2 hits: the one pair 11 12.
    EXPECT_EQ(bets[2][2], 816);
    EXPECT_EQ(bets[3][0], 0);
}

// Random tickets of every kind against random draws: the counts by
// combinations equal the counts over every bet listed.
TEST(Tickets, GradingByCombinationsMatchesEveryBet) {
    std::mt19937 random(20);
    auto pickNumbers = [&](int pool, int count) {
        std::vector<int> all(static_cast<std::size_t>(pool));
        std::iota(all.begin(), all.end(), 1);
        std::shuffle(all.begin(), all.end(), random);
        all.resize(static_cast<std::size_t>(count));
        return all;
    };
    auto tokens = [](const std::vector<int>& numbers) {
        std::string out;
        for (const int v : numbers)
            out += {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
        return out;
    };
    for (int round = 0; round < 300; ++round) {
        const int frontBankers = std::uniform_int_distribution<int>(0, kMostFrontBankers)(random);
        const int backBankers = std::uniform_int_distribution<int>(0, kMostBackBankers)(random);
        const int front = std::uniform_int_distribution<int>(5, 9)(random);
        const int back = std::uniform_int_distribution<int>(2, 5)(random);
        const std::vector<int> f = pickNumbers(35, front);
        const std::vector<int> b = pickNumbers(12, back);
        Ticket ticket;
        ticket.front.bankers.assign(f.begin(), f.begin() + frontBankers);
        ticket.front.others.assign(f.begin() + frontBankers, f.end());
        ticket.back.bankers.assign(b.begin(), b.begin() + backBankers);
        ticket.back.others.assign(b.begin() + backBankers, b.end());
        for (TicketZone* zone : {&ticket.front, &ticket.back}) {
            std::sort(zone->bankers.begin(), zone->bankers.end());
            std::sort(zone->others.begin(), zone->others.end());
        }
        const std::vector<int> drawnFront = pickNumbers(35, 5);
        const std::vector<int> drawnBack = pickNumbers(12, 2);
        HitTable listed{};
        for (const Bet& bet : expandBets(ticket)) {
            const auto hits = [](const auto& numbers, const std::vector<int>& drawn) {
                return std::count_if(numbers.begin(), numbers.end(), [&](int v) {
                    return std::find(drawn.begin(), drawn.end(), v) != drawn.end();
                });
            };
            ++listed[static_cast<std::size_t>(hits(bet.front, drawnFront))]
                    [static_cast<std::size_t>(hits(bet.back, drawnBack))];
        }
        EXPECT_EQ(gradeTicket(ticket, tokens(drawnFront), tokens(drawnBack)), listed)
            << ticketText(ticket);
        EXPECT_EQ(static_cast<std::int64_t>(expandBets(ticket).size()), ticket.bets());
    }
}

TEST(Tickets, DrawnTokensOutsideThePoolAreNeverHit) {
    const Ticket ticket = readTicket("01 02 03 04 05 + 01 02").ticket;
    HitTable expected{};
    expected[4][1] = 1;
    EXPECT_EQ(gradeTicket(ticket, "0102030499", "0113"), expected);
    expected = {};
    expected[1][1] = 1; // a number drawn twice counts once
    EXPECT_EQ(gradeTicket(ticket, "0101363636", "0101"), expected);
}

} // namespace
