// The pause and the break taken on request, chosen in the real tray menu by
// their access keys, as a keyboard user would.
#include "e2e/fixture.h"
#include "scheduler/pause_clock.h"
#include "ui/utf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace pausora::test {
namespace {

UtcTime UtcNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return (UtcTime{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

class PauseTest : public ProgramTest {
  protected:
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
};

TEST_F(PauseTest, ThirtyMinutesHoldTheBreaksAndResumeBringsTheNextOnSchedule) {
    ShortBreaks(10);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
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
    EXPECT_FALSE(WaitForPopup(22000)) << "a notice while paused";
    EXPECT_EQ(Bonus(), 100u);

    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    PauseForScreenshot("paused-menu");
    Keys({'R'});  // Resume, in the submenu's place
    ASSERT_TRUE(WaitFor(5000, [&] { return PausedUntil() == kNotPaused; }));
    const DWORD resumed = ::GetTickCount();
    ASSERT_TRUE(WaitForPopup()) << "no notice after Resume";
    // A whole interval after Resume, not at once.
    EXPECT_GE(::GetTickCount() - resumed, 8000u);
}

TEST_F(PauseTest, ARestartWhilePausedStaysPaused) {
    SetPausedUntil(UtcNow() + 600 * kUtcPerSecond);
    const std::uint64_t stored = *PausedUntil();
    ShortBreaks(4);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    EXPECT_FALSE(WaitForPopup(12000)) << "a notice while paused";
    EXPECT_EQ(Bonus(), 100u);
    EXPECT_EQ(PausedUntil(), stored);
    // Start ends the pause.
    Command(ID_TRAY_STARTSTOP);
    EXPECT_EQ(PausedUntil(), kNotPaused);
    EXPECT_TRUE(WaitForPopup());
}

TEST_F(PauseTest, TakeABreakNowShowsTheLongBreakNotice) {
    ShortBreaks(600);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    Keys({'B'});  // Take a break now
    ASSERT_TRUE(WaitForPopup());
    wchar_t text[1024] = {};
    ::GetWindowTextW(Popup(), text, 1024);
    EXPECT_NE(Narrow(text).find("Long break time"), std::string::npos) << Narrow(text);
}

}  // namespace
}  // namespace pausora::test
