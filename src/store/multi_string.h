// The layout of a REG_MULTI_SZ value: UTF-16 strings, each ended by a zero,
// and one more zero after the last. Both registries read and write it
// through these two, so that a damaged value means the same in both.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pausora {

// The strings up to the first empty one; no value when the units do not end
// as the layout wants. No units at all, or a lone zero, is an empty list.
std::optional<std::vector<std::string>> ParseMultiString(std::wstring_view units);
// Empty strings cannot be told from the list's end: they are left out.
std::wstring FormatMultiString(const std::vector<std::string>& items);

}  // namespace pausora
