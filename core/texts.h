// What the program says (its messages, summaries, lists and verdicts) and
// the labels that more than one place shows, once each, whole, in UTF-8.
// A sentence that carries figures or names has numbered places (%1 .. %9)
// that fill() puts them in; a label used in several sentences (前区, 奖池不足8亿)
// is itself an entry and goes into them through a place. The captions of a
// window's own controls stay with its form.
#pragma once

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>

namespace dlt {

// One value for a numbered place: a text, or an integer in decimal.
class FillValue {
public:
    FillValue(std::string_view text) : text_(text) {}
    FillValue(const std::string& text) : text_(text) {}
    FillValue(const char* text) : text_(text) {}
    template <std::integral Number>
    FillValue(Number number) : owned_(std::to_string(number)), text_(owned_) {}
    FillValue(const FillValue&) = delete;
    FillValue& operator=(const FillValue&) = delete;
    std::string_view text() const { return text_; }

private:
    std::string owned_;
    std::string_view text_;
};

// The text with %1 .. %9 replaced by the values in order. A place without a
// value stays as it is, and a "%" followed by anything else is plain text
// ("（95%）").
std::string fill(std::string_view text, std::initializer_list<FillValue> values);

} // namespace dlt

namespace dlt::text {

// Start-up (the product's name is the program's identity, core/identity.h).
inline constexpr std::string_view initFailed = "软件初始化失败：请重试！";
// After initFailed, when the kept secret cannot be read: why, and the file.
inline constexpr std::string_view secretUnreadable =
    "无法读取保存安装密钥的文件（%1）：\n%2\n请检查此文件能否由当前用户读取，然后再启动程序。";
inline constexpr std::string_view noReadPermission = "没有读取权限";
inline constexpr std::string_view notAPlainFile = "不是普通文件";
// %1: the system's words.
inline constexpr std::string_view readError = "读取出错：%1";

// The captions of the message boxes, which tell their kind.
inline constexpr std::string_view errorCaption = "错误";       // start-up and help failures
inline constexpr std::string_view refusedCaption = "错误：";   // rejected input, failed changes
inline constexpr std::string_view successCaption = "成功：";   // after a change
inline constexpr std::string_view attentionCaption = "注意："; // before a deletion or an import
inline constexpr std::string_view cannotRecommendCaption = "无法荐号：";
inline constexpr std::string_view fetchDoneCaption = "输入完成";
inline constexpr std::string_view newVersionCaption = "检测到新版本：";
inline constexpr std::string_view upToDateCaption = "软件更新：";

// The help window: its caption after the product name, and its failure.
inline constexpr std::string_view helpCaption = "%1 使用帮助";
inline constexpr std::string_view helpOpenFailed = "帮助文档打开失败：请重试！";

// The main window: the history summary and list, and the recommendation.
// %1 draws, %2 the newest issue.
inline constexpr std::string_view summaryCount = "号库数量:%1    第%2期:";
// %1 issue, %2 front groups, %3 back groups.
inline constexpr std::string_view historyListLine = "第%1期 %2  %3";
inline constexpr std::string_view recommendingCell = "号码推荐中...";
inline constexpr std::string_view recommendingPicks = "号码推荐中，请稍等...";
// %1: the fewest draws a recommendation needs.
inline constexpr std::string_view shortHistory =
    "号库不足：请按先后顺序依次存入最近开出至少%1期的号码。";

// Typing and deleting draws.
inline constexpr std::string_view entryRejected = "期数或号码输入不正确：请检查后重试！";
inline constexpr std::string_view drawAdded = "号码已成功添加！";
inline constexpr std::string_view confirmDelete = "您确定要删除吗？";
inline constexpr std::string_view drawDeleted = "号码已成功删除！";
inline constexpr std::string_view nothingToDelete = "号库中没有可删除的号码！";
// %1: the folder the library lives in.
inline constexpr std::string_view historyNotSaved =
    "号库无法保存：号码未能写入，请检查号库所在的文件夹后重试！\n%1";

// Fetching past draws.
// %1 draws.
inline constexpr std::string_view fetchDone = "往期号码输入完成！共输入%1期号码。";
inline constexpr std::string_view fetchInProgress = "正在获取往期号码，请稍候...";
inline constexpr std::string_view fetchNothing = "未能获取往期号码，号库保持原样。";
inline constexpr std::string_view fetchNotWritten = "新的往期号码未能写入号库，号库保持原样。";
// Before fetched draws replace the library: fetchDrop, then fetchConflicts
// and a list line for each conflict (only when a source gave an issue
// twice), then fetchReplaceQuestion. %1 draws held, %2 fetched, %3 of the
// held kept, %4 dropped, %5 added.
inline constexpr std::string_view fetchDrop =
    "号库中现有%1期号码，本次获取到%2期号码。替换后保留其中%3期，去掉%4期，新增%5期。";
// %1 issues.
inline constexpr std::string_view fetchConflicts =
    "获取到的号码中有%1期出现两组不同的号码，只取先出现的一组：";
// %1: the list line of the draw taken, %2 and %3: the other front and back numbers.
inline constexpr std::string_view fetchConflictLine = "%1  /  %2  %3";
inline constexpr std::string_view fetchReplaceQuestion = "仍要替换号库吗？";

// The update check. %1: the version file's text.
inline constexpr std::string_view newVersionQuestion = "%1\r\n\r\n是否更新？";
// %1: the product's name and version.
inline constexpr std::string_view upToDate = "\"%1\" 已是最新版本，不需要升级。";

// The library tools: export and import.
inline constexpr std::string_view importInProgress = "正在读取号码文件，请稍候...";
inline constexpr std::string_view importEmpty = "文件中没有号码，号库没有改变。";
inline constexpr std::string_view importUnreadable = "无法读取文件，号库没有改变。";
inline constexpr std::string_view importWriteFailed = "号库写入失败，号库没有改变。";
inline constexpr std::string_view exportFailed = "无法写入文件，号库没有导出。";
// %1 draws.
inline constexpr std::string_view exportDone = "号库导出成功：共%1期号码。";
inline constexpr std::string_view importDone = "号库导入成功：共%1期号码。";
// %1 draws added, %2 draws in the library.
inline constexpr std::string_view mergeDone = "号库导入成功：新增%1期号码，号库现有%2期号码。";
inline constexpr std::string_view mergeNothingNew = "文件中没有号库缺少的号码，号库没有改变。";
inline constexpr std::string_view mergeOutOfStep =
    "号库的三列长短不一，无法合并，号库没有改变。请先用“检查号库”查看。";

// The import's summary before anything is written. %1 draws, %2 the first
// issue, %3 the last.
inline constexpr std::string_view summaryRange = "文件中有%1期号码，从第%2期到第%3期。";
// %1: how the file was read, a list joined by listSeparator.
inline constexpr std::string_view summaryRecognised = "识别为：%1。";
inline constexpr std::string_view listSeparator = "，";
inline constexpr std::string_view layoutExport = "本程序导出的号库";
inline constexpr std::string_view layoutList = "本程序的号码列表";
inline constexpr std::string_view layoutCommas = "逗号分隔";
inline constexpr std::string_view layoutSemicolons = "分号分隔";
inline constexpr std::string_view layoutTabs = "制表符分隔";
inline constexpr std::string_view layoutSpaces = "空格或固定宽度分列";
inline constexpr std::string_view orderNewestFirst = "从新到旧";
inline constexpr std::string_view orderOldestFirst = "从旧到新";
inline constexpr std::string_view orderMixed = "顺序不一";
// %1 new draws, %2 the same, %3 conflicting.
inline constexpr std::string_view summaryDraws =
    "其中号库没有的新号码%1期，号库已有且号码相同的%2期，期号相同而号码不同的%3期。";
// %1 issue, %2 the library's numbers, %3 the file's.
inline constexpr std::string_view conflictLine = "第%1期：号库为 %2，文件为 %3";
// %1: the conflicts not listed.
inline constexpr std::string_view moreConflicts = "……另有%1期未列出。";
// %1: the lines skipped.
inline constexpr std::string_view summarySkipped = "跳过的行：%1行。";
// %1 line number, %2 why, %3 the line.
inline constexpr std::string_view skippedLine = "第%1行：%2，%3";
// %1: the lines not listed.
inline constexpr std::string_view moreLines = "……另有%1行未列出。";
inline constexpr std::string_view skipNotADraw = "不是一期开奖号码";
inline constexpr std::string_view skipFront = "前区须为1至35之间互不相同的五个号码";
inline constexpr std::string_view skipBack = "后区须为1至12之间互不相同的两个号码";
inline constexpr std::string_view skipConflict = "同一期号在文件中有不同的号码，都没有采用";
inline constexpr std::string_view skipRepeated = "同一期号码重复出现";
inline constexpr std::string_view choiceMerge =
    "合并：把新号码按期号加入号库，号库原有的号码（包括期号相同而号码不同的）不变。";
inline constexpr std::string_view choiceReplace = "替换：号库改为文件中的号码。";
// %1: the library's draws the file lacks.
inline constexpr std::string_view choiceReplaceDropping =
    "替换：号库改为文件中的号码，号库中文件没有的%1期号码将被去掉。";
// The buttons of the question.
inline constexpr std::string_view mergeButton = "合并";
inline constexpr std::string_view replaceButton = "替换";
inline constexpr std::string_view cancelButton = "取消";

// 同步最新开奖: the menu's item, its progress window's title and its
// messages' caption.
inline constexpr std::string_view syncCaption = "同步最新开奖";
inline constexpr std::string_view syncInProgress = "正在同步最新开奖，请稍候...";
inline constexpr std::string_view syncUnreachable = "无法从开奖来源取得号码，号库没有改变。";
// Where the draws came from: %1 in the sentences below.
inline constexpr std::string_view officialServiceName = "官方开奖服务";
inline constexpr std::string_view otherSourcesName = "软件作者网站与开奖结果网页";
// %1 the source, %2 draws added, %3 the newest issue, %4 its date.
inline constexpr std::string_view syncAdded = "同步完成：从%1新增%2期号码，最新一期为第%3期。";
inline constexpr std::string_view syncAddedDated =
    "同步完成：从%1新增%2期号码，最新一期为第%3期（%4开奖）。";
// %1 the source, %2 the newest issue, %3 its date.
inline constexpr std::string_view syncNothingNewer =
    "号库已是最新：%1没有更新的开奖号码，最新一期为第%2期。";
inline constexpr std::string_view syncNothingNewerDated =
    "号库已是最新：%1没有更新的开奖号码，最新一期为第%2期（%3开奖）。";
// The notes after the first line. %1: why the service gave nothing (trouble...).
inline constexpr std::string_view syncFellBack =
    "官方开奖服务没有给出号码（%1），号码改由软件作者网站与开奖结果网页取得。";
inline constexpr std::string_view syncReadingOthers = "正在从软件作者网站与开奖结果网页同步...";
// %1 draws left out, %2 of them without an issue, %3 with numbers of no draw.
inline constexpr std::string_view syncSkipped =
    "有%1期数据不全或有误，已略过（缺少期号%2期，号码不符%3期）。";
// %1: details (a date, an amount, a tier) that did not read.
inline constexpr std::string_view syncDetailsSkipped =
    "有%1项开奖详情无法读取，已略过，号码不受影响。";
// %1: issues given twice.
inline constexpr std::string_view syncRepeats = "有%1期重复出现，只取第一次。";
// %1 conflicts, then one syncConflictLine each: %1 the issue, %2 the
// library's numbers, %3 the source's.
inline constexpr std::string_view syncConflicts =
    "以下%1期与号库中的号码不同，没有写入（可用“检查号库”核对）：";
inline constexpr std::string_view syncConflictLine = "第%1期：号库 %2，来源 %3";
// %1: the draws of a long list not listed.
inline constexpr std::string_view syncMoreDraws = "……另有%1期未列出";
// %1 draws that do not follow %2, the library's newest issue, listed in %3.
inline constexpr std::string_view syncDoubtfulQuestion =
    "以下%1期接不上号库最新的第%2期，可能不是真实的开奖：%3\n仍要把它们加入号库吗？";
inline constexpr std::string_view syncDoubtfulKept = "接不上号库的%1期没有加入号库。";
// %1: draws whose details were kept.
inline constexpr std::string_view syncDetailsSaved = "保存了%1期的开奖详情。";
inline constexpr std::string_view detailsNotWritten = "开奖详情未能写入，详情文件保持原样。";

// The official results service. %1 the page, %2 draws read so far.
inline constexpr std::string_view officialReadingPage =
    "正在从官方开奖服务读取第%1页（已读到%2期）...";
// %1 why (trouble...), %2 seconds left, %3 the retry, %4 the retries in all.
inline constexpr std::string_view officialWaiting =
    "官方开奖服务暂时拒绝了请求（%1），%2秒后重试（第%3次，共%4次）...";
// %1 why, %2 the retries.
inline constexpr std::string_view officialRefused =
    "官方开奖服务拒绝了请求（%1），重试%2次后仍未成功，请稍后再试。";
inline constexpr std::string_view officialNoData = "官方开奖服务没有给出开奖数据（%1）。";
inline constexpr std::string_view officialUnreachable = "无法从官方开奖服务取得开奖详情（%1）。";
inline constexpr std::string_view libraryUnchanged = "号库没有改变。";
inline constexpr std::string_view detailsUnchanged = "开奖详情没有改变。";
// Why the service gave nothing, in plain words. %1: the HTTP status.
inline constexpr std::string_view troubleNoConnection = "无法连接到服务器";
inline constexpr std::string_view troubleTimedOut = "服务器长时间没有应答";
inline constexpr std::string_view troubleTooLarge = "应答大得异常，已停止接收";
inline constexpr std::string_view troubleForbidden = "拒绝访问，HTTP %1";
inline constexpr std::string_view troubleTooMany = "请求过于频繁，HTTP %1";
inline constexpr std::string_view troubleLimited = "访问受到限制，HTTP %1";
inline constexpr std::string_view troubleStatus = "服务器出错，HTTP %1";
inline constexpr std::string_view troubleNotService = "返回的不是开奖数据";
// %1: what the service said.
inline constexpr std::string_view troubleServiceSaid = "服务答复：%1";
inline constexpr std::string_view troubleNoDraws = "没有可用的开奖号码";
inline constexpr std::string_view troubleBroken = "传输中断";

// 补全开奖详情: the menu's item, its progress window's title and its
// messages' caption.
inline constexpr std::string_view detailsCaption = "补全开奖详情";
inline constexpr std::string_view detailsInProgress = "正在读取开奖详情，请稍候...";
// %1: the first issue whose details are completed.
inline constexpr std::string_view detailsComplete = "号库中第%1期以来的每一期都已有开奖详情。";
// %1 draws whose details were kept, %2 the first issue, %3 draws still without.
inline constexpr std::string_view detailsDone =
    "补全完成：保存了%1期的开奖详情；号库中第%2期以来还有%3期没有详情。";
// %1: held issues the service gives with other numbers.
inline constexpr std::string_view detailsConflicts =
    "有%1期官方号码与号库不同，没有保存其详情（可用“检查号库”核对）。";

// 检查号库: the menu's item and its report's caption. %1 draws.
inline constexpr std::string_view checkCaption = "检查号库";
inline constexpr std::string_view checkClean = "号库共%1期，没有发现问题。";
// %1 draws, %2 findings.
inline constexpr std::string_view checkFound = "号库共%1期，发现%2处问题：";
// %1, %2, %3: the bytes of the issue, front and back columns.
inline constexpr std::string_view checkOutOfStep =
    "三列长短不一：期号列%1字节，前区列%2字节，后区列%3字节";
inline constexpr std::string_view checkGap = "缺少第%1期";
inline constexpr std::string_view checkGapRange = "缺少第%1期至第%2期";
// %1 issue, %2 times.
inline constexpr std::string_view checkRepeated = "第%1期出现了%2次";
inline constexpr std::string_view checkBadIssue = "期号“%1”不是五位数字";
inline constexpr std::string_view checkFrontNumbers = "第%1期前区号码超出1至35或有重复";
inline constexpr std::string_view checkBackNumbers = "第%1期后区号码超出1至12或有重复";
// %1: the findings not listed.
inline constexpr std::string_view moreFindings = "……另有%1处未列出。";
inline constexpr std::string_view checkChangesNothing = "检查不会改动号库。";

// The main window's button that opens and closes the history list.
inline constexpr std::string_view showAdvanced = "展开高级功能";
inline constexpr std::string_view hideAdvanced = "收回高级功能";

// The menus of the main window's bar that the user's guide shows.
inline constexpr std::string_view updateMenu = "升级更新";
inline constexpr std::string_view helpMenu = "软件帮助";

// The library tools' menu and the windows it opens: each window's name is
// its caption, its objectName and its menu item.
inline constexpr std::string_view libraryToolsMenu = "号库工具";
inline constexpr std::string_view trendWindowName = "号码走势图";
inline constexpr std::string_view backtestWindowName = "历史回测";
inline constexpr std::string_view ticketWindowName = "兑奖";

// Column heads shared by the tool windows' tables.
inline constexpr std::string_view issueHead = "期号";
inline constexpr std::string_view hitsHead = "命中";
inline constexpr std::string_view costHead = "花费（元）";
inline constexpr std::string_view noPrize = "未中奖";

// The zones and the prize pools.
inline constexpr std::string_view frontZoneName = "前区";
inline constexpr std::string_view backZoneName = "后区";
inline constexpr std::string_view poolBelow = "奖池不足8亿";
inline constexpr std::string_view poolAtOrAbove = "奖池8亿及以上";

// The backtest's verdict: walkedVerdict holds a zoneHits for each zone and
// one of the four endings. %1 draws walked.
inline constexpr std::string_view walkedVerdict = "在%1期回测中，%2；%3：%4";
// %1 the zone, %2 its mean hits, %3 the chance mean, %4 .. %5 what luck explains.
inline constexpr std::string_view zoneHits =
    "%1平均命中%2个，随机选号为%3个，运气能解释的范围（95%）为%4至%5";
inline constexpr std::string_view verdictBothWithin = "两区与随机的差异都在运气能解释的范围之内。";
inline constexpr std::string_view verdictFrontOutside =
    "前区与随机的差异超出了运气能解释的范围，后区的在范围之内。";
inline constexpr std::string_view verdictBackOutside =
    "后区与随机的差异超出了运气能解释的范围，前区的在范围之内。";
inline constexpr std::string_view verdictBothOutside = "两区与随机的差异都超出了运气能解释的范围。";
inline constexpr std::string_view backtestRunning = "回测中...";
inline constexpr std::string_view verdictCancelled = "回测已取消。";
inline constexpr std::string_view verdictTooShort = "号库不足，无法回测。";

// The backtest in money. %1 the pool counted under (countedUnder, or
// nothing), %2 draws, %3 return per yuan, %4 chance per yuan, %5 .. %6 what
// luck explains, %7 one of the three endings.
inline constexpr std::string_view moneyVerdict =
    "%1在%2期中每期买一注下期精选号，每元返还%3元，随机一注每元期望返还%4元，"
    "运气能解释的范围（95%）为%5至%6元：%7";
// %1: a pool.
inline constexpr std::string_view countedUnder = "按%1计，";
inline constexpr std::string_view moneyWithin = "差异在运气能解释的范围之内。";
inline constexpr std::string_view moneyAbove = "高于运气能解释的范围。";
inline constexpr std::string_view moneyBelow = "低于运气能解释的范围。";
inline constexpr std::string_view moneyNothingCounted = "没有奖级规则已知的回测期，无法计算奖金。";
// %1: bets that won a floating tier.
inline constexpr std::string_view moneyFloating = "一等奖、二等奖为浮动奖金，未计入（中了%1注）。";
// %1 draws, %2 the first issue whose rules are known.
inline constexpr std::string_view moneyUnknown =
    "另有%1期在%2期以前，本程序不知道其奖级规则，未计入。";
// %1 draws.
inline constexpr std::string_view moneyPools =
    "其中%1期按七个奖级的规则兑奖，固定奖金随奖池而不同，两种奖池都已算出。";
// For how many counted draws the published prizes were known: %1 counted
// draws, %2 of them with details, %3 bets that won a floating tier there, %4
// the yuan they were paid; %5 the draws without details.
inline constexpr std::string_view moneyNoDetails = "计入的%1期都没有开奖详情。";
inline constexpr std::string_view moneyAllDetailed =
    "计入的%1期中有%2期有开奖详情，按开奖前的奖池兑固定奖金，一等奖、二等奖按公布的奖金计入"
    "（中了%3注，共%4元）。";
inline constexpr std::string_view moneySomeDetailed =
    "计入的%1期中有%2期有开奖详情，按开奖前的奖池兑固定奖金，一等奖、二等奖按公布的奖金计入"
    "（中了%3注，共%4元）；其余%5期没有开奖详情。";

// The prize tiers by number.
inline constexpr std::string_view tierFirst = "一等奖";
inline constexpr std::string_view tierSecond = "二等奖";
inline constexpr std::string_view tierThird = "三等奖";
inline constexpr std::string_view tierFourth = "四等奖";
inline constexpr std::string_view tierFifth = "五等奖";
inline constexpr std::string_view tierSixth = "六等奖";
inline constexpr std::string_view tierSeventh = "七等奖";
inline constexpr std::string_view tierEighth = "八等奖";
inline constexpr std::string_view tierNinth = "九等奖";

// The words of a ticket's line; the kinds of tickets are also their names.
inline constexpr std::string_view ticketWordBankerTicket = "胆拖";
inline constexpr std::string_view ticketWordBankers = "胆码";
inline constexpr std::string_view ticketWordBanker = "胆";
inline constexpr std::string_view ticketWordOthers = "拖码";
inline constexpr std::string_view ticketWordOther = "拖";
inline constexpr std::string_view ticketWordMultiple = "复式";
inline constexpr std::string_view ticketWordSingle = "单式";
inline constexpr std::string_view ticketWordAdditional = "追加";
inline constexpr std::string_view ticketWordBet = "投注";
inline constexpr std::string_view ticketWordGame = "大乐透";
inline constexpr std::string_view ticketWordNumbers = "号码";

// What is wrong with a ticket. %1: the zone where it applies.
inline constexpr std::string_view ticketEmpty = "没有号码。";
// %1: what could not be read.
inline constexpr std::string_view ticketUnreadable = "无法识别“%1”。";
// %2 the number, %3 the zone's largest.
inline constexpr std::string_view ticketOutOfRange = "%1号码%2不在1至%3之间。";
inline constexpr std::string_view ticketRepeated = "%1号码%2出现了两次。";
// %2 numbers a bet needs, %3 numbers written.
inline constexpr std::string_view ticketTooFew = "%1号码太少：一注需要%2个，这里只有%3个。";
// %2: the most.
inline constexpr std::string_view ticketTooMany = "%1号码太多：复式最多%2个。";
inline constexpr std::string_view ticketTooManyBankers = "%1胆码太多：最多%2个。";
inline constexpr std::string_view ticketNoBackZone =
    "缺少后区号码：前区与后区之间请用“+”或“|”分开。";

// The ticket window. %1 the ticket's number, %2 its line, %3 what is wrong.
inline constexpr std::string_view ticketRefused = "第%1张票“%2”：%3";
inline constexpr std::string_view ticketsNotStored = "这次输入的票都没有保存。";
inline constexpr std::string_view ticketBookNotSaved =
    "票据无法保存：请检查数据文件夹后重试！票据保持原样。";
inline constexpr std::string_view ticketBookUnreadable =
    "票据文件无法读取：为免覆盖，这次不能修改票据。";
// A line of the book's list: %1 the ticket's number, %2 its kind, %3 bets,
// %4 yuan, %5 the ticket.
inline constexpr std::string_view ticketListLine = "第%1张  %2 %3注 %4元：%5";
// %1 the ticket's number, %2 what is wrong, %3 the line as written.
inline constexpr std::string_view ticketListUnreadable = "第%1张  （无法读取：%2）%3";
// The result table's name of a ticket: %1 its number.
inline constexpr std::string_view ticketName = "第%1张";
// %1: the first issue whose rules are known.
inline constexpr std::string_view drawNotChecked = "本程序不知道%1期以前的奖级规则，这一期不兑奖";
// The total: %1 draws, %2 tickets, %3 yuan spent, %4 the fixed prizes
// (yuanAmount or yuanByPool).
inline constexpr std::string_view ticketTotal = "共兑奖%1期、%2张票：花费%3元，固定奖金%4。";
inline constexpr std::string_view yuanAmount = "%1元";
// %1 yuan under %2 (poolBelow), %3 yuan under %4 (poolAtOrAbove).
inline constexpr std::string_view yuanByPool = "%1元（%2）或%3元（%4）";
// Every draw checked had its published details: %1 draws, %2 tickets, %3
// yuan spent, %4 the prizes.
inline constexpr std::string_view ticketTotalPaid =
    "共兑奖%1期、%2张票：花费%3元，奖金%4元（按公布的奖金）。";
// Some had: %1 draws, %2 tickets, %3 yuan spent, %4 draws with details, %5
// their prizes, %6 the other draws, %7 their fixed prizes (yuanAmount or yuanByPool).
inline constexpr std::string_view ticketTotalSomePaid =
    "共兑奖%1期、%2张票：花费%3元；有开奖详情的%4期奖金%5元（按公布的奖金），"
    "其余%6期固定奖金%7。";
inline constexpr std::string_view ticketNoDetails =
    "这一期没有开奖详情，其一等奖、二等奖只标为浮动。";
// %1: the draws checked without details.
inline constexpr std::string_view ticketDrawsWithoutDetails =
    "有%1期没有开奖详情，其一等奖、二等奖只标为浮动。";
// The chosen draw's details: %1 the issue, %2 the date, %3 the pool before
// the draw, %4 after it, %5 the sales (each yuanAmount or notPublished).
inline constexpr std::string_view drawDetailsLine =
    "%1期开奖详情：开奖日期%2，开奖前奖池%3，开奖后奖池%4，销售额%5。";
inline constexpr std::string_view notPublished = "未公布";
inline constexpr std::string_view paidAsPublished = "兑奖按公布的奖金。";
inline constexpr std::string_view detailsWithoutPool =
    "开奖前奖池未公布，兑奖时一等奖、二等奖只标为浮动，固定奖金按两种奖池列出。";
// %1 the issue, %2 poolBelow, %3 poolAtOrAbove.
inline constexpr std::string_view drawWithoutDetails =
    "%1期没有开奖详情：兑奖时一等奖、二等奖只标为浮动，固定奖金按%2和%3两种列出。";
// %1: bets that won a floating tier.
inline constexpr std::string_view ticketFloating =
    "另中一等奖、二等奖共%1注，为浮动奖金，以公布的为准。";
// %1 draws, %2 the first issue whose rules are known.
inline constexpr std::string_view ticketUnknownRules =
    "有%1期在%2期以前，本程序不知道其奖级规则，没有兑奖。";
// %1: the lines of the book that are no ticket.
inline constexpr std::string_view ticketUnreadableLines = "票据中有%1行无法读取，没有兑奖。";
// %1: the rows listed.
inline constexpr std::string_view ticketRowsCut = "结果太多，表中只列出前%1行，合计包括全部。";

} // namespace dlt::text
