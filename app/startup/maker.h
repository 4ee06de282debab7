// The maker of the program as the windows name it: its name, site and
// contacts. Everything that names the maker (the main window's footer, the
// about window, the logo picture, the links) takes it from here; the name,
// studio, years, site and mail are the program's identity
// (core/identity.h). Texts are UTF-8 (display texts of the window layer);
// addresses are ASCII.
#pragma once

#include <string_view>

#include "core/identity.h"

namespace dlt::maker {

// The maker as the menus call it ("禾澄科技官方网站") and its studio.
inline constexpr std::string_view name = identity::maker;
inline constexpr std::string_view studio = identity::makerStudio;
inline constexpr std::string_view years = identity::makerYears;

// The maker's web address as the footer and the logo show it. The address
// the program opens and downloads from is the built-in maker's site.
inline constexpr std::string_view siteAddress = identity::makerAddress;
inline constexpr std::string_view siteHost = identity::makerHost;

// Instant-messenger contacts (XMPP accounts) and the address that opens a
// chat with the first one in the desktop's messenger.
inline constexpr std::string_view messengerService = "kefu1@hecheng-soft.example";
inline constexpr std::string_view messengerSales = "kefu2@hecheng-soft.example";
inline constexpr std::string_view messengerServiceShort = "kefu1";
inline constexpr std::string_view messengerSalesShort = "kefu2";
inline constexpr std::string_view chatAddress = "xmpp:kefu1@hecheng-soft.example?message";

// The e-mail address.
inline constexpr std::string_view serviceMail = identity::makerMail;

} // namespace dlt::maker
