// The translated resources that the build links beside the English ones, read
// back as Windows reads them: every language of po/LINGUAS is there, and each
// translated dialog, menu and string keeps what the code relies on (control
// ids and classes, command ids, placeholders) and a keyboard user can reach
// every control (no access key taken twice in one dialog or menu).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resource.h"
#include "shared/resource_walk.h"
#include "ui/ui_language.h"
#include "ui/utf.h"
#include "ui/window.h"

namespace {

using namespace pausora::test;

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The translations: every language the tray menu has besides English.
std::set<LANGID> Translations() {
    std::set<LANGID> languages = Languages(RT_MENU, IDR_TRAYMENU);
    languages.erase(kEnglish);
    return languages;
}

// The access key of a caption ("&File" has 'f'), or 0.
wchar_t AccessKey(const std::wstring& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == L'&') {
            if (text[i + 1] != L'&') {
                return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i + 1])));
            }
            ++i;
        }
    }
    return 0;
}

// The "%1"-style placeholders of a text, in order of appearance.
std::multiset<std::wstring> Placeholders(const std::wstring& text) {
    std::multiset<std::wstring> found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == L'%' && std::iswdigit(static_cast<wint_t>(text[i + 1]))) {
            found.insert(text.substr(i, 2));
        }
    }
    return found;
}

// ---- String tables: block n holds strings 16 (n - 1) to 16 n - 1.

std::map<UINT, std::wstring> Strings(WORD block, LANGID language) {
    std::map<UINT, std::wstring> strings;
    auto* at = static_cast<const WCHAR*>(Resource(RT_STRING, block, language));
    if (at == nullptr) {
        return strings;
    }
    for (UINT i = 0; i < 16; ++i) {
        const WORD length = static_cast<WORD>(*at++);
        if (length > 0) {
            strings[(block - 1u) * 16u + i] = std::wstring(at, length);
        }
        at += length;
    }
    return strings;
}

TEST(Translations, EveryLanguageOfThePoFolderIsLinked) {
    EXPECT_EQ(Translations().size(), static_cast<std::size_t>(PAUSORA_TRANSLATION_COUNT));
}

TEST(Translations, StringsKeepTheirIdsAndPlaceholders) {
    for (const LANGID language : Translations()) {
        for (const WORD block : Names(RT_STRING)) {
            const auto english = Strings(block, kEnglish);
            if (english.empty()) {
                continue;  // a block of one language only, such as the version
            }
            const auto translated = Strings(block, language);
            ASSERT_EQ(translated.size(), english.size()) << "block " << block;
            for (const auto& [id, text] : english) {
                ASSERT_TRUE(translated.count(id)) << "string " << id;
                EXPECT_EQ(Placeholders(translated.at(id)), Placeholders(text)) << "string " << id;
                EXPECT_EQ(AccessKey(translated.at(id)) != 0, AccessKey(text) != 0)
                    << "string " << id;
            }
        }
    }
}

// ---- Menus, walked as the tray opens them.

struct MenuHandle {
    HMENU menu;
    explicit MenuHandle(const void* menuTemplate) : menu(::LoadMenuIndirectW(menuTemplate)) {}
    MenuHandle(const MenuHandle&) = delete;
    MenuHandle& operator=(const MenuHandle&) = delete;
    ~MenuHandle() {
        if (menu != nullptr) {
            ::DestroyMenu(menu);
        }
    }
};

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

// Compares the translated popup `menu` with the English `english`, level by level.
void ExpectSameMenu(HMENU english, HMENU menu, const std::wstring& path) {
    const int count = ::GetMenuItemCount(english);
    ASSERT_EQ(::GetMenuItemCount(menu), count) << "in " << path.c_str();
    std::set<wchar_t> keys;
    for (int i = 0; i < count; ++i) {
        const std::wstring text = MenuText(menu, i);
        EXPECT_EQ(::GetMenuItemID(menu, i), ::GetMenuItemID(english, i))
            << "item " << i << " of " << path.c_str();
        if (const wchar_t key = AccessKey(text)) {
            EXPECT_TRUE(keys.insert(key).second)
                << "access key of \"" << text.c_str() << "\" taken twice in " << path.c_str();
        }
        const HMENU englishPopup = ::GetSubMenu(english, i);
        const HMENU popup = ::GetSubMenu(menu, i);
        ASSERT_EQ(popup != nullptr, englishPopup != nullptr)
            << "item " << i << " of " << path.c_str();
        if (popup != nullptr) {
            ExpectSameMenu(englishPopup, popup, path + L" > " + text);
        }
    }
}

TEST(Translations, MenusKeepTheirCommandsWithUniqueAccessKeys) {
    for (const LANGID language : Translations()) {
        for (const WORD name : Names(RT_MENU)) {
            const MenuHandle english(Resource(RT_MENU, name, kEnglish));
            const MenuHandle translated(Resource(RT_MENU, name, language));
            ASSERT_NE(translated.menu, nullptr) << "menu " << name;
            ExpectSameMenu(english.menu, translated.menu, L"menu " + std::to_wstring(name));
        }
    }
}

// ---- Dialogs, created from their templates as the windows of the program are.

struct Control {
    int id;
    std::wstring className;
    bool operator==(const Control&) const = default;
};

BOOL CALLBACK AddControl(HWND child, LPARAM controls) {
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    reinterpret_cast<std::vector<std::pair<Control, std::wstring>>*>(controls)->push_back(
        {{::GetDlgCtrlID(child), name}, [child] {
             wchar_t text[1024] = {};
             ::GetWindowTextW(child, text, 1024);
             return std::wstring(text);
         }()});
    return TRUE;
}

// The controls of dialog `name` in `language`, created under a hidden parent.
std::vector<std::pair<Control, std::wstring>> Controls(WORD name, LANGID language) {
    std::vector<std::pair<Control, std::wstring>> controls;
    VisitDialogControls(name, language, AddControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

class DialogTranslations : public WithCommonControls {};

TEST_F(DialogTranslations, KeepTheirControlsWithUniqueAccessKeys) {
    for (const LANGID language : Translations()) {
        for (const WORD name : Names(RT_DIALOG)) {
            if (!Languages(RT_DIALOG, name).count(language)) {
                // wrc leaves out a dialog with no text to translate.
                for (const auto& [control, text] : Controls(name, kEnglish)) {
                    EXPECT_TRUE(text.empty()) << "dialog " << name << " not translated";
                }
                continue;
            }
            const auto english = Controls(name, kEnglish);
            const auto translated = Controls(name, language);
            ASSERT_FALSE(english.empty()) << "dialog " << name;
            ASSERT_EQ(translated.size(), english.size()) << "dialog " << name;
            std::set<wchar_t> keys;
            for (std::size_t i = 0; i < english.size(); ++i) {
                EXPECT_EQ(translated[i].first, english[i].first)
                    << "control " << i << " of dialog " << name;
                if (const wchar_t key = AccessKey(translated[i].second)) {
                    EXPECT_TRUE(keys.insert(key).second)
                        << "access key of \"" << translated[i].second.c_str()
                        << "\" taken twice in dialog " << name;
                }
            }
        }
    }
}

// The path the program takes: LoadString picks the strings of the user's UI
// language (Wine takes it from the locale; translations_tests_de runs this
// with a German one), and English where there is no translation.
TEST(Translations, TheUsersUiLanguagePicksTheStrings) {
    const LANGID german = MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL);
    const bool inGerman = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_GERMAN;
    if (const char* wanted = std::getenv("PAUSORA_EXPECT_UI_LANGUAGE")) {
        ASSERT_EQ(inGerman, std::string(wanted) == "de")
            << "the UI language is not the one asked for";
        ASSERT_TRUE(Translations().count(german)) << "no German in this build";
    } else if (!Translations().count(german)) {
        GTEST_SKIP() << "no German in this build";
    }
    for (const UINT id : {UINT{IDS_PAUSED}, UINT{IDS_ABOUTBOX}, UINT{IDS_EXERCISE_1}}) {
        const WORD block = static_cast<WORD>(id / 16 + 1);
        const std::wstring english = Strings(block, kEnglish).at(id);
        const std::wstring translated = Strings(block, german).at(id);
        EXPECT_NE(translated, english) << "string " << id;
        const wchar_t* text = nullptr;
        const int length = ::LoadStringW(Self(), id, reinterpret_cast<LPWSTR>(&text), 0);
        const std::wstring loaded(text, static_cast<std::size_t>(length > 0 ? length : 0));
        EXPECT_EQ(loaded, inGerman ? translated : english) << "string " << id;
    }
}

// The tray's tooltip holds 127 characters: its longest states, with each
// time, date or number as long as a locale may write it, fit in every language.
TEST(Translations, TheLongestTooltipsFit) {
    const auto text = [](LANGID language, UINT id) {
        std::wstring found = Strings(static_cast<WORD>(id / 16 + 1), language).at(id);
        for (std::size_t at = found.find(L'%'); at != std::wstring::npos && at + 1 < found.size();
             at = found.find(L'%', at + 1)) {
            found.replace(at, 2, L"Wed 12/31/2026");  // 14: a date or "12:00:00 PM"
        }
        return found;
    };
    std::set<LANGID> languages = Translations();
    languages.insert(kEnglish);
    for (const LANGID language : languages) {
        const std::wstring experience = text(language, IDS_EXPERIENCE_LINE) + L"7";
        for (const std::wstring& state :
             {text(language, IDS_TIP_NORMAL) + L"\n" + text(language, IDS_NEXT_BREAK_IN),
              text(language, IDS_TIP_NORMAL) + L"\n" + text(language, IDS_NEXT_BREAK_SOON),
              text(language, IDS_PAUSED_UNTIL_DATE), text(language, IDS_PAUSED_UNTIL_TOMORROW),
              text(language, IDS_TIP_HELD), text(language, IDS_TIP_SHORT_BREAK),
              text(language, IDS_TIP_LONG_BREAK), text(language, IDS_TIP_STOPPED)}) {
            EXPECT_LE(state.size() + experience.size(), 127u)
                << LanguageName(language) << ": " << pausora::Narrow(state + experience);
        }
    }
}

// The program's choice for its own thread, as the Language setting makes it:
// the next string loaded is in that language, whatever the user's is, for a
// language kept alone ("ja") as for one kept with its country ("pt-BR").
TEST(Translations, TheThreadsChoiceOfLanguagePicksTheStrings) {
    const struct {
        const char* tag;
        LANGID language;
    } cases[] = {
        {"ja-JP", MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL)},
        {"pt-BR", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN)},
        {"zh-CN", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)},
        {"en-US", kEnglish},
    };
    const WORD block = static_cast<WORD>(IDS_PAUSED / 16 + 1);
    for (const auto& c : cases) {
        if (!Translations().count(c.language) && c.language != kEnglish) {
            continue;
        }
        ASSERT_TRUE(pausora::ui::UseLanguage(c.tag)) << c.tag;
        EXPECT_EQ(pausora::ui::ResourceString(IDS_PAUSED),
                  Strings(block, c.language).at(IDS_PAUSED))
            << c.tag;
    }
}

}  // namespace
