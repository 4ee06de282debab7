// The real past draws of data/draws.txt, read once by the program's own
// reader of history files. When the file is missing or a line does not read
// as a draw, the draws are empty and `realDrawsProblem` says why, so that a
// test fails with a message.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "history/draw_file.h"
#include "history/library_text.h"
#include "storage/file_io.h"

namespace dlt::fixture {

// Every real draw, newest first.
inline const std::vector<DrawRecord>& realDraws() {
    static const std::vector<DrawRecord> draws = [] {
        const FileRead read = readFile(DLT_DRAWS_FILE, std::uintmax_t{16} << 20);
        const DrawFileRead parsed = parseDrawHistoryFile(read.bytes);
        if (!parsed.skipped.empty())
            return std::vector<DrawRecord>();
        return std::vector<DrawRecord>(parsed.oldestFirst.rbegin(), parsed.oldestFirst.rend());
    }();
    return draws;
}

inline std::string realDrawsProblem() {
    return realDraws().empty() ? std::string("no draws read from ") + DLT_DRAWS_FILE : "";
}

// The newest `count` real draws (all of them when there are fewer) as the
// store's three columns, oldest first.
inline HistoryColumns realColumns(std::size_t count = SIZE_MAX) {
    const std::vector<DrawRecord>& all = realDraws();
    return columnsOf(
        std::vector<DrawRecord>(all.begin(), all.begin() + std::min(count, all.size())));
}

// Fails every test of a program, with the reason, when the real draws are
// not there: the tests built on them would otherwise fail obscurely.
class RealDrawsPresent : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(realDrawsProblem().empty()) << realDrawsProblem(); }
};

} // namespace dlt::fixture
