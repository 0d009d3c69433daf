// The program keeps its text as UTF-8 and hands it to Windows as UTF-16; this
// is the one place where the two meet.
//
// Windows lets names hold UTF-16 that is not well formed (a lone surrogate in
// a folder or file name). Such a unit is kept as its three-byte form on the
// UTF-8 side (the "WTF-8" convention), so that a name read from the system
// and written back comes back exactly as it was. Bytes that are not UTF-8 at
// all become U+FFFD; they never come from the system, only from our own data.
#pragma once

#include <string>
#include <string_view>

namespace pausora {

// Each wchar_t holds one UTF-16 code unit, on any platform.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace pausora
