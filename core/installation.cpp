#include "core/installation.h"

#include <array>
#include <random>
#include <system_error>

#include "core/texts.h"
#include "history/cipher.h"
#include "history/file_io.h"

namespace fs = std::filesystem;

namespace dlt {

namespace {
constexpr const char* kSecretFileName = "installation.secret";

// Whether a file can be created in the folder: the history store writes each
// file beside its old one and renames it over, so that is what it needs.
// (Permission bits alone do not tell: root, ACLs and read-only mounts.)
bool canCreateFilesIn(const fs::path& folder) {
    const fs::path probe = temporarySibling(folder / ".write-probe");
    if (!writeWholeFile(probe, ""))
        return false;
    std::error_code ignored;
    fs::remove(probe, ignored);
    return true;
}
} // namespace

SecretStore::SecretStore(fs::path folder) : folder_(std::move(folder)) {}

fs::path SecretStore::filePath() const {
    return folder_ / kSecretFileName;
}

std::string SecretStore::read() const {
    return readWholeFile(filePath()).value_or(std::string());
}

bool SecretStore::write(const std::string& secret) const {
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error)
        return false;
    // Written beside the old file, readable by its owner only, and renamed
    // over it, so a failed write never leaves half a secret behind.
    const fs::path temp = temporarySibling(filePath());
    bool ok = writeWholeFile(temp, "");
    if (ok) {
        fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, error);
        ok = !error && writeWholeFile(temp, secret);
    }
    if (ok) {
        fs::rename(temp, filePath(), error);
        ok = !error;
    }
    if (!ok) {
        std::error_code ignored;
        fs::remove(temp, ignored);
    }
    return ok;
}

fs::path chooseHistoryFolder(const fs::path& programFolder, const fs::path& userDataFolder) {
    if (canCreateFilesIn(programFolder))
        return programFolder;
    std::error_code ignored;
    fs::create_directories(userDataFolder, ignored);
    return userDataFolder;
}

std::string generateSecret(const YieldHook& yield) {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(), device(), device(), device(), device()};
    std::mt19937_64 generator(seed);
    std::uniform_int_distribution<int> digit(0, 9);
    std::string secret;
    secret.reserve(kSecretLength);
    for (std::size_t i = 0; i < kSecretLength; ++i) {
        secret.push_back(static_cast<char>('0' + digit(generator)));
        if (yield)
            yield();
    }
    return secret;
}

bool establishInstallationKey(ProcessState& state, const SecretStore& store,
                              MessageBoxPort& messages, const YieldHook& yield) {
    if (store.read().size() != kSecretLength)
        store.write(generateSecret(yield));
    std::string secret = store.read();
    if (secret.size() != kSecretLength) {
        messages.showMessage(std::string(text::initFailed), std::string(text::errorCaption),
                             MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    state.installationKey = digestHex(secret);
    state.installationSecret = std::move(secret);
    return true;
}

} // namespace dlt
