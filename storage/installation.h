// The installation secret: 10000 random digits kept in a per-user file, and
// the installation key derived from it that keys the history files.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/ports.h"
#include "core/process_state.h"
#include "storage/file_io.h"

namespace dlt {

inline constexpr std::size_t kSecretLength = 10000;

class SecretStore {
public:
    explicit SecretStore(std::filesystem::path folder);

    std::filesystem::path filePath() const;
    // The kept file as read: missing, read, too large or unreadable.
    FileRead load() const;
    // What is kept, or an empty text when nothing is kept or it cannot be read.
    std::string read() const;
    // Renames the kept file to a free name beside it ("installation.secret.damaged1", ...).
    bool keepAside() const;
    // Replaces what is kept; the file is readable by its owner only. Returns
    // false when it could not be written.
    bool write(const std::string& secret) const;

private:
    std::filesystem::path folder_;
};

// Where the history files live, decided once at start-up: beside the program
// when its folder can be written (a portable copy, a build folder); otherwise,
// as for a program installed into a system folder, in the per-user data folder
// that also keeps the secret (created when missing).
std::filesystem::path chooseHistoryFolder(const std::filesystem::path& programFolder,
                                          const std::filesystem::path& userDataFolder);

// 10000 random digits; yield is called after each digit.
std::string generateSecret(const YieldHook& yield);

// Reads the secret back, generates and keeps a new one when there is none or
// it is not exactly 10000 digits long (a kept one is first renamed aside with
// keepAside), reads it back again and sets installationSecret and
// installationKey. When the kept secret cannot be read, or on any failure, shows "软件初始化失败：请重试！" (caption "错误",
// stop icon) and returns false: the caller ends the program.
bool establishInstallationKey(ProcessState& state, const SecretStore& store,
                              MessageBoxPort& messages, const YieldHook& yield = {});

} // namespace dlt
