// Quiet while the user is busy, on the virtual clock: what is held, what
// comes afterwards and when, and what ends a hold.
#include "core/engine_sim.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace pausora::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr std::string_view kHeldTip = "Pausora (Held while you are busy)\nYour experience: 0";
constexpr std::string_view kNormalTip = "Pausora (Normal)\nNext break in 7 min\nYour experience: 0";

// Every notice and sound from `fromS` (inclusive) to `toS` (exclusive).
std::vector<std::string> ShownBetween(const EngineSim& sim, std::uint64_t fromS,
                                      std::uint64_t toS) {
    std::vector<std::string> shown;
    for (const Notice& notice : sim.presenter.notices) {
        if (notice.atMs >= fromS * 1000 && notice.atMs < toS * 1000) {
            shown.push_back(notice.title + " at " + std::to_string(notice.atMs / 1000));
        }
    }
    for (const SoundPlay& play : sim.presenter.sounds) {
        if (play.atMs >= fromS * 1000 && play.atMs < toS * 1000) {
            shown.push_back("sound " + std::to_string(static_cast<int>(play.event)));
        }
    }
    return shown;
}

struct HeldCase {
    const char* what;
    std::function<void(STimeSettings&)> setUp;
    std::string_view title;
    SoundEvent sound;
};

// Each kind of notice falls due while the user presents (and types); it is
// held without a trace but the tooltip, and comes once, 10 to 11 seconds
// after the presentation ends.
TEST(BusyHold, EachKindOfNoticeIsHeldAndComesTenSecondsAfterTheUserIsFree) {
    const auto noBreaks = [](STimeSettings& s) { s.Micropause = s.Pause = 0; };
    const HeldCase cases[] = {
        {"short break", [](STimeSettings&) {}, text::kShortBreakTitle, SoundEvent::kShortBreak},
        {"long break",
         [](STimeSettings& s) {
             s.Micropause = 0;
             s.Pause = 300;
         },
         text::kLongBreakTitle, SoundEvent::kLongBreak},
        {"end of the working day",
         [&](STimeSettings& s) {
             noBreaks(s);
             s.EndWorkTime_hours = 9;  // the day starts at 9:00
             s.EndWorkTime_minutes = 5;
         },
         text::kWorkdayEndTitle, SoundEvent::kWorkTimeEnd},
        {"daily limit",
         [&](STimeSettings& s) {
             noBreaks(s);
             s.UseWorkingTime = 0;
             s.DailyTimeLimit = 60;
         },
         text::kTimeLimitTitle, SoundEvent::kTimeLimit},
    };
    for (const HeldCase& c : cases) {
        SCOPED_TRACE(c.what);
        EngineSim sim;
        sim.settings.Bonus = 10;
        c.setUp(sim.settings);
        sim.busy.busy = true;
        sim.Start();
        const int icon = sim.presenter.icon;
        sim.AdvanceTo(500, true);
        EXPECT_THAT(ShownBetween(sim, 0, 500), IsEmpty()) << sim.LogText();
        EXPECT_EQ(sim.presenter.tooltip, kHeldTip);
        EXPECT_EQ(sim.presenter.icon, icon);
        EXPECT_EQ(sim.Bonus(), 10u);
        EXPECT_EQ(sim.engine.FullWorkTime(), 8u);  // computer time is counted all the same

        sim.busy.busy = false;
        sim.AdvanceTo(509, true);
        EXPECT_THAT(ShownBetween(sim, 500, 509), IsEmpty());
        sim.AdvanceTo(512, true);
        const auto shown = ShownBetween(sim, 509, 512);
        ASSERT_EQ(shown.size(), 2u) << sim.LogText();
        EXPECT_EQ(shown[0].substr(0, c.title.size()), c.title);
        EXPECT_EQ(sim.presenter.sounds.back().event, c.sound);
        EXPECT_NE(sim.presenter.tooltip, kHeldTip);
    }
}

// Several breaks held make one notice, the long one when there is one.
TEST(BusyHold, ManyHeldBreaksMakeOneNoticeAndTheLongOneWins) {
    const struct {
        const char* what;
        std::uint32_t longInterval;
        std::string_view title;
    } cases[] = {
        {"short breaks only", 3600, text::kShortBreakTitle},
        {"short breaks and a long one", 300, text::kLongBreakTitle},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EngineSim sim;
        sim.settings.Micropause = 60;
        sim.settings.Pause = c.longInterval;
        sim.busy.busy = true;
        sim.Start();
        sim.AdvanceTo(500, true);  // seven or eight short breaks due
        sim.busy.busy = false;
        sim.AdvanceTo(540, true);
        std::vector<std::string> titles;
        for (const Notice& notice : sim.presenter.notices) {
            titles.push_back(notice.title);
        }
        EXPECT_THAT(titles, ElementsAre(c.title)) << sim.LogText();
        // Free from the poll after 500 s: 10 s of grace from there.
        EXPECT_EQ(sim.presenter.notices[0].atMs / 1000, 511u);
    }
}

TEST(BusyHold, BusyAgainWithinTheGraceStartsItAfreshAndAClearedBoxHoldsNothing) {
    EngineSim sim;
    sim.busy.busy = true;
    sim.Start();
    sim.AdvanceTo(500, true);
    sim.busy.busy = false;
    sim.AdvanceTo(505, true);
    sim.busy.busy = true;  // the next slide
    sim.AdvanceTo(600, true);
    sim.busy.busy = false;
    sim.AdvanceTo(700, true);
    EXPECT_THAT(sim.NoticeTimes(text::kShortBreakTitle), ElementsAre(611)) << sim.LogText();

    EngineSim cleared;
    cleared.settings.QuietWhenBusy = 0;
    cleared.busy.busy = true;
    cleared.Start();
    cleared.AdvanceTo(421, true);
    EXPECT_THAT(cleared.NoticeTimes(text::kShortBreakTitle), ElementsAre(420));
    EXPECT_THAT(cleared.SoundTimes(SoundEvent::kShortBreak), ElementsAre(420));
}

// Away from the keyboard during the hold for as long as the break: the
// break was had, and nothing comes; no points either way.
TEST(BusyHold, AwayForTheLengthOfTheBreakDuringTheHoldCountsAsTheBreak) {
    const struct {
        const char* what;
        std::uint32_t shortInterval;
        std::uint32_t longInterval;
    } cases[] = {
        {"short break", 420, 3600},
        {"long break", 0, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EngineSim sim;
        sim.settings.Micropause = c.shortInterval;
        sim.settings.Pause = c.longInterval;
        sim.settings.Pause_length = 60;
        sim.settings.Bonus = 50;
        sim.busy.busy = true;
        sim.Start();
        sim.AdvanceTo(400, true);
        sim.AdvanceTo(500, false);  // watching, hands off: longer than either break
        sim.busy.busy = false;
        sim.AdvanceTo(590, true);
        EXPECT_THAT(ShownBetween(sim, 0, 590), IsEmpty()) << sim.LogText();
        EXPECT_THAT(sim.presenter.tooltip, StartsWith("Pausora (Normal)\nNext break in "));
        EXPECT_THAT(sim.presenter.tooltip, EndsWith("\nYour experience: 1"));
        EXPECT_EQ(sim.Bonus(), 50u);
    }
}

// A full-screen program that never ends cannot keep the reminders away: two
// hours after the first held break it shows, and the breaks after it too.
TEST(BusyHold, AHoldLastsTwoHoursAtMost) {
    EngineSim sim;
    sim.settings.Pause = 0;
    sim.busy.busy = true;
    sim.Start();
    sim.AdvanceTo(420 + 7199, true);
    EXPECT_THAT(sim.presenter.notices, IsEmpty());
    sim.AdvanceTo(420 + 7201, true);
    EXPECT_THAT(sim.NoticeTimes(text::kShortBreakTitle), ElementsAre(7620)) << sim.LogText();
    sim.AdvanceTo(9000, false);
    EXPECT_THAT(sim.NoticeTimes(text::kShortBreakTitle), ElementsAre(7620, 8052, 8483, 8914));
}

// A wake ends the hold (the sleep was the break), and so do Stop, a pause
// and the settings' restart: what was held is dropped, the tooltip shows the
// state again, and a pause however long is no part of the hold's two hours.
TEST(BusyHold, AWakeAStopOrAPauseEndsTheHold) {
    const struct {
        const char* what;
        std::function<void(EngineSim&)> leave;
        bool stillBusy;
    } cases[] = {
        {"sleep",
         [](EngineSim& sim) { sim.SleepAndWake(3600, WakeOrder::kByDueTime, WakeNotice::kFirst); },
         false},
        {"stop and start",
         [](EngineSim& sim) {
             sim.engine.ToggleStartStop();
             sim.engine.ToggleStartStop();
         },
         false},
        {"pause and resume",
         [](EngineSim& sim) {
             sim.engine.Pause(PauseLength::kMinutes30);
             sim.Advance(600, true);
             sim.engine.Resume();
         },
         false},
        {"until tomorrow",
         [](EngineSim& sim) {
             sim.engine.Pause(PauseLength::kUntilTomorrow);
             sim.AdvanceTo(24 * 3600, false);
         },
         false},
        {"two hours' pause, busy throughout",
         [](EngineSim& sim) {
             sim.engine.Pause(PauseLength::kHours2);
             sim.Advance(7200, true);
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EngineSim sim;
        sim.busy.busy = true;
        sim.Start();
        sim.AdvanceTo(430, true);
        ASSERT_EQ(sim.presenter.tooltip, kHeldTip);
        sim.busy.busy = c.stillBusy;
        c.leave(sim);
        ASSERT_FALSE(sim.engine.IsPaused());
        EXPECT_EQ(sim.presenter.tooltip, kNormalTip);
        const std::uint64_t restartS = sim.NowMs() / 1000;
        sim.Advance(419, true);
        EXPECT_THAT(ShownBetween(sim, 0, restartS + 419), IsEmpty()) << sim.LogText();
        sim.Advance(1, true);
        if (c.stillBusy) {
            EXPECT_EQ(sim.presenter.tooltip, kHeldTip);  // quiet as before the pause
            EXPECT_THAT(sim.presenter.notices, IsEmpty());
        } else {
            EXPECT_THAT(sim.NoticeTimes(text::kShortBreakTitle), ElementsAre(restartS + 420));
        }
    }
}

// A window in full screen all day, left for a moment now and then (a remote
// desktop): after a hold ends at its longest, the next break is shown before
// full screen holds anything again, so breaks come at least every two hours
// and an interval. A presentation the system knows of keeps its old rule.
TEST(BusyHold, FullScreenAllDayStillGetsBreaks) {
    EngineSim sim;
    sim.settings.Pause = 0;
    sim.busy.fullScreen = true;
    sim.Start();
    // At work, out of full screen for five seconds every five minutes, and
    // taking each break as it comes.
    std::size_t seen = 0;
    while (sim.NowMs() < 10 * 3600 * 1000) {
        sim.busy.fullScreen = sim.NowMs() / 1000 % 300 >= 5;
        sim.Advance(1, true);
        if (sim.presenter.notices.size() != seen) {
            seen = sim.presenter.notices.size();
            sim.Advance(12, false);
        }
    }
    const std::vector<std::uint64_t> shown = sim.NoticeTimes(text::kShortBreakTitle);
    ASSERT_GE(shown.size(), 7u) << sim.LogText();
    std::uint64_t last = 0;
    for (const std::uint64_t at : shown) {
        EXPECT_LE(at - last, 7200u + 420u + 11u) << "from " << last;
        last = at;
    }
    EXPECT_THAT(std::vector(shown.begin(), shown.begin() + 4),
                ElementsAre(7620, 8051, 15682, 16113));
}

// A break already on screen when the user starts presenting goes on, but
// its reminder and sounds keep quiet, and no point is taken meanwhile.
TEST(BusyHold, ABreakRunningWhenBusyBeginsRemindsNobodyAndPlaysNothing) {
    EngineSim sim;
    sim.settings.Micropause = 60;
    sim.settings.Bonus = 50;
    sim.Start();
    sim.AdvanceTo(61, true);
    ASSERT_THAT(sim.NoticeTimes(text::kShortBreakTitle), ElementsAre(60));
    ASSERT_TRUE(sim.presenter.popupShown);
    sim.busy.busy = true;
    sim.AdvanceTo(62, true);
    EXPECT_FALSE(sim.presenter.popupShown);  // out of the slides' way
    sim.AdvanceTo(200, true);                // a whole interval of work inside the break
    sim.AdvanceTo(220, false);
    EXPECT_THAT(ShownBetween(sim, 61, 220), IsEmpty()) << sim.LogText();
    EXPECT_EQ(sim.Bonus(), 52u);  // the break itself ended, with its points
}

}  // namespace
}  // namespace pausora::sim
