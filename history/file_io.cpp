#include "history/file_io.h"

#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

namespace dlt {

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad())
            return std::nullopt;
        return bytes;
    } catch (...) {
        return std::nullopt;
    }
}

bool writeWholeFile(const fs::path& path, std::string_view bytes) {
    try {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        return !out.fail();
    } catch (...) {
        return false;
    }
}

fs::path temporarySibling(const fs::path& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    fs::path temp = path;
    temp += ".new" + std::to_string(generator() % 1000000000ULL);
    return temp;
}

} // namespace dlt
