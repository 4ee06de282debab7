#include "storage/installation.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>
#include <system_error>

#include <openssl/rand.h>

#include "core/identity.h"
#include "core/process_state.h"
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
    const auto probe = writeTemporarySibling(folder / ".write-probe", "");
    if (!probe)
        return false;
    std::error_code ignored;
    fs::remove(*probe, ignored);
    return true;
}

// Whether path lies inside folder (both as the file system resolves them).
bool liesUnder(const fs::path& path, const fs::path& folder) {
    auto [end, inside] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    (void)inside;
    return end == folder.end();
}

std::vector<fs::path> systemPrefixes() {
#ifdef _WIN32
    std::vector<fs::path> prefixes;
    for (const wchar_t* name :
         {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432", L"SystemRoot"})
        if (const wchar_t* value = _wgetenv(name); value && *value)
            prefixes.emplace_back(value);
    return prefixes;
#else
    return {"/usr", "/opt", "/bin", "/sbin", "/lib", "/snap", "/app", "/nix/store"};
#endif
}

bool validSecret(const FileRead& read) {
    return read.status == FileRead::Status::Read && read.bytes.size() == kSecretLength;
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

Creation SecretStore::create(const std::string& secret) const {
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error)
        return Creation::Failed;
    // A temporary file of its owner's only, given the name only when it is
    // free: never half a secret, never one replaced under a running copy.
    const Creation created = createFileDurably(filePath(), secret);
    removeStrays();
    return created;
}

bool SecretStore::removeStrays() const {
    return removeTemporarySiblings({filePath()});
}

FileLock SecretStore::lock() const {
    std::error_code error;
    fs::create_directories(folder_, error);
    return error ? FileLock() : lockFolder(folder_);
}

bool isInstalledProgramFolder(const fs::path& programFolder) {
    std::error_code error;
    fs::path folder = fs::weakly_canonical(programFolder, error);
    if (error)
        folder = programFolder.lexically_normal();
    if (folder.has_relative_path() && folder.filename().empty())
        folder = folder.parent_path();
    for (const fs::path& prefix : systemPrefixes())
        if (liesUnder(folder, fs::weakly_canonical(prefix, error)))
            return true;
    return folder.filename() == "bin" &&
           fs::is_directory(folder.parent_path() / "share" / identity::productCode, error);
}

fs::path chooseHistoryFolder(const fs::path& programFolder, const fs::path& userDataFolder) {
    // Root passes the write probe in a system folder: being installed, not
    // the probe, decides first.
    if (!isInstalledProgramFolder(programFolder) && canCreateFilesIn(programFolder))
        return programFolder;
    std::error_code ignored;
    fs::create_directories(userDataFolder, ignored);
    return userDataFolder;
}

std::string digitsOfRandomBytes(std::string_view bytes) {
    // 250 is the largest multiple of 10 a byte reaches: the bytes below it
    // give each digit 25 times, the six above are rejected.
    constexpr unsigned kUnbiasedBelow = 250;
    std::string digits;
    for (const char byte : bytes)
        if (const auto value = static_cast<unsigned char>(byte); value < kUnbiasedBelow)
            digits.push_back(static_cast<char>('0' + value % 10));
    return digits;
}

std::string generateSecret(const YieldHook& yield) {
    std::string secret;
    secret.reserve(kSecretLength);
    std::string bytes(kSecretLength, '\0');
    while (secret.size() < kSecretLength) {
        // The system's cryptographic generator: the secret keys the library.
        if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()),
                       static_cast<int>(bytes.size())) != 1)
            return {};
        for (const char digit : digitsOfRandomBytes(bytes)) {
            if (secret.size() == kSecretLength)
                break;
            secret.push_back(digit);
            yieldIfSet(yield);
        }
    }
    return secret;
}

KeyResult establishInstallationKey(ProcessState& state, const SecretStore& store,
                                   const YieldHook& yield) {
    // The secret is never thrown away: one that cannot be read ends the
    // start, and one of another length is kept aside before a new one is
    // made, so that a damaged library can still be recovered by hand.
    {
        // A second name of the secret that an earlier start could not
        // remove goes first: no copy of the secret stays behind.
        const FileLock lock = store.lock();
        if (lock.held())
            store.removeStrays();
    }
    FileRead kept = store.load();
    bool ok = true;
    if (kept.status != FileRead::Status::Failed && !validSecret(kept)) {
        const std::string fresh = generateSecret(yield);
        // Another start may be doing the same: under the folder's lock the
        // kept file is looked at again and only replaced when still invalid.
        const FileLock lock = store.lock();
        kept = store.load();
        ok = lock.held();
        if (ok && kept.status != FileRead::Status::Failed && !validSecret(kept)) {
            // What holds something is kept aside; an empty file is no secret.
            const bool holdsSomething =
                kept.status == FileRead::Status::TooLarge || !kept.bytes.empty();
            if (holdsSomething)
                ok = store.keepAside();
            else if (kept.status == FileRead::Status::Read)
                ok = removeFile(store.filePath());
            ok = ok && !fresh.empty() && store.create(fresh) != Creation::Failed;
        }
        if (ok && kept.status != FileRead::Status::Failed)
            kept = store.load();
    }
    if (kept.status == FileRead::Status::Failed)
        return {KeyOutcome::SecretUnreadable, kept.failure, store.filePath()};
    if (!ok || !validSecret(kept))
        return {KeyOutcome::NotKept, {}, {}};
    state.installationKey = digestHex(kept.bytes);
    state.installationSecret = std::move(kept.bytes);
    return {};
}

} // namespace dlt
