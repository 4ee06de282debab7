#include "core/encoding.h"

#include <cerrno>
#include <iconv.h>

namespace dlt {

namespace {

// GB18030 is the superset of GBK that iconv knows everywhere; every GBK
// byte string reads the same under it.
constexpr const char* kGbk = "GB18030";

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

// Converts, replacing each byte that cannot be converted by the replacement.
std::string convertLeniently(std::string_view in, const char* to, const char* from,
                             std::string_view replacement) {
    Converter converter(to, from);
    std::string out;
    if (!converter.valid())
        return out;
    out.reserve(in.size() * 3 / 2);
    while (!converter.convert(in, out)) {
        out.append(replacement);
        if (in.empty())
            break;
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

std::string gbkToUtf8(std::string_view gbk) {
    return convertLeniently(gbk, "UTF-8", kGbk, "\xEF\xBF\xBD");
}

std::string utf8ToGbk(std::string_view utf8) {
    return convertLeniently(utf8, kGbk, "UTF-8", "?");
}

} // namespace dlt
