// Downloaded texts of any bytes through the fetch parsers and the version
// check: the maker's draw file, the results page (against the newest issue
// the draw file gave, or the first five bytes) and the version text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "online/past_draws.h"
#include "online/update_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const auto fileDraws = dlt::parseDrawFile(text);
    if (fileDraws.size() > std::size_t(dlt::kDrawFileEntries))
        std::abort();
    const std::string_view latest =
        fileDraws.empty() ? text.substr(0, 5) : std::string_view(fileDraws.front().issue);
    dlt::parseResultsPage(text, latest);

    dlt::announcedVersion(text, "\xBA\xCC\xB3\xCE");
    const std::string address = dlt::downloadAddress(text);
    for (const char c : address)
        if (static_cast<unsigned char>(c) <= ' ')
            std::abort(); // an address is never handed on with blanks or controls
    return 0;
}
