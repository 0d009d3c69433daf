#include "store/languages.h"

#include <algorithm>
#include <cctype>

namespace pausora {
namespace {

constexpr std::array<Language, 12> kLanguages = {{
    {"en-US", "English"},
    {"de-DE", "Deutsch"},
    {"fr-FR", "Français"},
    {"es-ES", "Español"},
    {"it-IT", "Italiano"},
    {"pt-BR", "Português (Brasil)"},
    {"nl-NL", "Nederlands"},
    {"pl-PL", "Polski"},
    {"ru-RU", "Русский"},
    {"uk-UA", "Українська"},
    {"ja-JP", "日本語"},
    {"zh-CN", "中文(简体)"},
}};

bool SameText(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// "de" of "de-CH", "zh" of "zh-Hans-CN".
std::string_view PrimaryOf(std::string_view name) {
    return name.substr(0, name.find_first_of("-_"));
}

// Chinese in traditional characters: by script, or by the regions that use it.
bool TraditionalChinese(std::string_view name) {
    std::string lower(name);
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::ranges::replace(lower, '_', '-');
    if (lower.find("-hant") != std::string::npos) {
        return true;
    }
    if (lower.find("-hans") != std::string::npos) {
        return false;
    }
    return lower == "zh-tw" || lower == "zh-hk" || lower == "zh-mo";
}

}  // namespace

const std::array<Language, 12>& Languages() {
    return kLanguages;
}

std::string_view KnownLanguage(std::string_view name) {
    for (const Language& language : kLanguages) {
        if (SameText(language.name, name)) {
            return language.name;
        }
    }
    return {};
}

std::string_view ResolveLanguage(std::string_view chosen,
                                 const std::vector<std::string>& preferred) {
    if (const std::string_view known = KnownLanguage(chosen); !known.empty()) {
        return known;
    }
    for (const std::string& wanted : preferred) {
        if (const std::string_view known = KnownLanguage(wanted); !known.empty()) {
            return known;
        }
        if (SameText(PrimaryOf(wanted), "zh") && TraditionalChinese(wanted)) {
            continue;
        }
        for (const Language& language : kLanguages) {
            if (SameText(PrimaryOf(language.name), PrimaryOf(wanted))) {
                return language.name;
            }
        }
    }
    return kEnglish;
}

}  // namespace pausora
