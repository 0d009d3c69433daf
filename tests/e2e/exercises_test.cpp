// The exercises dialog opened the two ways a user opens it: "Exercises..."
// from the tray menu, and "Show me a stretch" on a break notice. The break
// schedule keeps running while it is open.
#include "e2e/fixture.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace pausora::test {
namespace {

constexpr char kCaption[] = "Pausora - Exercises";

// The exercises dialog, once its first exercise is showing.
HWND WaitForExercises(DWORD ms) {
    HWND dialog = nullptr;
    WaitFor(ms, [&] {
        dialog = ::FindWindowA(nullptr, kCaption);
        return dialog != nullptr && ::IsWindowVisible(dialog) &&
               ::GetWindowTextLengthA(::GetDlgItem(dialog, IDC_EXERCISE_TEXT)) > 0;
    });
    return dialog != nullptr && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

class ExercisesTest : public ProgramTest {
  protected:
    int ExercisesShown() const { return m_program.ShownWindowsTitled(kCaption); }
    // A second request while the dialog is open opens no second one.
    void ExpectOneDialog(HWND dialog) {
        EXPECT_FALSE(WaitFor(2000, [&] { return ExercisesShown() > 1; }))
            << ExercisesShown() << " exercises dialogs";
        EXPECT_TRUE(::IsWindowVisible(dialog));
    }
};

TEST_F(ExercisesTest, TheTrayMenusExercisesItemOpensTheDialogAndFinishClosesIt) {
    ShortBreaks(420);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    // Settings..., Notifications, Exercises...
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});

    const HWND dialog = WaitForExercises(kTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    // Without a parent: a window of its own on the desktop.
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
    PauseForScreenshot("exercises");
    {
        const FullScreenWindow elsewhere;  // the user went on with other work
        PostCommand(ID_TRAY_EXERCISES);    // and asks again: the open one comes forward
        EXPECT_TRUE(PumpUntil(5000, [&] { return ::GetForegroundWindow() == dialog; }));
    }
    ExpectOneDialog(dialog);

    ::PostMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return !::IsWindow(dialog); }));
    EXPECT_FALSE(m_program.WaitForExit(0));
    EXPECT_TRUE(Exit());
}

TEST_F(ExercisesTest, ShowMeAStretchOpensItAndTheNextBreakStillComesWhileItIsOpen) {
    // A short break every 8 seconds, 2 seconds long: the notice is gone
    // again a while before the next one.
    ShortBreaks(8);
    ASSERT_NO_FATAL_FAILURE(Start());
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
