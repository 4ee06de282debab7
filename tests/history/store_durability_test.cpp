#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#ifndef _WIN32
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "storage/cipher.h"
#include "storage/file_io.h"
#include "history/history_store.h"
#include "tests/support/temp_dir.h"

using namespace dlt;
namespace fs = std::filesystem;

namespace {

const std::string kKey = digestHex("durable");

// Every file of the folder by name with its bytes.
using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& folder) {
    Snapshot files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = readFile(entry.path(), 1u << 24).bytes;
    return files;
}

void restore(const fs::path& folder, const Snapshot& files) {
    for (const auto& entry : fs::directory_iterator(folder))
        fs::remove_all(entry.path());
    for (const auto& [name, bytes] : files)
        ASSERT_TRUE(writeFileFlushed(folder / name, bytes));
}

// The draw at 0-based position i of the library the tests build.
DrawRecord drawAt(std::size_t i) {
    char issue[6], front[11], back[5];
    std::snprintf(issue, sizeof issue, "%05zu", 10000 + i);
    std::snprintf(front, sizeof front, "%02zu%02zu%02zu%02zu%02zu", i % 35 + 1, (i + 3) % 35 + 1,
                  (i + 7) % 35 + 1, (i + 11) % 35 + 1, (i + 19) % 35 + 1);
    std::snprintf(back, sizeof back, "%02zu%02zu", i % 12 + 1, (i + 5) % 12 + 1);
    return {issue, front, back};
}

// The number of draws when the folder holds exactly the first n draws of
// drawAt in three agreeing columns, and nothing else; -1 otherwise.
int wholeLibrarySize(const fs::path& folder) {
    const HistoryStore store(folder, kKey);
    const std::string qh = store.loadColumn("qh"), qq = store.loadColumn("qq"),
                      hq = store.loadColumn("hq");
    const std::size_t n = qq.size() / 10;
    if (qh.size() != 5 * n || qq.size() != 10 * n || hq.size() != 4 * n)
        return -1;
    for (std::size_t i = 0; i < n; ++i) {
        const DrawRecord d = drawAt(i);
        if (qh.substr(5 * i, 5) != d.issue || qq.substr(10 * i, 10) != d.front ||
            hq.substr(4 * i, 4) != d.back)
            return -1;
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "qh.dll" && name != "qq.dll" && name != "hq.dll")
            return -1;
    }
    return static_cast<int>(n);
}

class FileCalls {
public:
    explicit FileCalls(FileCallFilter filter) { setFileCallFilter(std::move(filter)); }
    ~FileCalls() { setFileCallFilter({}); }
};

class Durability : public ::testing::Test {
protected:
    TempDir dir;
    HistoryStore store{dir.path(), kKey};

    void build(std::size_t draws) {
        for (std::size_t i = 0; i < draws; ++i)
            ASSERT_TRUE(store.appendDraw(drawAt(i)));
    }
};

struct Change {
    const char* name;
    std::function<bool(const HistoryStore&)> run;
};

const Change kChanges[] = {
    {"appendDraw", [](const HistoryStore& s) { return s.appendDraw(drawAt(3)); }},
    {"removeNewestDraw", [](const HistoryStore& s) { return s.removeNewestDraw(); }},
    {"replaceHistory",
     [](const HistoryStore& s) { return s.replaceHistory("12345", "0102030405", "0102"); }},
    {"removeHistoryFiles", [](const HistoryStore& s) { return s.removeHistoryFiles(); }},
};

} // namespace

// Each write, flush, rename, remove and lock of a change fails in turn.
// Until the commit record is in place (its rename) the old library stays
// exactly and the change reports the failure; after that the change reports
// success and the library holds it once reopened.
TEST_F(Durability, EveryFailedFileCallLeavesTheOldLibraryOrReportsTheMadeChange) {
    build(3);
    const Snapshot before = snapshot(dir.path());
    int injected = 0, lost = 0, madeAfterRecord = 0;
    for (const auto& change : kChanges) {
        std::vector<std::pair<FileCall, fs::path>> calls;
        {
            const FileCalls recording([&](FileCall call, const fs::path& path) {
                if (call != FileCall::Read)
                    calls.emplace_back(call, path);
                return true;
            });
            ASSERT_TRUE(change.run(store)) << change.name;
        }
        HistoryStore(dir.path(), kKey).recover(); // what a deletion leaves aside goes
        const Snapshot after = snapshot(dir.path());
        // The point of no return: the record's rename.
        std::size_t durable = 0;
        for (std::size_t i = 0; i < calls.size() && durable == 0; ++i)
            if (calls[i].first == FileCall::Rename &&
                calls[i].second.filename() == "history.dll.commit")
                durable = i;
        ASSERT_GT(durable, 0u) << change.name;
        restore(dir.path(), before);
        for (std::size_t failing = 0; failing < calls.size(); ++failing) {
            std::size_t seen = 0;
            bool result;
            {
                const FileCalls faulty([&](FileCall call, const fs::path&) {
                    return call == FileCall::Read || seen++ != failing;
                });
                result = change.run(store);
            }
            ++injected;
            if (failing <= durable) {
                EXPECT_FALSE(result) << change.name << " call " << failing;
                EXPECT_EQ(snapshot(dir.path()), before) << change.name << " call " << failing;
                lost += snapshot(dir.path()) != before;
            } else {
                EXPECT_TRUE(result) << change.name << " call " << failing;
                HistoryStore(dir.path(), kKey).recover();
                EXPECT_EQ(snapshot(dir.path()), after) << change.name << " call " << failing;
                lost += snapshot(dir.path()) != after;
                ++madeAfterRecord;
            }
            restore(dir.path(), before);
        }
    }
    std::printf("[ faults ] %d injected, %d after the commit record (reported as made), %d "
                "libraries lost\n",
                injected, madeAfterRecord, lost);
    EXPECT_EQ(lost, 0);
}

// What a change does when no call fails: its calls (reads aside) in order,
// and the folder after it, once reopened.
struct Recorded {
    std::vector<std::pair<FileCall, fs::path>> calls;
    Snapshot after;
};

Recorded recordChange(const Change& change, const HistoryStore& store, const fs::path& folder) {
    Recorded made;
    {
        const FileCalls recording([&](FileCall call, const fs::path& path) {
            if (call != FileCall::Read)
                made.calls.emplace_back(call, path);
            return true;
        });
        EXPECT_TRUE(change.run(store)) << change.name;
    }
    HistoryStore(folder, kKey).recover();
    made.after = snapshot(folder);
    return made;
}

// From one call of a change on, every write, flush, rename, remove and lock
// fails, until the store is opened again without the fault. The change's
// answer must be what that opening finds: the old library after a failure,
// the changed one after a success, and no other file either way.
TEST_F(Durability, UnderAStickyFaultTheAnswerIsWhatTheNextOpenFinds) {
    build(3);
    const Snapshot before = snapshot(dir.path());
    int cases = 0, untrue = 0;
    for (const auto& change : kChanges) {
        const Recorded made = recordChange(change, store, dir.path());
        restore(dir.path(), before);
        for (std::size_t from = 0; from < made.calls.size(); ++from) {
            std::size_t seen = 0;
            bool answer;
            {
                const FileCalls sticky([&](FileCall call, const fs::path&) {
                    return call == FileCall::Read || seen++ < from;
                });
                answer = change.run(store);
            }
            const HistoryStore reopened(dir.path(), kKey);
            const bool truthful = snapshot(dir.path()) == (answer ? made.after : before);
            EXPECT_TRUE(truthful) << change.name << " failing from call " << from << " ("
                                  << int(made.calls[from].first) << " "
                                  << made.calls[from].second.filename() << "), answered " << answer;
            ++cases;
            untrue += !truthful;
            restore(dir.path(), before);
        }
    }
    std::printf("[ sticky ] %d cases, %d answers the next opening contradicts\n", cases, untrue);
}

// One call of a change fails: when the change has answered, nothing of it is
// left beside the library, neither a temporary nor a set-aside file nor the
// commit record.
TEST_F(Durability, AFailedCallLeavesNoFileBehind) {
    build(3);
    const Snapshot before = snapshot(dir.path());
    int cases = 0, leftOver = 0;
    for (const auto& change : kChanges) {
        const Recorded made = recordChange(change, store, dir.path());
        restore(dir.path(), before);
        for (std::size_t failing = 0; failing < made.calls.size(); ++failing) {
            std::size_t seen = 0;
            {
                const FileCalls faulty([&](FileCall call, const fs::path&) {
                    return call == FileCall::Read || seen++ != failing;
                });
                change.run(store);
            }
            std::vector<std::string> strays;
            for (const auto& [name, bytes] : snapshot(dir.path()))
                if (name != "qh.dll" && name != "qq.dll" && name != "hq.dll")
                    strays.push_back(name);
            EXPECT_TRUE(strays.empty())
                << change.name << " call " << failing << " left " << strays.front();
            ++cases;
            leftOver += !strays.empty();
            restore(dir.path(), before);
        }
    }
    std::printf("[ left over ] %d cases, %d left files behind\n", cases, leftOver);
}

// A write fault that stays after the commit record is durable: the change
// reports success, and the next opening without the fault finishes it.
TEST_F(Durability, APersistentFaultAfterTheRecordIsFinishedAtTheNextOpen) {
    build(2);
    {
        const FileCalls renamesFail([&](FileCall call, const fs::path& path) {
            return !(call == FileCall::Rename && path.extension() == ".dll" && path.stem() == "qq");
        });
        EXPECT_TRUE(store.appendDraw(drawAt(2)));
        EXPECT_FALSE(store.recover()) << "not finished while the fault stays";
    }
    EXPECT_TRUE(fs::exists(dir.path() / "history.dll.commit"));
    EXPECT_EQ(wholeLibrarySize(dir.path()), 3) << "finished as the store is opened";
}

TEST_F(Durability, FilesAreFlushedBeforeTheRenamesAndTheFolderAfter) {
    build(1);
    std::vector<std::pair<FileCall, fs::path>> calls;
    {
        const FileCalls recording([&](FileCall call, const fs::path& path) {
            calls.emplace_back(call, path);
            return true;
        });
        ASSERT_TRUE(store.appendDraw(drawAt(1)));
    }
    std::set<fs::path> flushed;
    std::size_t lastColumnRename = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const auto& [call, path] = calls[i];
        EXPECT_FALSE(call == FileCall::Write && path.extension() == ".dll")
            << "written in place: " << path;
        if (call == FileCall::Flush)
            flushed.insert(path);
        if (call == FileCall::Rename && path.extension() == ".dll")
            lastColumnRename = i;
    }
    EXPECT_EQ(flushed.size(), 5u) << "three columns, the record and the folder";
    EXPECT_TRUE(flushed.count(dir.path()));
    ASSERT_GT(lastColumnRename, 0u);
    bool folderFlushedAfter = false;
    for (std::size_t i = lastColumnRename; i < calls.size(); ++i)
        folderFlushedAfter = folderFlushedAfter ||
                             (calls[i].first == FileCall::Flush && calls[i].second == dir.path());
    EXPECT_TRUE(folderFlushedAfter);
}

// The folder as a crash would leave it just before the renames (nth column
// rename = 0) or after some of them.
Snapshot crashBeforeColumnRename(const HistoryStore& store, const fs::path& folder, int nth) {
    Snapshot frozen;
    int renames = 0;
    const FileCalls freezing([&](FileCall call, const fs::path& path) {
        if (call == FileCall::Rename && path.extension() == ".dll" && renames++ == nth)
            frozen = snapshot(folder);
        return true;
    });
    store.appendDraw(drawAt(2));
    return frozen;
}

TEST_F(Durability, ACommitWithAllItsNewFilesRollsForward) {
    build(2);
    for (int nth : {0, 1, 2}) {
        TempDir crashed;
        restore(crashed.path(), crashBeforeColumnRename(store, dir.path(), nth));
        store.removeNewestDraw();
        EXPECT_EQ(snapshot(crashed.path()).count("history.dll.commit"), 1u);
        EXPECT_EQ(wholeLibrarySize(crashed.path()), 3) << "crash before rename " << nth;
    }
}

TEST_F(Durability, ACommitWithANewFileMissingRollsBack) {
    build(2);
    TempDir crashed;
    Snapshot frozen = crashBeforeColumnRename(store, dir.path(), 0);
    for (auto it = frozen.begin(); it != frozen.end(); ++it)
        if (it->first.rfind("hq.dll.new", 0) == 0) {
            frozen.erase(it);
            break;
        }
    restore(crashed.path(), frozen);
    EXPECT_EQ(wholeLibrarySize(crashed.path()), 2);
}

TEST_F(Durability, StrayTemporaryFilesAreRemovedAtOpen) {
    build(1);
    writeFileFlushed(dir.path() / "qq.dll.new123", "x");
    writeFileFlushed(dir.path() / "history.dll.commit.new9", "x");
    writeFileFlushed(dir.path() / "qq.dll.newer", "not ours");
    HistoryStore reopened(dir.path(), kKey);
    EXPECT_FALSE(fs::exists(dir.path() / "qq.dll.new123"));
    EXPECT_FALSE(fs::exists(dir.path() / "history.dll.commit.new9"));
    EXPECT_TRUE(fs::exists(dir.path() / "qq.dll.newer"));
}

TEST_F(Durability, AnUnreadableColumnIsNotAnEmptyOne) {
    build(20);
    const Snapshot before = snapshot(dir.path());
    {
        const FileCalls unreadable([&](FileCall call, const fs::path& path) {
            return !(call == FileCall::Read && path.filename() == "qh.dll");
        });
        EXPECT_EQ(store.loadColumn("qh"), "") << "for display it reads as empty";
        EXPECT_FALSE(store.appendDraw(drawAt(20)));
        EXPECT_FALSE(store.removeNewestDraw());
        EXPECT_FALSE(store.replaceHistory("", "", ""));
    }
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST_F(Durability, RemovingTheFilesIsAllOrNothing) {
    build(2);
    const Snapshot before = snapshot(dir.path());
    {
        // The second column's move aside fails, after the record's rename:
        // the deletion is made, and finished at once.
        int renames = 0;
        const FileCalls secondFails([&](FileCall call, const fs::path&) {
            return !(call == FileCall::Rename && ++renames == 3);
        });
        EXPECT_TRUE(store.removeHistoryFiles());
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
    restore(dir.path(), before);

    // Something other than a file in a column's place: nothing is removed.
    fs::remove(dir.path() / "hq.dll");
    fs::create_directory(dir.path() / "hq.dll");
    EXPECT_FALSE(store.removeHistoryFiles());
    EXPECT_TRUE(fs::exists(dir.path() / "qh.dll"));
    EXPECT_TRUE(fs::exists(dir.path() / "qq.dll"));
}

TEST_F(Durability, OversizedColumnsReadAsDamagedWithoutThrowing) {
    build(2);
    const fs::path qq = dir.path() / "qq.dll";
    fs::resize_file(qq, std::uintmax_t{1} << 40); // sparse, 1 TiB
    EXPECT_EQ(store.loadColumn("qq"), "");
    EXPECT_EQ(store.drawCount(), 0);
    EXPECT_TRUE(store.appendDraw(drawAt(2))) << "a damaged column is replaced";
    EXPECT_EQ(store.loadColumn("qq"), drawAt(2).front);

    // Just above the limit a file is damaged even when its length word fits.
    const std::string keyText = std::string(kPasswordText) + kKey;
    for (const std::uintmax_t size : {kMaxColumnFileSize, kMaxColumnFileSize + 8}) {
        std::string header("\0\0\0\0"
                           "0102",
                           8);
        const auto n = static_cast<std::uint32_t>(size - 4);
        for (int i = 0; i < 4; ++i)
            header[static_cast<std::size_t>(i)] = static_cast<char>(n >> (8 * i));
        std::string file = desEncryptBlock(header, foldKeyBlock(keyText));
        file.resize(static_cast<std::size_t>(size), '\0');
        ASSERT_TRUE(writeFileFlushed(qq, file));
        EXPECT_EQ(store.loadColumn("qq").substr(0, 4), size > kMaxColumnFileSize ? "" : "0102")
            << size;
    }
}

TEST_F(Durability, AppendTakesOnlyWholeRecords) {
    build(1);
    const Snapshot before = snapshot(dir.path());
    const DrawRecord refused[] = {
        {"1234", "0102030405", "0607"},
        {"123456", "0102030405", "0607"},
        {"12345", "010203040", "0607"},
        {"12345", "01020304050", "0607"},
        {"12345", "0102030405", "067"},
        {"12345", "0102030405", "06070"},
        {std::string("12\0"
                     "45",
                     5),
         "0102030405", "0607"},
        {"12345",
         std::string("01020\0"
                     "0405",
                     10),
         "0607"},
        {"12345", "0102030405",
         std::string("06\0"
                     "7",
                     4)},
        {"", "", ""},
    };
    for (const auto& draw : refused)
        EXPECT_FALSE(store.appendDraw(draw)) << draw.issue << "/" << draw.front << "/" << draw.back;
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_TRUE(store.appendDraw({"99999", "0000999999", "0000"})) << "digits are not checked";
}

#ifndef _WIN32
// A child appends and deletes draws until it is killed at a random moment;
// the reopened folder must hold the library before or after the change that
// was cut off, whole, with no temporary file left.
TEST(CrashTest, KilledChangesLeaveTheLibraryBeforeOrAfter) {
    struct Progress {
        std::atomic<int> before, after, started;
    };
    auto* progress = static_cast<Progress*>(
        mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(progress, MAP_FAILED);
    TempDir dir;
    std::mt19937 random(20261209);
    int kills = 0, lost = 0, size = 0;
    constexpr int kKills = 200;
    for (int round = 0; round < kKills; ++round) {
        progress->started = 0;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const HistoryStore store(dir.path(), kKey);
            int n = store.drawCount();
            std::mt19937 own(static_cast<unsigned>(getpid()));
            progress->started = 1;
            for (;;) {
                const bool append = n < 2 || own() % 3 != 0;
                // before and after stay the same once the change is done
                progress->after = append ? n + 1 : n - 1;
                progress->before = n;
                const bool ok = append ? store.appendDraw(drawAt(static_cast<std::size_t>(n)))
                                       : store.removeNewestDraw();
                if (ok) {
                    n = progress->after;
                    progress->before = n;
                }
            }
        }
        while (!progress->started)
            usleep(100);
        usleep(random() % 4000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ++kills;
        const int found = wholeLibrarySize(dir.path());
        if (found < 0 || (found != progress->before && found != progress->after)) {
            ++lost;
            ADD_FAILURE() << "round " << round << ": found " << found << ", change "
                          << progress->before << " -> " << progress->after;
            const HistoryStore store(dir.path(), kKey);
            store.replaceHistory("", "", "");
        }
        size = found;
    }
    munmap(progress, sizeof(Progress));
    std::printf("[ crashes ] %d kills, %d libraries lost, last library %d draws\n", kills, lost,
                size);
}
#endif
