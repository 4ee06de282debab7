// The lottery's official results service: every draw with what it paid, as
// JSON pages of at most 100 draws, newest first. Read slowly and politely,
// as the service's own clients read it; every field of its answer is
// optional, and one that does not read leaves out that draw or that detail
// alone.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw_details.h"
#include "core/draw_record.h"
#include "core/ports.h"

namespace dlt {

// One draw as the service publishes it.
struct OfficialDraw {
    DrawRecord draw;     // the numbers ascending in each zone
    DrawDetails details; // a detail that did not read is left empty
};

// What a page left out, by reason.
struct OfficialSkips {
    int noIssue = 0;    // a draw without a five-digit issue
    int badNumbers = 0; // a draw whose numbers are no draw of the game
    int badDetails = 0; // a date, an amount or a tier row that did not read
    int draws() const { return noIssue + badNumbers; }
    OfficialSkips& operator+=(const OfficialSkips& other);
};

enum class PageKind {
    Draws,        // the service's answer with its list (perhaps empty)
    NotService,   // not the service's JSON: a refusal page, a cut answer
    ServiceError, // success false, or an errorCode other than "0"
};

struct OfficialPage {
    PageKind kind = PageKind::NotService;
    std::vector<OfficialDraw> draws; // in page order
    int listed = 0;                  // entries of the list, read or left out
    OfficialSkips skipped;
    std::string serviceMessage; // errorMessage of a ServiceError
};

// Reads one answer of the service. Never throws; time in proportion to the
// answer.
OfficialPage parseOfficialPage(std::string_view body);

// A sum of money as published ("826,970,066.74", "6666", 5000) in fen; none
// when it is no amount.
std::optional<Fen> parseYuan(std::string_view text);

// How the service is read. The pause and the waits are shortened by tests.
struct OfficialReadOptions {
    int pageSize = 100;                    // the service caps its pages at 100 draws
    std::chrono::milliseconds pause{1000}; // between two pages
    // The waits after each refusal; after the last one the reading gives up.
    std::vector<std::chrono::milliseconds> refusalWaits{
        std::chrono::seconds(5), std::chrono::seconds(10), std::chrono::seconds(15)};
};

// The request's own headers: the Referer of the lottery's site.
std::vector<std::string> officialRequestHeaders();

enum class OfficialOutcome {
    Read,         // at least one draw was read
    Nothing,      // the service gave no draw: unreachable, silent or empty
    Refused,      // refused after every wait
    ServiceError, // the service said it has no data
    Cancelled,    // given up through the cancel flag
};

// Why the service gave nothing, refused or failed.
struct OfficialTrouble {
    HttpFailure failure = HttpFailure::None;
    int status = 0;
    bool notService = false;    // a 200 answer that was not the service's JSON
    std::string serviceMessage; // what the service said
};

struct OfficialReading {
    OfficialOutcome outcome = OfficialOutcome::Nothing;
    std::vector<OfficialDraw> draws; // newest first, each issue once
    OfficialSkips skipped;
    int repeats = 0; // draws given again for an issue already read: left out
    int pagesRead = 0;
    OfficialTrouble trouble; // for Nothing, Refused and ServiceError
};

// A line of progress for the window.
using ProgressHook = std::function<void(const std::string&)>;

// Reads the service's pages from the newest until a page holds a draw at or
// below stopIssue (that page is read whole), the list ends or the service's
// pages end. A refusal (403, 429, 567, or a 200 answer that is not the
// service's JSON) is waited out as the options say, the wait shown through
// progress, and after the last wait the reading is Refused. A page that
// fails otherwise (no connection, no answer in time, another status, too
// large) ends it with Nothing. Either way nothing read before counts, so
// that no partial run of draws is taken for the whole. Once the cancel flag
// is raised it ends at once with Cancelled.
OfficialReading readOfficialDraws(HttpGetter& http, const std::string& officialSite,
                                  std::string_view stopIssue, const OfficialReadOptions& options,
                                  const ProgressHook& progress, const CancelFlag& cancel,
                                  const YieldHook& yield = {});

// The trouble in plain words for a message: "请求过于频繁，HTTP 429".
std::string troubleText(const OfficialTrouble& trouble);

} // namespace dlt
