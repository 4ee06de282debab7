#include <gtest/gtest.h>

#include <fstream>

#include "storage/file_io.h"
#include "tests/support/temp_dir.h"

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

#ifndef _WIN32
TEST(ReplaceFileDurably, TheNewFileIsItsOwnersOnly) {
    TempDir dir;
    const fs::path file = dir.path() / "library.txt";
    std::ofstream(file) << "old, readable by all";
    fs::permissions(file, fs::perms::all, fs::perm_options::replace);
    ASSERT_TRUE(replaceFileDurably(file, "new"));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(TemporaryFiles, ANameThatIsTakenIsNeverOpened) {
    TempDir dir;
    const fs::path target = dir.path() / "elsewhere";
    std::ofstream(target) << "not to be touched";
    const fs::path file = dir.path() / "file", link = dir.path() / "link";
    std::ofstream(file) << "kept";
    fs::create_symlink(target, link);
    fs::create_symlink(dir.path() / "dangling", dir.path() / "dangling-link");
    for (const fs::path& taken : {file, link, dir.path() / "dangling-link"})
        EXPECT_EQ(openNewFile(taken), nullptr) << taken;
    EXPECT_EQ(readFile(target, 1024).bytes, "not to be touched");
    EXPECT_EQ(readFile(file, 1024).bytes, "kept");
    EXPECT_FALSE(fs::exists(dir.path() / "dangling"));

    const auto temp = writeTemporarySibling(dir.path() / "library.txt", "bytes");
    ASSERT_TRUE(temp.has_value());
    EXPECT_TRUE(isTemporarySiblingName(temp->filename().string(), dir.path() / "library.txt"));
    EXPECT_EQ(fs::status(*temp).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readFile(*temp, 1024).bytes, "bytes");
}
#endif

TEST(CreateFileDurably, CreatesOnlyWhatIsNotThere) {
    TempDir dir;
    const fs::path file = dir.path() / "secret";
    EXPECT_EQ(createFileDurably(file, "first"), Creation::Created);
    EXPECT_EQ(createFileDurably(file, "second"), Creation::Exists);
    EXPECT_EQ(readFile(file, 1024).bytes, "first");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
        << "no temporary file is left";
    EXPECT_EQ(createFileDurably(dir.path() / "missing" / "secret", "x"), Creation::Failed);
}

} // namespace
