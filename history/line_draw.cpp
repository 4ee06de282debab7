#include "history/line_draw.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/draw_check.h"
#include "history/line_tokens.h"

namespace dlt {

namespace {

constexpr std::size_t kPicks = kLotteryRules.front.picksPerDraw + kLotteryRules.back.picksPerDraw;

// The issue as the store keeps it (5 digits), or nothing.
std::optional<std::string> issueOf(const Token& token) {
    if ((token.kind != TokenKind::Number && token.kind != TokenKind::Issue) ||
        token.groups.size() != 1)
        return std::nullopt;
    const std::string_view digits = token.groups[0];
    switch (digits.size()) {
    case kIssueDigits - 1: {
        std::string issue(1, '0'); // 7001 lost its leading zero
        issue += digits;
        return issue;
    }
    case kIssueDigits:
        return std::string(digits);
    case kIssueDigits + 2:
        if (digits.starts_with("20")) // 2026079, the full year
            return std::string(digits.substr(2));
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// A zone's numbers ascending as two-digit tokens; whether they make a sound
// zone is the draw check's to say.
std::string zoneDigits(const int* numbers, std::size_t count) {
    std::array<int, kPicks> zone{};
    std::copy_n(numbers, count, zone.begin());
    std::sort(zone.begin(), zone.begin() + std::ptrdiff_t(count));
    std::string digits;
    for (std::size_t i = 0; i < count; ++i) {
        digits += static_cast<char>('0' + zone[i] / 10);
        digits += static_cast<char>('0' + zone[i] % 10);
    }
    return digits;
}

// The draw whose issue is `issueToken`, read from the tokens after it.
LineDraw drawFrom(const Token& issueToken, LineTokens rest) {
    LineDraw result;
    result.hasNumber = true;
    const std::optional<std::string> issue = issueOf(issueToken);
    if (!issue)
        return result;
    const ZoneRules& front = kLotteryRules.front;
    const ZoneRules& back = kLotteryRules.back;
    std::array<int, kPicks> numbers{};
    std::size_t count = 0;
    Token token;
    while (count < kPicks && rest.next(token)) {
        if (token.kind == TokenKind::Date && result.date.empty())
            result.date = token.text;
        if (token.kind == TokenKind::Date || token.kind == TokenKind::Word)
            continue;
        if (token.kind == TokenKind::Issue)
            return result;
        for (std::string_view group : token.groups) {
            // "0514151733 0107": a zone, or all seven numbers, written
            // without separators.
            const bool joined =
                (count == 0 && (group.size() == kFrontDigits || group.size() == 2 * kPicks)) ||
                (count == std::size_t(front.picksPerDraw) && group.size() == kBackDigits);
            if (group.size() > 2 && !joined)
                return result;
            const std::size_t width = joined ? 2 : group.size();
            for (std::size_t at = 0; at < group.size() && count < kPicks; at += width)
                numbers[count++] = valueOf(group.substr(at, width));
        }
    }
    if (count < kPicks)
        return result;
    const std::size_t frontPicks = std::size_t(front.picksPerDraw);
    DrawRecord draw{*issue, zoneDigits(numbers.data(), frontPicks),
                    zoneDigits(numbers.data() + frontPicks, std::size_t(back.picksPerDraw))};
    switch (drawFault(draw)) {
    case DrawFault::None:
        result.draw = std::move(draw);
        break;
    case DrawFault::Issue:
        break;
    case DrawFault::Front:
        result.reason = SkipReason::Front;
        break;
    case DrawFault::Back:
        result.reason = SkipReason::Back;
        break;
    }
    return result;
}

} // namespace

LineDraw drawOfLine(std::string_view line, const CancelFlag* cancel) {
    LineDraw first;
    int tried = 0;
    LineTokens tokens(line, cancel);
    Token token;
    while (tried < 2 && tokens.next(token)) {
        if (token.kind != TokenKind::Number && token.kind != TokenKind::Issue)
            continue;
        // The copy reads on from the candidate issue; `tokens` stays there.
        const LineDraw read = drawFrom(token, tokens);
        if (read.draw || read.reason != SkipReason::NotADraw)
            return read;
        if (tried == 0)
            first = read;
        ++tried;
    }
    return first;
}

} // namespace dlt
