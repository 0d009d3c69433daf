// Quiet while a full-screen program runs, in the assembled program: a
// borderless window of this test covers the screen and takes the
// foreground; a short break due meanwhile shows nothing and asks for no
// sound, and comes 10 to 15 seconds after the window closes.
#include "e2e/fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// An everyday window of this test program, in front, a fifth of the screen.
class PlainWindow {
  public:
    PlainWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"PausoraTestCall";
        ::RegisterClassW(&wc);
        m_window = ::CreateWindowExW(0, wc.lpszClassName, L"Call", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     100, 100, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
        ToFront();
    }
    ~PlainWindow() { ::DestroyWindow(m_window); }
    HWND Handle() const { return m_window; }
    // Again in front once the program's start has settled: under Wine its
    // hidden window takes the foreground as it starts.
    void ToFront() {
        PumpUntil(1500, [] { return false; });
        ::SetForegroundWindow(m_window);
        PumpUntil(300, [] { return false; });
    }

  private:
    HWND m_window = nullptr;
};

// Notepad, started by the test and ended with it.
class Notepad {
  public:
    Notepad() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        wchar_t command[] = L"notepad.exe";
        if (::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &m_process)) {
            PumpUntil(kTimeoutMs, [&] { return (m_window = Find()) != nullptr; });
        }
    }
    ~Notepad() {
        if (m_process.hProcess != nullptr) {
            ::TerminateProcess(m_process.hProcess, 0);
            ::WaitForSingleObject(m_process.hProcess, 5000);
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
    }
    HWND Handle() const { return m_window; }
    // Its window takes the foreground as its own process answers.
    bool ToFront() const {
        ::SetForegroundWindow(m_window);
        return PumpUntil(5000, [&] { return ::GetForegroundWindow() == m_window; });
    }

  private:
    // The first of its top-level windows that is shown.
    HWND Find() const {
        for (const HWND window : TopLevelWindowsOf(m_process.dwProcessId)) {
            if (::IsWindowVisible(window)) {
                return window;
            }
        }
        return nullptr;
    }

    PROCESS_INFORMATION m_process{};
    HWND m_window = nullptr;
};

// This test program is the one the user named, as "E2E_Busy_Tests" (the
// case and the ".exe" of its file name differ).
class QuietProgramTest : public BusyTest {
  protected:
    void SetUp() override {
        BusyTest::SetUp();
        std::vector<std::uint8_t> bytes;
        for (const char c : std::string_view("slides\0E2E_Busy_Tests\0\0", 23)) {
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
        }
        m_store.SetRaw(reg::kSettingsKey, "QuietPrograms", RawType::kMultiString, bytes);
    }
};

TEST_F(QuietProgramTest, ANamedProgramInFrontHoldsTheBreakUntilItGoes) {
    PlainWindow call;
    ASSERT_NO_FATAL_FAILURE(Start());
    call.ToFront();
    ASSERT_EQ(::GetForegroundWindow(), call.Handle());
    bool shown = false;
    PumpUntil(10000, [&] {
        shown = shown || Popup() != nullptr || m_program.ShowsADialog();
        return false;
    });
    EXPECT_FALSE(shown);

    // Another program's window comes in front: the break follows after the
    // grace.
    Notepad other;
    ASSERT_NE(other.Handle(), nullptr);
    ASSERT_TRUE(other.ToFront());
    const DWORD behind = ::GetTickCount();
    ASSERT_TRUE(PumpUntil(kTimeoutMs, [&] { return Popup() != nullptr; }));
    const DWORD after = ::GetTickCount() - behind;
    EXPECT_GE(after, 9500u);
    EXPECT_LE(after, 15000u);
}

TEST_F(QuietProgramTest, TheNamedProgramBehindAnotherWindowHoldsNothing) {
    PlainWindow call;
    Notepad other;
    ASSERT_NE(other.Handle(), nullptr);
    ASSERT_NO_FATAL_FAILURE(Start());
    call.ToFront();
    ASSERT_TRUE(other.ToFront());
    EXPECT_TRUE(PumpUntil(12000, [&] { return Popup() != nullptr; }));
}

}  // namespace
}  // namespace pausora::test
