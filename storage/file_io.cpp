#include "storage/file_io.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <system_error>

#include "storage/platform_files.h"

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

FileRead readFile(const fs::path& path, std::uintmax_t maxSize) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return {FileRead::Status::Missing, {}};
    if (error || !fs::is_regular_file(status) || !allowed(FileCall::Read, path))
        return {FileRead::Status::Failed, {}};
    const auto size = fs::file_size(path, error);
    if (error)
        return {FileRead::Status::Failed, {}};
    if (size > maxSize)
        return {FileRead::Status::TooLarge, {}};
    const File file = openFile(path, "rb");
    if (!file)
        return {FileRead::Status::Failed, {}};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    // Read on in case the file grew since its size was taken.
    char chunk[4096];
    while (got == bytes.size()) {
        const std::size_t more = std::fread(chunk, 1, sizeof chunk, file.get());
        if (more == 0)
            break;
        if (got + more > maxSize)
            return {FileRead::Status::TooLarge, {}};
        bytes.append(chunk, more);
        got += more;
    }
    if (std::ferror(file.get()))
        return {FileRead::Status::Failed, {}};
    bytes.resize(got);
    return {FileRead::Status::Read, std::move(bytes)};
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

bool replaceFileDurably(const fs::path& path, std::string_view bytes) {
    const fs::path temp = temporarySibling(path);
    if (writeFileFlushed(temp, bytes) && renameFile(temp, path))
        return flushDirectory(path.parent_path());
    removeFile(temp);
    return false;
}

fs::path temporarySibling(const fs::path& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    fs::path temp = path;
    temp += ".new" + std::to_string(generator() % 1000000000ULL);
    return temp;
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
