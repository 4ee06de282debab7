#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "storage/cipher.h"
#include "history/history_store.h"
#include "tests/support/real_draws.h"
#include "tests/support/temp_dir.h"

using namespace dlt;
namespace fs = std::filesystem;

namespace {

const std::string kKey = digestHex("0123456789");

void putFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class Store : public ::testing::Test {
protected:
    TempDir dir;
    HistoryStore store{dir.path(), kKey};

    void addDraws(int count) {
        for (int i = 0; i < count; ++i) {
            char issue[6];
            std::snprintf(issue, sizeof issue, "%05d", 10000 + i);
            ASSERT_TRUE(store.appendDraw({issue, "0102030405", "0607"}));
        }
    }
};

} // namespace

TEST_F(Store, FilesAreNamedByColumnKeyAndExtension) {
    EXPECT_EQ(store.columnPath("qh"), dir.path() / "qh.dll");
    EXPECT_EQ(HistoryStore(dir.path(), kKey, ".dat").columnPath("hq"), dir.path() / "hq.dat");
}

TEST_F(Store, EmptyHistorySavesAsZeroLengthFilesAndReadsBack) {
    EXPECT_EQ(store.drawCount(), 0);
    EXPECT_EQ(store.newestDraw(), DrawRecord{});
    EXPECT_TRUE(store.drawsNewestFirst().empty());

    EXPECT_TRUE(store.removeNewestDraw()); // on an empty history
    for (const char* key : {"qh", "qq", "hq"}) {
        ASSERT_TRUE(fs::exists(store.columnPath(key))) << key;
        EXPECT_EQ(fs::file_size(store.columnPath(key)), 0u) << key;
        EXPECT_EQ(store.loadColumn(key), "");
    }
}

TEST_F(Store, AppendWritesEnvelopesOfTheExpectedSizes) {
    ASSERT_TRUE(store.appendDraw({"15061", "0102030405", "0607"}));
    EXPECT_EQ(fs::file_size(store.columnPath("qh")), 16u);
    EXPECT_EQ(fs::file_size(store.columnPath("qq")), 16u);
    EXPECT_EQ(fs::file_size(store.columnPath("hq")), 8u);
    EXPECT_EQ(decipherEnvelope(fileBytes(store.columnPath("qq")), "Quorvel" + kKey), "0102030405");

    addDraws(367);
    EXPECT_EQ(store.drawCount(), 368);
    EXPECT_EQ(fs::file_size(store.columnPath("qh")), 1848u);
    EXPECT_EQ(fs::file_size(store.columnPath("qq")), 3688u);
    EXPECT_EQ(fs::file_size(store.columnPath("hq")), 1480u);
}

TEST_F(Store, KeepsDrawsOldestFirstAndListsThemNewestFirst) {
    ASSERT_TRUE(store.appendDraw({"15061", "0102030405", "0607"}));
    ASSERT_TRUE(store.appendDraw({"15062", "3533000199", "1200"})); // stored unchecked
    ASSERT_TRUE(store.appendDraw({"15060", "1112131415", "0102"})); // lower issue, no complaint

    EXPECT_EQ(store.loadColumn("qh"), "150611506215060");
    EXPECT_EQ(store.loadColumn("qq"), "010203040535330001991112131415");
    EXPECT_EQ(store.loadColumn("hq"), "060712000102");
    EXPECT_EQ(store.drawCount(), 3);
    EXPECT_EQ(store.newestDraw(), (DrawRecord{"15060", "1112131415", "0102"}));
    const auto draws = store.drawsNewestFirst();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0], (DrawRecord{"15060", "1112131415", "0102"}));
    EXPECT_EQ(draws[2], (DrawRecord{"15061", "0102030405", "0607"}));

    ASSERT_TRUE(store.removeNewestDraw());
    EXPECT_EQ(store.newestDraw(), (DrawRecord{"15062", "3533000199", "1200"}));
    ASSERT_TRUE(store.removeNewestDraw());
    ASSERT_TRUE(store.removeNewestDraw());
    EXPECT_EQ(store.drawCount(), 0);
}

TEST_F(Store, ReplaceAndRemoveFiles) {
    ASSERT_TRUE(store.replaceHistory("2512725128", "04051928290306263033", "05081112"));
    EXPECT_EQ(store.drawCount(), 2);
    EXPECT_EQ(store.newestDraw(), (DrawRecord{"25128", "0306263033", "1112"}));

    EXPECT_TRUE(store.removeHistoryFiles());
    for (const char* key : {"qh", "qq", "hq"})
        EXPECT_FALSE(fs::exists(store.columnPath(key)));
    EXPECT_EQ(store.drawCount(), 0);
    EXPECT_TRUE(store.removeHistoryFiles()) << "missing files are no error";
}

TEST_F(Store, DamagedOrForeignFilesReadAsEmptyAndAreReplacedByTheNextChange) {
    addDraws(3);
    putFile(store.columnPath("qq"),
            fileBytes(store.columnPath("qq")).substr(0, 20)); // not a multiple of 8
    EXPECT_EQ(store.loadColumn("qq"), "");
    EXPECT_EQ(store.drawCount(), 0);

    HistoryStore other(dir.path(), digestHex("another secret"));
    EXPECT_EQ(other.loadColumn("qh"), "");
    EXPECT_EQ(other.loadColumn("hq"), "");

    ASSERT_TRUE(store.appendDraw({"20001", "0102030405", "0607"}));
    EXPECT_EQ(store.loadColumn("qq"), "0102030405");
    EXPECT_EQ(store.loadColumn("qh").size(), 20u);
}

TEST_F(Store, TextEndsAtItsFirstZeroByte) {
    ASSERT_TRUE(store.replaceHistory("12345",
                                     std::string("0102\0"
                                                 "0304",
                                                 9),
                                     "0102"));
    EXPECT_EQ(store.loadColumn("qq"), "0102");
}

TEST_F(Store, OutOfStepColumnsAreCutFromTheirOwnEnds) {
    ASSERT_TRUE(store.replaceHistory("111112222233333", "01020304050607080910", "0102"));
    EXPECT_EQ(store.drawCount(), 2); // follows the front column
    const auto draws = store.drawsNewestFirst();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0], (DrawRecord{"33333", "0607080910", "0102"}));
    EXPECT_EQ(draws[1], (DrawRecord{"22222", "0102030405", ""}));

    ASSERT_TRUE(store.replaceHistory("123", "0102030405", "01"));
    EXPECT_EQ(store.newestDraw(), (DrawRecord{"123", "0102030405", "01"}));
    EXPECT_EQ(store.drawsNewestFirst()[0], (DrawRecord{"", "0102030405", ""}));
    ASSERT_TRUE(store.removeNewestDraw()); // columns shorter than a record become empty
    EXPECT_EQ(store.loadColumn("qh"), "");
    EXPECT_EQ(store.loadColumn("hq"), "");
}

TEST_F(Store, AFailedWriteIsReportedAndChangesNoColumn) {
    addDraws(2);
    const std::string before[] = {fileBytes(store.columnPath("qh")),
                                  fileBytes(store.columnPath("qq")),
                                  fileBytes(store.columnPath("hq"))};

    // The front column's file cannot be replaced: a directory stands in its place.
    const fs::path front = store.columnPath("qq");
    const fs::path saved = dir.path() / "qq.saved";
    fs::rename(front, saved);
    fs::create_directory(front);
    fs::copy_file(saved, front / "keep");

    EXPECT_FALSE(store.appendDraw({"30000", "1112131415", "0102"}));
    EXPECT_FALSE(store.removeNewestDraw());
    EXPECT_FALSE(store.replaceHistory("", "", ""));
    EXPECT_EQ(fileBytes(store.columnPath("qh")), before[0]) << "issue column put back";
    EXPECT_EQ(fileBytes(store.columnPath("hq")), before[2]);
    EXPECT_EQ(fileBytes(front / "keep"), before[1]);
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".new"), std::string::npos)
            << "temporary file left: " << entry.path();

    fs::remove_all(front);
    fs::rename(saved, front);
    EXPECT_EQ(store.drawCount(), 2);
    EXPECT_EQ(store.loadColumn("qh"), "1000010001");
}

TEST_F(Store, AMissingDirectoryFailsEveryChange) {
    HistoryStore nowhere(dir.path() / "missing", kKey);
    EXPECT_FALSE(nowhere.appendDraw({"30000", "1112131415", "0102"}));
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
    EXPECT_EQ(nowhere.drawCount(), 0);
    EXPECT_TRUE(nowhere.removeHistoryFiles());
}

TEST(StoreRealDraws, WholeHistoryRoundTrips) {
    const std::vector<DrawRecord>& newestFirst = fixture::realDraws();
    ASSERT_EQ(newestFirst.size(), 2930u) << fixture::realDrawsProblem();

    const HistoryColumns columns = fixture::realColumns();
    TempDir dir;
    HistoryStore store(dir.path(), kKey);
    ASSERT_TRUE(store.replaceHistory(columns.issues, columns.fronts, columns.backs));
    EXPECT_EQ(store.drawsNewestFirst(), newestFirst);
    EXPECT_EQ(store.newestDraw(), (DrawRecord{"26112", "0103051022", "0309"}));
}
