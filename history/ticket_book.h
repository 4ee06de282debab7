// The ticket book: the user's tickets as a plain-text file in the data
// folder beside the library, one ticket a line, in the order entered. The
// file is GBK; the lines come and go as UTF-8, as every text inside the
// program. They are kept as they are; reading a line as a ticket is the
// engine's.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dlt {

inline constexpr std::string_view kTicketBookName = "tickets.txt";
// A book of a hundred thousand tickets is about 5 MB; anything larger is not
// a ticket book.
inline constexpr std::uintmax_t kMaxTicketBookSize = 16u << 20;

std::filesystem::path ticketBookPath(const std::filesystem::path& folder);

struct TicketBook {
    // false when the file is there but could not be read, or holds a line
    // that is no GBK: writing the book then would change what it holds.
    bool readable = true;
    std::vector<std::string> lines; // the non-blank lines, without line ends
};

// A missing book is an empty one.
TicketBook readTicketBook(const std::filesystem::path& folder);

// The lines as the book's text: each followed by a line end.
std::string ticketBookText(const std::vector<std::string>& lines);

// Replaces the whole book through the one durable replace; false when it was
// not written (the old book is then unchanged).
bool writeTicketBook(const std::filesystem::path& folder, const std::vector<std::string>& lines);

} // namespace dlt
