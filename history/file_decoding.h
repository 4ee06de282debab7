// A history file's bytes as the UTF-8 text the reader works on, whatever
// encoding the file was written in.
#pragma once

#include <string>
#include <string_view>

#include "history/draw_file.h"

namespace dlt {

struct DecodedFile {
    std::string text; // UTF-8, without a byte order mark
    TextEncoding encoding = TextEncoding::Utf8;
};

// UTF-16 by its byte order mark, UTF-8 with or without one, and anything
// that is not UTF-8 as GBK. What the encoding cannot hold becomes U+FFFD.
DecodedFile decodeHistoryFile(std::string_view bytes);

} // namespace dlt
