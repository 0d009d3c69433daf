// The day's computer time: the minute count, its registry mirror, the
// end-of-day and daily-limit notices, and the day check at start.
#include "artwork_ids.h"
#include "core/engine_sim.h"
#include "scheduler/pause_clock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pausora::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kWorkdayEnd = "Your workday is ending!";
constexpr std::string_view kLimit = "Work time limit exceeded!";

void StoreDay(EngineSim& sim, std::uint32_t fullWorkTime, LocalTime date) {
    auto key = sim.registry.NewKey();
    ASSERT_TRUE(key->Open(reg::kAppKey));
    key->WriteDword(reg::kFullWorkTime, fullWorkTime);
    key->WriteDword(reg::kLastYear, date.year);
    key->WriteDword(reg::kLastMonth, date.month);
    key->WriteDword(reg::kLastDay, date.day);
}

// Seconds of virtual time from the start to a wall-clock time of the first day.
std::uint64_t At(const EngineSim& sim, std::uint32_t hour, std::uint32_t minute) {
    return (hour * 3600 + minute * 60) -
           (sim.calendar.start.hour * 3600 + sim.calendar.start.minute * 60);
}

TEST(WorkdayEnd, NoticeAtEveryActiveMinuteFromTheEndTimeUntilMidnight) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 16, 50, 0};
    sim.settings.UseDailyTimeLimit = 0;
    sim.Start();
    sim.AdvanceTo(At(sim, 17, 0), true);
    // The first notice comes while a short break is running: the tray shows
    // the normal icon, the tooltip still names the break.
    ASSERT_THAT(sim.NoticeTimes(kWorkdayEnd), ElementsAre(At(sim, 17, 0)));
    EXPECT_EQ(sim.presenter.icon, IDI_TRAY_NORMAL);
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Short break)\nYour experience: 0");
    const Notice& notice = sim.presenter.notices.back();
    EXPECT_EQ(notice.picture, IDB_WORKDAY_END);
    EXPECT_EQ(notice.link, "Have a nice evening");
    EXPECT_FALSE(notice.linkOpensExercises);
    EXPECT_EQ(notice.body, "Today: 10 min at the computer");
    EXPECT_EQ(notice.stayMs, 5000u);
    EXPECT_EQ(sim.presenter.sounds.back().event, SoundEvent::kWorkTimeEnd);
    EXPECT_EQ(sim.presenter.sounds.back().path, "sound6.wav");

    // Half an hour away from the desk shows nothing and counts nothing.
    sim.AdvanceTo(At(sim, 18, 0), true);
    sim.AdvanceTo(At(sim, 18, 30));
    sim.AdvanceTo(At(sim, 24, 30), true);
    const auto times = sim.NoticeTimes(kWorkdayEnd);
    EXPECT_EQ(times.size(), 420u - 30u);
    EXPECT_EQ(times.back(), At(sim, 23, 59));
    EXPECT_EQ(sim.SoundTimes(SoundEvent::kWorkTimeEnd).size(), 390u);
    // The minutes from midnight on are the new day's.
    EXPECT_EQ(sim.engine.FullWorkTime(), 31u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 31u);
}

TEST(DayTimeLine, HoursAndMinutesAsTheyAreSaid) {
    const std::pair<std::uint32_t, std::string_view> rows[] = {
        {0, "Today: 0 min at the computer"},         {42, "Today: 42 min at the computer"},
        {60, "Today: 1 h at the computer"},          {462, "Today: 7 h 42 min at the computer"},
        {1441, "Today: 24 h 1 min at the computer"},
    };
    for (const auto& [minutes, line] : rows) {
        EXPECT_EQ(DayTimeLine(BreakTexts{}, minutes), line) << minutes;
    }
}

// Another language's words around the numbers, and the locale's way with a
// time, a date and a number.
TEST(DayTimeLine, TheLanguagesWordsAndTheLocalesFormats) {
    BreakTexts texts;
    texts.dayTimeStart = "Heute: ";
    texts.dayTimeEnd = " am Computer";
    texts.hours = "%1 Std.";
    texts.minutes = "%1 Min.";
    EXPECT_EQ(DayTimeLine(texts, 462), "Heute: 7 Std. 42 Min. am Computer");

    PauseTexts pause;
    pause.pausedUntilDate = "Pause bis %2, %1";
    pause.nextBreakIn = "%2 min until the next break";
    pause.formats.timeOfDay = [](std::uint32_t hour, std::uint32_t minute) {
        return std::to_string((hour + 11) % 12 + 1) + (minute < 10 ? ":0" : ":") +
               std::to_string(minute) + (hour < 12 ? " AM" : " PM");
    };
    pause.formats.date = [](std::int32_t year, std::uint32_t month, std::uint32_t day) {
        return std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year);
    };
    pause.formats.number = [](std::uint64_t value) { return "#" + std::to_string(value); };
    EXPECT_EQ(PausedLine(pause, LocalTime{2026, 12, 20, 17, 5, 0}, LocalTime{2026, 12, 9, 8, 0, 0}),
              "Pause bis 20.12.2026, 5:05 PM");
    EXPECT_EQ(NextBreakLine(pause, 7 * 60000), "#7 min until the next break");
}

TEST(WorkdayEnd, NoNoticeWithoutInputAfterTheEndTime) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 16, 50, 0};
    sim.Start();
    sim.AdvanceTo(At(sim, 16, 59), true);
    sim.AdvanceTo(At(sim, 23, 0));
    EXPECT_THAT(sim.NoticeTimes(kWorkdayEnd), IsEmpty());
    EXPECT_EQ(sim.StoredFullWorkTime(), 9u);
}

TEST(WorkdayEnd, EndMomentIsBuiltOnTodaysDate) {
    EngineSim late;  // 16:90 is 17:30
    late.calendar.start = {2026, 12, 7, 16, 50, 0};
    late.settings.UseDailyTimeLimit = 0;
    late.settings.EndWorkTime_hours = 16;
    late.settings.EndWorkTime_minutes = 90;
    late.Start();
    late.AdvanceTo(At(late, 18, 0), true);
    EXPECT_EQ(late.NoticeTimes(kWorkdayEnd).front(), At(late, 17, 30));

    EngineSim tomorrow;  // 24:00 is tomorrow's midnight, never reached today
    tomorrow.calendar.start = {2026, 12, 7, 23, 0, 0};
    tomorrow.settings.EndWorkTime_hours = 24;
    tomorrow.Start();
    tomorrow.AdvanceTo(2 * 3600, true);
    EXPECT_THAT(tomorrow.NoticeTimes(kWorkdayEnd), IsEmpty());
}

TEST(DailyLimit, FirstNoticeAtThe361stActiveMinuteOfSixHours) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 9, 0, 0};
    sim.Start();
    sim.AdvanceTo(360 * 60, true);
    EXPECT_THAT(sim.NoticeTimes(kLimit), IsEmpty());
    EXPECT_EQ(sim.StoredFullWorkTime(), 360u);
    sim.AdvanceTo(361 * 60, true);
    ASSERT_THAT(sim.NoticeTimes(kLimit), ElementsAre(361 * 60));
    const Notice& notice = sim.presenter.notices.back();
    EXPECT_EQ(notice.picture, IDB_TIME_LIMIT);
    EXPECT_EQ(notice.link, "You should have a rest");
    EXPECT_FALSE(notice.linkOpensExercises);
    EXPECT_EQ(notice.body, "Today: 6 h 1 min at the computer");
    EXPECT_EQ(sim.presenter.sounds.back().event, SoundEvent::kTimeLimit);
    EXPECT_EQ(sim.presenter.icon, IDI_TRAY_NORMAL);

    sim.AdvanceTo(390 * 60, true);
    EXPECT_EQ(sim.NoticeTimes(kLimit).size(), 30u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 390u);
}

TEST(DailyLimit, BothNoticesInOneMinuteEndWithTheLimit) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 9, 0, 0};
    sim.settings.EndWorkTime_hours = 9;
    sim.settings.EndWorkTime_minutes = 5;
    sim.settings.DailyTimeLimit = 120;
    sim.Start();
    sim.AdvanceTo(5 * 60, true);
    EXPECT_THAT(sim.NoticeTimes(kLimit), ElementsAre(180, 240, 300));
    EXPECT_THAT(sim.NoticeTimes(kWorkdayEnd), ElementsAre(300));
    const auto& notices = sim.presenter.notices;
    ASSERT_GE(notices.size(), 2u);
    EXPECT_EQ(notices[notices.size() - 2].title, kWorkdayEnd);
    EXPECT_EQ(notices.back().title, kLimit);
    const auto& sounds = sim.presenter.sounds;
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[sounds.size() - 2].event, SoundEvent::kWorkTimeEnd);
    EXPECT_EQ(sounds.back().event, SoundEvent::kTimeLimit);
}

TEST(DailyLimit, AProgramRunningPastMidnightStartsTheNewDayAtZero) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 31, 22, 0, 0};
    StoreDay(sim, 350, {2026, 12, 31});
    sim.Start();
    EXPECT_EQ(sim.engine.FullWorkTime(), 350u);
    sim.AdvanceTo(150 * 60, true);  // until 00:30 on New Year's Day
    // Over the limit from the 11th minute to 23:59; the minute at midnight is
    // the new day's first, and thirty-one minutes are far from any limit.
    const auto limits = sim.NoticeTimes(kLimit);
    EXPECT_EQ(limits.size(), 109u);
    EXPECT_EQ(limits.front(), 11u * 60);
    EXPECT_EQ(limits.back(), 119u * 60);
    const auto ends = sim.NoticeTimes(kWorkdayEnd);
    EXPECT_EQ(ends.size(), 119u);
    EXPECT_EQ(ends.back(), 119u * 60);
    EXPECT_EQ(sim.engine.FullWorkTime(), 31u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 31u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastYear), 2027u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastMonth), 1u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 1u);
}

TEST(DailyLimit, ANightAwayFromTheComputerStartsTheNewDayAtMidnight) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 23, 0, 0};
    StoreDay(sim, 500, {2026, 12, 7});
    sim.Start();
    sim.AdvanceTo(60 * 60);  // idle until midnight: nothing counted, the day still turns
    EXPECT_EQ(sim.StoredFullWorkTime(), 0u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 8u);
    sim.AdvanceTo(4 * 3600, true);  // three hours at the keyboard
    EXPECT_EQ(sim.StoredFullWorkTime(), 3u * 60);
    EXPECT_THAT(sim.NoticeTimes(kLimit), IsEmpty());
}

TEST(DailyLimit, AClockSetBackOverMidnightGoesOnFromEachDaysOwnTotal) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 23, 30, 0};
    StoreDay(sim, 500, {2026, 12, 7});
    sim.Start();
    sim.AdvanceTo(40 * 60, true);  // 23:31..23:59 for the 7th, 00:00..00:10 for the 8th
    ASSERT_EQ(sim.engine.FullWorkTime(), 11u);
    // A time server (or the user) puts the clock back twenty minutes: it is
    // the evening of the 7th again, whose total goes on...
    sim.calendar.shiftSeconds = -20 * 60;
    sim.AdvanceTo(45 * 60, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), 534u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 534u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 7u);
    // ...and past midnight once more the 8th goes on from its eleven minutes.
    sim.AdvanceTo(50 * 60, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), 12u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 12u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 8u);
}

TEST(DailyLimit, AClockMovedOverManyDaysGoesBackOnlyToTheLastOnesItCounted) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 1, 12, 0, 0};
    sim.Start();
    const auto dayOfMonth = [](std::int64_t day) { return (day - 1) * 86400; };
    // Two active minutes on each of twenty days, the 1st to the 20th.
    for (std::int64_t day = 1; day <= 20; ++day) {
        sim.calendar.shiftSeconds = dayOfMonth(day);
        sim.Advance(120, true);
        ASSERT_EQ(sim.engine.FullWorkTime(), 2u) << day;
    }
    const std::pair<std::int64_t, std::uint32_t> visits[] = {
        {19, 3},  // the day before: remembered
        {5, 3},   // the oldest day still remembered
        {4, 1},   // forgotten: counted from zero
        {20, 3},  // still remembered after all that
    };
    for (const auto& [day, total] : visits) {
        sim.calendar.shiftSeconds = dayOfMonth(day);
        sim.Advance(60, true);
        EXPECT_EQ(sim.engine.FullWorkTime(), total) << day;
        EXPECT_EQ(sim.StoredFullWorkTime(), total) << day;
        EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), day);
    }
}

TEST(MinuteCount, CountedAndSavedWithBothNoticesOff) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 20, 0, 0};
    sim.settings.UseWorkingTime = 0;
    sim.settings.UseDailyTimeLimit = 0;
    StoreDay(sim, 1000, {2026, 12, 7});
    sim.Start();
    sim.AdvanceTo(600, true);
    EXPECT_THAT(sim.NoticeTimes(kWorkdayEnd), IsEmpty());
    EXPECT_THAT(sim.NoticeTimes(kLimit), IsEmpty());
    EXPECT_EQ(sim.StoredFullWorkTime(), 1010u);

    // Any value but 1 keeps a notice off.
    sim.settings.UseWorkingTime = 2;
    sim.settings.UseDailyTimeLimit = 2;
    sim.AdvanceTo(660, true);
    EXPECT_THAT(sim.presenter.notices,
                ::testing::Each(::testing::Field(&Notice::title, ::testing::Ne(kLimit))));
    EXPECT_EQ(sim.StoredFullWorkTime(), 1011u);
}

TEST(MinuteCount, AMinuteCountsWithInputWithinTheLastMinute) {
    EngineSim sim;
    sim.Start();
    sim.input.lastInputMs = 0;  // exactly 60000 ms before the first count
    sim.AdvanceTo(60);
    EXPECT_EQ(sim.engine.IdleMs(), 60000u);
    EXPECT_EQ(sim.engine.FullWorkTime(), 0u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 0u);
    sim.input.lastInputMs = 60001;
    sim.AdvanceTo(120);
    EXPECT_EQ(sim.engine.FullWorkTime(), 1u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 1u);
}

TEST(MinuteCount, StoppedSchedulerCountsNothingAndRestartLosesTheMinute) {
    EngineSim sim;
    sim.Start();
    sim.AdvanceTo(90, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), 1u);
    sim.engine.ToggleStartStop();
    sim.AdvanceTo(600, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), 1u);
    sim.engine.ToggleStartStop();
    sim.AdvanceTo(659, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), 1u);
    sim.AdvanceTo(660, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), 2u);
}

TEST(DayCheck, SameDayGoesOnFromTheStoredTotal) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 9, 0, 0};
    StoreDay(sim, 200, {2026, 12, 7});
    sim.Start();
    EXPECT_EQ(sim.engine.FullWorkTime(), 200u);
    sim.AdvanceTo(60, true);
    EXPECT_EQ(sim.StoredFullWorkTime(), 201u);
}

TEST(DayCheck, AnyOtherDateStartsTheDayAtZero) {
    const LocalTime others[] = {{2026, 12, 6}, {2026, 11, 7}, {2025, 12, 7}, {0, 0, 0}};
    for (const LocalTime& stored : others) {
        SCOPED_TRACE(stored.year * 10000 + stored.month * 100 + stored.day);
        EngineSim sim;
        sim.calendar.start = {2026, 12, 7, 9, 0, 0};
        StoreDay(sim, 200, stored);
        sim.Start();
        EXPECT_EQ(sim.engine.FullWorkTime(), 0u);
        EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastYear), 2026u);
        EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastMonth), 12u);
        EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 7u);
        // Written with the date at once: a restart before the first counted
        // minute must not bring the old total back.
        EXPECT_EQ(sim.StoredFullWorkTime(), 0u);
        EngineSim restarted;
        restarted.registry = sim.registry;
        restarted.calendar.start = {2026, 12, 7, 9, 0, 30};
        restarted.Start();
        EXPECT_EQ(restarted.engine.FullWorkTime(), 0u);
        sim.AdvanceTo(60, true);
        EXPECT_EQ(sim.StoredFullWorkTime(), 1u);
    }
}

// A clock set over midnight is heard at once, not at the next minute step.
TEST(DayCheck, AClockChangeChecksTheDayAtOnce) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 23, 0, 0};
    StoreDay(sim, 100, {2026, 12, 7});
    sim.Start();
    sim.AdvanceTo(10, true);
    sim.calendar.shiftSeconds = 3600;
    sim.engine.OnClockChanged();
    sim.engine.OnClockChanged();  // told by each window of the program
    EXPECT_EQ(sim.engine.FullWorkTime(), 0u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 0u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 8u);
    sim.calendar.shiftSeconds = 0;
    sim.engine.OnClockChanged();
    EXPECT_EQ(sim.engine.FullWorkTime(), 100u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 7u);
}

TEST(DayCheck, MissingValuesReadAsZero) {
    EngineSim sim;
    sim.Start();
    EXPECT_EQ(sim.engine.FullWorkTime(), 0u);
    EXPECT_EQ(sim.registry.Dword(reg::kAppKey, reg::kLastDay), 7u);
    EXPECT_EQ(sim.StoredFullWorkTime(), 0u);
}

TEST(DayCheck, MissingKeyLosesOnlyTheWrites) {
    EngineSim sim;
    sim.registry.DeleteKeyTree(reg::kAppKey);
    sim.Start();
    sim.AdvanceTo(300, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), 5u);
    EXPECT_FALSE(sim.registry.KeyExists(reg::kAppKey));
}

}  // namespace
}  // namespace pausora::sim
