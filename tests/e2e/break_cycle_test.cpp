#include "store/time_settings.h"
#include "e2e/program.h"
#include "shared/win_backdoor.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr int kPopupWidth = 400;
constexpr int kPopupHeight = 159;

class BreakCycleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_store.Reset();
        m_store.SetString(reg::kAppKey, reg::kFirstUse, "1");
        m_store.SetString(reg::kAppKey, reg::kInstallDir, Program::Folder());
        // A short break every 3 seconds, 2 seconds long; no long break soon.
        m_store.SetDword(reg::kSettingsKey, "Micropause", 3);
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

    WinBackdoor m_store;
    Program m_program;
    HWND m_main = nullptr;
};

TEST_F(BreakCycleTest, AnIdleUserGetsTheNoticeAtTheCornerAndTwoPointsAfterIt) {
    // A hundred points are level 2: two stars on the notice.
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() != nullptr; }));
    PauseForScreenshot("short-break");
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Fully shown in the work area's bottom-right corner; a slide in steps
    // of 10 pixels may end up to 9 pixels past the exact corner.
    RECT shown{};
    EXPECT_TRUE(WaitFor(3000,
                        [&] {
                            ::GetWindowRect(Popup(), &shown);
                            return shown.right == work.right && shown.bottom <= work.bottom &&
                                   work.bottom - shown.bottom < 10;
                        }))
        << "popup at " << shown.left << "," << shown.top << "-" << shown.right << ","
        << shown.bottom << "; work area " << work.right << "," << work.bottom;
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() == 102; })) << "Bonus " << Bonus();
}

TEST_F(BreakCycleTest, TypingThroughABreakCostsAPointAndTheEndStillEarnsTwo) {
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() != nullptr; }));
    // Keep working for longer than a whole interval inside the break: the
    // firmer reminder takes a point (100 -> 99), then two idle seconds end the
    // break and earn two (99 -> 101).
    bool sawReminder = false;
    const DWORD typingUntil = ::GetTickCount() + 5000;
    while (static_cast<int>(typingUntil - ::GetTickCount()) > 0) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = 1;
        input.mi.dwFlags = MOUSEEVENTF_MOVE;
        ::SendInput(1, &input, sizeof input);
        sawReminder = sawReminder || Bonus() == 99;
        ::Sleep(200);
    }
    EXPECT_TRUE(sawReminder || Bonus() == 99);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() == 101; })) << "Bonus " << Bonus();
}

// Wine shows notification icons in a small window of its own at the top left
// of the screen; clicks on it reach the program like clicks on a taskbar.
HWND WineTray() {
    return ::FindWindowA("__winex11_standalone_tray", nullptr);
}

void DoubleClickFirstTrayIcon() {
    RECT client{};
    ::GetClientRect(WineTray(), &client);
    POINT icon{10, client.bottom / 2};  // the middle of the first icon's square
    ::ClientToScreen(WineTray(), &icon);
    ::SetCursorPos(icon.x, icon.y);
    INPUT clicks[4] = {};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    ::SendInput(4, clicks, sizeof clicks[0]);
}

TEST_F(BreakCycleTest, DoubleClickingTheIconStopsAndStartsAndExitRemovesIt) {
    ASSERT_TRUE(WaitFor(kTimeoutMs, [] { return WineTray() != nullptr; }));
    ::Sleep(1000);  // the icon settles in after the window appears
    DoubleClickFirstTrayIcon();
    EXPECT_FALSE(WaitFor(5000, [&] { return Popup() != nullptr; }));
    DoubleClickFirstTrayIcon();
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() != nullptr; }));

    ::PostMessageA(m_main, WM_COMMAND, 32774, 0);  // Exit
    EXPECT_TRUE(m_program.WaitForExit(kTimeoutMs));
    EXPECT_TRUE(
        WaitFor(5000, [] { return WineTray() == nullptr || !::IsWindowVisible(WineTray()); }));
}

TEST_F(BreakCycleTest, StartStopAndTheSwitchesAnswerFromTheTrayMenu) {
    ::SendMessageA(m_main, WM_COMMAND, 32780, 0);  // Stop
    const DWORD stoppedFor = 5000;
    EXPECT_FALSE(WaitFor(stoppedFor, [&] { return Popup() != nullptr; }));
    EXPECT_EQ(Bonus(), 100u);

    ::SendMessageA(m_main, WM_COMMAND, 32780, 0);  // Start
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() != nullptr; }));

    ::SendMessageA(m_main, WM_COMMAND, 32808, 0);  // Notifications > Short breaks
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "UseMicropauses"), 0u);
    ::SendMessageA(m_main, WM_COMMAND, 32813, 0);  // Notifications > Play sounds
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "UseSounds"), 1u);

    ::PostMessageA(m_main, WM_COMMAND, 32774, 0);  // Exit
    EXPECT_TRUE(m_program.WaitForExit(kTimeoutMs));
}

}  // namespace
}  // namespace pausora::test
