// Each folder is one layer: its files include only from its own folder and
// the layers beneath it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"core", {"core"}},
    {"storage", {"storage", "core"}},
    {"engine", {"engine", "core"}},
    {"history", {"history", "storage", "core"}},
    {"help", {"help", "storage", "core"}},
    {"online", {"online", "history", "storage", "core"}},
    {"app", {"app", "online", "help", "history", "engine", "storage", "core"}},
};

// The folder an include names ("storage" of "storage/file_io.h"), or "" for
// a library's own header in angle brackets.
std::string includedFolder(const std::string& line) {
    const std::size_t open = line.find('"');
    const std::size_t slash = line.find('/', open + 1);
    if (!line.starts_with("#include") || open == std::string::npos || slash == std::string::npos)
        return {};
    return line.substr(open + 1, slash - open - 1);
}

TEST(Layers, NoFileIncludesFromALayerAboveItsOwn) {
    int files = 0;
    for (const auto& [layer, allowed] : kMayInclude) {
        const fs::path folder = fs::path(DLT_SOURCE_DIR) / layer;
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".h" && extension != ".cpp")
                continue;
            ++files;
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                const std::string included = includedFolder(line);
                EXPECT_TRUE(included.empty() || allowed.count(included))
                    << entry.path().string() << ":" << number << " (" << layer << ") includes "
                    << line;
            }
        }
    }
    EXPECT_GT(files, 50);
}

} // namespace
