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

// 第 and 期: around an issue number ("第15061期").
inline constexpr std::string_view issuePrefix = "\xB5\xDA";
inline constexpr std::string_view issueSuffix = "\xC6\xDA";

} // namespace dlt::text

namespace dlt::text {

// 号库数量: and 期: of the library summary ("号库数量:280    第25128期:").
inline constexpr std::string_view libraryCountPrefix = "\xBA\xC5\xBF\xE2\xCA\xFD\xC1\xBF:";
inline constexpr std::string_view libraryNewestSuffix = "\xC6\xDA:";

// 往期号码输入完成！共输入 ... 期号码。 (caption 输入完成)
inline constexpr std::string_view fetchDonePrefix =
    "\xCD\xF9\xC6\xDA\xBA\xC5\xC2\xEB\xCA\xE4\xC8\xEB\xCD\xEA\xB3\xC9\xA3\xA1\xB9\xB2\xCA\xE4\xC8\xEB";
inline constexpr std::string_view fetchDoneSuffix = "\xC6\xDA\xBA\xC5\xC2\xEB\xA1\xA3";
inline constexpr std::string_view fetchDoneCaption = "\xCA\xE4\xC8\xEB\xCD\xEA\xB3\xC9";
// 错误： (rejected input and failed fetches)
inline constexpr std::string_view errorColonCaption = "\xB4\xED\xCE\xF3\xA3\xBA";
// 未能获取往期号码，号库保持原样。
inline constexpr std::string_view fetchNothing =
    "\xCE\xB4\xC4\xDC\xBB\xF1\xC8\xA1\xCD\xF9\xC6\xDA\xBA\xC5\xC2\xEB\xA3\xAC\xBA\xC5\xBF\xE2\xB1\xA3"
    "\xB3\xD6\xD4\xAD\xD1\xF9\xA1\xA3";
// 新的往期号码未能写入号库，号库保持原样。
inline constexpr std::string_view fetchNotWritten =
    "\xD0\xC2\xB5\xC4\xCD\xF9\xC6\xDA\xBA\xC5\xC2\xEB\xCE\xB4\xC4\xDC\xD0\xB4\xC8\xEB\xBA\xC5\xBF\xE2"
    "\xA3\xAC\xBA\xC5\xBF\xE2\xB1\xA3\xB3\xD6\xD4\xAD\xD1\xF9\xA1\xA3";

// 检测到新版本： and the question after the version text: 是否更新？
inline constexpr std::string_view newVersionCaption = "\xBC\xEC\xB2\xE2\xB5\xBD\xD0\xC2\xB0\xE6\xB1\xBE\xA3\xBA";
inline constexpr std::string_view newVersionQuestion = "\r\n\r\n\xCA\xC7\xB7\xF1\xB8\xFC\xD0\xC2\xA3\xBF";
// 软件更新： and " 已是最新版本，不需要升级。"
inline constexpr std::string_view upToDateCaption = "\xC8\xED\xBC\xFE\xB8\xFC\xD0\xC2\xA3\xBA";
inline constexpr std::string_view upToDateSuffix =
    " \xD2\xD1\xCA\xC7\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE\xA3\xAC\xB2\xBB\xD0\xE8\xD2\xAA\xC9\xFD\xBC\xB6\xA1\xA3";

} // namespace dlt::text
