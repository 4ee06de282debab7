// Comparing, merging and checking the library.
#include <gtest/gtest.h>

#include "history/library_merge.h"

using namespace dlt;

namespace {

DrawRecord draw(const char* issue, const char* front = "0102030405", const char* back = "0102") {
    return {issue, front, back};
}

TEST(LibraryMerge, CountsNewSameAndConflictingDraws) {
    const std::vector<DrawRecord> library{draw("26001"), draw("26002", "0506070809"),
                                          draw("26003", "0102030405", "0201"), draw("26004")};
    const std::vector<DrawRecord> file{draw("26002", "0506070810"), draw("26003"), draw("26005"),
                                       draw("26006")};
    const LibraryComparison comparison = compareWithLibrary(library, file);
    EXPECT_EQ(comparison.newDraws, 2);
    EXPECT_EQ(comparison.sameDraws, 1) << "the same numbers in another order";
    ASSERT_EQ(comparison.conflicts.size(), 1u);
    EXPECT_EQ(comparison.conflicts[0].library, draw("26002", "0506070809"));
    EXPECT_EQ(comparison.conflicts[0].file, draw("26002", "0506070810"));
    EXPECT_EQ(comparison.libraryOnly, 2);
}

TEST(LibraryMerge, NewDrawsGoInIssueOrderAndTheLibraryKeepsItsOwn) {
    struct Case {
        const char* name;
        std::vector<DrawRecord> library, file, merged;
    };
    const Case cases[] = {
        {"gaps filled and newer draws after",
         {draw("26002"), draw("26004")},
         {draw("26001"), draw("26003"), draw("26005")},
         {draw("26001"), draw("26002"), draw("26003"), draw("26004"), draw("26005")}},
        {"a conflict keeps the library's numbers",
         {draw("26002", "0506070809")},
         {draw("26002", "0506070810"), draw("26003")},
         {draw("26002", "0506070809"), draw("26003")}},
        {"an empty library takes the file",
         {},
         {draw("26001"), draw("26002")},
         {draw("26001"), draw("26002")}},
        {"a library out of issue order keeps its order",
         {draw("26005"), draw("26001")},
         {draw("26003")},
         {draw("26003"), draw("26005"), draw("26001")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mergedLibrary(c.library, c.file), c.merged) << c.name;
}

TEST(LibraryMerge, OnlySoundDrawsNewerThanTheLibraryAreAdded) {
    const std::vector<DrawRecord> library{draw("26003"), draw("26001")};
    const std::vector<DrawRecord> fetched{draw("26005"), draw("26004"), draw("26004", "0102030406"),
                                          draw("26003"), draw("26002"), draw("26006", "0102030436"),
                                          draw("2600x")};
    EXPECT_EQ(drawsNewerThanLibrary(library, fetched),
              (std::vector<DrawRecord>{draw("26004"), draw("26005")}));
    EXPECT_EQ(drawsNewerThanLibrary({}, {draw("26002"), draw("26001")}),
              (std::vector<DrawRecord>{draw("26001"), draw("26002")}));
}

struct Columns {
    std::string issues, fronts, backs;
};

Columns columns(const std::vector<DrawRecord>& oldestFirst) {
    Columns c;
    for (const DrawRecord& d : oldestFirst) {
        c.issues += d.issue;
        c.fronts += d.front;
        c.backs += d.back;
    }
    return c;
}

TEST(LibraryCheck, FindsGapsRepeatsBadNumbersAndColumnsOutOfStep) {
    struct Expected {
        FindingKind kind;
        std::string issue, lastIssue;
    };
    struct Case {
        const char* name;
        Columns library;
        std::vector<Expected> findings;
    };
    const Case cases[] = {
        {"a clean library across a year's end",
         columns({draw("25151"), draw("25152"), draw("26001"), draw("26002")}),
         {}},
        {"a library starting inside a year", columns({draw("26040"), draw("26041")}), {}},
        {"issues missing inside a year",
         columns({draw("26001"), draw("26005"), draw("26006"), draw("26008")}),
         {{FindingKind::IssueGap, "26002", "26004"}, {FindingKind::IssueGap, "26007", "26007"}}},
        {"a year that does not start at 001",
         columns({draw("25152"), draw("26003")}),
         {{FindingKind::IssueGap, "26001", "26002"}}},
        {"a repeated issue",
         columns({draw("26001"), draw("26002"), draw("26002", "0506070809")}),
         {{FindingKind::RepeatedIssue, "26002", ""}}},
        {"numbers out of range or twice, a broken issue",
         columns({draw("26001", "0102030436"), draw("26002", "0102030405", "0303"), draw("2600x")}),
         {{FindingKind::FrontNumbers, "26001", ""},
          {FindingKind::BackNumbers, "26002", ""},
          {FindingKind::BadIssue, "2600x", ""}}},
        {"columns out of step",
         {"2600126002", "01020304050102030405", "0102"},
         {{FindingKind::ColumnsOutOfStep, "", ""}}},
    };
    for (const Case& c : cases) {
        const LibraryCheck check =
            checkLibrary(c.library.issues, c.library.fronts, c.library.backs);
        ASSERT_EQ(check.findings.size(), c.findings.size()) << c.name;
        for (std::size_t i = 0; i < c.findings.size(); ++i) {
            EXPECT_EQ(check.findings[i].kind, c.findings[i].kind) << c.name << " " << i;
            EXPECT_EQ(check.findings[i].issue, c.findings[i].issue) << c.name << " " << i;
            EXPECT_EQ(check.findings[i].lastIssue, c.findings[i].lastIssue) << c.name << " " << i;
        }
    }
}

} // namespace
