// Quiet while a full-screen program runs, in the assembled program: a
// borderless window of this test covers the screen and takes the
// foreground; a short break due meanwhile shows nothing and asks for no
// sound, and comes 10 to 15 seconds after the window closes.
#include "e2e/fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace pausora::test {
namespace {

// A message box of the program's is the report of a sound file that is not
// there: that is how this test sees a sound being asked for.

class BusyTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // A short break every 4 seconds, 2 seconds long, whose sound is a
        // file that is not there: asking for it opens a box.
        ShortBreaks(4);
        Set("UseSounds", 1);
        Set("MicropauseSound", "C:\\windows\\missing-start.wav");
    }
};

TEST_F(BusyTest, ABreakDueUnderAFullScreenWindowComesTenSecondsAfterItCloses) {
    FullScreenWindow slides;
    ASSERT_EQ(::GetForegroundWindow(), slides.Handle());
    ASSERT_NO_FATAL_FAILURE(Start());
    // Under Wine the program's hidden window takes the foreground as it
    // starts; the presenter clicks the slides again.
    slides.Click();
    ASSERT_EQ(::GetForegroundWindow(), slides.Handle());
    // Two breaks fall due under the slides: nothing shows, nothing sounds.
    bool shown = false;
    PumpUntil(10000, [&] {
        shown = shown || Popup() != nullptr || m_program.ShowsADialog();
        return false;
    });
    EXPECT_FALSE(shown);
    EXPECT_EQ(::GetForegroundWindow(), slides.Handle());

    slides.Close();
    const DWORD closed = ::GetTickCount();
    ASSERT_TRUE(PumpUntil(kTimeoutMs, [&] { return Popup() != nullptr; }));
    const DWORD after = ::GetTickCount() - closed;
    PauseForScreenshot("held-break-after-slides");
    EXPECT_GE(after, 9500u);
    EXPECT_LE(after, 15000u);
    // Its sound is asked for with it.
    EXPECT_TRUE(PumpUntil(5000, [&] { return m_program.ShowsADialog(); }));
}

TEST_F(BusyTest, WithTheBoxClearedTheNoticeShowsOverTheFullScreenWindow) {
    Set("QuietWhenBusy", 0);
    FullScreenWindow slides;
    ASSERT_NO_FATAL_FAILURE(Start());
    slides.Click();
    EXPECT_TRUE(PumpUntil(8000, [&] { return Popup() != nullptr; }));
    PauseForScreenshot("notice-over-slides");
    EXPECT_TRUE(PumpUntil(5000, [&] { return m_program.ShowsADialog(); }));
}

}  // namespace
}  // namespace pausora::test
