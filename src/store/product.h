// Where the product lives on the web: every page the program opens, the
// update check (plain HTTP on port 80) and the installer are on this host.
#pragma once

#include <string>
#include <string_view>

namespace pausora {

inline constexpr std::string_view kWebHost = "www.pausora.com";
inline constexpr std::string_view kWebSite = "https://www.pausora.com";
static_assert(kWebSite.ends_with(kWebHost), "the site is on the host");

inline std::string WebPage(std::string_view path) {
    return std::string(kWebSite).append(path);
}

}  // namespace pausora
