// The pause and the break taken on request, chosen in the real tray menu by
// their access keys, as a keyboard user would.
#include "e2e/desktop.h"
#include "e2e/program.h"
#include "menu_ids.h"
#include "scheduler/pause_clock.h"
#include "shared/win_backdoor.h"
#include "ui/utf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr int kPopupWidth = 400;
constexpr int kPopupHeight = 159;

UtcTime UtcNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (UtcTime{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

class PauseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_store.Reset();
        m_store.SetString(reg::kAppKey, reg::kFirstUse, "1");
        m_store.SetDword(reg::kSettingsKey, "UseSounds", 0);
        m_store.SetDword(reg::kSettingsKey, "CheckForUpdates", 0);
        m_store.SetDword(reg::kSettingsKey, "Bonus", 100);
    }
    void TearDown() override {
        m_program.Kill();
        m_store.Reset();
    }

    // Short breaks every `interval` seconds, two seconds long.
    void Start(std::uint32_t interval) {
        m_store.SetDword(reg::kSettingsKey, "Micropause", interval);
        m_store.SetDword(reg::kSettingsKey, "Micropause_length", 2);
        ASSERT_TRUE(m_program.Start());
        m_main = m_program.WaitForMainWindow(kTimeoutMs);
        ASSERT_NE(m_main, nullptr);
        ASSERT_TRUE(WaitForTrayIcon(kTimeoutMs));
    }

    HWND Popup() const { return m_program.FindVisibleWindowSized(kPopupWidth, kPopupHeight); }
    std::uint32_t Bonus() { return m_store.Dword(reg::kSettingsKey, "Bonus").value_or(0); }

    std::optional<std::uint64_t> PausedUntil() {
        auto key = m_store.Registry().NewKey();
        std::uint64_t value = 0;
        if (!key->Open(reg::kAppKey) || !key->ReadQword(reg::kPausedUntil, value)) {
            return std::nullopt;
        }
        return value;
    }
    void SetPausedUntil(std::uint64_t value) {
        auto key = m_store.Registry().NewKey();
        ASSERT_TRUE(key->Create(reg::kAppKey) && key->WriteQword(reg::kPausedUntil, value));
    }

    WinBackdoor m_store;
    Program m_program;
    HWND m_main = nullptr;
};

TEST_F(PauseTest, ThirtyMinutesHoldTheBreaksAndResumeBringsTheNextOnSchedule) {
    Start(10);
    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    Keys({'P'});  // the Pause submenu
    PauseForScreenshot("pause-submenu");
    const UtcTime chosen = UtcNow();
    Keys({'3'});  // For 30 minutes
    ASSERT_TRUE(WaitFor(5000, [&] { return PausedUntil().value_or(0) != 0; }))
        << "the menu command did not arrive";
    const auto until = static_cast<std::int64_t>(*PausedUntil());
    const auto expected = static_cast<std::int64_t>(chosen + 1800 * kUtcPerSecond);
    EXPECT_LT(std::abs(until - expected), static_cast<std::int64_t>(10 * kUtcPerSecond));

    // Two short-break intervals and more go by without a notice or a point.
    EXPECT_FALSE(WaitFor(22000, [&] { return Popup() != nullptr; })) << "a notice while paused";
    EXPECT_EQ(Bonus(), 100u);

    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    PauseForScreenshot("paused-menu");
    Keys({'R'});  // Resume, in the submenu's place
    ASSERT_TRUE(WaitFor(5000, [&] { return PausedUntil() == kNotPaused; }));
    const DWORD resumed = ::GetTickCount();
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() != nullptr; }))
        << "no notice after Resume";
    // A whole interval after Resume, not at once.
    EXPECT_GE(::GetTickCount() - resumed, 8000u);
}

TEST_F(PauseTest, ARestartWhilePausedStaysPaused) {
    SetPausedUntil(UtcNow() + 600 * kUtcPerSecond);
    const std::uint64_t stored = *PausedUntil();
    Start(4);
    EXPECT_FALSE(WaitFor(12000, [&] { return Popup() != nullptr; })) << "a notice while paused";
    EXPECT_EQ(Bonus(), 100u);
    EXPECT_EQ(PausedUntil(), stored);
    // Start ends the pause.
    ::SendMessageA(m_main, WM_COMMAND, ID_TRAY_STARTSTOP, 0);
    EXPECT_EQ(PausedUntil(), kNotPaused);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() != nullptr; }));
}

TEST_F(PauseTest, TakeABreakNowShowsTheLongBreakNotice) {
    Start(600);
    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    Keys({'B'});  // Take a break now
    HWND popup = nullptr;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return (popup = Popup()) != nullptr; }));
    wchar_t text[1024] = {};
    ::GetWindowTextW(popup, text, 1024);
    EXPECT_NE(Narrow(text).find("Long break time"), std::string::npos) << Narrow(text);
}

}  // namespace
}  // namespace pausora::test
