// What each draw paid (see core/draw_details.h), kept in one readable text
// file beside the library, keyed by issue. It is written through the same
// durable replace and under the same folder lock as the library, owner-only;
// the library's three files are never touched by it. Nothing is held in
// memory between operations. No operation throws.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/draw_details.h"

namespace dlt {

class DrawDetailsStore {
public:
    // directory: the library's folder (HistoryStore's).
    explicit DrawDetailsStore(std::filesystem::path directory);

    std::filesystem::path filePath() const;

    // Every kept draw's details by issue; empty when the file is missing or
    // unreadable. A line that does not read is skipped.
    std::map<std::string, DrawDetails> load() const;

    // Adds the given details, replacing those kept for the same issues, in
    // one durable change. False when it could not be written (nothing
    // changed then).
    bool merge(const std::vector<DrawDetails>& details) const;

private:
    std::filesystem::path directory_;
};

} // namespace dlt
