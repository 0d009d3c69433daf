// A short break from its notice to its points, and the icon's commands
// around it.
#include "e2e/fixture.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

class BreakCycleTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // A short break every 3 seconds, 2 seconds long; no long break soon.
        ShortBreaks(3);
        ASSERT_NO_FATAL_FAILURE(Start());
    }
};

TEST_F(BreakCycleTest, AnIdleUserGetsTheNoticeAtTheCornerAndTwoPointsAfterIt) {
    // A hundred points are level 2: two stars on the notice.
    ASSERT_TRUE(WaitForPopup());
    PauseForScreenshot("short-break");
    // Fully shown in the work area's bottom-right corner.
    const DWORD shownAt = ::GetTickCount();
    EXPECT_NE(SettledPopup(), nullptr) << "the notice never reached the corner";
    EXPECT_LT(::GetTickCount() - shownAt, 3000u) << "the notice took long to slide in";
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() == 102; })) << "Bonus " << Bonus();
}

TEST_F(BreakCycleTest, TypingThroughABreakCostsAPointAndTheEndStillEarnsTwo) {
    ASSERT_TRUE(WaitForPopup());
    // Keep working for longer than a whole interval inside the break: the
    // firmer reminder takes a point (100 -> 99), then two idle seconds end the
    // break and earn two (99 -> 101).
    bool sawReminder = false;
    KeepWorking(5000, [&] { sawReminder = sawReminder || Bonus() == 99; });
    EXPECT_TRUE(sawReminder || Bonus() == 99);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() == 101; })) << "Bonus " << Bonus();
}

TEST_F(BreakCycleTest, DoubleClickingTheIconStopsAndStartsAndExitRemovesIt) {
    ASSERT_TRUE(WaitForTrayIcon(kTimeoutMs));
    ClickAt(FirstTrayIcon(), false, 2);
    EXPECT_FALSE(WaitForPopup(5000));
    ClickAt(FirstTrayIcon(), false, 2);
    EXPECT_TRUE(WaitForPopup());

    EXPECT_TRUE(Exit());
    EXPECT_TRUE(WaitFor(5000, [] { return !WineTrayShown(); }));
}

TEST_F(BreakCycleTest, StartStopAndTheSwitchesAnswerFromTheTrayMenu) {
    Command(ID_TRAY_STARTSTOP);  // Stop
    EXPECT_FALSE(WaitForPopup(5000));
    EXPECT_EQ(Bonus(), 100u);

    Command(ID_TRAY_STARTSTOP);  // Start
    EXPECT_TRUE(WaitForPopup());

    Command(ID_TRAY_SHORT_BREAKS);
    EXPECT_EQ(Dword("UseMicropauses"), 0u);
    Command(ID_TRAY_PLAY_SOUNDS);
    EXPECT_EQ(Dword("UseSounds"), 1u);

    EXPECT_TRUE(Exit());
}

}  // namespace
}  // namespace pausora::test
