#include "storage/installation.h"

#include <array>
#include <random>
#include <system_error>

#include "core/texts.h"
#include "storage/cipher.h"
#include "storage/file_io.h"

namespace fs = std::filesystem;

namespace dlt {

namespace {
constexpr const char* kSecretFileName = "installation.secret";
// Anything longer is not a secret of this program.
constexpr std::uintmax_t kMaxSecretFileSize = 1u << 20;

// Whether a file can be created in the folder: the history store writes each
// file beside its old one and renames it over, so that is what it needs.
// (Permission bits alone do not tell: root, ACLs and read-only mounts.)
bool canCreateFilesIn(const fs::path& folder) {
    const fs::path probe = temporarySibling(folder / ".write-probe");
    if (!writeFileFlushed(probe, ""))
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

FileRead SecretStore::load() const {
    return readFile(filePath(), kMaxSecretFileSize);
}

std::string SecretStore::read() const {
    return load().bytes;
}

bool SecretStore::keepAside() const {
    for (int n = 1; n < 1000; ++n) {
        fs::path aside = filePath();
        aside += ".damaged" + std::to_string(n);
        std::error_code error;
        if (!fs::exists(aside, error) && !error)
            return renameFile(filePath(), aside) && flushDirectory(folder_);
    }
    return false;
}

bool SecretStore::write(const std::string& secret) const {
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error)
        return false;
    // Written beside the old file, readable by its owner only, and renamed
    // over it, so a failed write never leaves half a secret behind.
    const fs::path temp = temporarySibling(filePath());
    bool ok = writeFileFlushed(temp, "");
    if (ok) {
        fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, error);
        ok = !error && writeFileFlushed(temp, secret) && renameFile(temp, filePath()) &&
             flushDirectory(folder_);
    }
    if (!ok)
        removeFile(temp);
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
        yieldIfSet(yield);
    }
    return secret;
}

bool establishInstallationKey(ProcessState& state, const SecretStore& store,
                              MessageBoxPort& messages, const YieldHook& yield) {
    // The secret is never thrown away: one that cannot be read ends the
    // start, and one of another length is kept aside before a new one is
    // made, so that a damaged library can still be recovered by hand.
    const FileRead kept = store.load();
    bool ok = kept.status != FileRead::Status::Failed;
    if (ok && (kept.status != FileRead::Status::Read || kept.bytes.size() != kSecretLength)) {
        const bool holdsSomething = kept.status == FileRead::Status::TooLarge || !kept.bytes.empty();
        ok = !holdsSomething || store.keepAside();
        if (ok)
            store.write(generateSecret(yield));
    }
    std::string secret = ok ? store.read() : std::string();
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
