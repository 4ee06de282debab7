// The temporary file the guide is shown from: written whole each time the
// help window opens, removed once the browser has read it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace dlt::help {

// In folder: the lowercase hexadecimal form of number followed by ".tmp",
// the number increased by one while a file (or a link) of that name exists,
// then ".mht" appended (so "1a2b3c.tmp.mht").
std::filesystem::path helpFilePath(const std::filesystem::path& folder, std::uint64_t number);

// Writes the archive to a new file named by helpFilePath from number on. The
// file is created exclusively and readable by its owner only, so nothing is
// ever written through a file or a link that stands at the name: a name
// taken meanwhile moves on to the next number. Returns the file's path, or an
// empty path when the file could not be written whole (nothing is left) or
// folder is not an existing folder given by an absolute path.
std::filesystem::path writeHelpFileFrom(const std::filesystem::path& folder, std::uint64_t number,
                                        std::string_view archive);

// writeHelpFileFrom with the milliseconds since system start plus a counter
// that goes up by one at each call, so two openings in the same millisecond
// get different names.
std::filesystem::path writeHelpFile(const std::filesystem::path& folder, std::string_view archive);

} // namespace dlt::help
