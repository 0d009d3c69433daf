// The exercises dialog opened the two ways a user opens it: "Exercises..."
// from the tray menu, and "Show me a stretch" on a break notice. The break
// schedule keeps running while it is open.
#include "store/time_settings.h"
#include "e2e/desktop.h"
#include "e2e/program.h"
#include "shared/win_backdoor.h"

#include <gtest/gtest.h>

#include <string>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr int kPopupWidth = 400;
constexpr int kPopupHeight = 159;
constexpr char kCaption[] = "Pausora - Exercises";

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
    int ExercisesShown() const {
        int shown = 0;
        for (const HWND window : m_program.TopLevelWindows()) {
            char title[64] = {};
            ::GetWindowTextA(window, title, sizeof title);
            shown += ::IsWindowVisible(window) && std::string(title) == kCaption ? 1 : 0;
        }
        return shown;
    }
    // A second request while the dialog is open opens no second one.
    void ExpectOneDialog(HWND dialog) {
        EXPECT_FALSE(WaitFor(2000, [&] { return ExercisesShown() > 1; }))
            << ExercisesShown() << " exercises dialogs";
        EXPECT_TRUE(::IsWindowVisible(dialog));
    }
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
    ASSERT_TRUE(WaitForTrayIcon(kTimeoutMs));
    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    ::Sleep(300);
    // Settings..., Notifications, Exercises...
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});

    const HWND dialog = WaitForExercises(kTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    // Without a parent: a window of its own on the desktop.
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
    PauseForScreenshot("exercises");
    ::PostMessageA(m_main, WM_COMMAND, 32788, 0);  // Exercises... again
    ExpectOneDialog(dialog);

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
    ClickAt({shown.left + 60, shown.top + 51}, false);
    const HWND dialog = WaitForExercises(kTimeoutMs);
    ASSERT_NE(dialog, nullptr);

    // The schedule goes on inside the dialog's message loop: the break ends
    // with its two points, the notice leaves and the next one comes.
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() >= 102; })) << "Bonus " << Bonus();
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() == nullptr; }));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    const HWND next = SettledPopup();
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(::IsWindowVisible(dialog));
    PauseForScreenshot("exercises-with-notice");
    // "Show me a stretch" on the new notice brings the open dialog forward.
    ::GetWindowRect(next, &shown);
    ClickAt({shown.left + 60, shown.top + 51}, false);
    ExpectOneDialog(dialog);

    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return !::IsWindow(dialog); }));
    EXPECT_FALSE(m_program.WaitForExit(0));
}

}  // namespace
}  // namespace pausora::test
