// The ticket book on disk: lines kept as they are, written through the one
// durable replace, and never taken for empty when it could not be read.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "storage/file_io.h"
#include "history/ticket_book.h"
#include "tests/support/temp_dir.h"

using namespace dlt;

namespace {

TEST(TicketBook, AMissingBookIsEmpty) {
    TempDir dir;
    const TicketBook book = readTicketBook(dir.path());
    EXPECT_TRUE(book.readable);
    EXPECT_TRUE(book.lines.empty());
}

TEST(TicketBook, LinesAreWrittenInGbkAndReadBack) {
    TempDir dir;
    const std::vector<std::string> lines{"03 06 26 30 33 + 11 12",
                                         "01 02 # 03 04 05 06 + 01 # 02 03 追加"};
    ASSERT_TRUE(writeTicketBook(dir.path(), lines));
    // 追加 in GBK.
    EXPECT_EQ(fileBytes(dir.path() / "tickets.txt"),
              lines[0] + "\n01 02 # 03 04 05 06 + 01 # 02 03 \xD7\xB7\xBC\xD3\n");
    EXPECT_EQ(readTicketBook(dir.path()).lines, lines);
}

TEST(TicketBook, BlankLinesAndLineEndsOfAnEditedBookAreDropped) {
    TempDir dir;
    std::ofstream(dir.path() / "tickets.txt", std::ios::binary)
        << "03 06 26 30 33 + 11 12\r\n\r\n  \nnot a ticket";
    EXPECT_EQ(readTicketBook(dir.path()).lines,
              (std::vector<std::string>{"03 06 26 30 33 + 11 12", "not a ticket"}));
}

TEST(TicketBook, AnUnreadableBookIsNotEmpty) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "tickets.txt");
    EXPECT_FALSE(readTicketBook(dir.path()).readable);
}

TEST(TicketBook, ALineThatIsNoGbkKeepsTheBookFromBeingRewritten) {
    TempDir dir;
    // A byte no GBK character starts with: written back, it would become '?'.
    std::ofstream(dir.path() / "tickets.txt", std::ios::binary)
        << "03 06 26 30 33 + 11 12\n01 02 03 04 05 + 01 02 \xFF\n";
    const TicketBook book = readTicketBook(dir.path());
    EXPECT_FALSE(book.readable);
    ASSERT_EQ(book.lines.size(), 2u);
    EXPECT_EQ(book.lines[0], "03 06 26 30 33 + 11 12");
}

TEST(TicketBook, AFailedWriteKeepsTheOldBook) {
    TempDir dir;
    ASSERT_TRUE(writeTicketBook(dir.path(), {"03 06 26 30 33 + 11 12"}));
    setFileCallFilter(
        [](FileCall call, const std::filesystem::path&) { return call != FileCall::Rename; });
    EXPECT_FALSE(writeTicketBook(dir.path(), {"01 02 03 04 05 + 01 02"}));
    setFileCallFilter({});
    EXPECT_EQ(readTicketBook(dir.path()).lines,
              (std::vector<std::string>{"03 06 26 30 33 + 11 12"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
