// The computer sleeps and wakes: a sleep is a break the user has taken, in
// whatever order the overdue timer messages arrive and whether or not the
// system announces the wake.
#include "artwork_ids.h"
#include "core/engine_sim.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pausora::sim {
namespace {

using ::testing::IsEmpty;

constexpr std::uint64_t kNight = 8 * 3600;

struct Wake {
    WakeOrder order;
    WakeNotice notice;
};

std::vector<Wake> EveryWake() {
    std::vector<Wake> wakes;
    for (WakeOrder order : {WakeOrder::kByDueTime, WakeOrder::kById, WakeOrder::kByIdBackwards}) {
        for (WakeNotice notice : {WakeNotice::kNone, WakeNotice::kFirst, WakeNotice::kLast}) {
            wakes.push_back({order, notice});
        }
    }
    return wakes;
}

std::string Describe(const Wake& wake) {
    return "order " + std::to_string(static_cast<int>(wake.order)) + ", notice " +
           std::to_string(static_cast<int>(wake.notice));
}

// What the user met from `fromMs` on.
std::vector<Notice> NoticesSince(const EngineSim& sim, std::uint64_t fromMs) {
    std::vector<Notice> since;
    for (const Notice& notice : sim.presenter.notices) {
        if (notice.atMs >= fromMs) {
            since.push_back(notice);
        }
    }
    return since;
}

std::size_t SoundsSince(const EngineSim& sim, std::uint64_t fromMs) {
    std::size_t count = 0;
    for (const SoundPlay& play : sim.presenter.sounds) {
        count += play.atMs >= fromMs ? 1 : 0;
    }
    return count;
}

// Sleeps at `sleepAt` seconds and checks the quiet wake: no notice, no sound,
// `earned` points, and the next short break a whole interval after the wake.
void ExpectQuietWake(std::uint64_t sleepAt, std::uint32_t earned, bool typingAfterWake) {
    for (const Wake& wake : EveryWake()) {
        SCOPED_TRACE(Describe(wake));
        EngineSim sim;
        sim.settings.Bonus = 100;
        sim.settings.UseWorkingTime = 0;  // the night ends after five
        sim.Start();
        sim.AdvanceTo(sleepAt);
        const bool popupBefore = sim.presenter.popupShown;
        const std::uint32_t before = sim.Bonus();
        sim.SleepAndWake(kNight, wake.order, wake.notice);
        const std::uint64_t wokeMs = sim.NowMs();
        EXPECT_EQ(sim.Bonus(), before + earned);
        EXPECT_EQ(sim.StoredBonus().value_or(before), before + earned);
        EXPECT_FALSE(sim.presenter.popupShown && popupBefore) << "the old notice is still up";
        EXPECT_EQ(sim.presenter.icon, IDI_TRAY_NORMAL);
        EXPECT_FALSE(sim.presenter.animating);

        sim.Advance(419, typingAfterWake);
        EXPECT_THAT(NoticesSince(sim, wokeMs), IsEmpty()) << sim.LogText();
        EXPECT_EQ(SoundsSince(sim, wokeMs), 0u);
        EXPECT_EQ(sim.Bonus(), before + earned);
        sim.Advance(1, typingAfterWake);
        const auto next = NoticesSince(sim, wokeMs);
        ASSERT_EQ(next.size(), 1u) << sim.LogText();
        EXPECT_EQ(next[0].title, "Short break time");
        EXPECT_EQ(next[0].atMs, wokeMs + 420 * 1000);
    }
}

TEST(Sleep, AWakeBringsTheNormalScheduleWithoutABurstAndPaysARunningBreakOnce) {
    const struct {
        const char* asleep;
        std::uint64_t at;
        std::uint32_t earned;
        bool typingAfterWake;
    } cases[] = {
        {"between breaks", 100, 0, true},
        {"between breaks, idle after", 100, 0, false},
        {"in a short break", 425, 2, true},
        // The long break falls due at 3600 s; its notice would stay for 600 s.
        {"in a long break", 3700, 10, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asleep);
        ExpectQuietWake(c.at, c.earned, c.typingAfterWake);
    }
}

TEST(Sleep, DuringTheFirmerReminderStillPaysOnlyTheBreak) {
    for (const Wake& wake : EveryWake()) {
        SCOPED_TRACE(Describe(wake));
        EngineSim sim;
        sim.settings.Bonus = 100;
        sim.Start();
        sim.AdvanceTo(420 + 425, true);  // typed through a whole interval: blinking, 99
        ASSERT_TRUE(sim.presenter.animating);
        ASSERT_EQ(sim.Bonus(), 99u);
        sim.SleepAndWake(kNight, wake.order, wake.notice);
        EXPECT_EQ(sim.Bonus(), 101u);
        EXPECT_FALSE(sim.presenter.animating);
        EXPECT_EQ(sim.presenter.icon, IDI_TRAY_NORMAL);
    }
}

TEST(Sleep, AcrossMidnightTheNewDayCountsFromZero) {
    for (const Wake& wake : EveryWake()) {
        SCOPED_TRACE(Describe(wake));
        EngineSim sim;
        sim.calendar.start = {2026, 12, 7, 16, 0, 0};
        sim.Start();
        sim.AdvanceTo(6 * 3600 + 30, true);  // 22:00, six hours at the keyboard
        ASSERT_EQ(sim.engine.FullWorkTime(), 360u);
        sim.SleepAndWake(10 * 3600, wake.order, wake.notice);  // 08:00:30 next morning
        EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 8u);
        EXPECT_EQ(sim.StoredFullWorkTime(), 0u);
        const std::uint64_t wokeMs = sim.NowMs();
        sim.Advance(3600, true);
        EXPECT_EQ(sim.engine.FullWorkTime(), 60u);
        for (const Notice& notice : NoticesSince(sim, wokeMs)) {
            EXPECT_NE(notice.title, "Work time limit exceeded!");
        }
    }
}

TEST(Sleep, AStoppedScheduleStaysStoppedAndOnlyTheDayTurns) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 22, 0, 0};
    sim.Start();
    sim.AdvanceTo(120, true);
    sim.engine.ToggleStartStop();
    sim.SleepAndWake(kNight, WakeOrder::kByDueTime, WakeNotice::kFirst);
    EXPECT_TRUE(sim.engine.IsStopped());
    EXPECT_THAT(sim.Armed(), IsEmpty());
    EXPECT_EQ(sim.StoredFullWorkTime(), 0u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 8u);
}

// Windows tells each of the program's windows, and a wake by the user twice;
// every notice until the schedule takes its next step is the same wake.
TEST(Sleep, AWakeToldManyTimesRestartsTheScheduleOnce) {
    EngineSim sim;
    sim.settings.Bonus = 100;
    sim.Start();
    sim.AdvanceTo(425);  // in a short break
    sim.engine.OnResume();
    const std::size_t calls = sim.presenter.log.size();
    for (int i = 0; i < 5; ++i) {
        sim.engine.OnResume();
    }
    EXPECT_EQ(sim.presenter.log.size(), calls) << sim.LogText();
    EXPECT_EQ(sim.Bonus(), 102u);
    // After a step, a notice is a wake of its own again.
    sim.Advance(1);
    sim.engine.OnResume();
    EXPECT_GT(sim.presenter.log.size(), calls);
    EXPECT_EQ(sim.Armed(), (std::set<std::uint32_t>{1, 3, 6, 8}));
}

TEST(StaleMessages, AMessageFromBeforeAKillOrAFreshArmingIsIgnored) {
    EngineSim sim;
    sim.settings.Bonus = 100;
    sim.Start();
    sim.AdvanceTo(425);  // in a short break
    // Both were posted just before the short break's end killed the poll
    // and armed the interval afresh.
    sim.AdvanceTo(431);
    ASSERT_EQ(sim.Bonus(), 102u);
    sim.engine.OnTimer(TIMER_SHORT_END);
    sim.engine.OnTimer(TIMER_SHORT_DUE);
    sim.engine.OnTimer(TIMER_SHORT_POLL);
    EXPECT_EQ(sim.Bonus(), 102u);
    EXPECT_EQ(sim.presenter.notices.size(), 1u);
    EXPECT_EQ(sim.Armed(), (std::set<std::uint32_t>{1, 3, 6, 8}));
}

TEST(TimeReset, ABreakDueAfterAnAbsenceAsLongAsItIsSkippedWhenTheUserSaysSo) {
    for (std::uint32_t reset : {0u, 1u}) {
        SCOPED_TRACE(reset);
        EngineSim sim;
        sim.settings.UseTimeReset = reset;
        sim.Start();
        // Typing, then away from 400 s on: at 420 s the user has been idle
        // for 20 s, longer than the 11-second break.
        sim.AdvanceTo(400, true);
        sim.AdvanceTo(421);
        EXPECT_EQ(sim.NoticeTimes("Short break time").size(), reset == 0 ? 1u : 0u);
    }
}

}  // namespace
}  // namespace pausora::sim
