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

// A slide show, as far as the system can tell: no frame, the whole screen,
// in front.
class FullScreenWindow {
  public:
    FullScreenWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = L"PausoraTestSlideShow";
        ::RegisterClassW(&wc);
        m_window = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Slide show",
                                     WS_POPUP | WS_VISIBLE, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                                     ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                     wc.hInstance, nullptr);
        ::SetForegroundWindow(m_window);
        PumpFor(200);
    }
    ~FullScreenWindow() { Close(); }
    void Close() {
        if (m_window != nullptr) {
            ::DestroyWindow(m_window);
            m_window = nullptr;
        }
    }
    HWND Handle() const { return m_window; }
    // A click in the middle of the screen, as a presenter's to go on.
    void Click() {
        PumpFor(1500);  // the program's start has settled
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, input, sizeof(INPUT));
        ::SetForegroundWindow(m_window);
        PumpFor(300);
    }

  private:
    HWND m_window = nullptr;
};

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
