#include "online/update_check.h"

#include <charconv>

#include "core/encoding.h"
#include "core/texts.h"
#include "online/text_search.h"

namespace dlt {

namespace {

constexpr int kVersionBytes = 3;

bool isPlainAddress(std::string_view address) {
    if (findForward(address, "http://", 1, true) != 1 &&
        findForward(address, "https://", 1, true) != 1)
        return false;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

// The number a decimal prefix gives: white space skipped, an optional sign,
// digits and a fraction; 0 without one. Independent of the locale.
float decimalPrefix(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\r\n\v\f");
    if (i == std::string_view::npos)
        return 0.0f;
    float sign = 1.0f;
    if (text[i] == '+' || text[i] == '-') {
        sign = text[i] == '-' ? -1.0f : 1.0f;
        ++i;
    }
    float value = 0.0f;
    const char* first = text.data() + i;
    const std::from_chars_result read =
        std::from_chars(first, text.data() + text.size(), value, std::chars_format::fixed);
    return read.ec == std::errc() ? sign * value : 0.0f;
}

} // namespace

float announcedVersion(std::string_view versionText, std::string_view productName) {
    const std::string marker = utf8ToGbk(productName) + "v";
    const int at = findForward(versionText, marker, 1, true);
    if (at < 0)
        return 0.0f;
    return decimalPrefix(middleText(versionText, at + int(marker.size()), kVersionBytes));
}

std::string downloadAddress(std::string_view versionText) {
    const int at = findBackward(versionText, "http://", 0, true);
    if (at < 0)
        return {};
    // A version file that ends with a line break still ends with its address.
    std::string address(versionText.substr(std::size_t(at - 1)));
    address.erase(address.find_last_not_of(" \t\r\n") + 1);
    return isPlainAddress(address) ? address : std::string();
}

UpdateCheck::UpdateCheck(const ProcessState& state, SiteAddresses sites, MessageBoxPort& messages,
                         UrlOpener& opener)
    : state_(state), sites_(std::move(sites)), messages_(messages), opener_(opener) {}

void UpdateCheck::download(HttpGetter& http, const CancelFlag& cancel) {
    keep(std::string(bodyText(http.get(versionFileUrl(sites_, state_), cancel))));
}

void UpdateCheck::keep(std::string versionText) {
    versionText_ = std::move(versionText);
}

void UpdateCheck::checkSilently() {
    check(false);
}

void UpdateCheck::checkForUpdatesManually() {
    check(true);
}

void UpdateCheck::check(bool manual) {
    if (announcedVersion(versionText_, state_.productName) > state_.productVersion) {
        const MessageAnswer answer =
            messages_.showMessage(fill(text::newVersionQuestion, {gbkToUtf8(versionText_)}),
                                  std::string(text::newVersionCaption), MessageIcon::Information,
                                  MessageButtons::YesNoDefaultYes);
        if (answer != MessageAnswer::Yes)
            return;
        if (const std::string address = downloadAddress(versionText_); !address.empty())
            opener_.openUrl(address);
        opener_.openUrl(makerHomeUrl(sites_));
        return;
    }
    if (manual) {
        messages_.showMessage(fill(text::upToDate, {introTitle(state_)}),
                              std::string(text::upToDateCaption), MessageIcon::Information,
                              MessageButtons::Ok);
    }
}

} // namespace dlt
