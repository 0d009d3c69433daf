// How the user's locale writes a time of day, a date and a number.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pausora {

// The Windows layer fills these from the system's locale functions, so that
// a time reads "17:05" in Berlin and "5:05 PM" in Chicago whatever language
// the program speaks. The core and its tests keep the program's own: a
// 24-hour "17:05", "2026-12-09" and plain digits.
struct LocaleFormats {
    std::function<std::string(std::uint32_t hour, std::uint32_t minute)> timeOfDay;
    std::function<std::string(std::int32_t year, std::uint32_t month, std::uint32_t day)> date;
    // A whole date with its weekday; empty where the caller has a pattern.
    std::function<std::string(std::int32_t year, std::uint32_t month, std::uint32_t day)> longDate;
    std::function<std::string(std::uint64_t value)> number;

    LocaleFormats();
};

// `pattern` with %1, %2... replaced by `args`, each once, in one pass: a
// replacement that holds a "%" is left as it is. The program's texts are
// written this way so that a language can put the numbers in its own order.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace pausora
