#include "history/draw_text.h"

#include "core/texts.h"

namespace dlt {

std::string formatNumberGroups(std::string_view digits, const YieldHook& yield) {
    std::string shown;
    const std::size_t groups = digits.size() / 2;
    shown.reserve(groups * 3);
    for (std::size_t i = 0; i < groups; ++i) {
        if (i > 0)
            shown += ' ';
        shown.append(digits.substr(2 * i, 2));
        yieldIfSet(yield);
    }
    return shown;
}

std::string historyListLine(std::string_view issue, std::string_view front, std::string_view back,
                            const YieldHook& yield) {
    const std::string frontGroups = formatNumberGroups(front, yield);
    return fill(text::historyListLine, {issue, frontGroups, formatNumberGroups(back, yield)});
}

} // namespace dlt
