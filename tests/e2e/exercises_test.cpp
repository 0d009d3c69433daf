// The exercises dialog opened the two ways a user opens it: "Exercises..."
// from the tray menu, and "Show me a stretch" on a break notice. The break
// schedule keeps running while it is open.
#include "store/time_settings.h"
#include "e2e/program.h"
#include "shared/win_backdoor.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr int kPopupWidth = 400;
constexpr int kPopupHeight = 159;
constexpr char kCaption[] = "Pausora - Exercises";

HWND WineTray() {
    return ::FindWindowA("__winex11_standalone_tray", nullptr);
}

void Click(POINT at, DWORD down, DWORD up) {
    ::SetCursorPos(at.x, at.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = down;
    clicks[1].mi.dwFlags = up;
    ::SendInput(2, clicks, sizeof clicks[0]);
}

void PressKey(WORD key) {
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_KEYBOARD;
    press[0].ki.wVk = press[1].ki.wVk = key;
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, press, sizeof press[0]);
}

// The exercises dialog, once its first exercise is showing.
HWND WaitForExercises(DWORD ms) {
    HWND dialog = nullptr;
    WaitFor(ms, [&] {
        dialog = ::FindWindowA(nullptr, kCaption);
        return dialog != nullptr && ::IsWindowVisible(dialog) &&
               ::GetWindowTextLengthA(::GetDlgItem(dialog, 1065)) > 0;
    });
    return dialog != nullptr && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

class ExercisesTest : public ::testing::Test {
  protected:
    void Start(std::uint32_t shortBreakEvery) {
        m_store.Reset();
        m_store.SetString(reg::kAppKey, reg::kFirstUse, "1");
        m_store.SetString(reg::kAppKey, reg::kInstallDir, Program::Folder());
        m_store.SetDword(reg::kSettingsKey, "Micropause", shortBreakEvery);
        m_store.SetDword(reg::kSettingsKey, "Micropause_length", 2);
        m_store.SetDword(reg::kSettingsKey, "UseSounds", 0);
        m_store.SetDword(reg::kSettingsKey, "CheckForUpdates", 0);
        m_store.SetDword(reg::kSettingsKey, "Bonus", 100);
        ASSERT_TRUE(m_program.Start());
        m_main = m_program.WaitForMainWindow(kTimeoutMs);
        ASSERT_NE(m_main, nullptr);
    }
    void TearDown() override {
        m_program.Kill();
        m_store.Reset();
    }

    HWND Popup() const { return m_program.FindVisibleWindowSized(kPopupWidth, kPopupHeight); }
    std::uint32_t Bonus() { return m_store.Dword(reg::kSettingsKey, "Bonus").value_or(0); }

    // The popup, once it has come fully out at the work area's corner.
    HWND SettledPopup() {
        RECT work{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        HWND popup = nullptr;
        WaitFor(kTimeoutMs, [&] {
            popup = Popup();
            RECT shown{};
            return popup != nullptr && ::GetWindowRect(popup, &shown) &&
                   shown.right == work.right && shown.bottom <= work.bottom &&
                   work.bottom - shown.bottom < 10;
        });
        return popup;
    }

    WinBackdoor m_store;
    Program m_program;
    HWND m_main = nullptr;
};

TEST_F(ExercisesTest, TheTrayMenusExercisesItemOpensTheDialogAndFinishClosesIt) {
    Start(420);
    ASSERT_TRUE(WaitFor(kTimeoutMs, [] { return WineTray() != nullptr; }));
    ::Sleep(1000);  // the icon settles in after the window appears
    RECT tray{};
    ::GetClientRect(WineTray(), &tray);
    POINT icon{10, tray.bottom / 2};
    ::ClientToScreen(WineTray(), &icon);
    Click(icon, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(WaitFor(kTimeoutMs, [] {
        const HWND menu = ::FindWindowA("#32768", nullptr);
        return menu != nullptr && ::IsWindowVisible(menu);
    }));
    ::Sleep(300);
    // Settings..., Notifications, Exercises...
    for (int i = 0; i < 3; ++i) {
        PressKey(VK_DOWN);
    }
    PressKey(VK_RETURN);

    const HWND dialog = WaitForExercises(kTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    // Without a parent: a window of its own on the desktop.
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
    PauseForScreenshot("exercises");

    ::PostMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return !::IsWindow(dialog); }));
    EXPECT_FALSE(m_program.WaitForExit(0));
    ::PostMessageA(m_main, WM_COMMAND, 32774, 0);  // Exit
    EXPECT_TRUE(m_program.WaitForExit(kTimeoutMs));
}

TEST_F(ExercisesTest, ShowMeAStretchOpensItAndTheNextBreakStillComesWhileItIsOpen) {
    // A short break every 8 seconds, 2 seconds long: the notice is gone
    // again a while before the next one.
    Start(8);
    const HWND popup = SettledPopup();
    ASSERT_NE(popup, nullptr);
    RECT shown{};
    ::GetWindowRect(popup, &shown);
    // In the middle of "Show me a stretch".
    Click({shown.left + 60, shown.top + 51}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    const HWND dialog = WaitForExercises(kTimeoutMs);
    ASSERT_NE(dialog, nullptr);

    // The schedule goes on inside the dialog's message loop: the break ends
    // with its two points, the notice leaves and the next one comes.
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() >= 102; })) << "Bonus " << Bonus();
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() == nullptr; }));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() != nullptr; }));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    PauseForScreenshot("exercises-with-notice");

    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return !::IsWindow(dialog); }));
    EXPECT_FALSE(m_program.WaitForExit(0));
}

}  // namespace
}  // namespace pausora::test
