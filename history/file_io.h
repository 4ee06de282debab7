// Whole-file reading and writing that never throws.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dlt {

// The whole file, or nothing when it is missing, not a plain file or cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Creates or truncates the file and writes the bytes; false on any failure.
bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

// Writes the bytes to a temporary file beside path and renames it over path,
// so that path holds either its old contents or all of the new ones; false
// (and path unchanged) on any failure.
bool replaceWholeFile(const std::filesystem::path& path, std::string_view bytes);

// A name beside path for a temporary file, unique to this call.
std::filesystem::path temporarySibling(const std::filesystem::path& path);

} // namespace dlt
