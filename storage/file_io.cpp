#include "storage/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace dlt {

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return File(_wfopen(path.c_str(), wideMode.c_str()));
#else
    return File(std::fopen(path.c_str(), mode));
#endif
}

FileCallFilter& filter() {
    static FileCallFilter current;
    return current;
}

bool allowed(FileCall call, const fs::path& path) {
    return !filter() || filter()(call, path);
}
} // namespace

void setFileCallFilter(FileCallFilter newFilter) {
    filter() = std::move(newFilter);
}

namespace {
FileRead failed(std::error_code why) {
    return {FileRead::Status::Failed, {}, why};
}
FileRead failedWithErrno() {
    return failed(std::error_code(errno ? errno : EIO, std::generic_category()));
}
} // namespace

FileRead readFile(const fs::path& path, std::uintmax_t maxSize) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return {FileRead::Status::Missing, {}, {}};
    if (error)
        return failed(error);
    if (!fs::is_regular_file(status))
        return failed(std::make_error_code(fs::is_directory(status) ? std::errc::is_a_directory
                                                                    : std::errc::invalid_argument));
    if (!allowed(FileCall::Read, path))
        return failed(std::make_error_code(std::errc::io_error));
    const auto size = fs::file_size(path, error);
    if (error)
        return failed(error);
    if (size > maxSize)
        return {FileRead::Status::TooLarge, {}, {}};
    errno = 0;
    const File file = openFile(path, "rb");
    if (!file)
        return failedWithErrno();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    // Read on in case the file grew since its size was taken.
    char chunk[4096];
    while (got == bytes.size()) {
        const std::size_t more = std::fread(chunk, 1, sizeof chunk, file.get());
        if (more == 0)
            break;
        if (got + more > maxSize)
            return {FileRead::Status::TooLarge, {}, {}};
        bytes.append(chunk, more);
        got += more;
    }
    if (std::ferror(file.get()))
        return failed(std::make_error_code(std::errc::io_error));
    bytes.resize(got);
    return {FileRead::Status::Read, std::move(bytes), {}};
}

bool writeFileFlushed(const fs::path& path, std::string_view bytes) {
    if (!allowed(FileCall::Write, path))
        return false;
    File file = openFile(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const bool flushed = written && allowed(FileCall::Flush, path) && flushFileToDisk(file.get());
    return std::fclose(file.release()) == 0 && flushed;
}

bool renameFile(const fs::path& from, const fs::path& to) {
    return allowed(FileCall::Rename, to) && renameReplacing(from, to);
}

bool flushDirectory(const fs::path& folder) {
    return allowed(FileCall::Flush, folder) && flushFolder(folder);
}

bool removeFile(const fs::path& path) {
    if (!allowed(FileCall::Remove, path))
        return false;
    std::error_code error;
    fs::remove(path, error);
    return !error;
}

FileLock lockFolder(const fs::path& folder) {
    return allowed(FileCall::Lock, folder) ? FileLock::lockFolder(folder) : FileLock();
}

bool replaceFileDurably(const fs::path& path, std::string_view bytes) {
    const auto temp = writeTemporarySibling(path, bytes);
    if (!temp)
        return false;
    if (!renameFile(*temp, path)) {
        removeFile(*temp);
        return false;
    }
    // The file is replaced: a folder that cannot be flushed does not undo
    // that, so the answer is true; the folder's next flush makes it durable.
    flushDirectory(path.parent_path());
    return true;
}

Creation createFileDurably(const fs::path& path, std::string_view bytes) {
    const auto temp = writeTemporarySibling(path, bytes);
    if (!temp)
        return Creation::Failed;
    if (allowed(FileCall::Rename, path) && linkNoReplacing(*temp, path)) {
        // The file is there: neither a temporary name that cannot be removed
        // (removeTemporarySiblings sweeps it later) nor a folder that cannot
        // be flushed undoes that.
        removeFile(*temp);
        flushDirectory(path.parent_path());
        return Creation::Created;
    }
    std::error_code error;
    const bool exists = fs::exists(fs::symlink_status(path, error));
    removeFile(*temp);
    return exists ? Creation::Exists : Creation::Failed;
}

std::optional<fs::path> writeTemporarySibling(const fs::path& path, std::string_view bytes) {
    static std::mt19937_64 generator{std::random_device{}()};
    // A name already taken (a stray of a crash, or someone else's file) is
    // never opened: another name is drawn.
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path temp = path;
        temp += ".new" + std::to_string(generator() % 1000000000ULL);
        if (!allowed(FileCall::Write, temp))
            return std::nullopt;
        errno = 0;
        File file(openNewFile(temp));
        if (!file) {
            if (errno == EEXIST)
                continue;
            return std::nullopt;
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
        const bool flushed =
            written && allowed(FileCall::Flush, temp) && flushFileToDisk(file.get());
        if (std::fclose(file.release()) == 0 && flushed)
            return temp;
        removeFile(temp);
        return std::nullopt;
    }
    return std::nullopt;
}

bool removeTemporarySiblings(const std::vector<fs::path>& files) {
    if (files.empty())
        return true;
    bool removed = true;
    std::error_code error;
    for (fs::directory_iterator it(files.front().parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (std::any_of(files.begin(), files.end(),
                        [&](const fs::path& file) { return isTemporarySiblingName(name, file); }))
            // A file another program holds open for a moment (a virus
            // scanner, on Windows) goes at the second try.
            removed = (removeFile(it->path()) || removeFile(it->path())) && removed;
    }
    return removed && !error;
}

bool isTemporarySiblingName(std::string_view fileName, const fs::path& path) {
    const std::string prefix = path.filename().string() + ".new";
    if (fileName.size() <= prefix.size() || fileName.substr(0, prefix.size()) != prefix)
        return false;
    for (const char c : fileName.substr(prefix.size()))
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace dlt
