// Filling the numbered places of the catalogue's sentences.
#include <gtest/gtest.h>

#include "core/texts.h"

using namespace dlt;

TEST(Fill, PutsEachValueInItsNumberedPlace) {
    EXPECT_EQ(fill("号库中现有%1期号码，本次获取到%2期号码，写入后将失去其中的%3期号码。",
                   {280, std::string("300"), "20"}),
              "号库中现有280期号码，本次获取到300期号码，写入后将失去其中的20期号码。");
    EXPECT_EQ(fill("%2 before %1, %1 again", {"one", "two"}), "two before one, one again");
    // A place without a value and a "%" of the text stay as they are.
    EXPECT_EQ(fill("（95%）为%1至%2%", {std::string_view("0.5")}), "（95%）为0.5至%2%");
    EXPECT_EQ(fill("%0%x%", {"a"}), "%0%x%");
    EXPECT_EQ(fill("%1", {std::size_t{12}}), "12");
    EXPECT_EQ(fill("%1", {-3}), "-3");
}
