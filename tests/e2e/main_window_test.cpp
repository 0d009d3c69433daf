#include "e2e/fixture.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

std::string ItemText(HWND dialog, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

using MainWindow = ProgramTest;

TEST_F(MainWindow, TheSystemMenuOpensTheAboutBoxWhileTheProgramRuns) {
    ASSERT_NO_FATAL_FAILURE(Start());

    ::PostMessageA(m_main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND about = WaitForWindowTitled("About Pausora", kTimeoutMs);
    ASSERT_NE(about, nullptr);
    // The box exists a moment before its modal run shows it.
    EXPECT_TRUE(WaitFor(10000, [&] { return ::IsWindowVisible(about) != FALSE; }));
    EXPECT_EQ(ItemText(about, IDC_ABOUT_TITLE), "About Pausora");
    EXPECT_EQ(ItemText(about, IDC_ABOUT_VERSION), "Version 1.1");
    // The picture fills the left column from top to bottom at any scaling,
    // and keeps its proportions (164 x 314 as drawn).
    RECT client{};
    ::GetClientRect(about, &client);
    RECT picture{};
    ::GetWindowRect(::GetDlgItem(about, IDC_ABOUT_WATERMARK), &picture);
    const int height = picture.bottom - picture.top;
    EXPECT_NEAR(height, client.bottom, 3);
    EXPECT_NEAR(picture.right - picture.left, height * 164 / 314, 3);
    PauseForScreenshot("about");

    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor(5000, [&] { return !::IsWindow(about); }));
    EXPECT_FALSE(m_program.WaitForExit(0));

    ::PostMessageA(m_main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_program.WaitForExit(kTimeoutMs));
}

}  // namespace
}  // namespace pausora::test
