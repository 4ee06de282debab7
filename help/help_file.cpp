#include "help/help_file.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "storage/file_io.h"

namespace dlt::help {

std::filesystem::path helpFilePath(const std::filesystem::path& folder, std::uint64_t number) {
    std::error_code error;
    for (;; ++number) {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(number));
        const std::filesystem::path candidate = folder / (std::string(hex) + ".tmp");
        if (!std::filesystem::exists(candidate, error))
            return std::filesystem::path(candidate) += ".mht";
    }
}

std::filesystem::path nextHelpFilePath(const std::filesystem::path& folder) {
    static std::atomic<std::uint64_t> counter{0};
    // The steady clock counts from system start on the desktops we run on.
    const auto sinceStart = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return helpFilePath(folder, std::uint64_t(sinceStart.count()) + ++counter);
}

std::filesystem::path writeHelpFile(const std::filesystem::path& folder, std::string_view archive) {
    const std::filesystem::path path = nextHelpFilePath(folder);
    if (writeFileFlushed(path, archive))
        return path;
    std::error_code ignored;
    std::filesystem::remove(path, ignored); // a partly written file
    return {};
}

} // namespace dlt::help
