// The program works in UTF-8; the history files people keep, the pages it
// downloads and the maker's version file come in GBK (or UTF-16). These
// conversions are the one place where bytes change encoding, done by the C
// library's iconv rather than by hand.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dlt {

// The bytes in the named encoding ("GB18030", "UTF-16LE", ...) as UTF-8, or
// none when they are not valid in it.
std::optional<std::string> decodeStrictly(std::string_view bytes, const char* encoding);

// GBK bytes as UTF-8. A byte that starts no GBK character becomes U+FFFD, so
// that a damaged download still shows what it can.
std::string gbkToUtf8(std::string_view gbk);

// UTF-8 as GBK bytes; a character GBK cannot hold becomes '?'.
std::string utf8ToGbk(std::string_view utf8);

// A file's path as UTF-8 text for a message, as the desktop spells it.
std::string pathText(const std::filesystem::path& path);

} // namespace dlt
