#include "engine/engine.h"
// (being written)
namespace dlt {
ZoneOutcome computeZone(const ZoneRules& rules, const ZoneText&, ResultSink&, const YieldHook&) {
    return InsufficientHistory{rules.minimumDraws()};
}
} // namespace dlt
