// The installation secret: 10000 random digits kept in a per-user file, and
// the installation key derived from it that keys the history files.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

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
    // Keeps the secret when none is kept yet, readable by its owner only
    // (the folder is created when missing), and removes the strays below.
    // Exists when another start kept one first: what is kept is then that
    // one. The caller holds lock().
    Creation create(const std::string& secret) const;
    // Removes what a start left beside the kept file under a temporary name
    // (a whole second name of the secret when removing it failed); false
    // when one is still there. The caller holds lock().
    bool removeStrays() const;
    // The lock of the secret's folder between processes (created when
    // missing), held while a secret is replaced.
    FileLock lock() const;

private:
    std::filesystem::path folder_;
};

// Whether the program runs from an installed place: its folder lies under a
// system prefix (/usr, /opt, ...; on Windows the program folders), or it is a
// bin/ folder with share/qvemtrod beside it (any installation prefix).
bool isInstalledProgramFolder(const std::filesystem::path& programFolder);

// Where the history files live, decided once at start-up: an installed
// program keeps them in the per-user data folder that also keeps the secret
// (created when missing), whoever runs it. Only a copy in a folder of its
// own (a portable copy, the build folder) keeps them beside itself, when it
// can create files there.
std::filesystem::path chooseHistoryFolder(const std::filesystem::path& programFolder,
                                          const std::filesystem::path& userDataFolder);

// The decimal digits that random bytes give, uniformly: one for each byte
// below 250 (its value modulo 10); the bytes 250 to 255 are rejected, as
// they would favour the digits 0 to 5.
std::string digitsOfRandomBytes(std::string_view bytes);

// 10000 digits from the system's cryptographic generator (OpenSSL's
// RAND_bytes, through digitsOfRandomBytes); yield is called after each
// digit. Empty when the generator fails.
std::string generateSecret(const YieldHook& yield);

// What establishing the installation key came to.
enum class KeyOutcome {
    Ready,            // installationSecret and installationKey are set
    NotKept,          // no valid secret could be kept (the folder, its lock or the write failed)
    SecretUnreadable, // the kept secret is there but cannot be read: nothing was replaced
};

struct KeyResult {
    KeyOutcome outcome = KeyOutcome::Ready;
    std::error_code why;        // SecretUnreadable: the system's reason
    std::filesystem::path file; // SecretUnreadable: the kept secret's file
    bool ready() const { return outcome == KeyOutcome::Ready; }
};

// Reads the secret back; when there is none or it is not exactly 10000
// digits long, generates a new one and, holding the folder's lock, keeps it
// unless another start kept one meanwhile (a kept one of another length is
// first renamed aside with keepAside). Then reads back what is kept and sets
// installationSecret and installationKey from it. Anything but Ready ends the
// program; the caller tells the user why. When the kept secret cannot be
// read, nothing is replaced.
KeyResult establishInstallationKey(ProcessState& state, const SecretStore& store,
                                   const YieldHook& yield = {});

} // namespace dlt
