// Which of Pausora's languages a user gets, from the setting and from the
// display languages Windows lists for the user.
#include "store/languages.h"

#include <gtest/gtest.h>

namespace pausora {
namespace {

TEST(Languages, TheSettingThenTheFirstDisplayLanguageWeHaveThenEnglish) {
    const struct {
        std::string_view chosen;
        std::vector<std::string> preferred;
        std::string_view spoken;
    } rows[] = {
        {"", {"de-CH", "en-US"}, "de-DE"},  // Swiss German reads German
        {"", {"pt-PT"}, "pt-BR"},           // Portugal's Portuguese, Brazil's rather than English
        {"", {"nb-NO", "fr-CA", "de-DE"}, "fr-FR"},
        {"", {"en-GB", "de-DE"}, "en-US"},
        {"", {"zh-TW", "zh-Hant-HK", "ja-JP"}, "ja-JP"},  // traditional is not simplified
        {"", {"zh-Hans-SG"}, "zh-CN"},
        {"", {"nb-NO"}, "en-US"},
        {"", {}, "en-US"},
        {"ja-jp", {"de-DE"}, "ja-JP"},
        {"xx-YY", {"uk-UA"}, "uk-UA"},  // unknown: as if empty
        {"de", {"ru-RU"}, "ru-RU"},     // a setting names a language in full
        {std::string_view("de-DE\0x", 7), {}, "en-US"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.chosen) + " / " +
                     (row.preferred.empty() ? std::string("none") : row.preferred.front()));
        EXPECT_EQ(ResolveLanguage(row.chosen, row.preferred), row.spoken);
    }
}

}  // namespace
}  // namespace pausora
