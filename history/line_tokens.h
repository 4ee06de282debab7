// The tokens of one line of a history file: numbers, issues, dates and the
// words between them. A line is UTF-8.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "core/ports.h"

namespace dlt {

enum class TokenKind { Number, Issue, Date, Word };

// The digit runs of a number or an issue: one, or the five or seven of
// numbers joined by "-" ("03-06-26-30-33").
class DigitGroups {
public:
    static constexpr std::size_t kMost = 7;
    DigitGroups() = default;
    explicit DigitGroups(std::string_view only) : size_(1) { runs_[0] = only; }
    void push(std::string_view run) {
        if (size_ < kMost)
            runs_[size_++] = run;
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
    DigitGroups groups; // of a Number or an Issue
};

// Reads a line's tokens one at a time, so that a line of any length costs
// only the part of it that is looked at. A copy goes on from where the
// original stands.
class LineTokens {
public:
    explicit LineTokens(std::string_view line, const CancelFlag* cancel = nullptr)
        : line_(line), cancel_(cancel) {}

    // The next token; false at the end of the line, or once the flag is raised.
    bool next(Token& token);

private:
    std::string_view line_;
    std::size_t at_ = 0;
    const CancelFlag* cancel_;
};

// The value of a run of at most a few digits.
int valueOf(std::string_view digits);

} // namespace dlt
