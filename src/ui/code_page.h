// Text that reaches us as 8-bit bytes in the system's code page: the tips file
// and the update server's answer are written that way, and stay so.
#pragma once

#include <string>
#include <string_view>

namespace pausora {

std::wstring WidenFromCodePage(std::string_view bytes);

}  // namespace pausora
