#include <gtest/gtest.h>

#include <fstream>

#include "storage/file_io.h"
#include "tests/core/temp_dir.h"

using namespace dlt;
namespace fs = std::filesystem;

namespace {

TEST(ReplaceFileDurably, WritesANewFileAndReplacesAnOldOne) {
    TempDir dir;
    const fs::path file = dir.path() / "library.txt";
    ASSERT_TRUE(replaceFileDurably(file, "first"));
    EXPECT_EQ(readFile(file, 1024).bytes, "first");
    ASSERT_TRUE(replaceFileDurably(file, "second, longer"));
    EXPECT_EQ(readFile(file, 1024).bytes, "second, longer");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ReplaceFileDurably, AFailureLeavesWhatWasThereAndNoTemporaryFile) {
    TempDir dir;
    // A folder in the way cannot be replaced by a file.
    const fs::path folder = dir.path() / "library.txt";
    fs::create_directories(folder);
    std::ofstream(folder / "kept") << "kept";
    EXPECT_FALSE(replaceFileDurably(folder, "new"));
    EXPECT_EQ(readFile(folder / "kept", 1024).bytes, "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    // A missing folder: nothing is written anywhere.
    EXPECT_FALSE(replaceFileDurably(dir.path() / "missing" / "library.txt", "new"));
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

} // namespace
