// The break scheduler and the day's work-time count of the main window: pure
// handlers that the window's timer messages drive.
//
// The main window owns one engine and its ports. Its initialisation calls
// Initialise() where the timers are due (after the settings are read, before
// the tray icon exists); WM_TIMER calls OnTimer(id); the Start/Stop command
// calls ToggleStartStop(); a settings change saves the record and then calls
// ApplySettings(), which restarts a running schedule with the new values and
// leaves a stopped or paused one so.
#pragma once

#include "store/registry_store.h"
#include "store/time_settings.h"
#include "scheduler/busy_hold.h"
#include "scheduler/engine_ports.h"
#include "scheduler/pause_clock.h"
#include "scheduler/scheduler_ids.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pausora {

// The settings pages can store a break length of 00:00. A timer of 0 ms would
// fire as fast as Windows allows and turn the break into a storm of notices
// and points, so a break of no length lasts the shortest time the one-second
// polls can see: one second.
std::uint32_t BreakLength(std::uint32_t seconds);
std::uint32_t BreakLengthMs(std::uint32_t seconds);

// The level 0..7 that a number of experience points earns.
int ExperienceLevel(std::uint32_t bonus);

// The body of the work-day-end and time-limit notices: the day's computer
// time, "Today: 7 h 42 min at the computer".
std::string DayTimeLine(const BreakTexts& texts, std::uint32_t minutes);

class BreakEngine {
  public:
    // How many calendar days' totals a running program keeps, for a clock
    // that is set back to a day it has already counted.
    static constexpr std::size_t kRememberedDays = 16;

    struct Ports {
        ITimerHost& timers;
        ITickClock& ticks;
        IIdleSource& input;
        ILocalClock& calendar;
        IPresenter& presenter;
        ITipSource& tips;
        IRegistry& registry;
        IWallClock& wall;   // the pauses' ends, as the user reads them
        IBusySource& busy;  // whether notices are held
        IHistorySink& history;
    };

    // The settings record is the main window's live copy; the settings window
    // and the tray menu change it between timer messages and the engine reads
    // it afresh at every step. `texts` are the tooltip's pause and next-break
    // lines in the user's language, `breakTexts` the notices' and the rest of
    // the tooltip's.
    BreakEngine(STimeSettings& settings, const Ports& ports, PauseTexts texts = {},
                BreakTexts breakTexts = {});

    BreakEngine(const BreakEngine&) = delete;
    BreakEngine& operator=(const BreakEngine&) = delete;

    // The main window's start: arms the working-phase timers, starts the input
    // watcher, clears the counters and runs the day check. The tray's first
    // icon and tooltip are the window's business, not a state change.
    void Initialise();
    // Reads the day's work time, or starts a new day when the stored date is
    // not today's.
    void CheckDay();
    // Moves the count to the calendar day of `now` when that is not the day
    // being counted: back to the total it had if this run has counted that
    // day before (the clock was set back, or forwards again), else to zero.
    void StartDayIfNew(const LocalTime& now);

    // The timer message: true when the id is one of the engine's.
    bool OnTimer(std::uint32_t id);
    // The computer has woken from sleep (the system says so, or a timer
    // message finds the tick count far past the last step). The system tells
    // each of the program's windows, and may tell one twice: a notice within
    // a second of the restart, before the restarted schedule has taken a
    // step, is the same wake.
    void OnResume();
    // The clock or the time zone was changed: the day is checked at once, as
    // the minute step would.
    void OnClockChanged();
    // The session was locked or unlocked. While it is locked the user is
    // away, whatever the last-input time says: a mouse nudged to wake the
    // lock screen, or a program that keeps the computer awake with input of
    // its own, is no work at the computer. Telling it twice changes nothing.
    void OnSessionLocked(bool locked);

    const BusyHold& Hold() const { return m_hold; }

    void StartScheduler();
    void StopScheduler();
    // The Start/Stop command.
    void ToggleStartStop();
    bool IsStopped() const { return m_stopped != 0; }

    // The pause of the tray menu (pause.cpp). Initialise() takes up a pause
    // stored by an earlier run.
    void Pause(PauseLength length);
    void Resume();
    bool IsPaused() const { return m_pause.Active(); }
    // "Take a break now": a long break at once, as if it had fallen due;
    // false, doing nothing, while a break runs, while stopped or paused,
    // and with long-break notices off.
    bool TakeBreakNow();
    bool CanTakeBreakNow() const;
    // A settings change: a running schedule starts again with the new
    // values; a stopped or paused one stays as it is.
    void ApplySettings();
    // Sets the tray's tooltip (and, while stopped, its icon) to what the
    // schedule is doing now: at start-up, and when the menu opens.
    void RefreshTray();
    // A change of language: the texts of every notice and tooltip from now on.
    void SetTexts(PauseTexts pauseTexts, BreakTexts breakTexts) {
        m_pauseTexts = std::move(pauseTexts);
        m_texts = std::move(breakTexts);
    }

    void SetState(NoticeState state);
    // What the next notice shows, as the states so far have filled it.
    const Notice& NextNotice() const { return m_notice; }
    std::string MakeTooltip(std::string_view stateText) const;
    int GetExperienceLevel() const { return ExperienceLevel(m_settings.Bonus); }

    // The timer handlers.
    void OnShortBreakDue();
    void PollShortBreak();
    void OnShortBreakEnd();
    void OnLongBreakDue();
    void PollLongBreak();
    void OnLongBreakEnd();
    void PollWork();
    void OnMinute();

    std::uint32_t IdleMs() const { return m_idleMs; }
    std::uint32_t ShortBreakActiveMs() const { return m_shortBreakActiveMs; }
    std::uint32_t ShortIdleSeconds() const { return m_shortIdleSeconds; }
    std::uint32_t LongIdleSeconds() const { return m_longIdleSeconds; }
    std::uint32_t FullWorkTime() const { return m_fullWorkTime; }

  private:
    static std::size_t Index(BreakKind kind);
    bool BreakGoesAhead(BreakKind kind);
    void StartShortBreak();
    void StartLongBreak();
    void Began(BreakKind kind);
    void Remind(BreakKind kind);
    // The tray says stopped and the timers go: all of them, or all but the
    // minute count.
    void ShowStopped(bool keepMinute);
    void RestorePause();
    void OnPauseStep();
    void ArmPauseTimer();
    void StorePause();
    bool InBreak() const;
    // While the schedule runs between breaks: the normal state line and when
    // the next break comes. Nothing in a break, stopped or paused.
    void RefreshWorkingTooltip();
    std::string CurrentTooltip();
    // Milliseconds to the next break whose notice shows; none coming.
    std::optional<std::uint32_t> NextBreakMs() const;

    void MeasureIdle();
    bool AlreadyRested(std::uint32_t breakLengthSeconds);
    void ShowNotice(std::uint32_t stayMs);
    void PlayIfSounds(SoundEvent event);
    void ArmTimer(std::uint32_t id, std::uint32_t periodMs);
    void KillTimer(std::uint32_t id);
    void ArmInterval(std::uint32_t id, std::uint32_t seconds);
    void ArmLength(std::uint32_t id, std::uint32_t seconds);
    void RetryRefusedTimers();
    void ReportIfNothingArmed();
    void ChangePoints(std::int64_t change);
    bool AtOrAfterEndOfDay(const LocalTime& now) const;
    // The day's total, and with `withDate` its date after it.
    void SaveWorkTime(bool withDate);
    void ShowDayNotices(bool workdayOver, bool overLimit);

    // The break history's hooks.
    void TellHistory(BreakKind kind, BreakOutcome outcome);

    // Quiet while busy (busy_hold_engine.cpp): whether the user is busy now;
    // the one gate of a notice that falls due, true when it is held; and the
    // one-second step that lets the held notice out.
    bool Quiet();
    bool Held(HeldNotice notice);
    bool HoldDayNotices(bool workdayOver, bool overLimit);
    void StepHold();

    STimeSettings& m_settings;
    Ports m_ports;

    std::uint32_t m_idleMs = 0;
    std::uint32_t m_shortBreakActiveMs = 0;
    std::uint32_t m_longBreakActiveMs = 0;
    std::uint32_t m_shortIdleSeconds = 0;
    std::uint32_t m_longIdleSeconds = 0;
    std::uint32_t m_stopped = 0;
    std::uint32_t m_fullWorkTime = 0;
    LocalTime m_day;  // the calendar day m_fullWorkTime belongs to

    // The totals of the other days this run has counted (and of the day the
    // registry held at the start), the most recently left first.
    struct DayTotal {
        LocalTime day;  // only the date counts
        std::uint32_t minutes = 0;
    };
    std::vector<DayTotal> m_otherDays;  // at most kRememberedDays - 1

    // What each timer was last armed with, and the tick count of that arming
    // or of its last step; a period of 0 is a timer that is not armed.
    struct ArmedTimer {
        std::uint32_t periodMs = 0;
        std::uint32_t sinceTick = 0;
    };
    std::array<ArmedTimer, kLastTimerId + 1> m_armed{};
    // A timer the system refused: its period, to be armed again at the next
    // step; 0 for none.
    std::array<std::uint32_t, kLastTimerId + 1> m_refused{};
    bool m_restartedForWake = false;  // and no step since
    std::uint32_t m_wakeRestartTick = 0;
    bool m_locked = false;
    std::uint32_t m_lockedSinceTick = 0;
    std::uint32_t m_lastStepTick = 0;
    std::uint32_t m_stepElapsedMs = kPollPeriodMs;  // since this timer's last step

    PauseClock m_pause;
    PauseTexts m_pauseTexts;
    BreakTexts m_texts;
    BusyHold m_hold;
    // A firmer reminder came in this break, short and long.
    std::array<bool, 2> m_reminded{};

    Notice m_notice;  // what the next show presents, as the states so far filled it
};

}  // namespace pausora
