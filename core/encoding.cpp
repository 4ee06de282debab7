#include "core/encoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace dlt {

namespace {

// GB18030 is the superset of GBK that iconv knows everywhere; every GBK
// byte string reads the same under it. Writing goes to GBK itself: GB18030
// would spell a character GBK lacks in four bytes that GBK readers garble.
constexpr const char* kGbk = "GB18030";
constexpr const char* kGbkOnly = "GBK";

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

// Converts, replacing each unit that cannot be converted by the replacement.
std::string convertLeniently(std::string_view in, const char* to, const char* from,
                             std::string_view replacement) {
    const std::string_view source(from);
    const std::size_t unit = source.starts_with("UTF-16") ? 2 : 1;
    Converter converter(to, from);
    std::string out;
    if (!converter.valid())
        return out;
    out.reserve(in.size() * 3 / 2);
    while (!converter.convert(in, out)) {
        out.append(replacement);
        if (in.empty())
            break;
        in.remove_prefix(std::min(unit, in.size()));
        // A UTF-8 character that cannot be converted is replaced once.
        while (source == "UTF-8" && !in.empty() &&
               (static_cast<unsigned char>(in[0]) & 0xC0) == 0x80)
            in.remove_prefix(1);
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

std::string decodeLeniently(std::string_view bytes, const char* encoding) {
    return convertLeniently(bytes, "UTF-8", encoding, "\xEF\xBF\xBD");
}

std::string gbkToUtf8(std::string_view gbk) {
    return decodeLeniently(gbk, kGbk);
}

std::string utf8ToGbk(std::string_view utf8) {
    return convertLeniently(utf8, kGbkOnly, "UTF-8", "?");
}

} // namespace dlt
