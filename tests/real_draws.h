// The real past draws of data/draws.txt, read once by the program's own
// import. When the file is missing or does not read, the draws are empty and
// `realDrawsProblem` says why, so that a test fails with a message.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "history/library_text.h"
#include "storage/file_io.h"

namespace dlt::fixture {

inline const LibraryImport& realDrawsFile() {
    static const LibraryImport file = [] {
        const FileRead read = readFile(DLT_DRAWS_FILE, std::uintmax_t{16} << 20);
        LibraryImport parsed = parseLibraryText(read.bytes);
        return parsed.ok() ? parsed : LibraryImport{};
    }();
    return file;
}

inline std::string realDrawsProblem() {
    return realDrawsFile().newestFirst.empty() ? std::string("no draws read from ") + DLT_DRAWS_FILE : "";
}

// Every real draw, newest first.
inline const std::vector<DrawRecord>& realDraws() { return realDrawsFile().newestFirst; }

// The newest `count` real draws (all of them when there are fewer) as the
// store's three columns, oldest first.
inline HistoryColumns realColumns(std::size_t count = SIZE_MAX) {
    const std::vector<DrawRecord>& all = realDraws();
    return columnsOf(std::vector<DrawRecord>(all.begin(), all.begin() + std::min(count, all.size())));
}

// Fails every test of a program, with the reason, when the real draws are
// not there: the tests built on them would otherwise fail obscurely.
class RealDrawsPresent : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(realDrawsProblem().empty()) << realDrawsProblem(); }
};

} // namespace dlt::fixture
