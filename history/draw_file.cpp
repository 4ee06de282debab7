#include "history/draw_file.h"

#include <algorithm>
#include <array>
#include <deque>
#include <numeric>
#include <optional>

#include "core/rules.h"

namespace dlt {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), isDigit);
}
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ---- Encodings -------------------------------------------------------------

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 after its byte order mark, as UTF-8; a broken pair becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t at) {
        const auto hi = static_cast<unsigned char>(bytes[at + (bigEndian ? 0 : 1)]);
        const auto lo = static_cast<unsigned char>(bytes[at + (bigEndian ? 1 : 0)]);
        return static_cast<char32_t>(hi << 8 | lo);
    };
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t c = unit(at);
        if (c >= 0xD800 && c < 0xDC00 && at + 3 < bytes.size()) {
            const char32_t low = unit(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            } else {
                c = 0xFFFD;
            }
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t length = c < 0x80           ? 1
                                   : (c >> 5) == 0x6  ? 2
                                   : (c >> 4) == 0xE  ? 3
                                   : (c >> 3) == 0x1E ? 4
                                                      : 0;
        if (length == 0 || i + length > s.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// The characters the reader looks for beyond ASCII, in the file's encoding.
struct Markers {
    std::string_view di;                        // 第
    std::string_view qi;                        // 期
    std::array<std::string_view, 6> separators; // ，；：、　｜
    std::array<std::string_view, 3> dateParts;  // 年 月 日
    // Key names of JSON records.
    std::array<std::string_view, 3> issueKeys; // 期号 期数 期次
    std::array<std::string_view, 2> frontKeys; // 前区 红球
    std::array<std::string_view, 2> backKeys;  // 后区 蓝球
    std::array<std::string_view, 2> bothKeys;  // 号码 开奖
    std::string_view dateKey;                  // 日期
};

constexpr Markers kUtf8Markers{
    "\xE7\xAC\xAC",
    "\xE6\x9C\x9F",
    {"\xEF\xBC\x8C", "\xEF\xBC\x9B", "\xEF\xBC\x9A", "\xE3\x80\x81", "\xE3\x80\x80",
     "\xEF\xBD\x9C"},
    {"\xE5\xB9\xB4", "\xE6\x9C\x88", "\xE6\x97\xA5"},
    {"\xE6\x9C\x9F\xE5\x8F\xB7", "\xE6\x9C\x9F\xE6\x95\xB0", "\xE6\x9C\x9F\xE6\xAC\xA1"},
    {"\xE5\x89\x8D\xE5\x8C\xBA", "\xE7\xBA\xA2\xE7\x90\x83"},
    {"\xE5\x90\x8E\xE5\x8C\xBA", "\xE8\x93\x9D\xE7\x90\x83"},
    {"\xE5\x8F\xB7\xE7\xA0\x81", "\xE5\xBC\x80\xE5\xA5\x96"},
    "\xE6\x97\xA5\xE6\x9C\x9F",
};

constexpr Markers kGbkMarkers{
    "\xB5\xDA",
    "\xC6\xDA",
    {"\xA3\xAC", "\xA3\xBB", "\xA3\xBA", "\xA1\xA2", "\xA1\xA1", "\xA9\xA6"},
    {"\xC4\xEA", "\xD4\xC2", "\xC8\xD5"},
    {"\xC6\xDA\xBA\xC5", "\xC6\xDA\xCA\xFD", "\xC6\xDA\xB4\xCE"},
    {"\xC7\xB0\xC7\xF8", "\xBA\xEC\xC7\xF2"},
    {"\xBA\xF3\xC7\xF8", "\xC0\xB6\xC7\xF2"},
    {"\xBA\xC5\xC2\xEB", "\xBF\xAA\xBD\xB1"},
    "\xC8\xD5\xC6\xDA",
};

// Bytes of the character starting at `at`.
std::size_t characterLength(std::string_view s, std::size_t at, TextEncoding encoding) {
    const auto c = static_cast<unsigned char>(s[at]);
    std::size_t length = 1;
    if (c >= 0x80) {
        if (encoding == TextEncoding::Gbk)
            length = c >= 0x81 && c <= 0xFE ? 2 : 1;
        else
            length = (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    }
    return std::min(length, s.size() - at);
}

// ---- Tokens of a line --------------------------------------------------------

enum class TokenKind { Number, Issue, Date, Word };

// The digit runs of a number or an issue: one, or the five or seven of
// numbers joined by "-". Held in place: a file has a token for every field.
class DigitGroups {
public:
    static constexpr std::size_t kMost = 7;
    DigitGroups() = default;
    DigitGroups(std::string_view only) : size_(1) { runs_[0] = only; }
    void assign(const std::vector<std::string_view>& runs) {
        size_ = std::min(runs.size(), kMost);
        std::copy_n(runs.begin(), size_, runs_.begin());
    }
    std::size_t size() const { return size_; }
    std::string_view operator[](std::size_t i) const { return runs_[i]; }
    const std::string_view* begin() const { return runs_.data(); }
    const std::string_view* end() const { return runs_.data() + size_; }

private:
    std::array<std::string_view, kMost> runs_{};
    std::size_t size_ = 0;
};

struct Token {
    TokenKind kind = TokenKind::Word;
    std::string_view text;
    DigitGroups groups;
};

// The value of a run of at most a few digits.
int valueOf(std::string_view digits) {
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}
bool endsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::vector<std::string_view> digitRuns(std::string_view s) {
    std::vector<std::string_view> runs;
    for (std::size_t at = 0; at < s.size();) {
        if (!isDigit(s[at])) {
            ++at;
            continue;
        }
        const std::size_t begin = at;
        while (at < s.size() && isDigit(s[at]))
            ++at;
        runs.push_back(s.substr(begin, at - begin));
    }
    return runs;
}

bool plausibleYear(std::string_view digits) {
    return digits.size() == 4 && (startsWith(digits, "19") || startsWith(digits, "20"));
}

Token classify(std::string_view word, const Markers& markers) {
    while (!word.empty() && (word.back() == ':' || word.back() == '.'))
        word.remove_suffix(1);
    Token token;
    token.text = word;
    if (allDigits(word)) {
        token.groups = DigitGroups(word);
        // 20260819: a date written without separators.
        if (word.size() == 8 && plausibleYear(word.substr(0, 4))) {
            const int month = valueOf(word.substr(4, 2));
            const int day = valueOf(word.substr(6, 2));
            if (month >= 1 && month <= 12 && day >= 1 && day <= 31)
                token.kind = TokenKind::Date;
            else
                token.kind = TokenKind::Number;
        } else {
            token.kind = TokenKind::Number;
        }
        return token;
    }
    // 第25128期, 25128期
    std::string_view inner = word;
    const bool di = startsWith(inner, markers.di);
    if (di)
        inner.remove_prefix(markers.di.size());
    const bool qi = endsWith(inner, markers.qi);
    if (qi)
        inner.remove_suffix(markers.qi.size());
    if ((di || qi) && allDigits(inner)) {
        token.kind = TokenKind::Issue;
        token.groups = DigitGroups(inner);
        return token;
    }
    const std::vector<std::string_view> runs = digitRuns(word);
    if (runs.empty() || !isDigit(word.front()))
        return token;
    // Digit runs joined by one of - / . : three make a date, others a
    // group of numbers ("03-06-26-30-33").
    const char joint = word[runs[0].size()];
    const bool ascii = joint == '-' || joint == '/' || joint == '.';
    std::size_t length = 0;
    for (std::string_view run : runs)
        length += run.size();
    const bool evenlyJoined =
        ascii && length + runs.size() - 1 == word.size() &&
        std::count(word.begin(), word.end(), joint) == static_cast<std::ptrdiff_t>(runs.size() - 1);
    if (runs.size() == 3 && (plausibleYear(runs[0]) || plausibleYear(runs[2]) || evenlyJoined)) {
        // 2026-08-19, 2026/8/19, 19.08.2026, 2026年8月19日, 2026-08-19T20:30
        token.kind = TokenKind::Date;
        return token;
    }
    if (runs.size() > 3 && plausibleYear(runs[0]) && !evenlyJoined) {
        token.kind = TokenKind::Date; // a date followed by a time
        return token;
    }
    // Two runs are more likely a month and a day than the back numbers.
    if (evenlyJoined && joint == '-' && (runs.size() == 5 || runs.size() == 7)) {
        token.kind = TokenKind::Number;
        token.groups.assign(runs);
    }
    return token;
}

bool matchesAny(std::string_view s, std::size_t at, const auto& candidates) {
    for (std::string_view candidate : candidates)
        if (!candidate.empty() && s.substr(at, candidate.size()) == candidate)
            return true;
    return false;
}

bool isAsciiSeparator(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case ',':
    case ';':
    case '|':
    case '+':
    case '"':
    case '\'':
    case '(':
    case ')':
    case '[':
    case ']':
    case '{':
    case '}':
    case '\f':
    case '\v':
        return true;
    default:
        return false;
    }
}

void tokensOf(std::string_view line, TextEncoding encoding, const Markers& markers,
              std::vector<Token>& tokens) {
    tokens.clear();
    std::size_t begin = 0;
    auto flush = [&](std::size_t end) {
        if (end > begin) {
            tokens.push_back(classify(line.substr(begin, end - begin), markers));
        }
    };
    for (std::size_t at = 0; at < line.size();) {
        std::size_t length = characterLength(line, at, encoding);
        const bool separator =
            length == 1 ? isAsciiSeparator(line[at]) : matchesAny(line, at, markers.separators);
        if (separator) {
            flush(at);
            begin = at + length;
        }
        at += length;
    }
    flush(line.size());
}

// ---- A draw from the tokens --------------------------------------------------

// The issue as the store keeps it (5 digits), or nothing.
std::optional<std::string> issueOf(const Token& token) {
    if ((token.kind != TokenKind::Number && token.kind != TokenKind::Issue) ||
        token.groups.size() != 1)
        return std::nullopt;
    const std::string_view digits = token.groups[0];
    switch (digits.size()) {
    case kIssueDigits - 1: {
        std::string issue(1, '0');
        issue += digits;
        return issue;
    }
    case kIssueDigits:
        return std::string(digits);
    case kIssueDigits + 2:
        if (startsWith(digits, "20"))
            return std::string(digits.substr(2));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

struct LineDraw {
    std::optional<DrawRecord> draw;
    std::string_view date; // the first date after the issue, as written
    SkipReason reason = SkipReason::NotADraw;
};

// The zone's numbers as ascending two-digit tokens, or nothing when one is
// out of the pool or repeats.
std::optional<std::string> zoneDigits(const std::vector<int>& numbers, std::size_t first,
                                      const ZoneRules& rules) {
    std::vector<int> zone(numbers.begin() + static_cast<std::ptrdiff_t>(first),
                          numbers.begin() + static_cast<std::ptrdiff_t>(first) +
                              rules.picksPerDraw);
    std::sort(zone.begin(), zone.end());
    if (zone.front() < 1 || zone.back() > rules.poolSize ||
        std::adjacent_find(zone.begin(), zone.end()) != zone.end())
        return std::nullopt;
    std::string digits;
    for (int v : zone) {
        digits += static_cast<char>('0' + v / 10);
        digits += static_cast<char>('0' + v % 10);
    }
    return digits;
}

// The draw whose issue is tokens[issueAt]: the next seven numbers, dates and
// words between them passed over.
LineDraw drawFrom(const std::vector<Token>& tokens, std::size_t issueAt) {
    LineDraw result;
    const std::optional<std::string> issue = issueOf(tokens[issueAt]);
    if (!issue)
        return result;
    const ZoneRules& front = rulesFor(Zone::Front);
    const ZoneRules& back = rulesFor(Zone::Back);
    const std::size_t wanted = static_cast<std::size_t>(front.picksPerDraw + back.picksPerDraw);
    std::vector<int> numbers;
    for (std::size_t i = issueAt + 1; i < tokens.size() && numbers.size() < wanted; ++i) {
        const Token& token = tokens[i];
        if (token.kind == TokenKind::Date && result.date.empty())
            result.date = token.text;
        if (token.kind == TokenKind::Date || token.kind == TokenKind::Word)
            continue;
        if (token.kind == TokenKind::Issue)
            return result;
        for (std::string_view group : token.groups) {
            // "0514151733 0107": a zone, or all seven numbers, written
            // without separators.
            const std::size_t frontDigits = static_cast<std::size_t>(front.digitsPerDraw());
            const bool joined =
                (numbers.empty() && (group.size() == frontDigits || group.size() == 2 * wanted)) ||
                (numbers.size() == static_cast<std::size_t>(front.picksPerDraw) &&
                 group.size() == static_cast<std::size_t>(back.digitsPerDraw()));
            if (group.size() > 2 && !joined)
                return result;
            for (std::size_t at = 0; at < group.size(); at += joined ? 2 : group.size())
                numbers.push_back(valueOf(group.substr(at, joined ? 2 : group.size())));
        }
    }
    if (numbers.size() < wanted)
        return result;
    const std::optional<std::string> frontDigits = zoneDigits(numbers, 0, front);
    if (!frontDigits) {
        result.reason = SkipReason::Front;
        return result;
    }
    const std::optional<std::string> backDigits =
        zoneDigits(numbers, static_cast<std::size_t>(front.picksPerDraw), back);
    if (!backDigits) {
        result.reason = SkipReason::Back;
        return result;
    }
    result.draw = DrawRecord{*issue, *frontDigits, *backDigits};
    return result;
}

bool hasNumber(const std::vector<Token>& tokens) {
    return std::any_of(tokens.begin(), tokens.end(), [](const Token& t) {
        return t.kind == TokenKind::Number || t.kind == TokenKind::Issue;
    });
}

// The issue is the first number of the line, or the second after an index column.
LineDraw drawOfLine(const std::vector<Token>& tokens) {
    LineDraw first;
    int tried = 0;
    for (std::size_t i = 0; i < tokens.size() && tried < 2; ++i) {
        if (tokens[i].kind != TokenKind::Number && tokens[i].kind != TokenKind::Issue)
            continue;
        const LineDraw read = drawFrom(tokens, i);
        if (read.draw || read.reason != SkipReason::NotADraw)
            return read;
        if (tried == 0)
            first = read;
        ++tried;
    }
    return first;
}

// ---- Lines and layouts -------------------------------------------------------

struct FoundDraw {
    int line;
    std::string_view text; // in the file's text, or in the records' lines
    DrawRecord draw;
    std::string_view date;
};

struct Collected {
    std::vector<FoundDraw> draws;
    std::vector<SkippedLine> skipped;
    int ignored = 0;
    FileLayout layout = FileLayout::None;
    std::vector<Token> tokens;           // of the line being read, kept for its room
    std::deque<std::string> recordLines; // the lines made of JSON records
};

bool isCommentLine(std::string_view line) {
    const std::size_t begin = line.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return false;
    line.remove_prefix(begin);
    return startsWith(line, "#") || startsWith(line, "//") || startsWith(line, "--");
}

// "25128 03 06 26 30 33 11 12" exactly as the export writes it.
bool isExportLine(std::string_view line) {
    if (line.size() != 5 + 7 * 3 || !allDigits(line.substr(0, 5)))
        return false;
    for (std::size_t at = 5; at < line.size(); at += 3)
        if (line[at] != ' ' || !allDigits(line.substr(at + 1, 2)))
            return false;
    return true;
}

FileLayout layoutOfLine(std::string_view line, const Markers& markers) {
    if (line.find('\t') != std::string_view::npos)
        return FileLayout::Tabs;
    if (line.find(',') != std::string_view::npos)
        return FileLayout::Commas;
    if (line.find(';') != std::string_view::npos)
        return FileLayout::Semicolons;
    if (startsWith(line.substr(std::min(line.find_first_not_of(' '), line.size())), markers.di))
        return FileLayout::List;
    return isExportLine(line) ? FileLayout::Export : FileLayout::Spaces;
}

void readRecord(std::string_view text, int number, TextEncoding encoding, const Markers& markers,
                Collected& into) {
    std::vector<Token>& tokens = into.tokens;
    tokensOf(text, encoding, markers, tokens);
    if (!hasNumber(tokens)) {
        ++into.ignored;
        return;
    }
    const LineDraw read = drawOfLine(tokens);
    if (read.draw)
        into.draws.push_back({number, text, *read.draw, read.date});
    else
        into.skipped.push_back({number, std::string(text), read.reason});
}

void readLines(std::string_view text, TextEncoding encoding, const Markers& markers,
               Collected& into) {
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = text.substr(0, end);
        std::size_t next = end;
        if (next < text.size())
            next +=
                (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        text.remove_prefix(next);
        ++number;
        if (line.find_first_not_of(" \t\f\v") == std::string_view::npos)
            continue;
        if (isCommentLine(line)) {
            ++into.ignored;
            continue;
        }
        const std::size_t before = into.draws.size();
        readRecord(line, number, encoding, markers, into);
        if (into.layout == FileLayout::None && into.draws.size() > before)
            into.layout = layoutOfLine(line, markers);
    }
}

// ---- JSON ----------------------------------------------------------------------

struct Json {
    enum class Kind { Null, Scalar, Array, Object } kind = Kind::Null;
    std::string text; // a string's or a number's text
    std::vector<Json> items;
    std::vector<std::string> keys; // of an object, parallel to items
};

class JsonParser {
public:
    explicit JsonParser(std::string_view s) : s_(s) {}

    std::optional<Json> document() {
        std::optional<Json> value = parseValue(0);
        skipSpace();
        if (!value || at_ != s_.size())
            return std::nullopt;
        return value;
    }

private:
    // Deeper nesting than any draw record needs is refused, so that a
    // hostile file cannot exhaust the stack.
    static constexpr int kMaxDepth = 64;

    void skipSpace() {
        while (at_ < s_.size() &&
               (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\r' || s_[at_] == '\n'))
            ++at_;
    }
    bool take(char c) {
        skipSpace();
        if (at_ < s_.size() && s_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    std::optional<std::string> parseString() {
        if (!take('"'))
            return std::nullopt;
        std::string out;
        while (at_ < s_.size()) {
            const char c = s_[at_++];
            if (c == '"')
                return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= s_.size())
                return std::nullopt;
            const char e = s_[at_++];
            switch (e) {
            case 'n':
            case 'r':
            case 't':
            case 'b':
            case 'f':
                out += ' ';
                break;
            case 'u': {
                if (at_ + 4 > s_.size())
                    return std::nullopt;
                char32_t unit = 0;
                for (int k = 0; k < 4; ++k) {
                    const char h = s_[at_++];
                    unit <<= 4;
                    if (isDigit(h))
                        unit |= static_cast<char32_t>(h - '0');
                    else if (lowerAscii(h) >= 'a' && lowerAscii(h) <= 'f')
                        unit |= static_cast<char32_t>(lowerAscii(h) - 'a' + 10);
                    else
                        return std::nullopt;
                }
                appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? char32_t{0xFFFD} : unit);
                break;
            }
            default:
                out += e;
            }
        }
        return std::nullopt;
    }

    std::optional<Json> parseValue(int depth) {
        if (depth > kMaxDepth)
            return std::nullopt;
        skipSpace();
        if (at_ >= s_.size())
            return std::nullopt;
        Json value;
        const char c = s_[at_];
        if (c == '[' || c == '{') {
            const bool object = c == '{';
            const char close = object ? '}' : ']';
            ++at_;
            value.kind = object ? Json::Kind::Object : Json::Kind::Array;
            if (take(close))
                return value;
            do {
                if (object) {
                    std::optional<std::string> key = parseString();
                    if (!key || !take(':'))
                        return std::nullopt;
                    value.keys.push_back(std::move(*key));
                }
                std::optional<Json> item = parseValue(depth + 1);
                if (!item)
                    return std::nullopt;
                value.items.push_back(std::move(*item));
            } while (take(','));
            if (!take(close))
                return std::nullopt;
            return value;
        }
        if (c == '"') {
            std::optional<std::string> text = parseString();
            if (!text)
                return std::nullopt;
            value.kind = Json::Kind::Scalar;
            value.text = std::move(*text);
            return value;
        }
        const std::size_t begin = at_;
        while (at_ < s_.size() && s_[at_] != ',' && s_[at_] != ']' && s_[at_] != '}' &&
               s_[at_] != ' ' && s_[at_] != '\t' && s_[at_] != '\r' && s_[at_] != '\n')
            ++at_;
        const std::string_view word = s_.substr(begin, at_ - begin);
        if (word.empty())
            return std::nullopt;
        if (word == "null" || word == "true" || word == "false")
            return value;
        value.kind = Json::Kind::Scalar;
        value.text = std::string(word);
        return value;
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

// The texts of a value's leaves, in order, joined by blanks.
void appendLeaves(const Json& value, std::string& out) {
    if (value.kind == Json::Kind::Scalar) {
        if (!out.empty())
            out += ' ';
        out += value.text;
    }
    for (const Json& item : value.items)
        appendLeaves(item, out);
}

enum class KeyRole { Other, Issue, Date, Front, Back, Numbers };

bool containsAny(std::string_view s, const auto& candidates) {
    for (std::string_view candidate : candidates)
        if (s.find(candidate) != std::string_view::npos)
            return true;
    return false;
}

KeyRole roleOfKey(std::string_view key, const Markers& markers) {
    std::string lower(key);
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    static constexpr std::string_view kDate[] = {"date", "time", "day"};
    static constexpr std::string_view kFront[] = {"red", "front", "qianqu"};
    static constexpr std::string_view kBack[] = {"blue", "back", "houqu"};
    static constexpr std::string_view kIssue[] = {"issue",   "expect",   "term",   "period",
                                                  "drawnum", "draw_num", "drawno", "draw_no",
                                                  "qihao",   "qishu"};
    static constexpr std::string_view kNumbers[] = {"result", "opencode", "number", "haoma",
                                                    "code",   "ball",     "win"};
    if (containsAny(lower, kDate) || lower.find(markers.dateKey) != std::string::npos)
        return KeyRole::Date;
    if (containsAny(lower, kFront) || lower == "qq" || containsAny(lower, markers.frontKeys))
        return KeyRole::Front;
    if (containsAny(lower, kBack) || lower == "hq" || containsAny(lower, markers.backKeys))
        return KeyRole::Back;
    if (containsAny(lower, kIssue) || lower == "qh" || lower == "no" ||
        containsAny(lower, markers.issueKeys))
        return KeyRole::Issue;
    if (containsAny(lower, kNumbers) || containsAny(lower, markers.bothKeys))
        return KeyRole::Numbers;
    return KeyRole::Other;
}

// A record as a line: issue, front and back numbers by their key names, or
// every value in the order the record has them.
std::string recordLine(const Json& record, const Markers& markers) {
    std::string line;
    if (record.kind != Json::Kind::Object) {
        appendLeaves(record, line);
        return line;
    }
    std::string issue, front, back, numbers;
    for (std::size_t i = 0; i < record.items.size(); ++i) {
        switch (roleOfKey(record.keys[i], markers)) {
        case KeyRole::Issue:
            if (issue.empty())
                appendLeaves(record.items[i], issue);
            break;
        case KeyRole::Front:
            appendLeaves(record.items[i], front);
            break;
        case KeyRole::Back:
            appendLeaves(record.items[i], back);
            break;
        case KeyRole::Numbers:
            if (numbers.empty())
                appendLeaves(record.items[i], numbers);
            break;
        case KeyRole::Date:
        case KeyRole::Other:
            break;
        }
    }
    if (!issue.empty() && (!front.empty() || !numbers.empty()))
        return issue + " " + (front.empty() ? numbers : front + " " + back);
    appendLeaves(record, line);
    return line;
}

// The records: a document that is an array of texts, or else the longest
// array of records at the shallowest depth that has one ({"data": [...]}).
const Json* recordsOf(const Json& document) {
    auto holdsRecords = [](const Json& value) {
        return value.kind == Json::Kind::Array &&
               std::any_of(value.items.begin(), value.items.end(),
                           [](const Json& item) { return item.kind != Json::Kind::Scalar; });
    };
    if (document.kind == Json::Kind::Array && !holdsRecords(document))
        return &document;
    std::vector<const Json*> level{&document};
    while (!level.empty()) {
        const Json* best = nullptr;
        std::vector<const Json*> next;
        for (const Json* value : level) {
            if (holdsRecords(*value) && (!best || value->items.size() > best->items.size()))
                best = value;
            for (const Json& item : value->items)
                if (item.kind != Json::Kind::Scalar)
                    next.push_back(&item);
        }
        if (best)
            return best;
        level = std::move(next);
    }
    return nullptr;
}

bool readJson(std::string_view text, TextEncoding encoding, const Markers& markers,
              Collected& into) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos || (text[begin] != '[' && text[begin] != '{'))
        return false;
    const std::optional<Json> document = JsonParser(text).document();
    if (!document)
        return false;
    const Json* records = recordsOf(*document);
    if (!records)
        return false;
    for (std::size_t i = 0; i < records->items.size(); ++i) {
        into.recordLines.push_back(recordLine(records->items[i], markers));
        readRecord(into.recordLines.back(), static_cast<int>(i + 1), encoding, markers, into);
    }
    into.layout = FileLayout::Json;
    return true;
}

// ---- The whole file ------------------------------------------------------------

FileOrder orderOf(const std::vector<FoundDraw>& draws) {
    if (draws.size() < 2)
        return FileOrder::None;
    bool up = false, down = false;
    for (std::size_t i = 1; i < draws.size(); ++i) {
        up = up || draws[i].draw.issue > draws[i - 1].draw.issue;
        down = down || draws[i].draw.issue < draws[i - 1].draw.issue;
    }
    if (up && down)
        return FileOrder::Mixed;
    return up ? FileOrder::OldestFirst : FileOrder::NewestFirst;
}

} // namespace

DrawFileRead parseDrawHistoryFile(std::string_view bytes) {
    DrawFileRead result;
    std::string converted;
    std::string_view text = bytes;
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        result.encoding = TextEncoding::Utf16;
        converted = utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
        text = converted;
    } else if (startsWith(bytes, "\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    } else if (!isUtf8(bytes)) {
        result.encoding = TextEncoding::Gbk;
    }
    const TextEncoding charset =
        result.encoding == TextEncoding::Gbk ? TextEncoding::Gbk : TextEncoding::Utf8;
    const Markers& markers = charset == TextEncoding::Gbk ? kGbkMarkers : kUtf8Markers;

    Collected collected;
    if (!readJson(text, charset, markers, collected)) {
        collected = Collected{};
        readLines(text, charset, markers, collected);
    }
    result.layout = collected.layout;
    result.order = orderOf(collected.draws);
    result.ignoredLines = collected.ignored;
    result.skipped = std::move(collected.skipped);

    // An issue given twice: once more with the same numbers is a repeat; with
    // other numbers nobody can tell which is right, so neither is taken.
    const std::vector<FoundDraw>& found = collected.draws;
    std::vector<std::size_t> byIssue(found.size());
    std::iota(byIssue.begin(), byIssue.end(), std::size_t{0});
    std::stable_sort(byIssue.begin(), byIssue.end(), [&](std::size_t a, std::size_t b) {
        return found[a].draw.issue < found[b].draw.issue;
    });
    result.oldestFirst.reserve(found.size());
    for (std::size_t first = 0; first < byIssue.size();) {
        std::size_t end = first + 1;
        while (end < byIssue.size() &&
               found[byIssue[end]].draw.issue == found[byIssue[first]].draw.issue)
            ++end;
        const DrawRecord& draw = found[byIssue[first]].draw;
        const bool agree = std::all_of(byIssue.begin() + std::ptrdiff_t(first),
                                       byIssue.begin() + std::ptrdiff_t(end),
                                       [&](std::size_t i) { return found[i].draw == draw; });
        if (agree) {
            result.oldestFirst.push_back(draw);
            result.dates.emplace_back(found[byIssue[first]].date);
        }
        for (std::size_t k = agree ? first + 1 : first; k < end; ++k) {
            const FoundDraw& again = found[byIssue[k]];
            result.skipped.push_back({again.line, std::string(again.text),
                                      agree ? SkipReason::Repeated : SkipReason::Conflict});
        }
        first = end;
    }
    std::sort(result.skipped.begin(), result.skipped.end(),
              [](const SkippedLine& a, const SkippedLine& b) { return a.line < b.line; });
    if (result.oldestFirst.empty())
        result.layout = FileLayout::None;
    return result;
}

} // namespace dlt
