// The computer wakes while a break is on screen: the running program ends the
// break quietly, with its points paid once.
#include "store/time_settings.h"
#include "e2e/program.h"
#include "shared/win_backdoor.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr int kPopupWidth = 400;
constexpr int kPopupHeight = 159;

TEST(Resume, AWakeEndsTheRunningBreakWithoutANoticeAndPaysItOnce) {
    WinBackdoor store;
    store.Reset();
    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    store.SetString(reg::kAppKey, reg::kInstallDir, Program::Folder());
    // A long break after 3 seconds whose notice would stay up for a minute.
    store.SetDword(reg::kSettingsKey, "Micropause", 0);
    store.SetDword(reg::kSettingsKey, "Pause", 3);
    store.SetDword(reg::kSettingsKey, "Pause_length", 60);
    store.SetDword(reg::kSettingsKey, "UseSounds", 0);
    store.SetDword(reg::kSettingsKey, "CheckForUpdates", 0);
    store.SetDword(reg::kSettingsKey, "Bonus", 100);

    Program program;
    ASSERT_TRUE(program.Start());
    const HWND main = program.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(main, nullptr);
    const auto popup = [&] { return program.FindVisibleWindowSized(kPopupWidth, kPopupHeight); };
    const DWORD until = ::GetTickCount() + kTimeoutMs;
    while (popup() == nullptr && static_cast<int>(until - ::GetTickCount()) > 0) {
        ::Sleep(50);
    }
    ASSERT_NE(popup(), nullptr);
    ::Sleep(1000);  // fully in

    ::SendMessageA(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    ::SendMessageA(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    ::Sleep(1500);  // the notice goes back into the taskbar
    EXPECT_EQ(popup(), nullptr);
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "Bonus"), 110u);
    // The system announced the wake twice; the break was paid once.
    ::Sleep(1000);
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "Bonus"), 110u);
    program.Kill();
    store.Reset();
}

}  // namespace
}  // namespace pausora::test
