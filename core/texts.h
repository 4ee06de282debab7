// The program's own texts, as GBK byte strings (the UTF-8 reading in each
// comment). They are turned into display strings only at the window's edge.
#pragma once

#include <string_view>

namespace dlt::text {

// 禾澄大乐透荐号器
inline constexpr std::string_view productName = "\xBA\xCC\xB3\xCE\xB4\xF3\xC0\xD6\xCD\xB8\xBC\xF6\xBA\xC5\xC6\xF7";
// 软件初始化失败：请重试！
inline constexpr std::string_view initFailed =
    "\xC8\xED\xBC\xFE\xB3\xF5\xCA\xBC\xBB\xAF\xCA\xA7\xB0\xDC\xA3\xBA\xC7\xEB\xD6\xD8\xCA\xD4\xA3\xA1";
// 错误
inline constexpr std::string_view errorCaption = "\xB4\xED\xCE\xF3";

// " 使用帮助": after the product name in the help window's caption.
inline constexpr std::string_view helpCaptionSuffix = " \xCA\xB9\xD3\xC3\xB0\xEF\xD6\xFA";
// 帮助文档打开失败：请重试！
inline constexpr std::string_view helpOpenFailed =
    "\xB0\xEF\xD6\xFA\xCE\xC4\xB5\xB5\xB4\xF2\xBF\xAA\xCA\xA7\xB0\xDC\xA3\xBA\xC7\xEB\xD6\xD8\xCA\xD4\xA3\xA1";

// 第 and 期: around an issue number ("第15061期").
inline constexpr std::string_view issuePrefix = "\xB5\xDA";
inline constexpr std::string_view issueSuffix = "\xC6\xDA";

} // namespace dlt::text
