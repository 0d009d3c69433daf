#include "store/multi_string.h"

#include "ui/utf.h"

namespace pausora {

std::optional<std::vector<std::string>> ParseMultiString(std::wstring_view units) {
    std::vector<std::string> items;
    if (units.empty() || units == std::wstring_view(L"\0", 1)) {
        return items;
    }
    if (units.size() < 2 || units[units.size() - 1] != L'\0' || units[units.size() - 2] != L'\0') {
        return std::nullopt;
    }
    while (units.front() != L'\0') {
        const std::size_t end = units.find(L'\0');  // found: the units end in zeros
        items.push_back(Narrow(units.substr(0, end)));
        units.remove_prefix(end + 1);
    }
    return items;
}

std::wstring FormatMultiString(const std::vector<std::string>& items) {
    std::wstring units;
    for (const std::string& item : items) {
        if (!item.empty()) {
            units.append(Widen(item)).push_back(L'\0');
        }
    }
    units.push_back(L'\0');
    return units;
}

}  // namespace pausora
