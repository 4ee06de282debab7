#include "engine/rules.h"

namespace dlt {

std::int32_t zoneDrawCount(const ZoneRules& rules, std::string_view zoneText) {
    return static_cast<std::int32_t>(zoneText.size() / static_cast<std::size_t>(rules.digitsPerDraw()));
}

bool hasEnoughHistory(const ZoneRules& rules, std::string_view zoneText) {
    return zoneDrawCount(rules, zoneText) >= rules.minimumDraws();
}

} // namespace dlt
