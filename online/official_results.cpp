#include "online/official_results.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <thread>

#include "core/texts.h"
#include "history/library_merge.h"
#include "online/sites.h"

namespace dlt {

namespace {

using Json = nlohmann::json;

// A field's text: a string as it stands, a whole number written out; none
// for anything else (missing, null, an object).
std::optional<std::string> fieldText(const Json& object, const char* name) {
    const auto it = object.find(name);
    if (it == object.end())
        return std::nullopt;
    if (it->is_string())
        return it->get<std::string>();
    if (it->is_number_integer())
        return std::to_string(it->get<long long>());
    if (it->is_number_unsigned())
        return std::to_string(it->get<unsigned long long>());
    return std::nullopt;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// A count as published ("995", "1,234", 995); none when it is no count.
std::optional<std::int64_t> parseCount(const Json& object, const char* name) {
    const std::optional<std::string> text = fieldText(object, name);
    if (!text)
        return std::nullopt;
    std::string digits;
    for (const char c : *text)
        if (c != ',')
            digits += c;
    std::int64_t value = 0;
    if (digits.size() > 15 || !allDigits(digits) ||
        std::from_chars(digits.data(), digits.data() + digits.size(), value).ec != std::errc())
        return std::nullopt;
    return value;
}

std::optional<Fen> amountField(const Json& object, const char* name) {
    const auto it = object.find(name);
    if (it == object.end())
        return std::nullopt;
    if (it->is_number()) {
        const double yuan = it->get<double>();
        if (!std::isfinite(yuan) || yuan < 0 || yuan > 1e15)
            return std::nullopt;
        return Fen(std::llround(yuan * 100));
    }
    if (it->is_string())
        return parseYuan(it->get_ref<const std::string&>());
    return std::nullopt;
}

// The issue: five digits; a number loses its leading zero ("07001" as 7001).
std::optional<std::string> issueOf(const Json& draw) {
    std::optional<std::string> issue = fieldText(draw, "lotteryDrawNum");
    if (!issue || !allDigits(*issue) || issue->size() > kIssueDigits)
        return std::nullopt;
    const auto number = draw.find("lotteryDrawNum");
    if (issue->size() < kIssueDigits && number->is_number())
        issue->insert(0, kIssueDigits - issue->size(), '0');
    if (issue->size() != kIssueDigits)
        return std::nullopt;
    return issue;
}

// The seven numbers of a result, front then back, each zone ascending: from
// "02 05 07 14 22 04 10" or "16+02+11+08+23 02+07". None unless they make
// a sound draw.
std::optional<DrawRecord> numbersOf(std::string_view result, const std::string& issue) {
    std::vector<int> numbers;
    std::string token;
    auto flush = [&] {
        if (token.empty())
            return true;
        if (token.size() > 2)
            return false;
        numbers.push_back(std::stoi(token));
        token.clear();
        return true;
    };
    for (const char c : result) {
        if (c >= '0' && c <= '9')
            token += c;
        else if (c == ' ' || c == '+' || c == ',') {
            if (!flush())
                return std::nullopt;
        } else
            return std::nullopt;
    }
    if (!flush() || numbers.size() != std::size_t(kLotteryRules.front.picksPerDraw +
                                                  kLotteryRules.back.picksPerDraw))
        return std::nullopt;
    const auto frontEnd = numbers.begin() + kLotteryRules.front.picksPerDraw;
    std::sort(numbers.begin(), frontEnd);
    std::sort(frontEnd, numbers.end());
    DrawRecord draw{issue, {}, {}};
    for (auto it = numbers.begin(); it != numbers.end(); ++it) {
        std::string& zone = it < frontEnd ? draw.front : draw.back;
        zone += char('0' + *it / 10);
        zone += char('0' + *it % 10);
    }
    if (!isSoundDraw(draw))
        return std::nullopt;
    return draw;
}

// "YYYY-MM-DD" as it stands, or the date part of "YYYY-MM-DD hh:mm:ss".
std::optional<std::string> dateOf(const Json& draw) {
    std::optional<std::string> date = fieldText(draw, "lotteryDrawTime");
    if (!date || date->size() < 10)
        return std::nullopt;
    date->resize(10);
    for (std::size_t i = 0; i < date->size(); ++i)
        if ((i == 4 || i == 7) ? (*date)[i] != '-' : ((*date)[i] < '0' || (*date)[i] > '9'))
            return std::nullopt;
    return date;
}

// The tier of "一等奖" .. "九等奖", with its add-on row "一等奖(追加)"; tier 0
// for any other name.
TierPayout tierOf(std::string_view name) {
    static constexpr std::string_view kNumerals[] = {"一", "二", "三", "四", "五",
                                                     "六", "七", "八", "九"};
    TierPayout payout;
    for (const std::string_view addOn : {"(追加)", "（追加）"})
        if (name.ends_with(addOn)) {
            payout.addOn = true;
            name.remove_suffix(addOn.size());
        }
    if (!name.ends_with("等奖"))
        return payout;
    name.remove_suffix(std::string_view("等奖").size());
    for (std::size_t k = 0; k < std::size(kNumerals); ++k)
        if (name == kNumerals[k])
            payout.tier = int(k) + 1;
    return payout;
}

// A tier row, or none when it does not read.
std::optional<TierPayout> tierRow(const Json& row) {
    if (!row.is_object())
        return std::nullopt;
    const std::optional<std::string> name = fieldText(row, "prizeLevel");
    if (!name)
        return std::nullopt;
    TierPayout payout = tierOf(*name);
    const std::optional<std::int64_t> winners = parseCount(row, "stakeCount");
    if (payout.tier == 0 || !winners)
        return std::nullopt;
    payout.winners = *winners;
    // "---", "-1" (2026) or "0" (2020) in either amount: nobody won the tier.
    const auto nobody = [&](const char* field) {
        const std::optional<std::string> text = fieldText(row, field);
        return text && (*text == "---" || *text == "-1" || *text == "0");
    };
    const bool noWinner = nobody("stakeAmount") || nobody("stakeAmountFormat");
    std::optional<Fen> prize = amountField(row, "stakeAmount");
    if (!prize)
        prize = amountField(row, "stakeAmountFormat");
    if (noWinner || (prize && *prize == 0))
        prize.reset();
    else if (!prize)
        return std::nullopt;
    payout.prizePerBet = prize;
    return payout;
}

// One entry of the list: the draw with its details, or the reason it is left out.
std::optional<OfficialDraw> readDraw(const Json& entry, OfficialSkips& skipped) {
    if (!entry.is_object()) {
        ++skipped.noIssue;
        return std::nullopt;
    }
    const std::optional<std::string> issue = issueOf(entry);
    if (!issue) {
        ++skipped.noIssue;
        return std::nullopt;
    }
    // The sorted result; else the result in the order drawn, in either form.
    // When both are given they must agree.
    std::optional<DrawRecord> sorted, drawn;
    if (const auto text = fieldText(entry, "lotteryDrawResult"))
        sorted = numbersOf(*text, *issue);
    if (const auto text = fieldText(entry, "lotteryUnsortDrawresult"))
        drawn = numbersOf(*text, *issue);
    if ((!sorted && !drawn) || (sorted && drawn && *sorted != *drawn)) {
        ++skipped.badNumbers;
        return std::nullopt;
    }
    OfficialDraw draw{sorted ? *sorted : *drawn, {}};
    DrawDetails& details = draw.details;
    details.issue = *issue;
    if (const auto date = dateOf(entry))
        details.date = *date;
    else
        ++skipped.badDetails;
    const auto amount = [&](const char* name, std::optional<Fen>& into) {
        into = amountField(entry, name);
        if (!into)
            ++skipped.badDetails;
    };
    amount("poolBalance", details.poolBefore);
    amount("poolBalanceAfterdraw", details.poolAfter);
    amount("totalSaleAmount", details.sales);
    if (const auto rows = entry.find("prizeLevelList"); rows != entry.end() && rows->is_array()) {
        for (const Json& row : *rows) {
            if (const auto tier = tierRow(row))
                details.tiers.push_back(*tier);
            else
                ++skipped.badDetails;
        }
    } else {
        ++skipped.badDetails;
    }
    return draw;
}

// A refusal is waited out: the statuses of rate limiting and refusal.
bool refusalStatus(int status) {
    return status == 403 || status == 429 || status == 567;
}

// Sleeps in short steps, yielding, until the time is up or the flag raised.
void waitFor(std::chrono::milliseconds span, const CancelFlag& cancel, const YieldHook& yield) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (!cancel.cancelled() && std::chrono::steady_clock::now() < end) {
        yieldIfSet(yield);
        const auto left = end - std::chrono::steady_clock::now();
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(20)));
    }
}

} // namespace

OfficialSkips& OfficialSkips::operator+=(const OfficialSkips& other) {
    noIssue += other.noIssue;
    badNumbers += other.badNumbers;
    badDetails += other.badDetails;
    return *this;
}

std::optional<Fen> parseYuan(std::string_view text) {
    // Whole yuan with optional thousands commas, then up to two decimals.
    std::string whole;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != '.'; ++i) {
        if (text[i] == ',')
            continue;
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        whole += text[i];
    }
    if (whole.empty() || whole.size() > 13)
        return std::nullopt;
    Fen fen = std::stoll(whole) * 100;
    if (i < text.size()) {
        const std::string_view decimals = text.substr(i + 1);
        if (decimals.size() > 2 || (!decimals.empty() && !allDigits(decimals)))
            return std::nullopt;
        if (!decimals.empty())
            fen += std::stoll(std::string(decimals)) * (decimals.size() == 1 ? 10 : 1);
    }
    return fen;
}

OfficialPage parseOfficialPage(std::string_view body) {
    OfficialPage page;
    const Json answer = Json::parse(body.begin(), body.end(), nullptr, false);
    if (answer.is_discarded() || !answer.is_object())
        return page; // NotService
    const auto success = answer.find("success");
    const std::optional<std::string> errorCode = fieldText(answer, "errorCode");
    if ((success != answer.end() && success->is_boolean() && !success->get<bool>()) ||
        (errorCode && *errorCode != "0")) {
        page.kind = PageKind::ServiceError;
        page.serviceMessage = fieldText(answer, "errorMessage").value_or("");
        return page;
    }
    const auto value = answer.find("value");
    if (value == answer.end() || !value->is_object())
        return page;
    const auto list = value->find("list");
    if (list == value->end() || !list->is_array())
        return page;
    page.kind = PageKind::Draws;
    page.listed = int(list->size());
    for (const Json& entry : *list)
        if (std::optional<OfficialDraw> draw = readDraw(entry, page.skipped))
            page.draws.push_back(std::move(*draw));
    return page;
}

std::vector<std::string> officialRequestHeaders() {
    return {"Referer: https://static.sporttery.cn/"};
}

OfficialReading readOfficialDraws(HttpGetter& http, const std::string& officialSite,
                                  std::string_view stopIssue, const OfficialReadOptions& options,
                                  const ProgressHook& progress, const CancelFlag& cancel,
                                  const YieldHook& yield) {
    OfficialReading reading;
    const auto show = [&](const std::string& line) {
        if (progress)
            progress(line);
        yieldIfSet(yield);
    };
    const auto fail = [&](OfficialOutcome outcome, OfficialTrouble trouble) {
        reading.outcome = outcome;
        reading.trouble = std::move(trouble);
        reading.draws.clear();
        return reading;
    };
    // No answer lists more than this many pages of draws: a service that
    // pages on for ever is not believed.
    constexpr int kMaxPages = 200;
    std::set<std::string> seen;
    for (int pageNo = 1; pageNo <= kMaxPages; ++pageNo) {
        if (pageNo > 1)
            waitFor(options.pause, cancel, yield);
        OfficialPage page;
        for (std::size_t attempt = 0;; ++attempt) {
            if (cancel.cancelled())
                return fail(OfficialOutcome::Cancelled, {});
            show(fill(text::officialReadingPage,
                      {std::to_string(pageNo), std::to_string(reading.draws.size())}));
            const HttpResponse response = http.fetch(
                {officialPageUrl(officialSite, pageNo, options.pageSize), officialRequestHeaders()},
                cancel);
            if (cancel.cancelled())
                return fail(OfficialOutcome::Cancelled, {});
            OfficialTrouble trouble{response.failure, response.status, false, {}};
            if (response.ok()) {
                page = parseOfficialPage(response.body);
                if (page.kind == PageKind::ServiceError)
                    return fail(OfficialOutcome::ServiceError,
                                {HttpFailure::None, response.status, false, page.serviceMessage});
                if (page.kind == PageKind::Draws)
                    break;
                trouble.notService = true;
            } else if (response.failure != HttpFailure::Status || !refusalStatus(response.status)) {
                return fail(OfficialOutcome::Nothing, trouble);
            }
            if (attempt >= options.refusalWaits.size())
                return fail(OfficialOutcome::Refused, trouble);
            // Refused: wait, counting the seconds down, and ask again.
            const auto wait = options.refusalWaits[attempt];
            const auto end = std::chrono::steady_clock::now() + wait;
            while (!cancel.cancelled() && std::chrono::steady_clock::now() < end) {
                const auto left =
                    std::chrono::ceil<std::chrono::seconds>(end - std::chrono::steady_clock::now());
                show(
                    fill(text::officialWaiting, {troubleText(trouble), std::to_string(left.count()),
                                                 std::to_string(attempt + 1),
                                                 std::to_string(options.refusalWaits.size())}));
                waitFor(std::min<std::chrono::milliseconds>(
                            std::chrono::milliseconds(250),
                            std::chrono::duration_cast<std::chrono::milliseconds>(
                                end - std::chrono::steady_clock::now())),
                        cancel, yield);
            }
        }
        ++reading.pagesRead;
        reading.skipped += page.skipped;
        bool reachedStop = false, anyNew = false;
        for (OfficialDraw& draw : page.draws) {
            if (draw.draw.issue <= stopIssue)
                reachedStop = true;
            if (!seen.insert(draw.draw.issue).second) {
                ++reading.repeats;
                continue;
            }
            anyNew = true;
            reading.draws.push_back(std::move(draw));
        }
        // An empty list ends the paging; so does a page of nothing but
        // draws already read (a service that repeats its last page).
        if (reachedStop || page.listed == 0 || !anyNew)
            break;
    }
    // Newest first, whatever order the pages came in.
    std::ranges::stable_sort(reading.draws, [](const OfficialDraw& a, const OfficialDraw& b) {
        return a.draw.issue > b.draw.issue;
    });
    reading.outcome = reading.draws.empty() ? OfficialOutcome::Nothing : OfficialOutcome::Read;
    return reading;
}

std::string troubleText(const OfficialTrouble& trouble) {
    if (!trouble.serviceMessage.empty())
        return fill(text::troubleServiceSaid, {trouble.serviceMessage});
    if (trouble.notService)
        return std::string(text::troubleNotService);
    switch (trouble.failure) {
    case HttpFailure::NoConnection:
        return std::string(text::troubleNoConnection);
    case HttpFailure::TimedOut:
        return std::string(text::troubleTimedOut);
    case HttpFailure::TooLarge:
        return std::string(text::troubleTooLarge);
    case HttpFailure::Status: {
        const std::string_view pattern = trouble.status == 403   ? text::troubleForbidden
                                         : trouble.status == 429 ? text::troubleTooMany
                                         : trouble.status == 567 ? text::troubleLimited
                                                                 : text::troubleStatus;
        return fill(pattern, {std::to_string(trouble.status)});
    }
    case HttpFailure::None:
        return std::string(text::troubleNoDraws);
    case HttpFailure::Cancelled:
    case HttpFailure::Broken:
        break;
    }
    return std::string(text::troubleBroken);
}

} // namespace dlt
