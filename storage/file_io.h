// Whole-file reading and durable writing that never throw, with a seam through
// which tests make single file-system calls fail.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace dlt {

// What reading a whole file gave.
struct FileRead {
    enum class Status { Missing, Read, TooLarge, Failed };
    Status status = Status::Missing;
    std::string bytes; // only with Read
};

// The whole file when it is a plain file of at most maxSize bytes. Larger
// files are not read at all.
FileRead readFile(const std::filesystem::path& path, std::uintmax_t maxSize);

// Creates or truncates the file, writes the bytes and flushes them to the
// disk; false on any failure.
bool writeFileFlushed(const std::filesystem::path& path, std::string_view bytes);

// Renames from over to (replacing it); false on failure.
bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Makes the folder's new names durable; false on failure.
bool flushDirectory(const std::filesystem::path& folder);

// Removes the file; a missing file is no error.
bool removeFile(const std::filesystem::path& path);

// Replaces the file through a flushed temporary file beside it, renamed over
// it, and flushes the folder. On failure the temporary file is removed.
bool replaceFileDurably(const std::filesystem::path& path, std::string_view bytes);

// A name beside path for a temporary file, unique to this call: path + ".new"
// + digits.
std::filesystem::path temporarySibling(const std::filesystem::path& path);

// Whether fileName is a name temporarySibling gives for path.
bool isTemporarySiblingName(std::string_view fileName, const std::filesystem::path& path);

// The seam: when a filter is set, each call above asks it first, and a call
// it answers false fails as if the system had refused it.
enum class FileCall { Read, Write, Flush, Rename, Remove };
using FileCallFilter = std::function<bool(FileCall, const std::filesystem::path&)>;
void setFileCallFilter(FileCallFilter filter);

} // namespace dlt
