// The few file-system calls that differ between Windows and POSIX.
#pragma once

#include <cstdio>
#include <filesystem>

namespace dlt {

// Pushes what was written to the open file down to the disk.
bool flushFileToDisk(std::FILE* file);

// Creates the file for writing only when nothing stands at its name (not
// even a link), readable and writable by its owner only; null otherwise.
std::FILE* openNewFile(const std::filesystem::path& path);

// Renames from over to, replacing it; on Windows the rename is written
// through to the disk before it returns.
bool renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Gives the file at from the name to as well, only when nothing stands there
// yet; false, changing nothing, when to exists or on failure. On Windows the
// file is moved (from is gone); elsewhere to is a second link, and removing
// from is the caller's part.
bool linkNoReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Makes the folder's entries (new names, renames, removals) durable. Windows
// needs nothing here: its renames are written through.
bool flushFolder(const std::filesystem::path& folder);

// An exclusive lock between processes, held until it is destroyed (or the
// process ends, however it ends).
class FileLock {
public:
    FileLock() = default;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    bool held() const { return handle_ != kNone; }

    // Waits until it holds the lock of the folder; unheld when the folder
    // cannot be opened. On Windows the lock lives in the folder's file
    // "folder.lock", as a folder itself cannot be locked there.
    static FileLock lockFolder(const std::filesystem::path& folder);
    // Takes the lock of the file (created when missing) without waiting:
    // unheld when another process holds it or the file cannot be opened.
    static FileLock tryLockFile(const std::filesystem::path& file);

private:
#ifdef _WIN32
    using Handle = void*;
    static constexpr Handle kNone = nullptr;
#else
    using Handle = int;
    static constexpr Handle kNone = -1;
#endif
    explicit FileLock(Handle handle) : handle_(handle) {}
    Handle handle_ = kNone;
};

} // namespace dlt
