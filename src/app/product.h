// Where the product lives on the web; every page the program opens is on it.
#pragma once

#include <string>
#include <string_view>

namespace pausora {

inline constexpr std::string_view kWebSite = "https://www.pausora.com";

inline std::string WebPage(std::string_view path) {
    std::string url(kWebSite);
    url += path;
    return url;
}

}  // namespace pausora
