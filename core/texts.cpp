#include "core/texts.h"

namespace dlt {

std::string fill(std::string_view text, std::initializer_list<FillValue> values) {
    std::string out;
    out.reserve(text.size() + 16 * values.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '%' && at + 1 < text.size() && text[at + 1] >= '1' && text[at + 1] <= '9') {
            const auto place = static_cast<std::size_t>(text[at + 1] - '1');
            if (place < values.size()) {
                out += (values.begin() + place)->text();
                ++at;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace dlt
