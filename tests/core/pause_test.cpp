// The pause of the tray menu and the break taken on request, on the virtual
// clock: how long each pause lasts, how it ends, what a restart, a sleep and
// a clock that is set make of it.
#include "artwork_ids.h"
#include "core/engine_sim.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pausora::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::set<std::uint32_t> kPaused = {TIMER_MINUTE, TIMER_PAUSE_END};
const std::set<std::uint32_t> kPausedIndefinitely = {TIMER_MINUTE};
const std::set<std::uint32_t> kWorking = {TIMER_SHORT_DUE, TIMER_LONG_DUE, TIMER_WORK_POLL,
                                          TIMER_MINUTE};

std::optional<std::uint64_t> Stored(const EngineSim& sim) {
    return sim.registry.Qword(reg::kAppKey, reg::kPausedUntil);
}

std::string StateLine(const EngineSim& sim) {
    return sim.presenter.tooltip.substr(0, sim.presenter.tooltip.find('\n'));
}

// A pause chosen at `startMs` ended at `endSeconds` when the schedule runs
// again from there: the first short break a whole interval later.
void ExpectResumedAt(EngineSim& sim, std::uint64_t endSeconds) {
    sim.AdvanceTo(endSeconds - 1);
    EXPECT_TRUE(sim.engine.IsPaused()) << "ended before " << endSeconds << " s";
    sim.AdvanceTo(endSeconds);
    EXPECT_FALSE(sim.engine.IsPaused()) << "still paused at " << endSeconds << " s";
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Normal)\nNext break in 7 min\nYour experience: 0");
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_EQ(Stored(sim), kNotPaused);
    EXPECT_EQ(sim.presenter.icon, IDI_TRAY_NORMAL);
    EXPECT_EQ(sim.presenter.caption, "Stop");
    sim.AdvanceTo(endSeconds + 420);
    EXPECT_EQ(sim.NoticeTimes("Short break time").back(), endSeconds + 420);
}

TEST(Pause, EachLengthStopsTheScheduleUntilItsEnd) {
    struct Row {
        PauseLength length;
        bool useWorkingTime;
        std::uint64_t seconds;  // 0: until the user resumes
        const char* line;
    };
    const Row rows[] = {
        {PauseLength::kMinutes30, true, 1800, "Paused until 09:30"},
        {PauseLength::kHour1, true, 3600, "Paused until 10:00"},
        {PauseLength::kHours2, true, 7200, "Paused until 11:00"},
        // The next day's start of work (07:45), or 08:00 with working time off.
        {PauseLength::kUntilTomorrow, true, 22 * 3600 + 45 * 60, "Paused until tomorrow 07:45"},
        {PauseLength::kUntilTomorrow, false, 23 * 3600, "Paused until tomorrow 08:00"},
        {PauseLength::kUntilResumed, true, 0, "Paused"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EngineSim sim;
        sim.settings.StartWorkTime_hours = 7;
        sim.settings.StartWorkTime_minutes = 45;
        sim.settings.UseWorkingTime = row.useWorkingTime ? 1 : 0;
        sim.Start();
        sim.engine.Pause(row.length);
        EXPECT_EQ(sim.presenter.icon, IDI_TRAY_STOPPED);
        EXPECT_EQ(sim.presenter.caption, "Start");
        EXPECT_EQ(sim.presenter.tooltip, std::string(row.line) + "\nYour experience: 0");
        EXPECT_EQ(Stored(sim), row.seconds == 0 ? kPausedUntilResumed
                                                : sim.wall.Utc(sim.calendar.start) +
                                                      row.seconds * kUtcPerSecond);
        EXPECT_EQ(sim.Armed(), row.seconds == 0 ? kPausedIndefinitely : kPaused);
        if (row.seconds == 0) {
            sim.Advance(3 * 24 * 3600);
            EXPECT_TRUE(sim.engine.IsPaused());
            sim.engine.Resume();
            EXPECT_EQ(sim.Armed(), kWorking);
            EXPECT_EQ(Stored(sim), kNotPaused);
            sim.Advance(420);
        } else {
            ExpectResumedAt(sim, row.seconds);
        }
        // Nothing came while paused: the only break notices are after it.
        EXPECT_EQ(sim.presenter.notices.size(), 1u) << sim.LogText();
        EXPECT_EQ(sim.presenter.sounds.size(), 1u);
        EXPECT_EQ(sim.Bonus(), 0u);
    }
}

// "Until tomorrow" ends at the next start of work still ahead, 08:00 here:
// this morning's after midnight. The nights from Saturday to Sunday, 28 to 29
// March 2026, when at 02:00 the clocks go forward to 03:00, and 24 to 25
// October, back from 03:00 to 02:00, last an hour less and more.
TEST(Pause, UntilTomorrowIsTheNextStartOfWorkStillAhead) {
    constexpr std::int64_t kWinter = 3600;
    constexpr std::int64_t kSummer = 7200;
    struct Row {
        LocalTime choice;
        std::int64_t before, after;  // offsets east of UTC
        LocalTime change;            // the change, in local time before it
        std::string_view line;
        std::uint64_t seconds;
    };
    const Row rows[] = {
        {{2026, 12, 8, 0, 30, 0}, kWinter, kWinter, {}, "Paused until 08:00", 7 * 3600 + 1800},
        {{2026, 12, 8, 7, 59, 0}, kWinter, kWinter, {}, "Paused until 08:00", 60},
        {{2026, 12, 8, 8, 0, 0}, kWinter, kWinter, {}, "Paused until tomorrow 08:00", 24 * 3600},
        {{2026, 12, 8, 23, 59, 0},
         kWinter,
         kWinter,
         {},
         "Paused until tomorrow 08:00",
         8 * 3600 + 60},
        {{2026, 3, 28, 23, 30, 0},
         kWinter,
         kSummer,
         {2026, 3, 29, 2, 0, 0},
         "Paused until tomorrow 08:00",
         8 * 3600 + 1800 - 3600},
        {{2026, 3, 29, 1, 30, 0},
         kWinter,
         kSummer,
         {2026, 3, 29, 2, 0, 0},
         "Paused until 08:00",
         6 * 3600 + 1800 - 3600},
        {{2026, 10, 24, 23, 30, 0},
         kSummer,
         kWinter,
         {2026, 10, 25, 3, 0, 0},
         "Paused until tomorrow 08:00",
         8 * 3600 + 1800 + 3600},
        {{2026, 10, 25, 1, 30, 0},
         kSummer,
         kWinter,
         {2026, 10, 25, 3, 0, 0},
         "Paused until 08:00",
         6 * 3600 + 1800 + 3600},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.choice.month << "-" << row.choice.day << " "
                                          << row.choice.hour << ":" << row.choice.minute);
        EngineSim sim;
        sim.settings.UseWorkingTime = 1;
        sim.settings.StartWorkTime_hours = 8;
        sim.calendar.start = row.choice;
        sim.wall.offsetSeconds = row.before;
        if (row.change.year != 0) {
            sim.wall.changeAt = sim.wall.Utc(row.change);
        }
        sim.wall.offsetAfter = row.after;
        sim.Start();
        sim.engine.Pause(PauseLength::kUntilTomorrow);
        EXPECT_EQ(StateLine(sim), row.line);
        if (row.choice.hour == 23) {
            sim.AdvanceTo(3600);  // past midnight: the same morning is today's now
            EXPECT_EQ(StateLine(sim), "Paused until 08:00");
        }
        ExpectResumedAt(sim, row.seconds);
    }
}

TEST(Pause, AWakePastTheEndResumesAtOnceInEveryOrderOfMessages) {
    for (WakeOrder order : {WakeOrder::kByDueTime, WakeOrder::kById, WakeOrder::kByIdBackwards}) {
        for (WakeNotice notice : {WakeNotice::kNone, WakeNotice::kFirst, WakeNotice::kLast}) {
            SCOPED_TRACE(static_cast<int>(order) * 3 + static_cast<int>(notice));
            EngineSim sim;
            sim.Start();
            sim.AdvanceTo(100);
            sim.engine.Pause(PauseLength::kMinutes30);
            sim.AdvanceTo(700);
            sim.SleepAndWake(600, order, notice);  // wakes before the end
            EXPECT_TRUE(sim.engine.IsPaused());
            EXPECT_EQ(sim.Armed(), kPaused);
            sim.SleepAndWake(3600, order, notice);  // and past it
            EXPECT_FALSE(sim.engine.IsPaused());
            EXPECT_EQ(sim.Armed(), kWorking);
            const std::uint64_t woke = sim.NowMs() / 1000;
            sim.Advance(420);
            EXPECT_THAT(sim.NoticeTimes("Short break time"), ElementsAre(woke + 420));
        }
    }
}

TEST(Pause, ASetClockNeverMakesItLongerThanChosen) {
    struct Row {
        std::int64_t shift;        // the clock set at 600 s of a one-hour pause
        std::uint64_t endSeconds;  // when it ends, in real time
        const char* line;          // what the tooltip says then
    };
    const Row rows[] = {
        {-1800, 3600, "Paused until 09:30"},   // back: the tick count ends it on time
        {-86400, 3600, "Paused until 10:00"},  // back a whole day
        {+600, 3000, "Paused until 10:00"},    // forwards: the clock ends it when it shows 10:00
        {+7200, 660, "Paused until 10:00"},    // forwards past the end: within the minute
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shift);
        EngineSim sim;
        sim.Start();
        sim.engine.Pause(PauseLength::kHour1);
        sim.AdvanceTo(600);
        sim.calendar.shiftSeconds = row.shift;
        sim.AdvanceTo(row.endSeconds - 60 + 1);
        if (row.shift < 0) {
            // The stored end follows, so a restart cannot stretch it either.
            EXPECT_EQ(Stored(sim), sim.wall.Utc(sim.calendar.start) +
                                       static_cast<UtcTime>(3600 + row.shift) * kUtcPerSecond);
            EXPECT_EQ(StateLine(sim), row.line);
        }
        ExpectResumedAt(sim, row.endSeconds);
    }
}

TEST(Pause, ARestartKeepsAStoredPauseAndDropsADamagedOne) {
    const UtcTime now = [] {
        EngineSim sim;
        return sim.wall.Utc(sim.calendar.start);
    }();
    using Type = MemoryRegistry::Type;
    const auto qword = [](std::uint64_t value) {
        std::vector<std::uint8_t> bytes(8);
        for (std::size_t i = 0; i < 8; ++i) {
            bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return bytes;
    };
    const UtcTime in20min = now + 1200 * kUtcPerSecond;
    struct Row {
        const char* what;
        Type type;
        std::vector<std::uint8_t> bytes;
        bool paused;
        const char* line;
    };
    const Row rows[] = {
        {"20 minutes ahead", Type::kQword, qword(in20min), true, "Paused until 09:20"},
        {"until resumed", Type::kQword, qword(kPausedUntilResumed), true, "Paused"},
        {"47 hours ahead", Type::kQword, qword(now + 47 * 3600 * kUtcPerSecond), true,
         "Paused until 2026-12-09 08:00"},
        {"not paused", Type::kQword, qword(0), false, ""},
        {"past", Type::kQword, qword(now - kUtcPerSecond), false, ""},
        {"49 hours ahead", Type::kQword, qword(now + 49 * 3600 * kUtcPerSecond), false, ""},
        {"beyond any date", Type::kQword, qword(0x8000000000000000ull), false, ""},
        {"a DWORD", Type::kDword, {1, 2, 3, 4}, false, ""},
        {"seven bytes", Type::kQword, {1, 2, 3, 4, 5, 6, 7}, false, ""},
        {"binary", Type::kBinary, qword(in20min), false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EngineSim sim;
        sim.registry.SetRaw(reg::kAppKey, reg::kPausedUntil, row.type, row.bytes);
        sim.Start();
        EXPECT_EQ(sim.engine.IsPaused(), row.paused);
        if (row.paused) {
            sim.engine.RefreshTray();
            EXPECT_EQ(sim.presenter.icon, IDI_TRAY_STOPPED);
            EXPECT_EQ(StateLine(sim), row.line);
            EXPECT_EQ(sim.presenter.caption, "Start");
            continue;
        }
        EXPECT_EQ(sim.Armed(), kWorking);
        // A value that meant something once is put right; none is left alone.
        const auto raw = sim.registry.Raw(reg::kAppKey, reg::kPausedUntil);
        if (row.type == Type::kQword && row.bytes == qword(0)) {
            EXPECT_EQ(raw->bytes, qword(0));
        }
        if (row.type == Type::kQword && row.bytes.size() == 8 && row.bytes != qword(0)) {
            EXPECT_EQ(Stored(sim), kNotPaused);
        }
    }
    // The pause read back ends at its stored time.
    EngineSim sim;
    sim.registry.SetRaw(reg::kAppKey, reg::kPausedUntil, Type::kQword, qword(in20min));
    sim.Start();
    ExpectResumedAt(sim, 1200);
}

TEST(Pause, CountsWorkTimeQuietlyAndEndsWithStartButNotWithASettingsChange) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 17, 0, 0};  // the working day is over
    sim.settings.UseWorkingTime = 1;
    sim.Start();
    sim.AdvanceTo(90, true);
    sim.engine.Pause(PauseLength::kHours2);
    const std::uint32_t before = sim.engine.FullWorkTime();
    const std::size_t notices = sim.presenter.notices.size();
    sim.AdvanceTo(90 + 3600, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), before + 60);
    EXPECT_EQ(sim.StoredFullWorkTime(), before + 60);
    EXPECT_EQ(sim.presenter.notices.size(), notices) << sim.LogText();

    sim.engine.ApplySettings();
    EXPECT_TRUE(sim.engine.IsPaused());
    EXPECT_EQ(sim.Armed(), kPaused);
    sim.engine.ToggleStartStop();
    EXPECT_FALSE(sim.engine.IsPaused());
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_EQ(Stored(sim), kNotPaused);
    EXPECT_FALSE(sim.engine.IsStopped());
}

TEST(BreakNow, IsALongBreakPaidAndCountedLikeAnyOther) {
    EngineSim sim;
    sim.settings.Bonus = 5;
    sim.Start();
    sim.AdvanceTo(100);
    ASSERT_TRUE(sim.engine.TakeBreakNow());
    EXPECT_THAT(sim.NoticeTimes("Long break time"), ElementsAre(100));
    EXPECT_EQ(sim.presenter.notices.back().stayMs, 600000u);
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kLongBreak), ElementsAre(100));
    EXPECT_FALSE(sim.engine.CanTakeBreakNow()) << "a break runs";
    sim.AdvanceTo(700);
    EXPECT_EQ(sim.Bonus(), 15u);
    EXPECT_EQ(sim.StoredBonus(), 15u);
    // The next long break a whole interval after this one's end, the next
    // short one a whole short interval after it.
    sim.AdvanceTo(700 + 3600);
    EXPECT_THAT(sim.NoticeTimes("Long break time"), ElementsAre(100, 4300));
    EXPECT_EQ(sim.NoticeTimes("Short break time").front(), 1120u);
}

TEST(BreakNow, IsRefusedWhileABreakRunsStoppedPausedOrWithLongBreaksOff) {
    struct Row {
        const char* what;
        std::function<void(EngineSim&)> setUp;
    };
    const Row rows[] = {
        {"short break", [](EngineSim& sim) { sim.AdvanceTo(425); }},
        {"stopped", [](EngineSim& sim) { sim.engine.ToggleStartStop(); }},
        {"paused", [](EngineSim& sim) { sim.engine.Pause(PauseLength::kUntilResumed); }},
        {"long breaks off", [](EngineSim& sim) { sim.settings.UsePauses = 0; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EngineSim sim;
        sim.Start();
        sim.AdvanceTo(10);
        row.setUp(sim);
        const auto armed = sim.Armed();
        EXPECT_FALSE(sim.engine.CanTakeBreakNow());
        EXPECT_FALSE(sim.engine.TakeBreakNow());
        EXPECT_TRUE(sim.NoticeTimes("Long break time").empty());
        EXPECT_EQ(sim.Armed(), armed);
    }
}

// The tooltip's line, and the icon's count when the user asks for it: the
// same minutes, rounded up, up to 99; nothing in a break or a hold.
TEST(Tooltip, SaysWhenTheNextShownBreakComes) {
    struct Row {
        std::uint32_t shortEvery, longEvery, useShort;
        std::uint64_t at;
        const char* line;
        std::uint32_t count;
    };
    const Row rows[] = {
        {420, 3600, 1, 0, "Next break in 7 min", 7},  // at the start
        {420, 3600, 1, 60, "Next break in 6 min", 6},
        {90, 3600, 1, 60, "Next break in less than a minute", 1},
        {420, 600, 1, 60, "Next break in 6 min", 6},  // the earlier of the two
        {420, 300, 1, 60, "Next break in 4 min", 4},
        {420, 3600, 0, 60, "Next break in 59 min", 59},  // silent short breaks are not breaks
        {420, 6000, 0, 60, "Next break in 99 min", 99},
        {420, 7200, 0, 60, "Next break in 119 min", 0},
    };
    for (const Row& row : rows) {
        for (const std::uint32_t countdown : {0u, 1u}) {
            SCOPED_TRACE(::testing::Message() << row.line << ", countdown " << countdown);
            EngineSim sim;
            sim.settings.Micropause = row.shortEvery;
            sim.settings.Pause = row.longEvery;
            sim.settings.UseMicropauses = row.useShort;
            sim.settings.IconCountdown = countdown;
            sim.Start();
            sim.engine.RefreshTray();
            sim.AdvanceTo(row.at);
            EXPECT_EQ(sim.presenter.tooltip,
                      std::string("Pausora (Normal)\n") + row.line + "\nYour experience: 0");
            EXPECT_EQ(sim.presenter.countdown, countdown * row.count);
        }
    }
    EngineSim sim;
    sim.settings.IconCountdown = 1;
    sim.Start();
    sim.AdvanceTo(421);
    EXPECT_EQ(sim.presenter.countdown, 0u) << "in a break";
    sim.AdvanceTo(480);
    EXPECT_EQ(sim.presenter.countdown, 7u) << "after it";
    sim.busy.busy = true;
    sim.AdvanceTo(900, true);
    EXPECT_EQ(sim.presenter.countdown, 0u) << "while a break is held";
}

TEST(PauseClockRules, StoredValuesAndTheirLimits) {
    const UtcTime now = 133'000'000'000'000'000ull;
    EXPECT_EQ(DecodePausedUntil(kPausedUntilResumed, now), kPausedUntilResumed);
    EXPECT_EQ(DecodePausedUntil(now + kLongestPause, now), now + kLongestPause);
    EXPECT_EQ(DecodePausedUntil(now + kLongestPause + 1, now), std::nullopt);
    EXPECT_EQ(DecodePausedUntil(now, now), std::nullopt);
    EXPECT_EQ(DecodePausedUntil(0, now), std::nullopt);
    EXPECT_EQ(DecodePausedUntil(kLastUtcTime + 1, now), std::nullopt);
    EXPECT_EQ(NextDay({2026, 12, 31, 23, 0, 0}).year, 2027u);
    EXPECT_EQ(NextDay({2028, 2, 28, 0, 0, 0}).day, 29u);
    EXPECT_EQ(NextDay({2027, 2, 28, 0, 0, 0}).month, 3u);
}

}  // namespace
}  // namespace pausora::sim
