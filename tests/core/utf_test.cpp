// Text crosses between the program (UTF-8) and Windows (UTF-16) in both
// directions; names the system hands us must come back exactly as they were.
#include "ui/utf.h"

#include <gtest/gtest.h>

#include <vector>

namespace pausora {
namespace {

TEST(Utf, WellFormedTextRoundTrips) {
    struct Case {
        std::string utf8;
        std::wstring utf16;
    };
    const std::vector<Case> cases = {
        {"", L""},
        {"C:\\Users\\Pausora\\", L"C:\\Users\\Pausora\\"},
        {"\xD0\x98\xD1\x80\xD0\xB8\xD0\xBD\xD0\xB0", {0x0418, 0x0440, 0x0438, 0x043D, 0x0430}},
        {"\xCE\xA3\xCF\x89", {0x03A3, 0x03C9}},
        {"\xE2\x82\xAC\xEF\xBF\xBF", {0x20AC, 0xFFFF}},
        {"\xF0\x9F\x98\x80x", {0xD83D, 0xDE00, L'x'}},  // beyond the first plane: a pair
        {"\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Widen(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Narrow(c.utf16), c.utf8) << c.utf8;
    }
}

// A file name may hold a lone surrogate; it must survive the trip to UTF-8
// and back, or a value the installer wrote would be rewritten.
TEST(Utf, LoneSurrogatesSurviveTheRoundTrip) {
    const std::vector<std::wstring> names = {
        {0xD800}, {L'a', 0xDC00, L'b'}, {0xDBFF, L'x'}, {0xDC00, 0xD800}, {0xD83D}};
    for (const std::wstring& name : names) {
        EXPECT_EQ(Widen(Narrow(name)), name);
    }
}

// Bytes that are not UTF-8 become one replacement each, and never swallow
// the well-formed text after them.
TEST(Utf, MalformedBytesBecomeReplacements) {
    struct Case {
        std::string utf8;
        std::wstring utf16;
    };
    const std::vector<Case> cases = {
        {"a\xFF"
         "b",
         {L'a', 0xFFFD, L'b'}},
        {"\xC3", {0xFFFD}},  // cut short at the end
        {"\xE2\x82"
         "a",
         {0xFFFD, 0xFFFD, L'a'}},                                // cut short before text
        {"\xC0\xAF", {0xFFFD, 0xFFFD}},                          // overlong
        {"\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},  // past U+10FFFF
        {"\x80z", {0xFFFD, L'z'}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Widen(c.utf8), c.utf16);
    }
}

}  // namespace
}  // namespace pausora
