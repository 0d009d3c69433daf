// The languages Pausora speaks, and which of them a user gets.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace pausora {

struct Language {
    std::string_view name;        // as Windows names it: "de-DE"
    std::string_view nativeName;  // as the language names itself: "Deutsch"
};

inline constexpr std::string_view kEnglish = "en-US";
const std::array<Language, 12>& Languages();

// The language to speak: `chosen` (the "Language" setting) when it names one
// of ours; otherwise the first of `preferred` (the user's display languages,
// most wanted first) that we have, by its whole name or by its language alone
// ("de-CH" is spoken as "de-DE", "pt-PT" as "pt-BR"); otherwise English.
// Chinese written in traditional characters is not the simplified we have.
std::string_view ResolveLanguage(std::string_view chosen,
                                 const std::vector<std::string>& preferred);

// Ours by its exact name (in any case), or nothing: an unknown or damaged
// setting reads as empty.
std::string_view KnownLanguage(std::string_view name);

}  // namespace pausora
