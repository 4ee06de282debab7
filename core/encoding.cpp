#include "core/encoding.h"

#include <cerrno>
#include <iconv.h>

namespace dlt {

namespace {

// GB18030 is the superset of GBK that iconv knows everywhere; every GBK
// byte string reads the same under it. Writing goes to GBK itself, so that
// a character GBK cannot hold becomes '?' rather than a four-byte GB18030
// sequence that GBK readers do not know.
constexpr const char* kGb18030 = "GB18030";
constexpr const char* kGbk = "GBK";

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as it can into out; leaves in at the first byte
    // it cannot convert. Returns false on anything but a clean end.
    bool convert(std::string_view& in, std::string& out) {
        char* source = const_cast<char*>(in.data());
        std::size_t left = in.size();
        char buffer[4096];
        bool clean = true;
        while (left > 0) {
            char* target = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t result = iconv(handle_, &source, &left, &target, &room);
            out.append(buffer, std::size_t(target - buffer));
            if (result == std::size_t(-1) && errno != E2BIG) {
                clean = false;
                break;
            }
        }
        in.remove_prefix(in.size() - left);
        return clean;
    }

private:
    iconv_t handle_;
};

// The bytes of the UTF-8 character that starts the text (1 for a stray byte).
std::size_t utf8CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (std::size_t i = 1; i < length; ++i)
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

// Converts, replacing each unit that cannot be converted by the replacement:
// a byte, or a whole character when converting from UTF-8.
std::string convertLeniently(std::string_view in, const char* to, const char* from,
                             std::string_view replacement) {
    const bool fromUtf8 = std::string_view(from) == "UTF-8";
    Converter converter(to, from);
    std::string out;
    if (!converter.valid())
        return out;
    out.reserve(in.size() * 3 / 2);
    while (!converter.convert(in, out)) {
        out.append(replacement);
        if (in.empty())
            break;
        in.remove_prefix(fromUtf8 ? utf8CharacterLength(in) : 1);
    }
    return out;
}

} // namespace

std::optional<std::string> decodeStrictly(std::string_view bytes, const char* encoding) {
    Converter converter("UTF-8", encoding);
    std::string out;
    if (!converter.valid() || !converter.convert(bytes, out))
        return std::nullopt;
    return out;
}

std::string gbkToUtf8(std::string_view gbk) {
    return convertLeniently(gbk, "UTF-8", kGb18030, "\xEF\xBF\xBD");
}

std::string utf8ToGbk(std::string_view utf8) {
    return convertLeniently(utf8, kGbk, "UTF-8", "?");
}

std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace dlt
