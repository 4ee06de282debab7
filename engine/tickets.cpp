#include "engine/tickets.h"

#include <algorithm>
#include <numeric>

#include "core/texts.h"

namespace dlt {

namespace {

// C(n, k) exactly; every count here is far below the range of 64 bits.
std::int64_t choose(std::int64_t n, std::int64_t k) {
    if (k < 0 || k > n) {
        return 0;
    }
    std::int64_t value = 1;
    for (std::int64_t i = 1; i <= k; ++i) {
        value = value * (n - k + i) / i;
    }
    return value;
}

std::string twoDigits(int v) {
    return {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

// What one piece of a ticket's line is.
enum class Piece {
    Number,      // a run of digits
    Skip,        // a separator or a word that changes nothing
    ZoneMark,    // "+", "|", 后区
    FrontWord,   // 前区
    BankerMark,  // "#": the zone's numbers so far are its 胆
    BankerOpen,  // "(": 胆 numbers follow until ")"
    BankerClose, // ")"
    BankerWord,  // 胆: 胆 numbers follow
    OtherWord,   // 拖: 拖 numbers follow
    Additional,  // 追加
    Unknown,
};

struct Word {
    std::string_view text;
    Piece piece;
};

// Longer words first where one starts another (胆拖 before 胆).
constexpr Word kWords[] = {
    {text::ticketWordBankerTicket, Piece::Skip}, {text::ticketWordBankers, Piece::BankerWord},
    {text::ticketWordBanker, Piece::BankerWord}, {text::ticketWordOthers, Piece::OtherWord},
    {text::ticketWordOther, Piece::OtherWord},   {text::frontZoneName, Piece::FrontWord},
    {text::backZoneName, Piece::ZoneMark},       {text::ticketWordMultiple, Piece::Skip},
    {text::ticketWordSingle, Piece::Skip},       {text::ticketWordAdditional, Piece::Additional},
    {text::ticketWordBet, Piece::Skip},          {text::ticketWordGame, Piece::Skip},
    {text::ticketWordNumbers, Piece::Skip},
};

// Single characters, ASCII and full-width.
struct Mark {
    std::string_view bytes;
    Piece piece;
};
constexpr Mark kMarks[] = {
    {" ", Piece::Skip},         {"\t", Piece::Skip},        {"\r", Piece::Skip},
    {"\n", Piece::Skip},        {",", Piece::Skip},         {";", Piece::Skip},
    {":", Piece::Skip},         {"　", Piece::Skip},        {"，", Piece::Skip},
    {"、", Piece::Skip},        {"；", Piece::Skip},        {"：", Piece::Skip},
    {"+", Piece::ZoneMark},     {"|", Piece::ZoneMark},     {"＋", Piece::ZoneMark},
    {"｜", Piece::ZoneMark},    {"#", Piece::BankerMark},   {"＃", Piece::BankerMark},
    {"(", Piece::BankerOpen},   {"[", Piece::BankerOpen},   {"（", Piece::BankerOpen},
    {"［", Piece::BankerOpen},  {"【", Piece::BankerOpen},  {")", Piece::BankerClose},
    {"]", Piece::BankerClose},  {"）", Piece::BankerClose}, {"］", Piece::BankerClose},
    {"】", Piece::BankerClose},
};

// The length in bytes of the UTF-8 character that starts with c (1 for a
// stray byte, so that it is shown on its own).
std::size_t characterLength(unsigned char c) {
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    if (c >= 0xE0)
        return c <= 0xEF ? 3 : 1;
    return c >= 0xC2 ? 2 : 1;
}

// The digit at `at` (ASCII or full-width ０ .. ９, U+FF10 .. U+FF19) and its
// length in bytes, or 0.
std::size_t digitAt(std::string_view line, std::size_t at, char& digit) {
    const auto c = static_cast<unsigned char>(line[at]);
    if (c >= '0' && c <= '9') {
        digit = static_cast<char>(c);
        return 1;
    }
    if (c == 0xEF && at + 2 < line.size() && static_cast<unsigned char>(line[at + 1]) == 0xBC) {
        const auto d = static_cast<unsigned char>(line[at + 2]);
        if (d >= 0x90 && d <= 0x99) {
            digit = static_cast<char>('0' + (d - 0x90));
            return 3;
        }
    }
    return 0;
}

// The pieces of a line one at a time: what the next one is, its bytes (the
// digits in ASCII for a number) and where the following one starts.
struct Scan {
    Piece piece;
    std::string bytes;
    std::size_t next;
};

Scan scanAt(std::string_view line, std::size_t at) {
    char digit = 0;
    if (std::size_t length = digitAt(line, at, digit); length != 0) {
        Scan scan{Piece::Number, {}, at};
        while (scan.next < line.size() && (length = digitAt(line, scan.next, digit)) != 0) {
            scan.bytes.push_back(digit);
            scan.next += length;
        }
        return scan;
    }
    const std::string_view rest = line.substr(at);
    for (const Word& word : kWords) {
        if (rest.starts_with(word.text)) {
            return {word.piece, std::string(word.text), at + word.text.size()};
        }
    }
    for (const Mark& mark : kMarks) {
        if (rest.starts_with(mark.bytes)) {
            return {mark.piece, std::string(mark.bytes), at + mark.bytes.size()};
        }
    }
    const std::size_t length =
        std::min(characterLength(static_cast<unsigned char>(line[at])), line.size() - at);
    return {Piece::Unknown, std::string(line.substr(at, length)), at + length};
}

// Numbers as read, before they are checked: the value and how it was written.
struct Written {
    int value;
    std::string digits;
};
struct WrittenZone {
    std::vector<Written> bankers;
    std::vector<Written> others;
    std::size_t size() const { return bankers.size() + others.size(); }
};

TicketRead problem(TicketProblem what, Zone zone, std::string detail = {}, int count = 0) {
    TicketRead read;
    read.problem = what;
    read.zone = zone;
    read.detail = std::move(detail);
    read.count = count;
    return read;
}

// Checks one zone and turns it into the ticket's numbers.
TicketRead checkZone(Zone zone, const WrittenZone& written, TicketZone& out) {
    const ZoneRules& rules = rulesFor(zone);
    std::vector<bool> seen(static_cast<std::size_t>(rules.poolSize) + 1, false);
    for (const std::vector<Written>* part : {&written.bankers, &written.others}) {
        for (const Written& w : *part) {
            if (w.value < 1 || w.value > rules.poolSize) {
                return problem(TicketProblem::OutOfRange, zone, w.digits);
            }
            if (seen[static_cast<std::size_t>(w.value)]) {
                return problem(TicketProblem::Repeated, zone, twoDigits(w.value));
            }
            seen[static_cast<std::size_t>(w.value)] = true;
            (part == &written.bankers ? out.bankers : out.others).push_back(w.value);
        }
    }
    const int most = zone == Zone::Front ? kMostFrontBankers : kMostBackBankers;
    if (static_cast<int>(written.bankers.size()) > most) {
        return problem(TicketProblem::TooManyBankers, zone);
    }
    if (static_cast<int>(written.size()) < rules.picksPerDraw) {
        return problem(TicketProblem::TooFew, zone, {}, static_cast<int>(written.size()));
    }
    const int mostNumbers = zone == Zone::Front ? kMostFrontNumbers : kMostBackNumbers;
    if (written.bankers.empty() && static_cast<int>(written.size()) > mostNumbers) {
        return problem(TicketProblem::TooMany, zone);
    }
    std::sort(out.bankers.begin(), out.bankers.end());
    std::sort(out.others.begin(), out.others.end());
    return {};
}

// Ways of choosing the zone's numbers of a bet from the ticket, by hits:
// the 胆 hits always count, and the rest are chosen from the 拖 numbers.
std::array<std::int64_t, 6> waysByHits(const TicketZone& zone, const ZoneRules& rules,
                                       std::string_view drawn) {
    std::array<bool, 100> isDrawn{};
    for (std::size_t at = 0; at + 1 < drawn.size() && at < 2u * rules.picksPerDraw; at += 2) {
        const char hi = drawn[at];
        const char lo = drawn[at + 1];
        if (hi >= '0' && hi <= '9' && lo >= '0' && lo <= '9') {
            isDrawn[static_cast<std::size_t>((hi - '0') * 10 + (lo - '0'))] = true;
        }
    }
    auto hits = [&](const std::vector<int>& numbers) {
        return std::count_if(numbers.begin(), numbers.end(), [&](int v) {
            return v >= 1 && v <= rules.poolSize && isDrawn[static_cast<std::size_t>(v)];
        });
    };
    const std::int64_t bankerHits = hits(zone.bankers);
    const std::int64_t otherHits = hits(zone.others);
    const auto others = static_cast<std::int64_t>(zone.others.size());
    const std::int64_t need = rules.picksPerDraw - static_cast<std::int64_t>(zone.bankers.size());
    std::array<std::int64_t, 6> ways{};
    for (std::int64_t j = 0; j <= need; ++j) {
        const std::int64_t h = bankerHits + j;
        if (h <= rules.picksPerDraw) {
            ways[static_cast<std::size_t>(h)] +=
                choose(otherHits, j) * choose(others - otherHits, need - j);
        }
    }
    return ways;
}

std::int64_t zoneBets(const TicketZone& zone, const ZoneRules& rules) {
    return choose(static_cast<std::int64_t>(zone.others.size()),
                  rules.picksPerDraw - static_cast<std::int64_t>(zone.bankers.size()));
}

// Every choice of `need` of the numbers, each merged with the 胆 numbers.
std::vector<std::vector<int>> zoneChoices(const TicketZone& zone, const ZoneRules& rules) {
    const std::size_t need = static_cast<std::size_t>(rules.picksPerDraw) - zone.bankers.size();
    std::vector<std::vector<int>> choices;
    std::vector<std::size_t> at(need);
    std::iota(at.begin(), at.end(), std::size_t{0});
    if (need > zone.others.size()) {
        return choices;
    }
    for (;;) {
        std::vector<int> numbers = zone.bankers;
        for (const std::size_t i : at) {
            numbers.push_back(zone.others[i]);
        }
        std::sort(numbers.begin(), numbers.end());
        choices.push_back(std::move(numbers));
        // The next combination in lexicographic order of positions.
        std::size_t k = need;
        while (k > 0 && at[k - 1] == zone.others.size() - need + k - 1) {
            --k;
        }
        if (k == 0) {
            return choices;
        }
        ++at[k - 1];
        for (std::size_t i = k; i < need; ++i) {
            at[i] = at[i - 1] + 1;
        }
    }
}

std::string zoneText(const TicketZone& zone) {
    std::string out;
    auto add = [&](const std::vector<int>& numbers) {
        for (const int v : numbers) {
            if (!out.empty()) {
                out += ' ';
            }
            out += twoDigits(v);
        }
    };
    add(zone.bankers);
    if (!zone.bankers.empty()) {
        out += " #";
    }
    add(zone.others);
    return out;
}

} // namespace

TicketKind Ticket::kind() const {
    if (!front.bankers.empty() || !back.bankers.empty()) {
        return TicketKind::Banker;
    }
    return bets() > 1 ? TicketKind::Multiple : TicketKind::Single;
}

std::int64_t Ticket::bets() const {
    return zoneBets(front, rulesFor(Zone::Front)) * zoneBets(back, rulesFor(Zone::Back));
}

std::int64_t Ticket::costYuan() const {
    return bets() * (kBetYuan + (additional ? kAdditionalYuan : 0));
}

TicketRead readTicket(std::string_view line) {
    WrittenZone zones[2];
    int zone = 0;
    bool zoneMarked = false;
    bool bankerMarked[2] = {false, false};
    bool inBrackets = false;
    bool bankerWord = false;
    bool additional = false;
    for (std::size_t at = 0; at < line.size();) {
        const Scan scan = scanAt(line, at);
        const Zone current = zone == 0 ? Zone::Front : Zone::Back;
        WrittenZone& numbers = zones[zone];
        switch (scan.piece) {
        case Piece::Number: {
            // A long even run is numbers written without spaces, as the
            // library's columns hold them.
            const std::size_t length = scan.bytes.size();
            if (length > 2 && length % 2 != 0) {
                return problem(TicketProblem::OutOfRange, current, scan.bytes);
            }
            const std::size_t step = length > 2 ? 2 : length;
            for (std::size_t i = 0; i < length; i += step) {
                const std::string digits = scan.bytes.substr(i, step);
                auto& part = inBrackets || bankerWord ? numbers.bankers : numbers.others;
                part.push_back({std::stoi(digits), digits});
            }
            break;
        }
        case Piece::Skip:
            break;
        case Piece::ZoneMark:
            if (zone == 1) {
                return problem(TicketProblem::Unreadable, current, scan.bytes);
            }
            zone = 1;
            zoneMarked = true;
            inBrackets = false;
            bankerWord = false;
            break;
        case Piece::FrontWord:
            if (zone == 1) {
                return problem(TicketProblem::Unreadable, current, scan.bytes);
            }
            break;
        case Piece::BankerMark:
            if (bankerMarked[zone] || !numbers.bankers.empty()) {
                return problem(TicketProblem::Unreadable, current, scan.bytes);
            }
            bankerMarked[zone] = true;
            numbers.bankers = std::move(numbers.others);
            numbers.others.clear();
            break;
        case Piece::BankerOpen:
            if (inBrackets) {
                return problem(TicketProblem::Unreadable, current, scan.bytes);
            }
            inBrackets = true;
            break;
        case Piece::BankerClose:
            if (!inBrackets) {
                return problem(TicketProblem::Unreadable, current, scan.bytes);
            }
            inBrackets = false;
            break;
        case Piece::BankerWord:
            bankerWord = true;
            break;
        case Piece::OtherWord:
            bankerWord = false;
            break;
        case Piece::Additional:
            additional = true;
            break;
        case Piece::Unknown:
            return problem(TicketProblem::Unreadable, current, scan.bytes);
        }
        at = scan.next;
    }
    if (zones[0].size() + zones[1].size() == 0) {
        return problem(TicketProblem::Empty, Zone::Front);
    }
    if (!zoneMarked) {
        // Seven plain numbers are one bet written in a row.
        WrittenZone& front = zones[0];
        if (front.bankers.empty() && front.others.size() == 7) {
            zones[1].others.assign(front.others.begin() + 5, front.others.end());
            front.others.resize(5);
        } else if (static_cast<int>(front.size()) >= rulesFor(Zone::Front).picksPerDraw) {
            return problem(TicketProblem::NoBackZone, Zone::Back);
        }
    }
    TicketRead read;
    read.ticket.additional = additional;
    for (const Zone z : {Zone::Front, Zone::Back}) {
        TicketZone& out = z == Zone::Front ? read.ticket.front : read.ticket.back;
        TicketRead checked = checkZone(z, zones[z == Zone::Front ? 0 : 1], out);
        if (!checked.ok()) {
            return checked;
        }
    }
    return read;
}

std::string ticketText(const Ticket& ticket) {
    std::string out = zoneText(ticket.front) + " + " + zoneText(ticket.back);
    if (ticket.additional) {
        out += ' ';
        out += text::ticketWordAdditional;
    }
    return out;
}

std::vector<Bet> expandBets(const Ticket& ticket) {
    const std::vector<std::vector<int>> fronts = zoneChoices(ticket.front, rulesFor(Zone::Front));
    const std::vector<std::vector<int>> backs = zoneChoices(ticket.back, rulesFor(Zone::Back));
    std::vector<Bet> bets;
    bets.reserve(fronts.size() * backs.size());
    for (const std::vector<int>& f : fronts) {
        for (const std::vector<int>& b : backs) {
            Bet bet{};
            std::copy(f.begin(), f.end(), bet.front.begin());
            std::copy(b.begin(), b.end(), bet.back.begin());
            bets.push_back(bet);
        }
    }
    std::sort(bets.begin(), bets.end(), [](const Bet& a, const Bet& b) {
        return a.front != b.front ? a.front < b.front : a.back < b.back;
    });
    return bets;
}

HitTable gradeTicket(const Ticket& ticket, std::string_view drawnFront,
                     std::string_view drawnBack) {
    const std::array<std::int64_t, 6> front =
        waysByHits(ticket.front, rulesFor(Zone::Front), drawnFront);
    const std::array<std::int64_t, 6> back =
        waysByHits(ticket.back, rulesFor(Zone::Back), drawnBack);
    HitTable bets{};
    for (std::size_t f = 0; f < bets.size(); ++f) {
        for (std::size_t b = 0; b < bets[f].size(); ++b) {
            bets[f][b] = front[f] * back[b];
        }
    }
    return bets;
}

} // namespace dlt
