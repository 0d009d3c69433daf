#include "ui/utf.h"

#include <cstdint>

namespace pausora {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// Decodes the sequence at `at`, moving past it; a malformed one yields the
// replacement character and moves past its first byte only, so that the next
// well-formed sequence is still found.
char32_t DecodeOne(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80U) {
        return lead;
    }
    const std::size_t length = (lead & 0xE0U) == 0xC0U   ? 2
                               : (lead & 0xF0U) == 0xE0U ? 3
                               : (lead & 0xF8U) == 0xF0U ? 4
                                                         : 0;
    if (length == 0 || text.size() - at < length - 1) {
        return kReplacement;
    }
    char32_t value = lead & (0x7FU >> length);
    for (std::size_t i = 0; i < length - 1; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(byte)) {
            return kReplacement;
        }
        value = (value << 6U) | (byte & 0x3FU);
    }
    // The smallest value each length may carry.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kLeast[length] || value > 0x10FFFF) {
        return kReplacement;
    }
    at += length - 1;
    return value;  // a surrogate here is a lone unit kept from Windows
}

void Encode(char32_t value, std::string& out) {
    if (value < 0x80) {
        out += static_cast<char>(value);
        return;
    }
    const unsigned trail = value < 0x800 ? 1 : value < 0x10000 ? 2 : 3;
    constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[trail] | (value >> (6 * trail)));
    for (unsigned shift = 6 * trail; shift > 0;) {
        shift -= 6;
        out += static_cast<char>(0x80U | ((value >> shift) & 0x3FU));
    }
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t value = DecodeOne(utf8, at);
        if (value >= 0x10000) {
            const char32_t offset = value - 0x10000;
            out += static_cast<wchar_t>(0xD800 + (offset >> 10U));
            out += static_cast<wchar_t>(0xDC00 + (offset & 0x3FFU));
        } else {
            out += static_cast<wchar_t>(value);
        }
    }
    return out;
}

std::string Narrow(std::wstring_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t at = 0; at < utf16.size(); ++at) {
        // Only the low 16 bits are a unit; wider wchar_t values do not come
        // from Windows.
        const char32_t unit = static_cast<char32_t>(utf16[at]) & 0xFFFFU;
        // A high surrogate and a low one after it are one code point.
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < utf16.size()) {
            const char32_t next = static_cast<char32_t>(utf16[at + 1]) & 0xFFFFU;
            if (next >= 0xDC00 && next <= 0xDFFF) {
                Encode(0x10000 + ((unit - 0xD800) << 10U) + (next - 0xDC00), out);
                ++at;
                continue;
            }
        }
        Encode(unit, out);
    }
    return out;
}

}  // namespace pausora
