// The break cycle on a virtual clock: what the user sees, hears and earns
// while idle, busy, or typing through breaks.
#include "core/engine_sim.h"

#include <gmock/gmock.h>
#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

namespace pausora::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::set<std::uint32_t> kWorking{1, 3, 6, 8};
const std::set<std::uint32_t> kShortBreak{2, 3, 5, 8};
const std::set<std::uint32_t> kLongBreak{4, 7, 8};

TEST(BreakCycle, IdleUserGetsEveryShortBreakAndTheLongBreakOnTime) {
    EngineSim sim;
    sim.Start();
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_EQ(sim.timers.Period(TIMER_SHORT_DUE), 420000u);
    EXPECT_EQ(sim.timers.Period(TIMER_LONG_DUE), 3600000u);
    EXPECT_EQ(sim.input.starts, 1);

    sim.AdvanceTo(420);
    EXPECT_EQ(sim.Armed(), kShortBreak);
    ASSERT_EQ(sim.presenter.notices.size(), 1u);
    const Notice& notice = sim.presenter.notices[0];
    EXPECT_EQ(notice.title, "Short break time");
    EXPECT_EQ(notice.link, "Show me a stretch");
    EXPECT_TRUE(notice.linkOpensExercises);
    EXPECT_EQ(notice.picture, 302);
    EXPECT_EQ(notice.body, "Saying 1");
    EXPECT_EQ(notice.stayMs, 5000u);
    EXPECT_EQ(notice.entry, NoticeEntry::kFade);
    EXPECT_EQ(notice.stars, 0);
    EXPECT_EQ(sim.presenter.icon, 202);
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Short break)\nYour experience: 0");
    EXPECT_EQ(sim.presenter.sounds.back().path, "sound0.wav");

    // At 431 s: STATE_NORMAL, Bonus 2.
    sim.AdvanceTo(430);
    EXPECT_EQ(sim.Armed(), kShortBreak);
    sim.AdvanceTo(431);
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_EQ(sim.presenter.icon, 196);
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Normal)\nNext break in 7 min\nYour experience: 0");
    EXPECT_EQ(sim.Bonus(), 2u);
    EXPECT_EQ(sim.StoredBonus(), 2u);

    // The long break comes 3600 s after the start, not after the last short
    // break, and the short-break interval starts again at its end.
    sim.AdvanceTo(5100);
    EXPECT_THAT(sim.NoticeTimes("Short break time"),
                ElementsAre(420, 851, 1282, 1713, 2144, 2575, 3006, 3437, 4620, 5051));
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kShortBreakEnd),
                ElementsAre(431, 862, 1293, 1724, 2155, 2586, 3017, 3448, 4631, 5062));
    EXPECT_THAT(sim.NoticeTimes("Long break time"), ElementsAre(3600));
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kLongBreakEnd), ElementsAre(4200));
    EXPECT_EQ(sim.Bonus(), 10 * 2 + 10u);
    EXPECT_EQ(sim.StoredBonus(), sim.Bonus());
    EXPECT_EQ(sim.timers.zeroPeriodArms, 0u);
}

TEST(BreakCycle, LongBreakNoticeStaysForTheWholeBreak) {
    EngineSim sim;
    sim.settings.AppearanceType = 0;
    sim.Start();
    sim.AdvanceTo(3600);
    EXPECT_EQ(sim.Armed(), kLongBreak);
    const Notice& notice = sim.presenter.notices.back();
    EXPECT_EQ(notice.title, "Long break time");
    EXPECT_EQ(notice.picture, 298);
    EXPECT_EQ(notice.stayMs, 600000u);
    EXPECT_EQ(notice.entry, NoticeEntry::kSlide);
    EXPECT_EQ(notice.stars, 1);  // 16 points by now
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Long break)\nYour experience: 1");
    EXPECT_EQ(sim.presenter.sounds.back().event, SoundEvent::kLongBreak);
    EXPECT_EQ(sim.presenter.sounds.back().path, "sound3.wav");
}

TEST(BreakCycle, LongBreakSwallowsARunningShortBreak) {
    EngineSim sim;
    sim.settings.Micropause = 590;  // the sixth short break runs from 3595 s to 3606 s
    sim.Start();
    sim.AdvanceTo(3599);
    EXPECT_EQ(sim.Armed(), kShortBreak);
    EXPECT_EQ(sim.Bonus(), 10u);

    sim.AdvanceTo(3600);
    EXPECT_EQ(sim.Armed(), kLongBreak);
    sim.AdvanceTo(4199);
    // The swallowed break neither ended nor paid out.
    EXPECT_EQ(sim.SoundTimes(SoundEvent::kShortBreakEnd).size(), 5u);
    EXPECT_EQ(sim.Bonus(), 10u);
    EXPECT_EQ(sim.presenter.icon, 202);

    sim.AdvanceTo(4200);
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_EQ(sim.Bonus(), 20u);
    sim.AdvanceTo(5000);
    EXPECT_EQ(sim.NoticeTimes("Short break time").back(), 4790u);
}

TEST(BreakCycle, SilentShortBreaksStillRunTheirTimers) {
    EngineSim sim;
    sim.settings.UseMicropauses = 0;
    sim.Start();
    sim.AdvanceTo(420);
    EXPECT_EQ(sim.Armed(), kShortBreak);
    EXPECT_THAT(sim.presenter.notices, IsEmpty());
    EXPECT_THAT(sim.presenter.sounds, IsEmpty());
    EXPECT_EQ(sim.presenter.icon, 0);
    // The work poll rests during the silent break: 419 idle seconds before it,
    // none inside it, 69 after it.
    sim.AdvanceTo(431);
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_EQ(sim.presenter.icon, 196);
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Normal)\nNext break in 53 min\nYour experience: 0");
    EXPECT_THAT(sim.presenter.sounds, IsEmpty());
    sim.AdvanceTo(500);
    EXPECT_EQ(sim.engine.ShortIdleSeconds(), 419u + 69u);

    sim.AdvanceTo(4300);
    EXPECT_EQ(sim.Bonus(), 10u);  // only the long break paid
    EXPECT_THAT(sim.NoticeTimes("Long break time"), ElementsAre(3600));
    EXPECT_THAT(sim.NoticeTimes("Short break time"), IsEmpty());
}

TEST(BreakCycle, SilentLongBreakGivesNoPointsNoSound) {
    EngineSim sim;
    sim.settings.UsePauses = 0;
    sim.settings.Micropause = 10000;
    sim.Start();
    sim.AdvanceTo(3600);
    EXPECT_EQ(sim.Armed(), kLongBreak);
    EXPECT_THAT(sim.presenter.notices, IsEmpty());
    sim.AdvanceTo(4200);
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_EQ(sim.presenter.icon, 196);
    EXPECT_THAT(sim.presenter.sounds, IsEmpty());
    EXPECT_EQ(sim.Bonus(), 0u);
}

// A switch at neither 0 nor 1 (a registry value set by hand) runs the breaks
// without notices but counts and pays them. The long break's end sound goes
// with its notices; the short one's with its points.
TEST(BreakCycle, SwitchAboveOneRunsBreaksWithoutNoticesButPaysThem) {
    EngineSim sim;
    sim.settings.UseMicropauses = 2;
    sim.settings.UsePauses = 2;
    sim.Start();
    sim.AdvanceTo(4300);
    EXPECT_THAT(sim.presenter.notices, IsEmpty());
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kShortBreak), IsEmpty());
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kLongBreak), IsEmpty());
    EXPECT_EQ(sim.SoundTimes(SoundEvent::kShortBreakEnd).size(), 8u);
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kLongBreakEnd), IsEmpty());
    EXPECT_EQ(sim.Bonus(), 8 * 2 + 10u);
}

TEST(TypingThroughBreaks, ShortBreakWaitsForTheUserAndRepeatsItsReminder) {
    EngineSim sim;
    sim.settings.Bonus = 5;
    sim.Start();
    sim.AdvanceTo(900, true);
    // 421 active seconds inside the break is more than a whole interval.
    EXPECT_THAT(sim.NoticeTimes("Short break time"), ElementsAre(420));
    EXPECT_THAT(sim.NoticeTimes("Have a rest!"), ElementsAre(841));
    const Notice& reminder = sim.presenter.notices.back();
    EXPECT_EQ(reminder.picture, 302);
    EXPECT_EQ(reminder.link, "Show me a stretch");
    EXPECT_EQ(reminder.stayMs, 5000u);
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kShortBreakRepeat), ElementsAre(841));
    EXPECT_TRUE(sim.presenter.animating);
    EXPECT_EQ(sim.presenter.firstFrame, 336);
    EXPECT_EQ(sim.presenter.lastFrame, 337);
    EXPECT_EQ(sim.presenter.frameMs, 500u);
    EXPECT_EQ(sim.presenter.animationSeconds, 100000u);
    EXPECT_EQ(sim.Bonus(), 4u);
    EXPECT_EQ(sim.StoredBonus(), 4u);

    // The user stops at 900 s; the break ends 11 s after the last input and
    // the tray goes back to the normal icon, not to the break icon.
    sim.AdvanceTo(910);
    EXPECT_EQ(sim.Armed(), kShortBreak);
    sim.AdvanceTo(911);
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_FALSE(sim.presenter.animating);
    EXPECT_EQ(sim.presenter.icon, 196);
    EXPECT_EQ(sim.Bonus(), 6u);
}

TEST(TypingThroughBreaks, LongBreakRemindsAfterEveryBreakLengthOfWork) {
    EngineSim sim;
    sim.settings.Bonus = 100;
    sim.Start();
    // Typing from the start: the first short break never ends and keeps
    // reminding until the long break takes over.
    sim.AdvanceTo(5000, true);
    EXPECT_THAT(sim.NoticeTimes("Have a rest!"),
                ElementsAre(841, 1262, 1683, 2104, 2525, 2946, 3367, 4201, 4802));
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kLongBreakRepeat), ElementsAre(4201, 4802));
    EXPECT_EQ(sim.presenter.notices.back().picture, 298);
    EXPECT_EQ(sim.Bonus(), 100u - 7u - 2u * 5u);
    EXPECT_EQ(sim.Armed(), kLongBreak);

    sim.AdvanceTo(5599);
    EXPECT_EQ(sim.Armed(), kLongBreak);
    sim.AdvanceTo(5600);
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kLongBreakEnd), ElementsAre(5600));
    EXPECT_FALSE(sim.presenter.animating);
    EXPECT_EQ(sim.presenter.icon, 196);
    EXPECT_EQ(sim.Bonus(), 93u);
}

TEST(TypingThroughBreaks, PointsNeverGoBelowZero) {
    EngineSim sim;
    sim.settings.Bonus = 3;
    sim.settings.Micropause = 100000;
    sim.settings.Pause = 100;
    sim.settings.Pause_length = 10;
    sim.Start();
    sim.AdvanceTo(111, true);
    EXPECT_THAT(sim.NoticeTimes("Have a rest!"), ElementsAre(111));
    EXPECT_EQ(sim.Bonus(), 0u);
    EXPECT_EQ(sim.StoredBonus(), 0u);

    EngineSim shortSim;
    shortSim.settings.Micropause = 20;
    shortSim.settings.Pause = 100000;
    shortSim.Start();
    shortSim.AdvanceTo(100, true);
    EXPECT_THAT(shortSim.NoticeTimes("Have a rest!"), ElementsAre(41, 62, 83));
    EXPECT_EQ(shortSim.Bonus(), 0u);
    EXPECT_EQ(shortSim.StoredBonus(), 0u);
}

TEST(TypingThroughBreaks, AnActiveSecondIsOneWithInputWithinTheLastSecond) {
    EngineSim sim;
    sim.settings.Pause = 100000;
    sim.Start();
    sim.AdvanceTo(420);
    // Input exactly 1000 ms before the poll is neither active in a break...
    sim.input.lastInputMs = 420000;
    sim.AdvanceTo(421);
    EXPECT_EQ(sim.engine.IdleMs(), 1000u);
    EXPECT_EQ(sim.engine.ShortBreakActiveMs(), 0u);
    // ...while 999 ms is.
    sim.input.lastInputMs = 421001;
    sim.AdvanceTo(422);
    EXPECT_EQ(sim.engine.ShortBreakActiveMs(), 1000u);
    sim.AdvanceTo(433);
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kShortBreakEnd), ElementsAre(433));

    // ...nor idle between breaks.
    const std::uint32_t idleBefore = sim.engine.ShortIdleSeconds();
    sim.input.lastInputMs = 433000;
    sim.AdvanceTo(434);
    EXPECT_EQ(sim.engine.ShortIdleSeconds(), idleBefore);
    sim.AdvanceTo(435);
    EXPECT_EQ(sim.engine.ShortIdleSeconds(), idleBefore + 1);
}

TEST(TimeReset, IdleTimeBetweenBreaksPostponesThem) {
    EngineSim sim;
    sim.settings.UseTimeReset = 1;
    sim.Start();
    sim.AdvanceTo(100, true);
    // Eleven idle seconds are not yet a break...
    sim.AdvanceTo(111);
    EXPECT_EQ(sim.input.stops, 0);
    // ...the twelfth is, and the next short break is a whole interval away.
    sim.AdvanceTo(112);
    EXPECT_EQ(sim.input.stops, 1);
    EXPECT_EQ(sim.input.starts, 2);
    EXPECT_EQ(sim.engine.ShortIdleSeconds(), 0u);
    sim.AdvanceTo(600, true);
    EXPECT_THAT(sim.NoticeTimes("Short break time"), ElementsAre(532));
}

TEST(TimeReset, AwayForAnHourMeansNoBreaksAtAll) {
    EngineSim sim;
    sim.settings.UseTimeReset = 1;
    sim.Start();
    sim.AdvanceTo(7200);
    EXPECT_THAT(sim.presenter.notices, IsEmpty());
    EXPECT_THAT(sim.presenter.sounds, IsEmpty());
    EXPECT_EQ(sim.Armed(), kWorking);
    // A short-break skip every 12 s, a long-break skip every 601 s, each
    // restarting the input watcher.
    EXPECT_EQ(sim.input.stops, 600 + 11);
    EXPECT_EQ(sim.input.starts, 1 + 600 + 11);

    EngineSim noReset;
    noReset.Start();
    noReset.AdvanceTo(7200);
    EXPECT_THAT(noReset.NoticeTimes("Long break time"), ElementsAre(3600));
    EXPECT_EQ(noReset.input.stops, 0);
}

TEST(TimeReset, IdleSecondsCountedBeforeSwitchingOnStillCount) {
    EngineSim sim;
    sim.Start();
    sim.AdvanceTo(30);  // 30 scattered-or-not idle seconds, reset still off
    EXPECT_EQ(sim.engine.ShortIdleSeconds(), 30u);
    sim.AdvanceTo(40, true);
    EXPECT_EQ(sim.engine.ShortIdleSeconds(), 30u);  // activity does not clear them
    sim.settings.UseTimeReset = 1;
    sim.AdvanceTo(41, true);
    EXPECT_EQ(sim.engine.ShortIdleSeconds(), 0u);
    EXPECT_EQ(sim.engine.LongIdleSeconds(), 30u);
    sim.AdvanceTo(500, true);
    EXPECT_THAT(sim.NoticeTimes("Short break time"), ElementsAre(461));
}

TEST(StartStop, StoppingClearsTheScheduleAndStartingBeginsAfresh) {
    EngineSim sim;
    sim.Start();
    sim.AdvanceTo(425);  // inside a short break
    sim.engine.ToggleStartStop();
    EXPECT_TRUE(sim.engine.IsStopped());
    EXPECT_THAT(sim.Armed(), IsEmpty());
    EXPECT_EQ(sim.presenter.icon, 301);
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Stopped)\nYour experience: 0");
    EXPECT_EQ(sim.presenter.caption, "Start");
    sim.AdvanceTo(5000);
    EXPECT_EQ(sim.presenter.notices.size(), 1u);
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kShortBreakEnd), IsEmpty());
    EXPECT_EQ(sim.Bonus(), 0u);

    sim.engine.ToggleStartStop();
    EXPECT_FALSE(sim.engine.IsStopped());
    EXPECT_EQ(sim.Armed(), kWorking);
    EXPECT_EQ(sim.presenter.icon, 196);
    EXPECT_EQ(sim.presenter.caption, "Stop");
    sim.AdvanceTo(9000);
    EXPECT_THAT(sim.NoticeTimes("Short break time"),
                ElementsAre(420, 5420, 5851, 6282, 6713, 7144, 7575, 8006, 8437));
    EXPECT_THAT(sim.NoticeTimes("Long break time"), ElementsAre(8600));
}

TEST(StartStop, SettingsRestartEndsAReminderWithoutPoints) {
    EngineSim sim;
    sim.settings.Bonus = 50;
    sim.Start();
    sim.AdvanceTo(850, true);  // reminded at 841
    ASSERT_TRUE(sim.presenter.animating);
    sim.settings.Micropause = 60;
    sim.engine.ToggleStartStop();
    sim.engine.ToggleStartStop();
    EXPECT_FALSE(sim.presenter.animating);
    EXPECT_EQ(sim.presenter.icon, 196);
    EXPECT_EQ(sim.Bonus(), 49u);
    sim.AdvanceTo(1000);
    EXPECT_THAT(sim.NoticeTimes("Short break time"), ElementsAre(420, 910, 981));
}

// Every text the engine gives the tray and the notices comes from the texts
// it was given: none of the English ones slips through in another language.
TEST(Texts, EveryShownTextIsTheGivenOne) {
    const BreakTexts english;
    std::vector<std::string BreakTexts::*> fields = {
        &BreakTexts::shortBreakTitle, &BreakTexts::longBreakTitle, &BreakTexts::repeatTitle,
        &BreakTexts::stretchLink,     &BreakTexts::eveningLine,    &BreakTexts::restLine,
        &BreakTexts::workdayEndTitle, &BreakTexts::timeLimitTitle, &BreakTexts::dayTimeStart,
        &BreakTexts::dayTimeEnd,      &BreakTexts::tipNormal,      &BreakTexts::tipStopped,
        &BreakTexts::tipShortBreak,   &BreakTexts::tipLongBreak,   &BreakTexts::tipHeld,
        &BreakTexts::experienceLine,  &BreakTexts::captionStart,   &BreakTexts::captionStop,
    };
    // Upper case stands in for another language.
    BreakTexts other;
    for (const auto field : fields) {
        for (char& c : other.*field) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    EngineSim sim(other);
    sim.calendar.start = {2026, 12, 7, 16, 0, 0};
    sim.settings.DailyTimeLimit = 3600;
    std::vector<std::string> shown;
    const auto collect = [&] {
        shown.push_back(sim.presenter.tooltip);
        shown.push_back(sim.presenter.caption);
    };
    sim.afterStep = [&](std::uint32_t) { collect(); };
    sim.busy.busy = true;  // the first short break is held
    sim.Start();
    collect();
    sim.AdvanceTo(500, true);
    sim.busy.busy = false;
    sim.AdvanceTo(4000, true);  // typing through breaks, past the day's end and its limit
    sim.engine.ToggleStartStop();
    collect();
    for (const Notice& notice : sim.presenter.notices) {
        shown.insert(shown.end(), {notice.title, notice.link, notice.body});
    }
    for (const auto field : fields) {
        SCOPED_TRACE(english.*field);
        EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const std::string& text) {
            return text.find(other.*field) != std::string::npos;
        }));
        EXPECT_TRUE(std::none_of(shown.begin(), shown.end(), [&](const std::string& text) {
            return text.find(english.*field) != std::string::npos;
        }));
    }
}

TEST(TickCount, IdleTimeIsRightAcrossTheWrapOfTheTickCount) {
    // The tick count wraps to 0 at 425 s, in the middle of the first break.
    EngineSim idle;
    idle.input.tickBase = 0u - 425000u;
    idle.Start();
    idle.AdvanceTo(500);
    EXPECT_THAT(idle.SoundTimes(SoundEvent::kShortBreakEnd), ElementsAre(431));

    EngineSim busy;
    busy.input.tickBase = 0u - 425000u;
    busy.Start();
    busy.AdvanceTo(420);
    busy.AdvanceTo(428, true);
    busy.AdvanceTo(500);
    EXPECT_THAT(busy.SoundTimes(SoundEvent::kShortBreakEnd), ElementsAre(439));
}

TEST(TickCount, AnInputTickFromTheFutureReadsAsIdle) {
    EngineSim sim;
    sim.input.tickBase = 1000000;
    sim.Start();
    sim.AdvanceTo(420);
    sim.input.forcedLastTick = 1000000 + 500000;
    sim.AdvanceTo(431);
    EXPECT_GT(sim.engine.IdleMs(), 0x80000000u);
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kShortBreakEnd), ElementsAre(431));
}

TEST(EmptySchedule, ZeroIntervalMeansNoBreaksOfThatKind) {
    EngineSim sim;
    sim.settings.Micropause = 0;
    sim.settings.UseTimeReset = 1;
    sim.Start();
    EXPECT_EQ(sim.Armed(), (std::set<std::uint32_t>{3, 6, 8}));
    sim.AdvanceTo(3300, true);
    sim.AdvanceTo(3600);
    sim.AdvanceTo(4300);
    EXPECT_THAT(sim.NoticeTimes("Short break time"), IsEmpty());
    EXPECT_THAT(sim.NoticeTimes("Long break time"), ElementsAre(3600));
    EXPECT_EQ(sim.Armed(), (std::set<std::uint32_t>{3, 6, 8}));
    EXPECT_EQ(sim.timers.zeroPeriodArms, 0u);
    EXPECT_LT(sim.timers.fired, 4300u + 100u);

    EngineSim noLong;
    noLong.settings.Pause = 0;
    noLong.Start();
    noLong.AdvanceTo(8000);
    EXPECT_THAT(noLong.NoticeTimes("Long break time"), IsEmpty());
    EXPECT_EQ(noLong.NoticeTimes("Short break time").size(), 18u);
    EXPECT_EQ(noLong.timers.zeroPeriodArms, 0u);
}

TEST(EmptySchedule, ZeroLengthBreakIsANoticeThatEndsASecondLater) {
    EngineSim sim;
    sim.settings.Micropause_length = 0;
    sim.settings.Pause_length = 0;
    sim.Start();
    // The end and the first poll fall due together and the end, armed first,
    // fires first: even a user who keeps typing cannot stretch such a break
    // into a string of reminders.
    sim.AdvanceTo(3700, true);
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kShortBreakEnd),
                ElementsAre(421, 842, 1263, 1684, 2105, 2526, 2947, 3368));
    EXPECT_THAT(sim.SoundTimes(SoundEvent::kLongBreakEnd), ElementsAre(3601));
    EXPECT_THAT(sim.NoticeTimes("Have a rest!"), IsEmpty());
    EXPECT_EQ(sim.presenter.notices.back().stayMs, 1000u);
    EXPECT_EQ(sim.Bonus(), 8u * 2u + 10u);
    EXPECT_EQ(sim.timers.zeroPeriodArms, 0u);
}

TEST(EmptySchedule, HugeValuesDoNotWrapToShortTimers) {
    EngineSim sim;
    sim.settings.Micropause = 5000000;  // 5 * 10^9 ms does not fit in 32 bits
    sim.settings.Pause = 4294967295u;
    sim.Start();
    EXPECT_EQ(sim.timers.Period(TIMER_SHORT_DUE), 0x7FFFFFFFu);
    EXPECT_EQ(sim.timers.Period(TIMER_LONG_DUE), 0x7FFFFFFFu);
    sim.AdvanceTo(100000);
    EXPECT_THAT(sim.presenter.notices, IsEmpty());
}

TEST(Experience, LevelsStartAboveTheirThresholds) {
    const std::pair<std::uint32_t, int> cases[] = {
        {0, 0},   {15, 0},  {16, 1},  {50, 1},   {51, 2},   {200, 2},  {201, 3},  {500, 3},
        {501, 4}, {900, 4}, {901, 5}, {1400, 5}, {1401, 6}, {2000, 6}, {2001, 7}, {4294967295u, 7},
    };
    for (const auto& [bonus, level] : cases) {
        EXPECT_EQ(ExperienceLevel(bonus), level) << "Bonus " << bonus;
    }
}

TEST(Experience, TooltipShowsTheNewLevelOnlyFromTheNextStateChange) {
    EngineSim sim;
    sim.settings.Bonus = 14;
    sim.Start();
    sim.AdvanceTo(431);
    EXPECT_EQ(sim.Bonus(), 16u);
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Normal)\nNext break in 7 min\nYour experience: 0");
    sim.AdvanceTo(851);
    EXPECT_EQ(sim.presenter.tooltip, "Pausora (Short break)\nYour experience: 1");
    EXPECT_EQ(sim.presenter.notices.back().stars, 1);
    EXPECT_EQ(sim.engine.MakeTooltip("x"), "x\nYour experience: 1");
}

TEST(Experience, PointsStopAtTheLargestStorableValue) {
    EngineSim sim;
    sim.settings.Bonus = 4294967294u;
    sim.Start();
    sim.AdvanceTo(431);
    EXPECT_EQ(sim.Bonus(), 4294967295u);
    EXPECT_EQ(sim.presenter.notices.back().stars, 7);
}

TEST(Sounds, OnlyWithSoundsOn) {
    EngineSim sim;
    sim.settings.UseSounds = 0;
    sim.Start();
    sim.AdvanceTo(900, true);
    sim.AdvanceTo(4300);
    EXPECT_THAT(sim.presenter.sounds, IsEmpty());
    EXPECT_FALSE(sim.presenter.notices.empty());
}

// A sound request can run into anything (a missing file, a slow device), so
// a step asks for its sound only when its timers, points, day count and state
// are what they will be when the step returns.
TEST(Sounds, EveryStepAsksForItsSoundLast) {
    EngineSim sim;
    sim.calendar.start = {2026, 12, 7, 16, 0, 0};
    sim.settings.EndWorkTime_hours = 17;
    sim.settings.EndWorkTime_minutes = 0;
    sim.settings.DailyTimeLimit = 2 * 3600;
    sim.settings.UseWorkingTime = 1;
    sim.settings.UseDailyTimeLimit = 1;
    struct Snapshot {
        std::map<std::uint32_t, FakeTimers::Timer> timers;
        std::uint32_t bonus;
        std::optional<std::uint32_t> storedBonus;
        std::optional<std::uint32_t> storedMinutes;
        std::string tooltip;
        bool operator==(const Snapshot&) const = default;
    };
    auto take = [&] {
        return Snapshot{sim.timers.Table(), sim.Bonus(), sim.StoredBonus(),
                        sim.StoredFullWorkTime(), sim.presenter.tooltip};
    };
    std::vector<Snapshot> atSounds;
    sim.presenter.onSound = [&] { atSounds.push_back(take()); };
    int steps = 0;
    sim.afterStep = [&](std::uint32_t id) {
        ++steps;
        for (const Snapshot& atSound : atSounds) {
            EXPECT_TRUE(atSound == take()) << "timer " << id << " at " << sim.NowMs() << " ms";
        }
        atSounds.clear();
    };
    sim.Start();
    // Typing through short and long breaks, then idle to let each end, past
    // the end of the working day and over the daily limit.
    sim.Run({{1500, true}, {60, false}, {2700, true}, {700, false}, {3600, true}, {900, false}});

    std::set<SoundEvent> heard;
    for (const SoundPlay& play : sim.presenter.sounds) {
        heard.insert(play.event);
    }
    EXPECT_EQ(heard.size(), 8u) << sim.LogText();
    EXPECT_GT(steps, 9000);
}

TEST(SetState, EachStateChangesExactlyItsPartOfPopupAndTray) {
    struct Row {
        NoticeState state;
        const char* title;  // "" leaves the title alone
        const char* link;
        bool clickable;
        int picture;
        const char* body;  // "tip" for a picked saying
        int icon;
        const char* tooltip;  // "" leaves the tooltip alone
        bool animating;
    };
    const Row rows[] = {
        {STATE_NORMAL, "", "", false, 0, "", 196, "Pausora (Normal)", false},
        {STATE_STOPPED, "", "", false, 0, "", 301, "Pausora (Stopped)", false},
        {STATE_SHORT_BREAK, "Short break time", "Show me a stretch", true, 302, "tip", 202,
         "Pausora (Short break)", true},
        {STATE_SHORT_REPEAT, "Have a rest!", "Show me a stretch", true, 302, "tip", 7, "", true},
        {STATE_LONG_BREAK, "Long break time", "Show me a stretch", true, 298, "tip", 202,
         "Pausora (Long break)", false},
        {STATE_LONG_REPEAT, "Have a rest!", "Show me a stretch", true, 298, "tip", 7, "", true},
        {STATE_WORKDAY_END, "", "Have a nice evening", false, 304, "Today: 0 min at the computer",
         196, "", false},
        {STATE_TIME_LIMIT, "", "You should have a rest", false, 303, "Today: 0 min at the computer",
         196, "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        EngineSim sim;
        sim.settings.Bonus = 60;
        // A reminder is blinking over icon 7 when the state changes.
        sim.presenter.SetIcon(7);
        sim.presenter.SetTooltipText("old tip");
        sim.presenter.SetIconList(336, 337);
        sim.presenter.Animate(500, 100000);

        sim.engine.SetState(row.state);
        const pausora::Notice& notice = sim.engine.NextNotice();
        EXPECT_EQ(notice.title, row.title);
        EXPECT_EQ(notice.link, row.link);
        EXPECT_EQ(notice.linkOpensExercises, row.clickable);
        EXPECT_EQ(notice.picture, row.picture);
        EXPECT_EQ(notice.body, std::string(row.body) == "tip" ? "Saying 1" : std::string(row.body));
        EXPECT_EQ(sim.presenter.icon, row.icon);
        EXPECT_EQ(sim.presenter.tooltip, *row.tooltip == '\0'
                                             ? std::string("old tip")
                                             : std::string(row.tooltip) + "\nYour experience: 2");
        EXPECT_EQ(sim.presenter.animating, row.animating);
        // SetState never shows the popup or plays a sound itself.
        EXPECT_THAT(sim.presenter.notices, IsEmpty());
        EXPECT_THAT(sim.presenter.sounds, IsEmpty());
    }
}

// A timer the system refuses is not taken for armed: the next step asks for
// it again, and only a second refusal is the user's to know.
TEST(RefusedTimers, AskedForAgainAtTheNextStepAndReportedWhenRefusedAgain) {
    EngineSim sim;
    sim.timers.refused = {TIMER_SHORT_DUE};
    sim.Start();
    EXPECT_EQ(sim.Armed(), (std::set<std::uint32_t>{3, 6, 8}));
    EXPECT_THAT(sim.presenter.troubles, IsEmpty());
    sim.timers.refused.clear();
    sim.Advance(1);
    EXPECT_EQ(sim.Armed(), kWorking);
    sim.AdvanceTo(425);
    EXPECT_THAT(sim.NoticeTimes("Short break time"), ElementsAre(421u));

    sim.timers.refused = {TIMER_SHORT_POLL};
    sim.AdvanceTo(433);  // the break ended at 432, the poll is not needed
    EXPECT_THAT(sim.presenter.troubles, IsEmpty());
    sim.AdvanceTo(860);  // the next break, at 852, without its poll
    EXPECT_THAT(sim.presenter.troubles, IsEmpty());
    EXPECT_FALSE(sim.Armed().contains(TIMER_SHORT_POLL));
    sim.AdvanceTo(870);  // asked again at the break's end step, at 863
    EXPECT_THAT(sim.presenter.troubles, ElementsAre(Trouble::kTimerRefused));
    EXPECT_THAT(sim.NoticeTimes("Short break time"), ElementsAre(421u, 852u));
}

// A key made read-only: the points and minutes go on in memory, and each
// failed write is reported rather than taken for saved.
TEST(Saving, WritesThatFailAreReported) {
    EngineSim sim;
    sim.Start();
    sim.registry.MakeReadOnly(reg::kSettingsKey);
    sim.registry.MakeReadOnly(reg::kAppKey);
    sim.AdvanceTo(431);  // a short break taken
    EXPECT_EQ(sim.Bonus(), 2u);
    EXPECT_EQ(sim.StoredBonus(), std::nullopt);
    EXPECT_THAT(sim.presenter.troubles, ElementsAre(Trouble::kPointsNotSaved));
    sim.AdvanceTo(500, true);  // a minute at the keyboard
    EXPECT_EQ(sim.engine.FullWorkTime(), 1u);
    EXPECT_THAT(sim.presenter.troubles,
                ElementsAre(Trouble::kPointsNotSaved, Trouble::kWorkTimeNotSaved));
}

// Input goes on behind the lock screen (a nudged mouse, a program that keeps
// the computer awake): the user is away all the same, from the lock on.
TEST(SessionLock, ALockedSessionIsTimeAwayWhateverTheInputSays) {
    EngineSim sim;
    sim.settings.Bonus = 100;
    sim.Start();
    sim.AdvanceTo(425, true);  // typing into the short break that began at 420
    sim.engine.OnSessionLocked(true);
    sim.AdvanceTo(430, true);
    sim.engine.OnSessionLocked(true);  // told again: the lock still counts from 425
    sim.AdvanceTo(600, true);
    EXPECT_EQ(sim.Bonus(), 102u);  // the break ended 11 s after its last active poll
    EXPECT_EQ(sim.NoticeTimes("Short break time"), (std::vector<std::uint64_t>{420}));
    EXPECT_EQ(sim.engine.FullWorkTime(), 8u);  // no minute counted a minute after the lock
    sim.engine.OnSessionLocked(false);
    sim.AdvanceTo(660, true);
    EXPECT_EQ(sim.engine.FullWorkTime(), 9u);
}

TEST(Dispatch, OnlyTheNineTimersBelongToTheEngine) {
    EngineSim sim;
    sim.Start();
    EXPECT_FALSE(sim.engine.OnTimer(0));
    EXPECT_FALSE(sim.engine.OnTimer(10));
    EXPECT_FALSE(sim.engine.OnTimer(4567));
    EXPECT_TRUE(sim.engine.OnTimer(TIMER_WORK_POLL));
}

}  // namespace
}  // namespace pausora::sim
