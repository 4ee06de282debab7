#include "history/summary_text.h"

#include "core/process_state.h"
#include "core/texts.h"
#include "history/draw_text.h"

namespace dlt {

SummaryLines summaryLines(int count, std::string_view issue, std::string_view front,
                          std::string_view back, const YieldHook& yield) {
    SummaryLines lines;
    lines.count = fill(text::summaryCount, {numberText(double(count)), issue});
    lines.numbers = formatNumberGroups(front, yield) + "  " + formatNumberGroups(back, yield);
    return lines;
}

} // namespace dlt
