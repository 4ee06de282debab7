#include "history/file_decoding.h"

#include <optional>

#include "core/encoding.h"

namespace dlt {

DecodedFile decodeHistoryFile(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE"))
        return {decodeLeniently(bytes.substr(2), "UTF-16LE"), TextEncoding::Utf16};
    if (bytes.starts_with("\xFE\xFF"))
        return {decodeLeniently(bytes.substr(2), "UTF-16BE"), TextEncoding::Utf16};
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return {decodeLeniently(bytes.substr(3), "UTF-8"), TextEncoding::Utf8};
    if (std::optional<std::string> utf8 = decodeStrictly(bytes, "UTF-8"))
        return {std::move(*utf8), TextEncoding::Utf8};
    return {gbkToUtf8(bytes), TextEncoding::Gbk};
}

} // namespace dlt
