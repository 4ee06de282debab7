// Two processes changing one library at once: the folder lock keeps every
// change whole, also when either process is killed in the middle of one.
#include <gtest/gtest.h>

#ifndef _WIN32

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "history/history_store.h"
#include "storage/cipher.h"
#include "tests/support/temp_dir.h"

using namespace dlt;
namespace fs = std::filesystem;

namespace {

const std::string kKey = digestHex("shared");
constexpr int kChangesEach = 500;
constexpr int kWriters = 2;

// Writer w's draw number j: its issue tells the writer and the number apart.
DrawRecord writerDraw(int writer, int j) {
    char issue[6], front[11], back[5];
    const unsigned w = static_cast<unsigned>(writer) % 9 + 1, n = static_cast<unsigned>(j) % 10000;
    std::snprintf(issue, sizeof issue, "%u%04u", w, n);
    std::snprintf(front, sizeof front, "%02u%02u%02u%02u%02u", n % 35 + 1, (n + 3) % 35 + 1,
                  (n + 7) % 35 + 1, (n + 11) % 35 + 1, w);
    std::snprintf(back, sizeof back, "%02u%02u", n % 12 + 1, w);
    return {issue, front, back};
}

// What the writers tell the parent through shared memory.
struct Shared {
    std::atomic<int> started;
    std::atomic<int> reported[kWriters]; // appends reported as made
    std::atomic<int> failed[kWriters];   // appends reported as not made
    std::atomic<int> inFlight[kWriters]; // 1 while an append runs
};

Shared* sharedMemory() {
    void* memory =
        mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    return memory == MAP_FAILED ? nullptr : new (memory) Shared{};
}

[[noreturn]] void runWriter(const fs::path& folder, Shared* shared, int writer) {
    // A writer that hangs must not hang the test.
    alarm(120);
    ++shared->started;
    while (shared->started < kWriters)
        std::this_thread::yield();
    for (int j = 0; j < kChangesEach; ++j) {
        shared->inFlight[writer] = 1;
        const bool made = HistoryStore(folder, kKey).appendDraw(writerDraw(writer, j));
        ++(made ? shared->reported : shared->failed)[writer];
        shared->inFlight[writer] = 0;
    }
    _exit(0);
}

struct Library {
    bool inStep = false;
    // Per writer: the draws found, in library order, as numbers j.
    std::vector<int> found[kWriters];
    int strangers = 0; // draws no writer made
};

Library readLibrary(const fs::path& folder) {
    const HistoryStore store(folder, kKey);
    const std::string qh = store.loadColumn("qh"), qq = store.loadColumn("qq"),
                      hq = store.loadColumn("hq");
    Library library;
    const std::size_t n = qq.size() / 10;
    library.inStep = qh.size() == 5 * n && qq.size() == 10 * n && hq.size() == 4 * n;
    if (!library.inStep)
        return library;
    for (std::size_t i = 0; i < n; ++i) {
        const int writer = qh[5 * i] - '1';
        const int j = std::atoi(qh.substr(5 * i + 1, 4).c_str());
        if (writer < 0 || writer >= kWriters) {
            ++library.strangers;
            continue;
        }
        const DrawRecord d = writerDraw(writer, j);
        if (qq.substr(10 * i, 10) != d.front || hq.substr(4 * i, 4) != d.back)
            ++library.strangers;
        else
            library.found[writer].push_back(j);
    }
    return library;
}

// Waits for the child at most the given time, then kills it; true when it
// ended by itself with code 0.
bool awaitChild(pid_t child, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        usleep(1000);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

// Every round, two processes append 500 draws each to one library at once.
// The columns stay in step and every append reported as made is there, in
// the order its writer made it; nothing else is.
TEST(SharedLibrary, TwoProcessesAppendingAtOnceKeepEveryReportedChange) {
    Shared* shared = sharedMemory();
    ASSERT_NE(shared, nullptr);
    constexpr int kRounds = 3;
    int torn = 0, missing = 0, failedChanges = 0;
    for (int round = 0; round < kRounds; ++round) {
        TempDir dir;
        new (shared) Shared{};
        pid_t children[kWriters];
        for (int w = 0; w < kWriters; ++w) {
            children[w] = fork();
            ASSERT_GE(children[w], 0);
            if (children[w] == 0)
                runWriter(dir.path(), shared, w);
        }
        for (const pid_t child : children)
            EXPECT_TRUE(awaitChild(child, std::chrono::seconds(150))) << "round " << round;
        const Library library = readLibrary(dir.path());
        torn += !library.inStep;
        EXPECT_TRUE(library.inStep) << "round " << round;
        EXPECT_EQ(library.strangers, 0) << "round " << round;
        for (int w = 0; w < kWriters; ++w) {
            failedChanges += shared->failed[w];
            const auto& found = library.found[w];
            const int reported = shared->reported[w];
            missing += std::max(0, reported - static_cast<int>(found.size()));
            EXPECT_EQ(static_cast<int>(found.size()), reported)
                << "round " << round << " writer " << w;
            EXPECT_TRUE(std::is_sorted(found.begin(), found.end()))
                << "round " << round << " writer " << w;
        }
    }
    std::printf(
        "[ sharing ] %d rounds of %d x %d appends: %d torn, %d reported appends missing, %d "
        "reported as failed\n",
        kRounds, kWriters, kChangesEach, torn, missing, failedChanges);
    munmap(shared, sizeof(Shared));
}

// Two processes append at once and each is killed at a random moment: the
// library holds every append reported as made, plus at most the one each
// writer was making when it died, in step.
TEST(SharedLibrary, TwoProcessesKilledWhileChangingLeaveAWholeLibrary) {
    Shared* shared = sharedMemory();
    ASSERT_NE(shared, nullptr);
    std::mt19937 random(20261210);
    constexpr int kRounds = 20;
    int torn = 0, lost = 0;
    for (int round = 0; round < kRounds; ++round) {
        TempDir dir;
        new (shared) Shared{};
        pid_t children[kWriters];
        for (int w = 0; w < kWriters; ++w) {
            children[w] = fork();
            ASSERT_GE(children[w], 0);
            if (children[w] == 0)
                runWriter(dir.path(), shared, w);
        }
        while (shared->started < kWriters)
            usleep(100);
        for (const pid_t child : children) {
            usleep(random() % 60000);
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        const Library library = readLibrary(dir.path());
        bool whole = library.inStep && library.strangers == 0;
        for (int w = 0; w < kWriters && whole; ++w) {
            const auto& found = library.found[w];
            const int reported = shared->reported[w];
            const int extra = static_cast<int>(found.size()) - reported;
            // The append cut off by the kill may or may not have been made.
            const bool cut = shared->inFlight[w] == 1;
            whole = extra == 0 || (cut && extra == 1);
            for (std::size_t j = 0; j < found.size() && whole; ++j)
                whole = found[j] == static_cast<int>(j);
        }
        torn += !library.inStep;
        lost += !whole;
        EXPECT_TRUE(whole) << "round " << round << ": in step " << library.inStep << ", found "
                           << library.found[0].size() << " and " << library.found[1].size()
                           << " of " << shared->reported[0] << " and " << shared->reported[1]
                           << " reported";
    }
    std::printf("[ sharing ] %d rounds of two writers killed: %d torn, %d libraries not whole\n",
                kRounds, torn, lost);
    munmap(shared, sizeof(Shared));
}

#endif
