#include "history/line_tokens.h"

#include <algorithm>

#include "core/draw_check.h"

namespace dlt {

namespace {

constexpr std::string_view kDi = "第";
constexpr std::string_view kQi = "期";
// Separators beyond ASCII: the full-width comma, semicolon, colon, the
// enumeration comma, the ideographic space and the full-width bar.
constexpr std::array<std::string_view, 6> kWideSeparators{"，", "；", "：", "、", "　", "｜"};

bool isAsciiSeparator(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
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

// Bytes of the UTF-8 character starting at `at` (1 for a stray byte).
std::size_t characterLength(std::string_view s, std::size_t at) {
    const auto c = static_cast<unsigned char>(s[at]);
    const std::size_t length = c < 0x80           ? 1
                               : (c >> 5) == 0x6  ? 2
                               : (c >> 4) == 0xE  ? 3
                               : (c >> 3) == 0x1E ? 4
                                                  : 1;
    return std::min(length, s.size() - at);
}

bool isWideSeparator(std::string_view s, std::size_t at) {
    return std::any_of(kWideSeparators.begin(), kWideSeparators.end(),
                       [&](std::string_view wide) { return s.substr(at).starts_with(wide); });
}

bool plausibleYear(std::string_view digits) {
    return digits.size() == 4 && (digits.starts_with("19") || digits.starts_with("20"));
}

// The digit runs of a word: how many, the first few, and their total length.
struct DigitRuns {
    static constexpr std::size_t kKept = 8;
    std::array<std::string_view, kKept> first{};
    std::size_t count = 0;
    std::size_t digits = 0;
};

DigitRuns digitRuns(std::string_view word) {
    DigitRuns runs;
    for (std::size_t at = 0; at < word.size();) {
        if (!isAsciiDigit(word[at])) {
            ++at;
            continue;
        }
        const std::size_t begin = at;
        while (at < word.size() && isAsciiDigit(word[at]))
            ++at;
        if (runs.count < DigitRuns::kKept)
            runs.first[runs.count] = word.substr(begin, at - begin);
        ++runs.count;
        runs.digits += at - begin;
    }
    return runs;
}

Token classify(std::string_view word) {
    while (!word.empty() && (word.back() == ':' || word.back() == '.'))
        word.remove_suffix(1);
    Token token;
    token.text = word;
    if (isDigitText(word)) {
        token.groups = DigitGroups(word);
        token.kind = TokenKind::Number;
        // 20260819: a date written without separators.
        if (word.size() == 8 && plausibleYear(word.substr(0, 4))) {
            const int month = valueOf(word.substr(4, 2));
            const int day = valueOf(word.substr(6, 2));
            if (month >= 1 && month <= 12 && day >= 1 && day <= 31)
                token.kind = TokenKind::Date;
        }
        return token;
    }
    // 第25128期, 25128期
    std::string_view inner = word;
    const bool di = inner.starts_with(kDi);
    if (di)
        inner.remove_prefix(kDi.size());
    const bool qi = inner.ends_with(kQi);
    if (qi)
        inner.remove_suffix(kQi.size());
    if ((di || qi) && isDigitText(inner)) {
        token.kind = TokenKind::Issue;
        token.groups = DigitGroups(inner);
        return token;
    }
    if (word.empty() || !isAsciiDigit(word.front()))
        return token;
    const DigitRuns runs = digitRuns(word);
    // Digit runs joined by one of - / . : three make a date, others a
    // group of numbers ("03-06-26-30-33").
    const char joint = word[runs.first[0].size()];
    const bool ascii = joint == '-' || joint == '/' || joint == '.';
    const bool evenlyJoined =
        ascii && runs.digits + runs.count - 1 == word.size() &&
        std::count(word.begin(), word.end(), joint) == static_cast<std::ptrdiff_t>(runs.count - 1);
    const auto& first = runs.first;
    if (runs.count == 3 && (plausibleYear(first[0]) || plausibleYear(first[2]) || evenlyJoined)) {
        // 2026-08-19, 2026/8/19, 19.08.2026, 2026年8月19日, 2026-08-19T20:30
        token.kind = TokenKind::Date;
        return token;
    }
    if (runs.count > 3 && plausibleYear(first[0]) && !evenlyJoined) {
        token.kind = TokenKind::Date; // a date followed by a time
        return token;
    }
    // Two runs are more likely a month and a day than the back numbers.
    if (evenlyJoined && joint == '-' && (runs.count == 5 || runs.count == 7)) {
        token.kind = TokenKind::Number;
        for (std::size_t i = 0; i < runs.count; ++i)
            token.groups.push(first[i]);
    }
    return token;
}

} // namespace

int valueOf(std::string_view digits) {
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

bool LineTokens::next(Token& token) {
    std::size_t begin = at_;
    while (at_ < line_.size()) {
        if (cancel_ && cancel_->cancelled()) {
            at_ = line_.size();
            return false;
        }
        const std::size_t length = characterLength(line_, at_);
        const bool separator =
            length == 1 ? isAsciiSeparator(line_[at_]) : isWideSeparator(line_, at_);
        const std::size_t end = at_;
        at_ += length;
        if (!separator)
            continue;
        if (end > begin) {
            token = classify(line_.substr(begin, end - begin));
            return true;
        }
        begin = at_;
    }
    if (at_ > begin) {
        token = classify(line_.substr(begin, at_ - begin));
        return true;
    }
    return false;
}

} // namespace dlt
