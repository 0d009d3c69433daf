// The settings window as the user reaches it: "Settings..." from the tray
// menu, a page chosen with Ctrl+Tab, a time changed in its picker with the
// mouse and the keyboard, and OK; the schedule then runs on the new value.
#include "e2e/fixture.h"
#include "settings_ids.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <string>

namespace pausora::test {
namespace {

class SettingsEndToEndTest : public ProgramTest {
  protected:
    static void ClickOn(HWND window, int dx, bool fromLeft = true) {
        RECT r{};
        ::GetWindowRect(window, &r);
        ClickAt({fromLeft ? r.left + dx : (r.left + r.right) / 2, (r.top + r.bottom) / 2}, false);
    }
};

TEST_F(SettingsEndToEndTest, AShorterIntervalChosenInTheSettingsBringsTheNextNoticeSooner) {
    // A short break a minute after the start: far beyond what the test waits.
    ShortBreaks(60);
    Set("AppearanceType", 0);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    Keys({VK_DOWN, VK_RETURN});  // "Settings..."
    const HWND sheet = WaitForWindowTitled("Pausora - Settings", kTimeoutMs);
    ASSERT_NE(sheet, nullptr) << "the settings window did not open";
    ::SetForegroundWindow(sheet);
    ASSERT_TRUE(WaitFor(5000, [&] { return ::GetForegroundWindow() == sheet; }));
    PauseForScreenshot("settings");

    // Ctrl+Tab: from Schedule to Short breaks.
    INPUT ctrl[2] = {};
    ctrl[0].type = INPUT_KEYBOARD;
    ctrl[0].ki.wVk = VK_CONTROL;
    ctrl[1] = ctrl[0];
    ctrl[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &ctrl[0], sizeof ctrl[0]);
    Keys({VK_TAB});
    ::SendInput(1, &ctrl[1], sizeof ctrl[1]);
    HWND picker = nullptr;
    ASSERT_TRUE(WaitFor(5000, [&] {
        picker = ::GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), IDC_FIRST_TIME);
        return picker != nullptr && ::IsWindowVisible(picker);
    })) << "Ctrl+Tab did not bring the Short breaks page";
    char shown[16] = {};
    ::GetWindowTextA(picker, shown, sizeof shown);

    // 01:00 becomes 00:04: the minutes down one, the seconds up four.
    ClickOn(picker, 8);
    Keys({VK_DOWN, VK_RIGHT, VK_UP, VK_UP, VK_UP, VK_UP});
    EXPECT_EQ(Popup(), nullptr);
    ClickOn(::GetDlgItem(sheet, IDOK), 0, false);
    const DWORD okAt = ::GetTickCount();
    ASSERT_TRUE(WaitFor(5000, [&] { return !::IsWindow(sheet); })) << "OK left the window open";

    EXPECT_EQ(Dword("Micropause"), 4u) << "the picker showed " << shown;
    EXPECT_TRUE(WaitForPopup());
    const DWORD after = ::GetTickCount() - okAt;
    EXPECT_GE(after, 3000u);
    EXPECT_LE(after, 12000u) << "the notice came " << after << " ms after OK";
}

// A tray switch flipped while the window is open stays flipped when OK applies
// what the user changed on another page, even over a page that showed the
// switch and applied it before the flip.
TEST_F(SettingsEndToEndTest, ATraySwitchFlippedMeanwhileOutlastsOk) {
    constexpr int kSoundsPage = 7;
    constexpr int kAppearancePage = 8;
    constexpr int kApplyButton = 0x3021;
    ShortBreaks(600);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    PostCommand(ID_TRAY_SETTINGS);
    const HWND sheet = WaitForWindowTitled("Pausora - Settings", kTimeoutMs);
    ASSERT_NE(sheet, nullptr) << "the settings window did not open";
    const auto show = [&](int page) {
        ::SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
        return PropSheet_GetCurrentPageHwnd(sheet);
    };
    // Sounds on in the window, and applied.
    ::SendMessageA(::GetDlgItem(show(kSoundsPage), IDC_PAGE_SWITCH), BM_CLICK, 0, 0);
    ::SendMessageA(sheet, WM_COMMAND, kApplyButton, 0);
    ASSERT_EQ(Dword("UseSounds"), 1u);

    Command(ID_TRAY_PLAY_SOUNDS);
    ASSERT_EQ(Dword("UseSounds"), 0u);
    ::SendMessageA(::GetDlgItem(show(kAppearancePage), IDC_QUIET_WHEN_BUSY), BM_CLICK, 0, 0);
    ::PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !::IsWindow(sheet); })) << "OK left the window open";

    EXPECT_EQ(Dword("QuietWhenBusy"), 0u);
    EXPECT_EQ(Dword("UseSounds"), 0u) << "OK took the switch back";
}

// The language picked on the Appearance page is stored by its name, Windows'
// choice first in the list and each language in its own name after it; the
// program speaks it at once. A name it does not have reads as Windows' own.
TEST_F(SettingsEndToEndTest, ALanguagePickedOnTheAppearancePageIsSpokenAtOnce) {
    constexpr int kAppearancePage = 8;
    constexpr LRESULT kJapanese = 11;
    Set("Language", "xx-YY");
    ShortBreaks(600);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    PostCommand(ID_TRAY_SETTINGS);
    const HWND sheet = WaitForWindowTitled("Pausora - Settings", kTimeoutMs);
    ASSERT_NE(sheet, nullptr) << "the settings window did not open in English";
    ::SendMessageA(sheet, PSM_SETCURSEL, kAppearancePage, 0);
    const HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    const HWND list = ::GetDlgItem(page, IDC_LANGUAGE);
    ASSERT_NE(list, nullptr);
    const auto entry = [list](LRESULT i) {
        wchar_t text[64] = {};
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    EXPECT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), 13);
    EXPECT_EQ(::SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(entry(0), L"Windows' language (English)");
    EXPECT_EQ(entry(2), L"Deutsch");
    EXPECT_EQ(entry(kJapanese), L"\u65e5\u672c\u8a9e");

    // As the list tells its page when the user picks an entry.
    ::SendMessageW(list, CB_SETCURSEL, kJapanese, 0);
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    ::PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !::IsWindow(sheet); })) << "OK left the window open";
    EXPECT_EQ(m_store.String(reg::kSettingsKey, "Language"), "ja-JP");
    EXPECT_EQ(ShownTrayTip(kTimeoutMs).rfind("Pausora (\u901a\u5e38)\n", 0), 0u);
    PostCommand(ID_TRAY_SETTINGS);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [] {
        return ::FindWindowW(nullptr, L"Pausora - \u8a2d\u5b9a") != nullptr;
    })) << "the settings window did not open in Japanese";
}

}  // namespace
}  // namespace pausora::test
