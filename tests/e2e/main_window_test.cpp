#include "e2e/program.h"
#include "shared/win_backdoor.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr WPARAM kAboutCommand = 0x0010;

std::string ItemText(HWND dialog, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

TEST(MainWindow, TheSystemMenuOpensTheAboutBoxWhileTheProgramRuns) {
    WinBackdoor store;
    store.Reset();
    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    Program program;
    ASSERT_TRUE(program.Start());
    const HWND mainWindow = program.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(mainWindow, nullptr);

    ::PostMessageA(mainWindow, WM_SYSCOMMAND, kAboutCommand, 0);
    const HWND about = WaitForWindowTitled("About Pausora", kTimeoutMs);
    ASSERT_NE(about, nullptr);
    // The box exists a moment before its modal run shows it.
    for (int i = 0; i < 200 && !::IsWindowVisible(about); ++i) {
        ::Sleep(50);
    }
    EXPECT_TRUE(::IsWindowVisible(about));
    EXPECT_EQ(ItemText(about, 1045), "About Pausora");
    EXPECT_EQ(ItemText(about, 1044), "Version 1.1");
    // The picture fills the left column from top to bottom at any scaling,
    // and keeps its proportions (164 x 314 as drawn).
    RECT client{};
    ::GetClientRect(about, &client);
    RECT picture{};
    ::GetWindowRect(::GetDlgItem(about, 1046), &picture);
    const int height = picture.bottom - picture.top;
    EXPECT_NEAR(height, client.bottom, 3);
    EXPECT_NEAR(picture.right - picture.left, height * 164 / 314, 3);
    PauseForScreenshot("about");

    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && ::IsWindow(about); ++i) {
        ::Sleep(50);
    }
    EXPECT_FALSE(::IsWindow(about));
    EXPECT_FALSE(program.WaitForExit(0));

    ::PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(kTimeoutMs));
    store.Reset();
}

}  // namespace
}  // namespace pausora::test
