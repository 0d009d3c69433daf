// What the system tells the running program, delivered as Windows delivers
// it: a wake while a break is on screen ends the break quietly, with its
// points paid once; a locked session is time away.
#include "store/time_settings.h"
#include "e2e/program.h"
#include "shared/wait.h"
#include "shared/win_backdoor.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr int kPopupWidth = 400;
constexpr int kPopupHeight = 159;

// The system tells every top-level window of the program, not the hidden main
// window, and a wake by the user comes twice: each of them, sent and posted.
TEST(Resume, AWakeEndsTheRunningBreakWithoutANoticeAndPaysItOnce) {
    for (const auto delivery :
         {Program::Delivery::kSendThenPost, Program::Delivery::kPostThenSend}) {
        SCOPED_TRACE(static_cast<int>(delivery));
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
        ASSERT_NE(program.WaitForMainWindow(kTimeoutMs), nullptr);
        const auto popup = [&] {
            return program.FindVisibleWindowSized(kPopupWidth, kPopupHeight);
        };
        ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return popup() != nullptr; }));
        ::Sleep(1000);  // fully in

        // Notices that change nothing here leave the notice where it is.
        RECT before{};
        ::GetWindowRect(popup(), &before);
        program.Broadcast(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, delivery);
        program.Broadcast(WM_DISPLAYCHANGE, 24, MAKELPARAM(1280, 800), delivery);
        program.Broadcast(WM_TIMECHANGE, 0, 0, delivery);
        ::Sleep(300);
        RECT after{};
        ASSERT_NE(popup(), nullptr);
        ::GetWindowRect(popup(), &after);
        EXPECT_TRUE(::EqualRect(&before, &after));

        program.Broadcast(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, delivery);
        program.Broadcast(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0, delivery);
        ::Sleep(1500);  // the notice goes back into the taskbar
        EXPECT_EQ(popup(), nullptr);
        EXPECT_EQ(store.Dword(reg::kSettingsKey, "Bonus"), 110u);
        // Told many times; the break was paid once.
        ::Sleep(1000);
        EXPECT_EQ(store.Dword(reg::kSettingsKey, "Bonus"), 110u);
        program.Kill();
        store.Reset();
    }
}

// Input that goes on behind a locked screen (a program that keeps the
// computer awake) keeps a break open; the lock itself ends it.
TEST(SessionLock, ALockedSessionLetsTheBreakEndWhateverTheInput) {
    WinBackdoor store;
    store.Reset();
    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    store.SetString(reg::kAppKey, reg::kInstallDir, Program::Folder());
    store.SetDword(reg::kSettingsKey, "Micropause", 3);
    store.SetDword(reg::kSettingsKey, "Micropause_length", 2);
    store.SetDword(reg::kSettingsKey, "UseSounds", 0);
    store.SetDword(reg::kSettingsKey, "CheckForUpdates", 0);
    store.SetDword(reg::kSettingsKey, "Bonus", 100);
    const auto bonus = [&] { return store.Dword(reg::kSettingsKey, "Bonus").value_or(0); };
    const auto nudgeFor = [](DWORD ms) {
        for (const DWORD until = ::GetTickCount() + ms;
             static_cast<int>(until - ::GetTickCount()) > 0;) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = MOUSEEVENTF_MOVE;
            input.mi.dx = 1;
            ::SendInput(1, &input, sizeof input);
            ::Sleep(200);
        }
    };

    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(kTimeoutMs), nullptr);
    nudgeFor(8000);  // a break began at 3 s and stays open
    EXPECT_LE(bonus(), 100u);
    const std::uint32_t atLock = bonus();
    program.Broadcast(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0, Program::Delivery::kSendThenPost);
    nudgeFor(5000);
    EXPECT_GE(bonus(), atLock + 2);
    program.Kill();
    store.Reset();
}

}  // namespace
}  // namespace pausora::test
