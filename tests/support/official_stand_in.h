// A stand-in of the lottery's official results service on 127.0.0.1: pages
// of the service's JSON shape built from given draws, newest first, with
// made-up money, and any page's answer replaceable by a test (a refusal, an
// HTML page, a cut answer, a stall).
#pragma once

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/draw_record.h"
#include "tests/support/local_server.h"

namespace standin {

using Json = nlohmann::json;

// "1234567" as "1,234,567".
inline std::string withCommas(long long value) {
    std::string digits = std::to_string(value), text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

// "01 02 03 04 05 06 07"
inline std::string spaced(const dlt::DrawRecord& draw) {
    const std::string digits = draw.front + draw.back;
    std::string text;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        if (i > 0)
            text += ' ';
        text.append(digits, i, 2);
    }
    return text;
}

// The draw dates of data/draws.txt by issue.
inline const std::map<std::string, std::string>& realDates() {
    static const std::map<std::string, std::string> dates = [] {
        std::map<std::string, std::string> read;
        if (FILE* file = std::fopen(DLT_DRAWS_FILE, "r")) {
            char issue[16], date[16];
            char rest[128];
            while (std::fscanf(file, "%15s %15s %127[^\n]", issue, date, rest) == 3)
                read[issue] = date;
            std::fclose(file);
        }
        return read;
    }();
    return dates;
}

// The pool before a draw, in fen, made up from its issue.
inline long long poolFen(const dlt::DrawRecord& draw) {
    return 70'000'000'000LL + std::stoll(draw.issue) * 12'345'67LL + 74;
}

// One draw as the service lists it: the sorted and the drawn result, the
// pools and sales with commas, and the seven tiers with their add-on rows;
// nobody won 一等奖's add-on ("---", "-1").
inline Json drawEntry(const dlt::DrawRecord& draw) {
    const long long pool = poolFen(draw);
    const auto yuan = [](long long fen) {
        char cents[8];
        std::snprintf(cents, sizeof cents, ".%02lld", fen % 100);
        return withCommas(fen / 100) + cents;
    };
    // The order drawn: each zone reversed.
    std::string drawn;
    for (std::size_t i = draw.front.size(); i >= 2; i -= 2)
        drawn.append(draw.front, i - 2, 2).append(" ");
    drawn.append(draw.back, 2, 2).append(" ").append(draw.back, 0, 2);
    const auto dates = realDates().find(draw.issue);
    Json tiers = Json::array();
    const auto tier = [&](const char* name, long long winners, long long prize) {
        tiers.push_back({{"prizeLevel", name},
                         {"stakeCount", withCommas(winners)},
                         {"stakeAmount", prize > 0 ? withCommas(prize) : "---"},
                         {"stakeAmountFormat", prize > 0 ? std::to_string(prize) : "-1"},
                         {"totalPrizeamount", withCommas(winners * std::max(prize, 0LL))},
                         {"group", std::to_string(101 + tiers.size() * 100)},
                         {"sort", 101 + tiers.size() * 100},
                         {"awardType", 0},
                         {"lotteryCondition", ""}});
    };
    tier("一等奖", 2, 9'876'543);
    tier("一等奖(追加)", 0, -1);
    tier("二等奖", 61, 123'456);
    tier("二等奖(追加)", 15, 98'765);
    tier("三等奖", 1'234, 6'666);
    tier("四等奖", 5'432, 380);
    tier("五等奖", 98'765, 200);
    tier("六等奖", 1'234'567, 18);
    tier("七等奖", 12'345'678, 7);
    return {{"lotteryDrawNum", draw.issue},
            {"lotteryDrawTime", dates == realDates().end() ? "2026-01-01" : dates->second},
            {"lotteryDrawResult", spaced(draw)},
            {"lotteryUnsortDrawresult", drawn},
            {"poolBalance", yuan(pool)},
            {"poolBalanceAfterdraw", yuan(pool + 4'321'00)},
            {"totalSaleAmount", withCommas(300'000'000 + std::stoll(draw.issue))},
            {"lotteryGameName", "超级大乐透"},
            {"lotteryGameNum", "85"},
            {"drawPdfUrl", ""},
            {"prizeLevelList", tiers}};
}

// The service's answer around a list.
inline Json answer(Json list, int pageNo, int pageSize, int total) {
    return {{"dataFrom", ""},
            {"emptyFlag", list.empty()},
            {"errorCode", "0"},
            {"errorMessage", "处理成功"},
            {"success", true},
            {"value",
             {{"list", std::move(list)},
              {"pageNo", pageNo},
              {"pageSize", pageSize},
              {"pages", pageSize > 0 ? (total + pageSize - 1) / pageSize : 0},
              {"total", total}}}};
}

} // namespace standin

class OfficialStandIn {
public:
    struct Reply {
        int status = 200;
        std::string body;
        std::string type = "application/json;charset=UTF-8";
    };
    // A page's answer in place of the service's own (none: the service's).
    // attempt counts the requests for that page, from 0.
    using Script = std::function<std::optional<Reply>(int pageNo, int attempt)>;

    explicit OfficialStandIn(std::vector<dlt::DrawRecord> newestFirst = {})
        : draws_(std::move(newestFirst)) {
        local_.server().Get("/gateway/lottery/getHistoryPageListV1.qry",
                            [this](const httplib::Request& request, httplib::Response& response) {
                                serve(request, response);
                            });
        local_.start();
    }

    std::string address() const { return local_.address(); }

    // Set before a sync starts (the server's thread reads them).
    void setDraws(std::vector<dlt::DrawRecord> newestFirst) { draws_ = std::move(newestFirst); }
    void setScript(Script script) { script_ = std::move(script); }
    // An entry replaced or changed before it is served, by issue.
    void editEntry(const std::string& issue, std::function<void(standin::Json&)> edit) {
        edits_[issue] = std::move(edit);
    }

    int requests() const { return requests_.load(); }
    httplib::Headers firstHeaders() const {
        std::lock_guard lock(mutex_);
        return firstHeaders_;
    }
    std::vector<int> pagesAsked() const {
        std::lock_guard lock(mutex_);
        return pagesAsked_;
    }
    httplib::Server& server() { return local_.server(); }

private:
    void serve(const httplib::Request& request, httplib::Response& response) {
        const int pageNo = std::stoi(request.get_param_value("pageNo"));
        const int pageSize = std::stoi(request.get_param_value("pageSize"));
        int attempt = 0;
        {
            std::lock_guard lock(mutex_);
            if (requests_ == 0)
                firstHeaders_ = request.headers;
            pagesAsked_.push_back(pageNo);
            attempt = attempts_[pageNo]++;
        }
        ++requests_;
        if (script_)
            if (const std::optional<Reply> reply = script_(pageNo, attempt)) {
                response.status = reply->status;
                response.set_content(reply->body, reply->type);
                return;
            }
        standin::Json list = standin::Json::array();
        for (std::size_t i = std::size_t(pageNo - 1) * pageSize;
             i < draws_.size() && i < std::size_t(pageNo) * pageSize; ++i) {
            standin::Json entry = standin::drawEntry(draws_[i]);
            if (const auto edit = edits_.find(draws_[i].issue); edit != edits_.end())
                edit->second(entry);
            list.push_back(std::move(entry));
        }
        response.set_content(
            standin::answer(std::move(list), pageNo, pageSize, int(draws_.size())).dump(),
            "application/json;charset=UTF-8");
    }

    std::vector<dlt::DrawRecord> draws_;
    Script script_;
    std::map<std::string, std::function<void(standin::Json&)>> edits_;
    mutable std::mutex mutex_;
    httplib::Headers firstHeaders_;
    std::vector<int> pagesAsked_;
    std::map<int, int> attempts_;
    std::atomic<int> requests_{0};
    LocalServer local_;
};
