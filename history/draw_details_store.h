// What each draw paid (see core/draw_details.h), kept in one readable text
// file beside the library, keyed by issue. It is written through the same
// durable replace and under the same folder lock as the library, owner-only;
// the library's three files are never touched by it. Nothing is held in
// memory between operations. No operation throws.
//
// The file, "kjxq.txt", holds one draw a line, oldest issue first, its fields
// separated by tabs:
//   issue  date  pool-before  pool-after  sales  tier  tier ...
// with the money in fen and "-" for what was not published; each tier is
// number/追加 (0 or 1)/winning bets/prize of one bet, e.g. "1/0/3/1000000000"
// or "1/1/0/-". Lines starting with "#" are notes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw_details.h"

namespace dlt {

inline constexpr std::string_view kDrawDetailsFileName = "kjxq.txt";

// A details file larger than this is damaged and is not read (every draw
// since 2007 is well below 1 MB).
inline constexpr std::uintmax_t kMaxDrawDetailsFileSize = 16u << 20;

class DrawDetailsStore {
public:
    // directory: the library's folder (HistoryStore's).
    explicit DrawDetailsStore(std::filesystem::path directory);

    std::filesystem::path filePath() const;

    // Every kept draw's details by issue; empty when the file is missing or
    // unreadable. A line that does not read is skipped.
    std::map<std::string, DrawDetails> load() const;

    // Adds the given details, replacing those kept for the same issues, in
    // one durable change. It takes the folder's lock itself, so it is not
    // called while this process holds that lock (a HistoryStore change holds
    // it only within its own call). Details whose issue is not five digits are left
    // out. False when it could not be written (nothing changed then), also
    // when the file is there but cannot be read.
    bool merge(const std::vector<DrawDetails>& details) const;

private:
    std::filesystem::path directory_;
};

// One line of the file (without its end) and back; none when the line does
// not read as a draw's details.
std::string drawDetailsLine(const DrawDetails& details);
std::optional<DrawDetails> readDrawDetailsLine(std::string_view line);

} // namespace dlt
