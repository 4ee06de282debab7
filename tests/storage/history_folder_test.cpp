#include <gtest/gtest.h>

#include <filesystem>

#include "storage/installation.h"
#include "storage/cipher.h"
#include "history/history_store.h"
#include "tests/support/privileges.h"
#include "tests/support/temp_dir.h"

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace dlt;
namespace fs = std::filesystem;

namespace {

const DrawRecord kDraw{"25129", "0102030405", "0607"};

// The names of the history files, whatever folder holds them.
const char* const kFileNames[] = {"qh.dll", "qq.dll", "hq.dll"};

// A draw written through the store in the chosen folder and read back
// through a second store, as after a restart.
void expectDrawKeptIn(const fs::path& folder) {
    const std::string key = digestHex("0123456789");
    ASSERT_TRUE(HistoryStore(folder, key).appendDraw(kDraw));
    EXPECT_EQ(HistoryStore(folder, key).newestDraw(), kDraw);
    for (const char* name : kFileNames)
        EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
}

} // namespace

TEST(HistoryFolder, WritableProgramFolderKeepsTheFilesBesideTheProgram) {
    TempDir dir;
    const fs::path program = dir.path() / "program";
    const fs::path data = dir.path() / "data";
    fs::create_directories(program);

    const fs::path chosen = chooseHistoryFolder(program, data);
    EXPECT_EQ(chosen, program);
    EXPECT_TRUE(fs::is_empty(program)) << "the write probe is left behind";
    EXPECT_FALSE(fs::exists(data));
    expectDrawKeptIn(chosen);
}

TEST(HistoryFolder, ReadOnlyProgramFolderPutsTheFilesNextToTheSecret) {
    if (runningAsRoot())
        GTEST_SKIP() << "running as root, whom a read-only folder does not stop; the CTest test "
                        "history_folder_unprivileged runs this case as the user nobody";
    TempDir dir;
    const fs::path program = dir.path() / "program";
    const fs::path data = dir.path() / "user" / "data";
    fs::create_directories(program);
    fs::permissions(program,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    const fs::path chosen = chooseHistoryFolder(program, data);
    EXPECT_EQ(chosen, data);
    EXPECT_TRUE(fs::is_directory(data));
    expectDrawKeptIn(chosen);
    EXPECT_TRUE(fs::is_empty(program));
}

TEST(HistoryFolder, AnInstalledProgramKeepsTheFilesInTheUserFolderWhoeverRunsIt) {
    TempDir dir;
    // An installation prefix: the program in bin/, its data in share/qvemtrod.
    const fs::path bin = dir.path() / "prefix" / "bin";
    const fs::path data = dir.path() / "home" / "data";
    fs::create_directories(bin);
    fs::create_directories(dir.path() / "prefix" / "share" / "qvemtrod");

    // The folder can be written (as root any folder can): that does not decide.
    const fs::path chosen = chooseHistoryFolder(bin, data);
    EXPECT_EQ(chosen, data);
    EXPECT_TRUE(fs::is_empty(bin));
    expectDrawKeptIn(chosen);
    EXPECT_TRUE(fs::is_empty(bin));
}

TEST(HistoryFolder, InstalledMeansASystemPrefixOrABinFolderBesideTheProgramsShareFolder) {
    TempDir dir;
    fs::create_directories(dir.path() / "prefix" / "bin");
    fs::create_directories(dir.path() / "prefix" / "share" / "qvemtrod");
    fs::create_directories(dir.path() / "portable" / "bin");
    fs::create_directories(dir.path() / "build");
    const struct {
        fs::path folder;
        bool installed;
    } cases[] = {
        {"/usr/bin", true},
        {"/usr/local/bin", true},
        {"/usr/local/bin/", true},
        {"/opt/qvemtrod", true},
        {"/usr/lib/../bin", true},
        {"/usrlocal", false},
        {dir.path() / "prefix" / "bin", true},
        {dir.path() / "prefix" / "bin" / "", true},
        {dir.path() / "portable" / "bin", false},
        {dir.path() / "build", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isInstalledProgramFolder(c.folder), c.installed) << c.folder;
}
