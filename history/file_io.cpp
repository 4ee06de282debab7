#include "history/file_io.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

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
} // namespace

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    const File file = openFile(path, "rb");
    if (!file)
        return std::nullopt;
    std::string bytes;
    const auto size = fs::file_size(path, error);
    if (!error)
        bytes.resize(static_cast<std::size_t>(size));
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    // Read on in case the file grew since its size was taken.
    char chunk[4096];
    while (got == bytes.size()) {
        const std::size_t more = std::fread(chunk, 1, sizeof chunk, file.get());
        if (more == 0)
            break;
        bytes.append(chunk, more);
        got += more;
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}

bool writeWholeFile(const fs::path& path, std::string_view bytes) {
    File file = openFile(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

bool replaceWholeFile(const fs::path& path, std::string_view bytes) {
    const fs::path temp = temporarySibling(path);
    std::error_code error;
    if (writeWholeFile(temp, bytes)) {
        fs::rename(temp, path, error);
        if (!error)
            return true;
    }
    fs::remove(temp, error);
    return false;
}

fs::path temporarySibling(const fs::path& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    fs::path temp = path;
    temp += ".new" + std::to_string(generator() % 1000000000ULL);
    return temp;
}

} // namespace dlt
