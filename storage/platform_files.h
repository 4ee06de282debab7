// The few file-system calls that differ between Windows and POSIX.
#pragma once

#include <cstdio>
#include <filesystem>

namespace dlt {

// Pushes what was written to the open file down to the disk.
bool flushFileToDisk(std::FILE* file);

// Renames from over to, replacing it; on Windows the rename is written
// through to the disk before it returns.
bool renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Makes the folder's entries (new names, renames, removals) durable. Windows
// needs nothing here: its renames are written through.
bool flushFolder(const std::filesystem::path& folder);

} // namespace dlt
