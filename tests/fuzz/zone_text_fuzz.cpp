// Column texts of any bytes through computeZone, for both zones.
#include <cstdint>
#include <string>

#include "engine/engine.h"

namespace {
class NullSink : public dlt::ResultSink {
public:
    void showGroups(dlt::Zone, dlt::ResultLevel, const dlt::GroupSet&) override {}
    void showNextDrawPicks(dlt::Zone, const std::vector<int>&) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const dlt::ZoneText text(reinterpret_cast<const char*>(data), size);
    NullSink sink;
    dlt::computeZone(dlt::kLotteryRules.front, text, sink);
    dlt::computeZone(dlt::kLotteryRules.back, text, sink);
    return 0;
}
