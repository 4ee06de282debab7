// Whole-file reading and durable writing that never throw, with a seam through
// which tests make single file-system calls fail.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "storage/platform_files.h"

namespace dlt {

// What reading a whole file gave.
struct FileRead {
    enum class Status { Missing, Read, TooLarge, Failed };
    Status status = Status::Missing;
    std::string bytes;       // only with Read
    std::error_code failure; // why, with Failed
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

// Replaces the file through a flushed temporary file beside it (see
// writeTemporarySibling), renamed over it, and flushes the folder. True once
// the rename is done, even when the folder's flush fails after it. On
// failure the temporary file is removed. The file is its owner's only.
bool replaceFileDurably(const std::filesystem::path& path, std::string_view bytes);

// Creates the file with the bytes only when it does not exist yet, through a
// flushed temporary file given its name without replacing anything, and
// flushes the folder. Of two processes creating it at once one wins; the
// other finds it there. Created once the file has its name, even when the
// folder's flush or the temporary name's removal fails after it.
enum class Creation { Created, Exists, Failed };
Creation createFileDurably(const std::filesystem::path& path, std::string_view bytes);

// Writes the bytes to a new temporary file beside path and flushes them: a
// fresh name (path + ".new" + digits) created exclusively, never through an
// existing file or link, readable and writable by its owner only. Its name,
// or none on failure (nothing is left then).
std::optional<std::filesystem::path> writeTemporarySibling(const std::filesystem::path& path,
                                                           std::string_view bytes);

// Removes every temporary file writeTemporarySibling left beside the files
// (all in one folder): by a crash, or a removal that failed. False when one
// is still there.
bool removeTemporarySiblings(const std::vector<std::filesystem::path>& files);

// Whether fileName is a name temporarySibling gives for path.
bool isTemporarySiblingName(std::string_view fileName, const std::filesystem::path& path);

// Waits for the folder's lock between processes (see FileLock::lockFolder);
// unheld on failure.
FileLock lockFolder(const std::filesystem::path& folder);

// The seam: when a filter is set, each call above asks it first, and a call
// it answers false fails as if the system had refused it.
enum class FileCall { Read, Write, Flush, Rename, Remove, Lock };
using FileCallFilter = std::function<bool(FileCall, const std::filesystem::path&)>;
void setFileCallFilter(FileCallFilter filter);

} // namespace dlt
