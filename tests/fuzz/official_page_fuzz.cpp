// Answers of the official results service of any bytes: whatever the page
// holds, every draw read is a sound draw of the game, and no amount is
// negative.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "history/library_merge.h"
#include "online/official_results.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const dlt::OfficialPage page = dlt::parseOfficialPage(text);
    if (page.kind != dlt::PageKind::Draws && !page.draws.empty())
        std::abort();
    for (const dlt::OfficialDraw& draw : page.draws) {
        if (!dlt::isSoundDraw(draw.draw) || draw.details.issue != draw.draw.issue)
            std::abort();
        for (const auto& amount :
             {draw.details.poolBefore, draw.details.poolAfter, draw.details.sales})
            if (amount && *amount < 0)
                std::abort();
        for (const dlt::TierPayout& tier : draw.details.tiers)
            if (tier.tier < 1 || tier.tier > 9 || tier.winners < 0 ||
                (tier.prizePerBet && *tier.prizePerBet <= 0))
                std::abort();
    }
    return 0;
}
