#include "help/help_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dlt::help {

namespace {

// Names taken before the write gives up: far more than any folder holds by
// chance, few enough to end quickly in a folder someone fills on purpose.
constexpr int kNamesTried = 1000;

enum class Created { Yes, NameTaken, Failed };

// Creates the file exclusively, owner-only, never following a link at the
// name; the open file's descriptor in fd.
Created createExclusively(const std::filesystem::path& path, int& fd) {
#ifdef _WIN32
    const int failed =
        _wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _SH_DENYWR, _S_IREAD | _S_IWRITE);
    if (failed == 0)
        return Created::Yes;
#else
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0)
        return Created::Yes;
#endif
    return errno == EEXIST ? Created::NameTaken : Created::Failed;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
#ifdef _WIN32
        const int chunk = bytes.size() > (1u << 30) ? (1 << 30) : int(bytes.size());
        const auto written = _write(fd, bytes.data(), unsigned(chunk));
#else
        const auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
#endif
        if (written <= 0)
            return false;
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

bool closeFile(int fd) {
#ifdef _WIN32
    return _close(fd) == 0;
#else
    return ::close(fd) == 0;
#endif
}

} // namespace

std::filesystem::path helpFilePath(const std::filesystem::path& folder, std::uint64_t number) {
    std::error_code error;
    for (;; ++number) {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(number));
        const std::filesystem::path candidate = folder / (std::string(hex) + ".tmp");
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error)))
            return std::filesystem::path(candidate) += ".mht";
    }
}

std::filesystem::path writeHelpFileFrom(const std::filesystem::path& folder, std::uint64_t number,
                                        std::string_view archive) {
    // An empty or relative folder (the system gives an empty temporary
    // folder when the one it names does not exist) would put the file in the
    // current folder.
    std::error_code error;
    if (!folder.is_absolute() || !std::filesystem::is_directory(folder, error))
        return {};
    for (int tried = 0; tried < kNamesTried; ++tried, ++number) {
        const std::filesystem::path path = helpFilePath(folder, number);
        int fd = -1;
        switch (createExclusively(path, fd)) {
        case Created::NameTaken:
            continue;
        case Created::Failed:
            return {};
        case Created::Yes:
            break;
        }
        const bool written = writeAll(fd, archive);
        if (closeFile(fd) && written)
            return path;
        std::filesystem::remove(path, error); // the partly written file is ours
        return {};
    }
    return {};
}

std::filesystem::path writeHelpFile(const std::filesystem::path& folder, std::string_view archive) {
    static std::atomic<std::uint64_t> counter{0};
    // The steady clock counts from system start on the desktops we run on.
    const auto sinceStart = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return writeHelpFileFrom(folder, std::uint64_t(sinceStart.count()) + ++counter, archive);
}

} // namespace dlt::help
