#include "core/clock_campaign.h"

#include "core/engine_sim.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <tuple>

namespace pausora::sim {
namespace {

constexpr std::uint64_t kSecondMs = 1000;
constexpr std::uint64_t kMinuteMs = 60 * kSecondMs;
constexpr std::uint64_t kHourMs = 60 * kMinuteMs;
constexpr std::uint64_t kDayMs = 24 * kHourMs;
// After a wake, nothing may be shown or heard for this long...
constexpr std::uint64_t kQuietMs = kMinuteMs;
// ...and no notice may come twice within this.
constexpr std::uint64_t kBurstMs = 5 * kSecondMs;
// The engine takes a silence of its timers longer than kWakeGapMs for a
// sleep; the last step before a sleep is at most a poll period earlier. So a
// sleep this long is always seen, and one this short never is unless the
// system announces it. The campaign draws no length in between.
constexpr std::uint64_t kSeenSleepMs = kWakeGapMs + kPollPeriodMs + kSecondMs;
constexpr std::uint64_t kUnseenSleepMs = kWakeGapMs - kPollPeriodMs - kSecondMs;

using Date = std::uint32_t;  // yyyymmdd

Date DateOf(const LocalTime& time) {
    return time.year * 10000 + time.month * 100 + time.day;
}

constexpr std::uint32_t Bit(std::uint32_t id) {
    return 1u << id;
}

class Campaign {
  public:
    explicit Campaign(std::uint64_t seed) : m_random(seed) { m_report.seed = seed; }

    CampaignReport Run(double days) {
        while (m_report.counts.days < days) {
            if (Chance(0.25)) {
                FullScreenDay();
            } else {
                RunEpisode(days - m_report.counts.days);
            }
        }
        return m_report;
    }

  private:
    // --- random choices ---------------------------------------------------------

    std::uint64_t Between(std::uint64_t low, std::uint64_t high) {
        return std::uniform_int_distribution<std::uint64_t>(low, high)(m_random);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    // Spread evenly over the orders of magnitude between low and high.
    std::uint64_t LogBetween(std::uint64_t low, std::uint64_t high) {
        const double x = std::uniform_real_distribution<double>(
            std::log(static_cast<double>(low)), std::log(static_cast<double>(high)))(m_random);
        return std::clamp(static_cast<std::uint64_t>(std::exp(x)), low, high);
    }
    std::uint32_t Seconds(std::uint64_t low, std::uint64_t high) {
        return static_cast<std::uint32_t>(LogBetween(low, high));
    }
    // A switch: mostly on or off, now and then a value that is neither 0 nor 1.
    std::uint32_t Switch(double on) { return Chance(0.05) ? 2 : Chance(on) ? 1 : 0; }

    void RandomSettings(STimeSettings& s) {
        s.Micropause = Chance(0.05) ? 0 : Seconds(30, 3600);
        s.Micropause_length = Chance(0.05) ? 0 : Seconds(1, 120);
        s.Pause = Chance(0.05) ? 0 : Seconds(300, 4 * 3600);
        s.Pause_length = Chance(0.05) ? 0 : Seconds(10, 1800);
        s.UseMicropauses = Switch(0.85);
        s.UsePauses = Switch(0.85);
        s.UseSounds = Switch(0.8);
        s.UseTimeReset = Switch(0.5);
        s.UseWorkingTime = Switch(0.6);
        s.UseDailyTimeLimit = Switch(0.6);
        s.EndWorkTime_hours = static_cast<std::uint32_t>(Between(0, 23));
        s.EndWorkTime_minutes = static_cast<std::uint32_t>(Between(0, 59));
        s.DailyTimeLimit = static_cast<std::uint32_t>(Between(0, 12 * 3600));
        s.AppearanceType = static_cast<std::uint32_t>(Between(0, 1));
        s.QuietWhenBusy = Switch(0.8);
    }

    // --- the world ----------------------------------------------------------------

    EngineSim& Sim() { return *m_sim; }
    std::uint64_t Now() { return m_sim->NowMs(); }
    LocalTime Clock() { return m_sim->calendar.Now(); }

    void RunEpisode(double daysLeft) {
        ++m_report.counts.episodes;
        ++m_episode;
        m_sim = std::make_unique<EngineSim>();
        EngineSim& sim = Sim();  // only until the first restart
        sim.presenter.keepLog = false;
        RandomSettings(sim.settings);
        sim.settings.Bonus = static_cast<std::uint32_t>(Between(0, 2500));
        sim.calendar.start = LocalTime{static_cast<std::uint32_t>(Between(2024, 2030)),
                                       static_cast<std::uint32_t>(Between(1, 12)),
                                       static_cast<std::uint32_t>(Between(1, 28)),
                                       static_cast<std::uint32_t>(Between(0, 23)),
                                       static_cast<std::uint32_t>(Between(0, 59)),
                                       static_cast<std::uint32_t>(Between(0, 59))};
        // Often a machine that has been up for almost 49.7 days: its tick
        // count wraps within the episode.
        m_tickBase = Chance(0.4) ? 0xFFFFFFFFu - static_cast<std::uint32_t>(Between(0, 3 * kDayMs))
                                 : static_cast<std::uint32_t>(Between(0, 0xFFFFFFFFu));
        sim.input.tickBase = m_tickBase;
        m_minutes.clear();
        StoreEarlierDay(sim);
        m_noticesChecked = 0;
        m_soundsChecked = 0;
        m_lastOfTitle.clear();
        m_quietUntilMs = 0;
        m_wakeNoticeFrom = 0;
        m_wakeSoundFrom = 0;
        m_busySinceMs = 0;
        StartProgram();

        const double length = std::min(daysLeft, 1.0 + static_cast<double>(Between(0, 4)));
        const auto endMs = static_cast<std::uint64_t>(length * static_cast<double>(kDayMs));
        while (Now() < endMs) {
            // The engine remembers sixteen days; a campaign that has
            // moved its clock over more dates than that starts afresh.
            if (m_minutes.size() + 2 >= BreakEngine::kRememberedDays) {
                Restart();
            }
            Act();
        }
        // Restarts have replaced the simulation: Sim(), not `sim`, from here.
        CheckStore(std::nullopt, "at the end");
        m_report.counts.days += static_cast<double>(Now()) / static_cast<double>(kDayMs);
        m_report.counts.timerEvents += m_firedBefore + Sim().timers.fired;
        m_firedBefore = 0;
        m_report.counts.tickWraps += (std::uint64_t{m_tickBase} + Now()) >> 32;
        m_sim.reset();
    }

    // A day in a full-screen workplace (a remote desktop, a virtual machine),
    // left for a moment now and then, at the keyboard and taking each break
    // as it comes: its breaks still come, at least every longest hold and
    // interval after the last break.
    void FullScreenDay() {
        ++m_report.counts.episodes;
        ++m_report.counts.fullScreenDays;
        ++m_episode;
        m_sim = std::make_unique<EngineSim>();
        EngineSim& sim = Sim();
        sim.presenter.keepLog = false;
        RandomSettings(sim.settings);
        sim.settings.QuietWhenBusy = 1;
        const STimeSettings& s = sim.settings;
        std::uint64_t boundMs = 0;
        for (const auto& [use, interval, length] :
             {std::tuple{s.UseMicropauses, s.Micropause, s.Micropause_length},
              std::tuple{s.UsePauses, s.Pause, s.Pause_length}}) {
            if (use == 1 && interval != 0) {
                const std::uint64_t ms =
                    BusyHold::kLongestHoldMs + (std::uint64_t{interval} + length + 30) * kSecondMs;
                boundMs = boundMs == 0 ? ms : std::min(boundMs, ms);
            }
        }
        sim.busy.fullScreen = true;
        sim.Start();
        std::uint64_t lastBreakMs = 0;
        std::size_t seen = 0;
        while (Now() < kDayMs) {
            sim.busy.fullScreen = !Chance(0.01);
            sim.Advance(5, true);
            for (; seen < sim.presenter.notices.size(); ++seen) {
                const std::string& title = sim.presenter.notices[seen].title;
                if (title == text::kShortBreakTitle || title == text::kLongBreakTitle) {
                    if (boundMs != 0 && Now() - lastBreakMs > boundMs) {
                        Violation(Rule::kFullScreenBreaks,
                                  "no break for " + std::to_string((Now() - lastBreakMs) / 1000) +
                                      " s in full screen");
                    }
                    // Resting for the break's length counts as a break too,
                    // and so do the breaks that fall due meanwhile.
                    const bool shortOne = title == text::kShortBreakTitle;
                    sim.Advance((shortOne ? s.Micropause_length : s.Pause_length) + 2, false);
                    lastBreakMs = Now();
                }
            }
        }
        if (boundMs != 0 && Now() - lastBreakMs > boundMs) {
            Violation(Rule::kFullScreenBreaks, "no break for the rest of a full-screen day");
        }
        m_report.counts.days += static_cast<double>(Now()) / static_cast<double>(kDayMs);
        m_report.counts.timerEvents += sim.timers.fired;
        m_sim.reset();
    }

    // What an earlier run left in the registry: nothing, today's total,
    // yesterday's, or one from long ago.
    void StoreEarlierDay(EngineSim& sim) {
        const std::uint64_t kind = Between(0, 3);
        if (kind == 0) {
            return;
        }
        const std::int64_t back = kind == 1 ? 0 : kind == 2 ? -86400 : -86400 * 400;
        const LocalTime day = AddSeconds(sim.calendar.start, back);
        const auto total = static_cast<std::uint32_t>(Between(0, 700));
        auto key = sim.registry.NewKey();
        key->Open(reg::kAppKey);
        key->WriteDword(reg::kFullWorkTime, total);
        key->WriteDword(reg::kLastYear, day.year);
        key->WriteDword(reg::kLastMonth, day.month);
        key->WriteDword(reg::kLastDay, day.day);
        m_minutes[DateOf(day)] = total;
    }

    void StartProgram() {
        EngineSim& sim = Sim();
        sim.afterStep = [this](std::uint32_t id) { AfterStep(id); };
        sim.Start();
        m_running = true;
        m_nextMinuteMs = Now() + kMinuteMs;
        m_minutes.try_emplace(DateOf(Clock()), 0);
        CheckStore(DateOf(Clock()), "at the start");
        CheckPhase();
    }

    // The program ends and starts again (a log-off, an update): a fresh
    // engine over the same registry, clock and user. Of all the days it
    // counted, only the one in the registry is known to the new run.
    void Restart() {
        ++m_report.counts.restarts;
        Note("restart");
        std::unique_ptr<EngineSim> old = std::move(m_sim);
        m_sim = std::make_unique<EngineSim>();
        EngineSim& sim = Sim();
        sim.presenter.keepLog = false;
        sim.registry = old->registry;
        sim.settings = old->settings;
        sim.calendar.start = old->calendar.start;
        sim.calendar.shiftSeconds = old->calendar.shiftSeconds;
        sim.input.tickBase = old->input.tickBase;
        sim.input.lastInputMs = old->input.lastInputMs;
        sim.busy.busy = old->busy.busy;
        sim.timers.nowMs = old->timers.nowMs;
        m_firedBefore += old->timers.fired;
        const Date stored = StoredDate();
        const std::uint32_t total = m_minutes.count(stored) != 0 ? m_minutes[stored] : 0;
        m_minutes.clear();
        m_minutes[stored] = total;
        m_noticesChecked = 0;
        m_soundsChecked = 0;
        m_wakeNoticeFrom = 0;
        m_wakeSoundFrom = 0;
        m_quietUntilMs = std::min(m_quietUntilMs, Now());
        StartProgram();
    }

    // The last few things the campaign did, for the description of a breach.
    void Note(const std::string& what) {
        m_trail[m_trailNext % m_trail.size()] = std::to_string(Now() / kSecondMs) + " s " + what;
        ++m_trailNext;
    }

    void Act() {
        const std::uint64_t pick = Between(0, 99);
        if (pick < 20) {
            ToggleBusy();
        } else if (pick < 55) {
            const bool active = Chance(0.5);
            const std::uint64_t seconds = active ? Between(5, 900) : LogBetween(1, 3 * 3600);
            Note((active ? "active " : "idle ") + std::to_string(seconds));
            Sim().Advance(seconds, active);
        } else if (pick < 63) {
            // Into the next notice (a break, a reminder, the day's end), a
            // few seconds on, and asleep.
            const std::size_t shown = Sim().presenter.notices.size();
            const bool active = Chance(0.5);
            for (int i = 0; i < 3 * 3600 && Sim().presenter.notices.size() == shown; ++i) {
                Sim().Advance(1, active);
            }
            Sim().Advance(Between(0, 20), active);
            Note("after a notice");
            Sleep();
        } else if (pick < 72) {
            Sleep();
        } else if (pick < 80) {
            ChangeClock();
        } else if (pick < 84) {
            ++m_report.counts.dstChanges;
            Note("daylight saving");
            ShiftClock(Chance(0.5) ? 3600 : -3600);
        } else if (pick < 90) {
            ChangeSettings();
        } else if (pick < 94) {
            ToggleStartStop();
        } else if (pick < 96) {
            Restart();
        } else {
            // Away for hours: over an evening, a night, a weekend.
            const std::uint64_t seconds = LogBetween(3600, 3 * 86400);
            Note("away " + std::to_string(seconds));
            Sim().Advance(seconds, false);
        }
    }

    // A presentation, a call or a full-screen game begins or ends. At the
    // end, the user is back at the keyboard, and the break held (if any, and
    // not had while away for its length) must come within the grace.
    void ToggleBusy() {
        EngineSim& sim = Sim();
        if (!sim.busy.busy) {
            ++m_report.counts.busySpells;
            Note("busy");
            sim.busy.busy = true;
            m_busySinceMs = Now();
            // Mostly a talk or a call at the keyboard, now and then one
            // that is over before the next break.
            const std::uint64_t seconds = LogBetween(5, 3600);
            Note("busy and active " + std::to_string(seconds));
            sim.Advance(seconds, true);
            if (Chance(0.3)) {
                return;
            }
        }
        Note("free");
        const BusyHold& hold = sim.engine.Hold();
        const auto breakMs = [](std::uint32_t seconds) {
            return std::uint64_t{std::max(seconds, 1u)} * kSecondMs;
        };
        std::string_view expected;
        if (hold.Holds(HeldNotice::kLongBreak) &&
            hold.LongestAwayMs() < breakMs(sim.settings.Pause_length)) {
            expected = text::kLongBreakTitle;
        } else if (hold.Holds(HeldNotice::kShortBreak) &&
                   hold.LongestAwayMs() < breakMs(sim.settings.Micropause_length) &&
                   !sim.timers.Period(TIMER_LONG_END)) {
            // (A long break that runs without a notice takes the place of the
            // held short one, as it would of a short break on screen.)
            expected = text::kShortBreakTitle;
        } else if (hold.Holds(HeldNotice::kLongBreak) || hold.Holds(HeldNotice::kShortBreak)) {
            ++m_report.counts.heldBreaksTaken;
        }
        sim.busy.busy = false;
        const std::size_t shown = sim.presenter.notices.size();
        sim.Advance(BusyHold::kGraceMs / kSecondMs + 2, true);
        if (expected.empty()) {
            return;
        }
        bool came = false;
        for (std::size_t i = shown; i < sim.presenter.notices.size(); ++i) {
            came = came || sim.presenter.notices[i].title == expected;
        }
        m_report.counts.heldBreaksShown += came ? 1u : 0u;
        if (!came || sim.engine.Hold().HasHeld()) {
            Violation(Rule::kHeldKept, "the held '" + std::string(expected) +
                                           "' did not come after the user was free");
        }
    }

    void ChangeClock() {
        ++m_report.counts.clockChanges;
        const LocalTime now = Clock();
        std::int64_t shift = 0;
        const std::uint64_t kind = Between(0, 3);
        if (kind == 0) {
            // A time server's correction: seconds to a couple of minutes.
            shift = static_cast<std::int64_t>(Between(1, 120));
        } else if (kind == 1) {
            // The user sets the clock: minutes to days.
            shift = static_cast<std::int64_t>(LogBetween(60, 3 * 86400));
        } else {
            // Just after midnight, back into yesterday; otherwise back to
            // just before the last midnight.
            const std::int64_t sinceMidnight = now.hour * 3600 + now.minute * 60 + now.second;
            shift = sinceMidnight + static_cast<std::int64_t>(Between(1, 2 * 3600));
            if (kind == 3 && sinceMidnight > 3600) {
                shift = static_cast<std::int64_t>(Between(1, 120));
            }
            shift = -shift;
        }
        if (kind <= 1 && Chance(0.5)) {
            shift = -shift;
        }
        Note("clock " + std::to_string(shift));
        ShiftClock(shift);
    }

    void ShiftClock(std::int64_t seconds) {
        const Date before = DateOf(Clock());
        Sim().calendar.shiftSeconds += seconds;
        if (seconds < 0) {
            ++m_report.counts.clockChangesBack;
            m_report.counts.clockChangesBackOverMidnight += DateOf(Clock()) < before ? 1u : 0u;
        }
    }

    // As the settings window does: a new record, saved, then the schedule
    // restarted if it runs.
    void ChangeSettings() {
        ++m_report.counts.settingsChanges;
        Note("settings");
        RandomSettings(Sim().settings);
        if (!Sim().engine.IsStopped()) {
            Sim().engine.ToggleStartStop();
            Sim().engine.ToggleStartStop();
            m_nextMinuteMs = Now() + kMinuteMs;
        }
        CheckAfterCommand();
    }

    void ToggleStartStop() {
        Note("start/stop");
        Sim().engine.ToggleStartStop();
        m_running = !Sim().engine.IsStopped();
        if (m_running) {
            m_nextMinuteMs = Now() + kMinuteMs;
        } else {
            ++m_report.counts.stops;
        }
        CheckAfterCommand();
    }

    void CheckAfterCommand() {
        // A schedule the user has just started afresh brings its breaks on
        // its own time: the quiet after an earlier wake is over.
        if (m_running) {
            m_quietUntilMs = std::min(m_quietUntilMs, Now());
        }
        CheckPhase();
        CheckNotices();
    }

    // --- sleeps ---------------------------------------------------------------------

    void Sleep() {
        EngineSim& sim = Sim();
        CampaignCounts& counts = m_report.counts;
        ++counts.sleeps;
        std::uint64_t ms = LogBetween(2, 3 * 86400) * kSecondMs;
        if (ms > kUnseenSleepMs && ms < kSeenSleepMs) {
            ms = kSeenSleepMs;
        }
        const auto order = static_cast<WakeOrder>(Between(0, 2));
        // The system's wake notice: none, before the overdue messages, after
        // them, or a few seconds later.
        const std::uint64_t noticeKind = Between(0, 3);
        const bool late = noticeKind == 3;
        const WakeNotice notice = late ? WakeNotice::kNone : static_cast<WakeNotice>(noticeKind);

        const std::uint32_t armed = sim.timers.ArmedMask();
        const bool shortBreak = (armed & Bit(TIMER_SHORT_END)) != 0;
        const bool longBreak = (armed & Bit(TIMER_LONG_END)) != 0;
        counts.sleepsInBreaks += shortBreak || longBreak ? 1u : 0u;
        const std::uint32_t bonusBefore = sim.Bonus();
        std::uint32_t owed = 0;
        if (longBreak && sim.settings.UsePauses != 0) {
            owed = 10;
        } else if (shortBreak && sim.settings.UseMicropauses != 0) {
            owed = 2;
        }

        const std::uint64_t wake = Now() + ms;
        // A stopped schedule has no timers: only the system can tell it.
        const bool byGap = m_running && ms >= kSeenSleepMs;
        const bool seen = byGap || noticeKind != 0;
        // Told of the wake before any overdue message runs?
        const bool toldFirst = byGap || notice == WakeNotice::kFirst;
        counts.sleepsSeen += seen ? 1u : 0u;
        counts.sleepsUnseen += seen ? 0u : 1u;

        Note("sleep " + std::to_string(ms / kSecondMs) + " order " +
             std::to_string(static_cast<int>(order)) + " notice " + std::to_string(noticeKind));
        // The minute timer hands over one overdue message; unless the
        // engine already knows of the wake, it is an ordinary minute step.
        m_wakeMinuteCounts = m_running && !toldFirst && m_nextMinuteMs <= wake;
        const std::size_t noticesBefore = sim.presenter.notices.size();
        const std::size_t soundsBefore = sim.presenter.sounds.size();
        m_inWake = true;
        sim.SleepAndWake(ms / kSecondMs, order, notice);
        m_inWake = false;
        if (m_running && (byGap || notice != WakeNotice::kNone || m_nextMinuteMs <= wake)) {
            m_nextMinuteMs = wake + kMinuteMs;
        }
        if (!toldFirst) {
            // Shown (or heard) before the engine could know of the wake.
            m_report.counts.noticesBeforeTold += sim.presenter.notices.size() - noticesBefore;
        }
        if (byGap || notice != WakeNotice::kNone) {
            // Quiet from the moment the engine knew: what the overdue
            // messages showed before a late wake notice could not be helped.
            StartQuiet(toldFirst ? noticesBefore : sim.presenter.notices.size(),
                       toldFirst ? soundsBefore : sim.presenter.sounds.size(), wake);
        }
        CheckNotices();
        CheckPoints(toldFirst, bonusBefore, owed);

        if (late) {
            const std::size_t shown = sim.presenter.notices.size();
            Sim().Advance(Between(1, 10), false);
            m_report.counts.noticesBeforeTold += sim.presenter.notices.size() - shown;
            Note("wake notice");
            sim.engine.OnResume();
            if (m_running) {
                m_nextMinuteMs = Now() + kMinuteMs;
            }
            StartQuiet(sim.presenter.notices.size(), sim.presenter.sounds.size(), Now());
            CheckPhase();
            CheckNotices();
            CheckPoints(false, bonusBefore, 0);
        }
    }

    void StartQuiet(std::size_t noticesFrom, std::size_t soundsFrom, std::uint64_t fromMs) {
        m_quietUntilMs = fromMs + QuietWindowMs();
        m_wakeNoticeFrom = noticesFrom;
        m_wakeSoundFrom = soundsFrom;
        // The day turns at a wake the engine knows of.
        m_minutes.try_emplace(DateOf(Clock()), 0);
        CheckStore(DateOf(Clock()), "at a wake");
    }

    // A wake the engine knew of at once pays exactly the break the sleep cut
    // short; any other never costs points.
    void CheckPoints(bool exact, std::uint32_t bonusBefore, std::uint32_t owed) {
        const std::uint32_t bonus = Sim().Bonus();
        if (exact && m_running) {
            m_report.counts.breaksPaidAtWake += owed != 0 ? 1u : 0u;
            if (bonus != bonusBefore + owed) {
                Violation(Rule::kSleepPoints, "Bonus " + std::to_string(bonus) + " after a wake, " +
                                                  std::to_string(bonusBefore) + " before and " +
                                                  std::to_string(owed) + " owed");
            }
        } else if (bonus < bonusBefore) {
            Violation(Rule::kSleepPoints, "Bonus fell from " + std::to_string(bonusBefore) +
                                              " to " + std::to_string(bonus) + " over a sleep");
        }
        const auto stored = Sim().StoredBonus();
        if (stored && *stored != bonus) {
            Violation(Rule::kSleepPoints, "stored Bonus " + std::to_string(*stored) +
                                              ", in memory " + std::to_string(bonus));
        }
    }

    // A break whose interval is shorter than a minute may come before the
    // minute is over: the fresh schedule brings it, not the sleep.
    std::uint64_t QuietWindowMs() const {
        std::uint64_t quiet = kQuietMs;
        for (const std::uint32_t interval : {m_sim->settings.Micropause, m_sim->settings.Pause}) {
            if (interval != 0) {
                quiet = std::min(quiet, std::uint64_t{interval} * kSecondMs);
            }
        }
        return quiet;
    }

    // --- the checks -------------------------------------------------------------------

    void AfterStep(std::uint32_t id) {
        if (id == TIMER_MINUTE) {
            if (m_inWake) {
                if (m_wakeMinuteCounts) {
                    m_wakeMinuteCounts = false;
                    CountMinute();
                }
            } else if (m_running && Now() == m_nextMinuteMs) {
                CountMinute();
                m_nextMinuteMs = Now() + kMinuteMs;
            }
        }
        CheckPhase();
        CheckNotices();
    }

    // The rule of the day's count, kept apart from the engine's: a minute
    // step is one every 60 s of the tick count since the schedule last
    // started (the wall clock does not move it); it is active when the last
    // input is less than 60 s old; it belongs to the date the clock shows
    // at that step.
    void CountMinute() {
        EngineSim& sim = Sim();
        const std::int64_t lastInput = sim.input.lastInputMs;
        const bool active =
            lastInput >= 0 && Now() - static_cast<std::uint64_t>(lastInput) < kMinuteMs;
        const Date date = DateOf(Clock());
        m_minutes[date] += active ? 1u : 0u;
        m_report.counts.activeMinutes += active ? 1u : 0u;
        CheckStore(date, "at a minute");
    }

    Date StoredDate() {
        const EngineSim& sim = Sim();
        return sim.registry.Dword(reg::kAppKey, reg::kLastYear).value_or(0) * 10000 +
               sim.registry.Dword(reg::kAppKey, reg::kLastMonth).value_or(0) * 100 +
               sim.registry.Dword(reg::kAppKey, reg::kLastDay).value_or(0);
    }

    void CheckStore(std::optional<Date> expected, const char* where) {
        const Date stored = StoredDate();
        if (expected && stored != *expected) {
            Violation(Rule::kDayTotal, std::string(where) + ": the stored date is " +
                                           std::to_string(stored) + ", the clock says " +
                                           std::to_string(*expected));
        }
        const auto found = m_minutes.find(stored);
        const std::uint32_t model = found != m_minutes.end() ? found->second : 0;
        const std::uint32_t total = Sim().StoredFullWorkTime().value_or(0);
        if (total != model || Sim().engine.FullWorkTime() != model) {
            Violation(Rule::kDayTotal,
                      std::string(where) + ": FullWorkTime " + std::to_string(total) +
                          " (in memory " + std::to_string(Sim().engine.FullWorkTime()) + ") for " +
                          std::to_string(stored) + ", active minutes " + std::to_string(model));
        }
    }

    // Working: both intervals (those that are not 00:00), the work poll and
    // the minute; a short break: its end and poll, the long interval and the
    // minute; a long break: its end and poll and the minute; stopped: none.
    void CheckPhase() {
        EngineSim& sim = Sim();
        const std::uint32_t armed = sim.timers.ArmedMask();
        const STimeSettings& s = sim.settings;
        const std::uint32_t longDue = s.Pause != 0 ? Bit(TIMER_LONG_DUE) : 0;
        std::uint32_t allowed = 0;
        if (sim.engine.IsStopped()) {
            allowed = 0;
        } else if ((armed & (Bit(TIMER_LONG_END) | Bit(TIMER_LONG_POLL))) != 0) {
            allowed = Bit(TIMER_LONG_END) | Bit(TIMER_LONG_POLL) | Bit(TIMER_MINUTE);
        } else if ((armed & (Bit(TIMER_SHORT_END) | Bit(TIMER_SHORT_POLL))) != 0) {
            allowed = Bit(TIMER_SHORT_END) | Bit(TIMER_SHORT_POLL) | longDue | Bit(TIMER_MINUTE);
        } else {
            allowed = (s.Micropause != 0 ? Bit(TIMER_SHORT_DUE) : 0) | longDue |
                      Bit(TIMER_WORK_POLL) | Bit(TIMER_MINUTE);
        }
        if (armed != allowed) {
            std::ostringstream text;
            text << "armed timers 0x" << std::hex << armed << ", one phase allows 0x" << allowed;
            Violation(Rule::kTimerPhase, text.str());
        }
    }

    void CheckNotices() {
        const RecordingPresenter& presenter = Sim().presenter;
        for (; m_noticesChecked < presenter.notices.size(); ++m_noticesChecked) {
            const Notice& notice = presenter.notices[m_noticesChecked];
            ++m_report.counts.notices;
            if (m_noticesChecked >= m_wakeNoticeFrom && notice.atMs < m_quietUntilMs) {
                Violation(Rule::kQuietWake, "notice '" + notice.title + "' " +
                                                std::to_string(m_quietUntilMs - notice.atMs) +
                                                " ms before the quiet minute after a wake ends");
            }
            auto last = m_lastOfTitle.find(notice.title);
            if (last != m_lastOfTitle.end() && notice.atMs - last->second < kBurstMs) {
                Violation(Rule::kNoBurst, "notice '" + notice.title + "' again after " +
                                              std::to_string(notice.atMs - last->second) + " ms");
            }
            m_lastOfTitle[notice.title] = notice.atMs;
            if (BusyNow(notice.atMs)) {
                Violation(Rule::kBusyQuiet, "notice '" + notice.title + "' while busy");
            }
            // Two schedules of their own (a break and the minute's notices)
            // may meet within seconds; only counted.
            if (m_noticesChecked > 0) {
                const Notice& previous = presenter.notices[m_noticesChecked - 1];
                if (notice.atMs != previous.atMs && notice.atMs - previous.atMs < kBurstMs &&
                    notice.title != previous.title) {
                    ++m_report.counts.differentNoticesClose;
                }
            }
        }
        for (; m_soundsChecked < presenter.sounds.size(); ++m_soundsChecked) {
            const SoundPlay& play = presenter.sounds[m_soundsChecked];
            ++m_report.counts.sounds;
            if (m_soundsChecked >= m_wakeSoundFrom && play.atMs < m_quietUntilMs) {
                Violation(Rule::kQuietWake, "sound " +
                                                std::to_string(static_cast<int>(play.event)) +
                                                " within a minute of a wake");
            }
            if (BusyNow(play.atMs)) {
                Violation(Rule::kBusyQuiet,
                          "sound " + std::to_string(static_cast<int>(play.event)) + " while busy");
            }
        }
    }

    // Busy, with the box ticked, for less than the longest hold. (A hold may
    // begin after the busy spell does, never before it.)
    bool BusyNow(std::uint64_t atMs) {
        EngineSim& sim = Sim();
        return sim.busy.busy && sim.settings.QuietWhenBusy == 1 && atMs >= m_busySinceMs &&
               atMs - m_busySinceMs < BusyHold::kLongestHoldMs;
    }

    void Violation(Rule rule, const std::string& what) {
        ++m_report.violations[static_cast<std::size_t>(rule)];
        if (m_report.examples.size() >= 12) {
            return;
        }
        const LocalTime t = Clock();
        const STimeSettings& s = Sim().settings;
        std::ostringstream text;
        text << RuleName(rule) << ": " << what << " (episode " << m_episode << ", at "
             << Now() / kSecondMs << " s, local " << DateOf(t) << " " << t.hour << ":" << t.minute
             << ":" << t.second << "; short " << s.Micropause << "/" << s.Micropause_length
             << " s, long " << s.Pause << "/" << s.Pause_length << " s, switches "
             << s.UseMicropauses << s.UsePauses << s.UseSounds << s.UseTimeReset << s.UseWorkingTime
             << s.UseDailyTimeLimit << "; before:";
        for (std::size_t i = 0; i < m_trail.size(); ++i) {
            const std::string& entry = m_trail[(m_trailNext + i) % m_trail.size()];
            if (!entry.empty()) {
                text << " [" << entry << "]";
            }
        }
        text << ")";
        m_report.examples.push_back(text.str());
    }

    std::mt19937_64 m_random;
    CampaignReport m_report;
    std::uint64_t m_episode = 0;
    std::unique_ptr<EngineSim> m_sim;
    std::uint32_t m_tickBase = 0;
    std::uint64_t m_firedBefore = 0;

    // The model of the day's count.
    std::map<Date, std::uint32_t> m_minutes;
    bool m_running = false;
    std::uint64_t m_nextMinuteMs = 0;
    bool m_inWake = false;
    bool m_wakeMinuteCounts = false;

    // What has been looked at so far, and the quiet minute after the last wake.
    std::size_t m_noticesChecked = 0;
    std::size_t m_soundsChecked = 0;
    std::map<std::string, std::uint64_t> m_lastOfTitle;
    std::uint64_t m_quietUntilMs = 0;
    std::size_t m_wakeNoticeFrom = 0;
    std::size_t m_wakeSoundFrom = 0;

    std::uint64_t m_busySinceMs = 0;

    std::array<std::string, 6> m_trail;
    std::size_t m_trailNext = 0;
};

}  // namespace

const char* RuleName(Rule rule) {
    switch (rule) {
        case Rule::kQuietWake:
            return "quiet wake";
        case Rule::kSleepPoints:
            return "points over a sleep";
        case Rule::kTimerPhase:
            return "one phase of timers";
        case Rule::kDayTotal:
            return "day total";
        case Rule::kNoBurst:
            return "no burst";
        case Rule::kBusyQuiet:
            return "quiet while busy";
        case Rule::kHeldKept:
            return "held, not lost";
        case Rule::kFullScreenBreaks:
            return "breaks in full screen";
    }
    return "?";
}

std::uint64_t CampaignReport::TotalViolations() const {
    std::uint64_t total = 0;
    for (const std::uint64_t count : violations) {
        total += count;
    }
    return total;
}

CampaignReport RunClockCampaign(std::uint64_t seed, double days) {
    return Campaign(seed).Run(days);
}

void PrintReport(std::ostream& out, const CampaignReport& report) {
    const CampaignCounts& c = report.counts;
    out << "seed " << report.seed << "\n"
        << "episodes " << c.episodes << ", restarts " << c.restarts << "\n"
        << "simulated days " << static_cast<std::uint64_t>(c.days) << "\n"
        << "timer events " << c.timerEvents << "\n"
        << "sleeps " << c.sleeps << " (in a break " << c.sleepsInBreaks << "; seen by the engine "
        << c.sleepsSeen << ", short and unannounced " << c.sleepsUnseen
        << "; breaks paid at a wake " << c.breaksPaidAtWake
        << "; notices before the engine could know of a wake " << c.noticesBeforeTold << ")\n"
        << "clock changes " << c.clockChanges << " (back " << c.clockChangesBack
        << ", back over midnight " << c.clockChangesBackOverMidnight << ")\n"
        << "daylight-saving changes " << c.dstChanges << "\n"
        << "tick-count wraps " << c.tickWraps << "\n"
        << "settings changes " << c.settingsChanges << ", stops " << c.stops << "\n"
        << "active minutes " << c.activeMinutes << ", notices " << c.notices << ", sounds "
        << c.sounds << "\n"
        << "busy spells " << c.busySpells << " (held breaks shown after " << c.heldBreaksShown
        << ", had while away " << c.heldBreaksTaken << ")\n"
        << "full-screen days " << c.fullScreenDays << "\n"
        << "different notices within 5 s (a break and the minute's notice, a long break "
           "replacing a short one) "
        << c.differentNoticesClose << "\n";
    out << "violations:\n";
    for (std::size_t i = 0; i < kRuleCount; ++i) {
        out << "  " << RuleName(static_cast<Rule>(i)) << " " << report.violations[i] << "\n";
    }
    for (const std::string& example : report.examples) {
        out << "  - " << example << "\n";
    }
}

}  // namespace pausora::sim
