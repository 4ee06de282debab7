// Reading the history files people have: the program's own export and list
// lines, CSV and tab-separated tables, fixed-width text and JSON, in UTF-8,
// UTF-16 or GBK, newest or oldest first. Plain bytes in, draws out.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw_record.h"
#include "core/ports.h"

namespace dlt {

enum class TextEncoding { Utf8, Utf16, Gbk };

// How the draws stand in the file, as the first draw line shows it.
enum class FileLayout {
    None,   // no draw was found
    Export, // the program's export: "25128 03 06 26 30 33 11 12"
    List,   // the program's list lines: "第25128期 03 06 26 30 33  11 12"
    Commas, // comma-separated (CSV), quoted or not
    Semicolons,
    Tabs,   // a results table copied as tab-separated text
    Spaces, // columns of fixed width or separated by blanks
    Json,   // an array of objects or of arrays
};

enum class FileOrder { None, NewestFirst, OldestFirst, Mixed };

enum class SkipReason {
    NotADraw, // no issue followed by five front and two back numbers
    Front,    // a front number outside 1..35, or one twice
    Back,     // a back number outside 1..12, or one twice
    Conflict, // the issue stands again with other numbers: neither is taken
    Repeated, // the same draw once more
};

struct SkippedLine {
    int line = 0;     // 1-based; for JSON the number of the record
    std::string text; // as the file has it, in UTF-8
    SkipReason reason = SkipReason::NotADraw;
};

struct DrawFileRead {
    std::vector<DrawRecord> oldestFirst; // sorted by issue, numbers ascending in each zone
    std::vector<std::string> dates;      // each draw's date as the file writes it (UTF-8), or ""
    std::vector<SkippedLine> skipped;
    int ignoredLines = 0; // headers, titles and comments, which hold no draw
    TextEncoding encoding = TextEncoding::Utf8;
    FileLayout layout = FileLayout::None;
    FileOrder order = FileOrder::None;
    bool cancelled = false; // the read was given up: nothing else here counts
};

// Lets another thread follow a long read and give it up. A raised flag is
// watched everywhere but in the decoding of the whole file (a fraction of a
// second at 64 MB), even inside one long line.
struct ReadWatch {
    const CancelFlag* cancel = nullptr;
    std::atomic<int>* permille = nullptr; // thousandths of the file read so far
};

// Reads every draw of the file. An issue is taken with 5 digits, with 4 (the
// leading zero lost: 7001 is 07001), with 7 (the full year: 2026079 is
// 26079) or as 第25128期; it may follow an index column, and a date and
// words may stand between it and the numbers; columns after the seven
// numbers are ignored. A line that holds numbers but no good draw is
// skipped with its reason; lines without a number are ignored. Time and
// memory grow in proportion to the file, whatever its shape.
DrawFileRead parseDrawHistoryFile(std::string_view bytes, const ReadWatch& watch = {});

} // namespace dlt
