// Ending the program from outside: the system's task list and the end of a
// Windows session must end the process, so that the single-instance guard
// lets the next start through.
#include "e2e/fixture.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

constexpr DWORD kEndsWithinMs = 5000;

class ShutdownTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_TRUE(WaitFor(kTimeoutMs, WineTrayShown));
    }

    // A later start must come up and stay, with its icon in the tray.
    void ExpectANewStartToRun() {
        EXPECT_TRUE(WaitFor(kEndsWithinMs, [] { return !WineTrayShown(); }));
        Program next;
        ASSERT_TRUE(next.Start());
        EXPECT_NE(next.WaitForMainWindow(kTimeoutMs), nullptr);
        EXPECT_FALSE(next.WaitForExit(1500)) << "the next start gave up at once";
        EXPECT_TRUE(WaitFor(kTimeoutMs, WineTrayShown));
        EXPECT_EQ(Bonus(), 100u);
    }
};

TEST_F(ShutdownTest, TaskkillWithoutForceEndsTheProcess) {
    // Without /f, taskkill posts WM_CLOSE to every top-level window of the
    // program and leaves the rest to it.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION taskkill{};
    char command[] = "taskkill.exe /im Pausora.exe";
    ASSERT_TRUE(::CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &taskkill));
    ::WaitForSingleObject(taskkill.hProcess, kTimeoutMs);
    DWORD taskkillCode = 1;
    ::GetExitCodeProcess(taskkill.hProcess, &taskkillCode);
    ::CloseHandle(taskkill.hThread);
    ::CloseHandle(taskkill.hProcess);
    EXPECT_EQ(taskkillCode, 0u);

    EXPECT_TRUE(m_program.WaitForExit(kEndsWithinMs));
    ExpectANewStartToRun();
}

TEST_F(ShutdownTest, TheEndOfTheSessionEndsTheProcess) {
    // What the system sends to every top-level window at log-off.
    const std::vector<HWND> windows = m_program.TopLevelWindows();
    ASSERT_FALSE(windows.empty());
    for (const HWND window : windows) {
        DWORD_PTR mayEnd = 0;
        EXPECT_NE(::SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                        SMTO_ABORTIFHUNG, kEndsWithinMs, &mayEnd),
                  0);
        EXPECT_EQ(mayEnd, static_cast<DWORD_PTR>(TRUE));
    }
    // Posted and sent: ending once is all it may do.
    m_program.Broadcast(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, Program::Delivery::kPostThenSend);
    EXPECT_TRUE(m_program.WaitForExit(kEndsWithinMs));
    ExpectANewStartToRun();
}

}  // namespace
}  // namespace pausora::test
