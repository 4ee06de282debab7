#include "online/library_sync.h"

#include <algorithm>

#include "core/texts.h"
#include "history/library_merge.h"
#include "online/past_draws.h"
#include "online/text_search.h"

namespace dlt {

SyncResult syncLatestDraws(const HistoryStore& store, HttpGetter& http,
                           const std::string& drawFileUrl, const std::string& resultsPageUrl,
                           MessageBoxPort& messages, const CancelFlag& cancel,
                           const YieldHook& yield) {
    const std::vector<DrawRecord> newestFirst = store.drawsNewestFirst();
    const std::vector<DrawRecord> library(newestFirst.rbegin(), newestFirst.rend());

    std::vector<DrawRecord> fetched = parseDrawFile(bodyText(http.get(drawFileUrl, cancel)), yield);
    std::string latest = fetched.empty() ? std::string() : fetched.front().issue;
    if (latest.empty() && !library.empty())
        latest = std::max_element(
                     library.begin(), library.end(),
                     [](const DrawRecord& a, const DrawRecord& b) { return a.issue < b.issue; })
                     ->issue;
    std::vector<DrawRecord> page =
        parseResultsPage(bodyText(http.get(resultsPageUrl, cancel)), latest, yield);
    fetched.insert(fetched.begin(), page.begin(), page.end());
    if (cancel.cancelled())
        return {SyncOutcome::Cancelled};

    auto tell = [&](std::string_view message, std::string_view caption, MessageIcon icon) {
        messages.showMessage(std::string(message), std::string(caption), icon, MessageButtons::Ok);
    };
    if (fetched.empty()) {
        tell(text::syncUnreachable, text::refusedCaption, MessageIcon::Stop);
        return {SyncOutcome::Unreachable};
    }
    const std::vector<DrawRecord> added = drawsNewerThanLibrary(library, std::move(fetched));
    if (added.empty()) {
        tell(text::syncUpToDate, text::syncCaption, MessageIcon::Information);
        return {SyncOutcome::UpToDate};
    }
    if (!store.appendDraws(added)) {
        tell(text::fetchNotWritten, text::refusedCaption, MessageIcon::Stop);
        return {SyncOutcome::NotWritten};
    }
    tell(fill(text::syncDone, {added.size(), added.back().issue}), text::successCaption,
         MessageIcon::Information);
    return {SyncOutcome::Added, static_cast<int>(added.size())};
}

} // namespace dlt
