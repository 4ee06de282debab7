#include "storage/platform_files.h"

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace dlt {

FileLock::FileLock(FileLock&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        FileLock gone(std::move(*this));
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

#ifdef _WIN32

bool flushFileToDisk(std::FILE* file) {
    if (std::fflush(file) != 0)
        return false;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

std::FILE* openNewFile(const std::filesystem::path& path) {
    const int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file)
        _close(fd);
    return file;
}

bool renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool linkNoReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool flushFolder(const std::filesystem::path&) {
    return true;
}

namespace {
HANDLE openLockFile(const std::filesystem::path& file) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

bool lockWhole(HANDLE handle, DWORD flags) {
    OVERLAPPED from{};
    return LockFileEx(handle, flags, 0, MAXDWORD, MAXDWORD, &from) != 0;
}
} // namespace

FileLock FileLock::lockFolder(const std::filesystem::path& folder) {
    const HANDLE handle = openLockFile(folder / L"folder.lock");
    if (!handle)
        return {};
    if (!lockWhole(handle, LOCKFILE_EXCLUSIVE_LOCK)) {
        CloseHandle(handle);
        return {};
    }
    return FileLock(handle);
}

FileLock FileLock::tryLockFile(const std::filesystem::path& file) {
    const HANDLE handle = openLockFile(file);
    if (!handle)
        return {};
    if (!lockWhole(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY)) {
        CloseHandle(handle);
        return {};
    }
    return FileLock(handle);
}

FileLock::~FileLock() {
    if (held())
        CloseHandle(handle_); // closing releases the lock
}

#else

bool flushFileToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

std::FILE* openNewFile(const std::filesystem::path& path) {
    // O_EXCL also refuses a symbolic link standing at the name.
    const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file)
        close(fd);
    return file;
}

bool renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool linkNoReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    // A second name fails when the name is taken.
    return link(from.c_str(), to.c_str()) == 0;
}

bool flushFolder(const std::filesystem::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool flushed = fsync(fd) == 0;
    return close(fd) == 0 && flushed;
}

namespace {
// flock locks belong to the open file, so they end with the process and are
// not inherited by programs it starts (close-on-exec).
int lockOpened(int fd, int operation) {
    if (fd < 0)
        return -1;
    int locked;
    do
        locked = flock(fd, operation);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        close(fd);
        return -1;
    }
    return fd;
}
} // namespace

FileLock FileLock::lockFolder(const std::filesystem::path& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int locked = lockOpened(fd, LOCK_EX);
    return locked < 0 ? FileLock() : FileLock(locked);
}

FileLock FileLock::tryLockFile(const std::filesystem::path& file) {
    const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    const int locked = lockOpened(fd, LOCK_EX | LOCK_NB);
    return locked < 0 ? FileLock() : FileLock(locked);
}

FileLock::~FileLock() {
    if (held())
        close(handle_); // closing releases the lock
}

#endif

} // namespace dlt
