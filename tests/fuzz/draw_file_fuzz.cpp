// History files of any bytes through the import's reader. Whatever it is
// given, every draw it returns is sound, each issue once and in issue order,
// with a date beside it; the skipped lines come in the file's order; every
// text it hands back is UTF-8.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/draw_check.h"
#include "core/encoding.h"
#include "history/draw_file.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool isUtf8(std::string_view text) {
    return dlt::decodeStrictly(text, "UTF-8").has_value();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const dlt::DrawFileRead read = dlt::parseDrawHistoryFile(bytes);

    require(!read.cancelled);
    require(read.dates.size() == read.oldestFirst.size());
    require((read.layout == dlt::FileLayout::None) == read.oldestFirst.empty());
    for (std::size_t i = 0; i < read.oldestFirst.size(); ++i) {
        require(dlt::isSoundDraw(read.oldestFirst[i]));
        require(i == 0 || read.oldestFirst[i - 1].issue < read.oldestFirst[i].issue);
        require(isUtf8(read.dates[i]));
    }
    require(std::is_sorted(read.skipped.begin(), read.skipped.end(),
                           [](const auto& a, const auto& b) { return a.line < b.line; }));
    for (const dlt::SkippedLine& line : read.skipped)
        require(line.line >= 1 && isUtf8(line.text));

    // A read given up before it starts finds nothing.
    dlt::CancelFlag cancel;
    cancel.cancel();
    const dlt::DrawFileRead givenUp = dlt::parseDrawHistoryFile(bytes, {&cancel, nullptr});
    require(givenUp.cancelled && givenUp.oldestFirst.empty());
    return 0;
}
