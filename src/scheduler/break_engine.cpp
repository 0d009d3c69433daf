#include "scheduler/break_engine.h"

#include "artwork_ids.h"
#include "tips/tips.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace pausora {
namespace {

// Windows caps a timer's period at 0x7FFFFFFF ms (about 24.8 days). Working
// the period out in 64 bits and capping it there keeps a huge setting from
// wrapping round to a short period.
constexpr std::uint64_t kLongestPeriodMs = 0x7FFFFFFF;

std::uint32_t ToPeriodMs(std::uint32_t seconds) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{seconds} * 1000, kLongestPeriodMs));
}

std::uint32_t SaturatingAdd(std::uint32_t a, std::uint32_t b) {
    return b > std::numeric_limits<std::uint32_t>::max() - a
               ? std::numeric_limits<std::uint32_t>::max()
               : a + b;
}

}  // namespace

std::uint32_t BreakLength(std::uint32_t seconds) {
    return seconds == 0 ? 1 : seconds;
}

std::uint32_t BreakLengthMs(std::uint32_t seconds) {
    return ToPeriodMs(BreakLength(seconds));
}

int ExperienceLevel(std::uint32_t bonus) {
    // Each level wants more points than its threshold.
    static constexpr std::uint32_t kThresholds[] = {15, 50, 200, 500, 900, 1400, 2000};
    return static_cast<int>(
        std::ranges::count_if(kThresholds, [bonus](std::uint32_t least) { return bonus > least; }));
}

BreakEngine::BreakEngine(STimeSettings& settings, const Ports& ports, PauseTexts texts,
                         BreakTexts breakTexts)
    : m_settings(settings),
      m_ports(ports),
      m_pauseTexts(std::move(texts)),
      m_texts(std::move(breakTexts)) {}

void BreakEngine::Initialise() {
    m_lastStepTick = m_ports.ticks.TickCount();
    ArmInterval(TIMER_SHORT_DUE, m_settings.Micropause);
    ArmInterval(TIMER_LONG_DUE, m_settings.Pause);
    ArmTimer(TIMER_WORK_POLL, kPollPeriodMs);
    ArmTimer(TIMER_MINUTE, kMinutePeriodMs);
    m_idleMs = 0;
    m_ports.input.Start();
    m_shortBreakActiveMs = 0;
    m_longBreakActiveMs = 0;
    m_shortIdleSeconds = 0;
    m_longIdleSeconds = 0;
    m_stopped = 0;
    // The tray menu's item says nothing until told, in the user's language.
    m_ports.presenter.SetStartStopCaption(m_texts.captionStop);
    CheckDay();
    RestorePause();
    ReportIfNothingArmed();
}

bool BreakEngine::OnTimer(std::uint32_t id) {
    if (id < kFirstTimerId || id > kLastTimerId) {
        return false;
    }
    const std::uint32_t now = m_ports.ticks.TickCount();
    // While the schedule runs, a one-second poll is always armed: a longer
    // silence means the computer slept (or hung) and this message is one of
    // the overdue ones it left behind.
    if ((m_stopped == 0 || m_pause.Active()) && now - m_lastStepTick > kWakeGapMs) {
        OnResume();
        return true;
    }
    // A message posted before its timer was killed or armed afresh belongs
    // to a schedule that no longer exists.
    ArmedTimer& timer = m_armed[id];
    if (timer.periodMs == 0 || now - timer.sinceTick < timer.periodMs / 2) {
        return true;
    }
    m_stepElapsedMs = now - timer.sinceTick;
    timer.sinceTick = now;
    m_lastStepTick = now;
    m_restartedForWake = false;
    RetryRefusedTimers();
    switch (id) {
        case TIMER_SHORT_DUE:
            OnShortBreakDue();
            break;
        case TIMER_SHORT_END:
            OnShortBreakEnd();
            break;
        case TIMER_LONG_DUE:
            OnLongBreakDue();
            break;
        case TIMER_LONG_END:
            OnLongBreakEnd();
            break;
        case TIMER_SHORT_POLL:
            PollShortBreak();
            break;
        case TIMER_WORK_POLL:
            PollWork();
            break;
        case TIMER_LONG_POLL:
            PollLongBreak();
            break;
        case TIMER_MINUTE:
            OnMinute();
            break;
        case TIMER_PAUSE_END:
            OnPauseStep();
            break;
        default:
            return false;
    }
    // Every second, whatever runs: the hold looks at the user and may let
    // its notice out.
    if (id == TIMER_SHORT_POLL || id == TIMER_WORK_POLL || id == TIMER_LONG_POLL) {
        StepHold();
    }
    return true;
}

void BreakEngine::RetryRefusedTimers() {
    for (std::uint32_t id = kFirstTimerId; id <= kLastTimerId; ++id) {
        if (const std::uint32_t periodMs = m_refused[id]; periodMs != 0) {
            ArmTimer(id, periodMs);
        }
    }
}

void BreakEngine::OnClockChanged() {
    StartDayIfNew(m_ports.calendar.Now());
}

void BreakEngine::OnSessionLocked(bool locked) {
    if (locked && !m_locked) {
        m_lockedSinceTick = m_ports.ticks.TickCount();
    }
    m_locked = locked;
}

void BreakEngine::OnResume() {
    if (m_pause.Active()) {
        // Asleep past its end, a pause ends at the wake.
        m_lastStepTick = m_ports.ticks.TickCount();
        ArmTimer(TIMER_MINUTE, kMinutePeriodMs);
        StartDayIfNew(m_ports.calendar.Now());
        OnPauseStep();
        return;
    }
    if (m_stopped != 0) {
        StartDayIfNew(m_ports.calendar.Now());
        return;
    }
    // The same wake told again: by another of the program's windows, or
    // posted after it was sent. The system's second notice of a wake by the
    // user may come later and start the schedule once more, which costs no
    // more than that moment of the interval.
    if (m_restartedForWake && m_ports.ticks.TickCount() - m_wakeRestartTick < kPollPeriodMs) {
        return;
    }
    // A sleep is a break the user has taken: a break that was running ends
    // quietly with its points, and the schedule starts afresh from now. So
    // are the breaks held while the user was busy (StartScheduler).
    const bool shortBreak = m_armed[TIMER_SHORT_END].periodMs != 0;
    const bool longBreak = m_armed[TIMER_LONG_END].periodMs != 0;
    for (std::uint32_t id = kFirstTimerId; id <= kLastTimerId; ++id) {
        KillTimer(id);
    }
    m_ports.presenter.HideNotice();
    m_shortBreakActiveMs = 0;
    m_longBreakActiveMs = 0;
    m_shortIdleSeconds = 0;
    m_longIdleSeconds = 0;
    if (longBreak && m_settings.UsePauses != 0) {
        TellHistory(BreakKind::kLong, BreakOutcome::kTaken);
        ChangePoints(10);
    } else if (shortBreak && m_settings.UseMicropauses != 0) {
        TellHistory(BreakKind::kShort, BreakOutcome::kTaken);
        ChangePoints(2);
    }
    StartScheduler();
    StartDayIfNew(m_ports.calendar.Now());
    m_restartedForWake = true;
    m_wakeRestartTick = m_ports.ticks.TickCount();
}

void BreakEngine::ArmTimer(std::uint32_t id, std::uint32_t periodMs) {
    if (m_ports.timers.Arm(id, periodMs)) {
        m_armed[id] = ArmedTimer{periodMs, m_ports.ticks.TickCount()};
        m_refused[id] = 0;
        return;
    }
    // Not armed, so its messages are not ours. The next step asks again; a
    // second refusal is the user's to know.
    m_armed[id].periodMs = 0;
    const bool refusedBefore = m_refused[id] != 0;
    m_refused[id] = periodMs;
    if (refusedBefore) {
        m_ports.presenter.ReportTrouble(Trouble::kTimerRefused);
    }
}

// A schedule without a single timer would never take the step that asks
// again.
void BreakEngine::ReportIfNothingArmed() {
    const bool anyArmed = std::any_of(m_armed.begin(), m_armed.end(),
                                      [](const ArmedTimer& timer) { return timer.periodMs != 0; });
    if (!anyArmed) {
        m_ports.presenter.ReportTrouble(Trouble::kTimerRefused);
    }
}

void BreakEngine::KillTimer(std::uint32_t id) {
    m_ports.timers.Kill(id);
    m_armed[id].periodMs = 0;
    m_refused[id] = 0;
}

// A schedule that starts, or stops, holds nothing: a notice held before a
// pause or a stop means nothing once every interval starts again in full.
void BreakEngine::StartScheduler() {
    m_hold.Clear();
    m_lastStepTick = m_ports.ticks.TickCount();
    SetState(STATE_NORMAL);
    m_ports.presenter.SetStartStopCaption(m_texts.captionStop);
    ArmInterval(TIMER_SHORT_DUE, m_settings.Micropause);
    ArmInterval(TIMER_LONG_DUE, m_settings.Pause);
    ArmTimer(TIMER_MINUTE, kMinutePeriodMs);
    ArmTimer(TIMER_WORK_POLL, kPollPeriodMs);
    RefreshWorkingTooltip();
    ReportIfNothingArmed();
}

void BreakEngine::StopScheduler() {
    m_restartedForWake = false;
    ShowStopped(false);
}

void BreakEngine::ShowStopped(bool keepMinute) {
    m_hold.Clear();
    SetState(STATE_STOPPED);
    m_ports.presenter.SetStartStopCaption(m_texts.captionStart);
    for (std::uint32_t id = kFirstTimerId; id <= kLastTimerId; ++id) {
        if (id != TIMER_MINUTE || !keepMinute) {
            KillTimer(id);
        }
    }
}

void BreakEngine::ToggleStartStop() {
    if (m_pause.Active()) {
        Resume();  // Start ends a pause too
        return;
    }
    // Marked started before the start, so that the tooltip it sets already
    // names the next break.
    if (m_stopped != 0) {
        m_stopped = 0;
        StartScheduler();
    } else {
        StopScheduler();
        m_stopped = 1;
    }
}

std::string BreakEngine::MakeTooltip(std::string_view stateText) const {
    std::string tip(stateText);
    tip += m_texts.experienceLine;
    tip += std::to_string(GetExperienceLevel());
    return tip;
}

namespace {

// What each notice state shows, in the order of NoticeState. A state with a
// picture fills the popup's items (the title only where it names one, the
// body with a fresh saying or nothing); a state without an icon blinks the
// reminder frames; an empty tooltip leaves the tooltip as it is.
struct NoticeLook {
    using Text = std::string BreakTexts::*;  // nullptr: none
    Text title;
    int picture;
    Text link;
    bool withTip;  // the link opens the exercises and the body holds a saying
    bool stopAnimation;
    int icon;
    Text tooltip;
};
constexpr NoticeLook kNoticeLooks[] = {
    {nullptr, 0, nullptr, false, true, IDI_TRAY_NORMAL, &BreakTexts::tipNormal},
    {nullptr, 0, nullptr, false, true, IDI_TRAY_STOPPED, &BreakTexts::tipStopped},
    {&BreakTexts::shortBreakTitle, IDB_SHORT_BREAK, &BreakTexts::stretchLink, true, false,
     IDI_TRAY_BREAK, &BreakTexts::tipShortBreak},
    {&BreakTexts::repeatTitle, IDB_SHORT_BREAK, &BreakTexts::stretchLink, true, false, 0, nullptr},
    {&BreakTexts::longBreakTitle, IDB_LONG_BREAK, &BreakTexts::stretchLink, true, true,
     IDI_TRAY_BREAK, &BreakTexts::tipLongBreak},
    {&BreakTexts::repeatTitle, IDB_LONG_BREAK, &BreakTexts::stretchLink, true, false, 0, nullptr},
    {nullptr, IDB_WORKDAY_END, &BreakTexts::eveningLine, false, true, IDI_TRAY_NORMAL, nullptr},
    {nullptr, IDB_TIME_LIMIT, &BreakTexts::restLine, false, true, IDI_TRAY_NORMAL, nullptr},
};
static_assert(std::size(kNoticeLooks) == STATE_TIME_LIMIT - STATE_NORMAL + 1);

}  // namespace

void BreakEngine::SetState(NoticeState state) {
    const NoticeLook& look = kNoticeLooks[state - STATE_NORMAL];
    IPresenter& out = m_ports.presenter;
    if (look.picture != 0) {
        if (look.title != nullptr) {
            m_notice.title = m_texts.*look.title;
        }
        m_notice.picture = look.picture;
        m_notice.link = m_texts.*look.link;
        m_notice.linkOpensExercises = look.withTip;
        // The saying alone: its source's name only repeats the program's
        // and crowds the few lines the body has.
        m_notice.body = look.withTip ? std::string(TipSaying(m_ports.tips.PickTip()))
                                     : DayTimeLine(m_texts, m_fullWorkTime);
    }
    if (look.icon == 0) {
        out.SetIconList(IDI_TRAY_REMIND_1, IDI_TRAY_REMIND_2);
        out.Animate(kReminderFrameMs, kReminderLengthSeconds);
        return;
    }
    if (look.stopAnimation) {
        out.StopAnimation();
    }
    out.SetIcon(look.icon);
    if (look.tooltip != nullptr) {
        out.SetTooltipText(MakeTooltip(m_hold.HasHeld() ? m_texts.tipHeld : m_texts.*look.tooltip));
    }
}

void BreakEngine::MeasureIdle() {
    // Unsigned 32-bit on purpose: the difference stays right across the wrap
    // of the tick count, and an input tick from the future reads as idle.
    const std::uint32_t now = m_ports.ticks.TickCount();
    m_idleMs = now - m_ports.input.LastTick();
    if (m_locked) {
        m_idleMs = std::max(m_idleMs, now - m_lockedSinceTick);
    }
}

void BreakEngine::ShowNotice(std::uint32_t stayMs) {
    m_ports.presenter.ShowNotice(
        m_notice, stayMs, m_settings.AppearanceType == 1 ? NoticeEntry::kFade : NoticeEntry::kSlide,
        GetExperienceLevel());
}

// Every step asks for its sound last, once its timers, points and state are
// settled: whatever the sound request runs into, the schedule is whole.
void BreakEngine::PlayIfSounds(SoundEvent event) {
    if (m_settings.UseSounds == 1 && !Quiet()) {
        m_ports.presenter.PlaySound(event, m_settings.SoundPath(event));
    }
}

void BreakEngine::ArmInterval(std::uint32_t id, std::uint32_t seconds) {
    // An interval of 00:00 means no breaks of that kind: arming it would fire
    // the break again every few milliseconds.
    if (seconds == 0) {
        KillTimer(id);
        return;
    }
    ArmTimer(id, ToPeriodMs(seconds));
}

void BreakEngine::ArmLength(std::uint32_t id, std::uint32_t seconds) {
    ArmTimer(id, BreakLengthMs(seconds));
}

void BreakEngine::TellHistory(BreakKind kind, BreakOutcome outcome) {
    m_ports.history.OnBreak(m_day, kind, outcome);
}

// The points never fall below 0 nor wrap past the top; the history hears of
// the change as really made.
void BreakEngine::ChangePoints(std::int64_t change) {
    const std::int64_t before = m_settings.Bonus;
    const std::int64_t after =
        std::clamp<std::int64_t>(before + change, 0, std::numeric_limits<std::uint32_t>::max());
    m_settings.Bonus = static_cast<std::uint32_t>(after);
    m_ports.history.OnPoints(m_day, after - before);
    if (!m_settings.SaveBonus(m_ports.registry)) {
        m_ports.presenter.ReportTrouble(Trouble::kPointsNotSaved);
    }
}

// With unneeded breaks skipped, a user who has been away for a whole break
// length has had the break already: the interval starts again.
bool BreakEngine::AlreadyRested(std::uint32_t breakLengthSeconds) {
    if (m_settings.UseTimeReset == 0) {
        return false;
    }
    MeasureIdle();
    return m_idleMs >= BreakLengthMs(breakLengthSeconds);
}

namespace {

// What tells the two kinds of break apart.
struct BreakRules {
    std::uint32_t STimeSettings::*use;  // notices on at exactly 1
    std::uint32_t STimeSettings::*interval;
    std::uint32_t STimeSettings::*length;
    std::uint32_t dueTimer;
    HeldNotice held;
    NoticeState reminder;
    std::int64_t penalty;
    SoundEvent reminderSound;
    SoundEvent sound;
};
constexpr BreakRules kBreakRules[] = {
    {&STimeSettings::UseMicropauses, &STimeSettings::Micropause, &STimeSettings::Micropause_length,
     TIMER_SHORT_DUE, HeldNotice::kShortBreak, STATE_SHORT_REPEAT, 1, SoundEvent::kShortBreakRepeat,
     SoundEvent::kShortBreak},
    {&STimeSettings::UsePauses, &STimeSettings::Pause, &STimeSettings::Pause_length, TIMER_LONG_DUE,
     HeldNotice::kLongBreak, STATE_LONG_REPEAT, 5, SoundEvent::kLongBreakRepeat,
     SoundEvent::kLongBreak},
};

}  // namespace

std::size_t BreakEngine::Index(BreakKind kind) {
    return kind == BreakKind::kShort ? 0 : 1;
}

// A break that falls due while the user has been away for its length was had
// already; one that comes while the user is busy waits in the hold. Either
// way the next interval runs.
bool BreakEngine::BreakGoesAhead(BreakKind kind) {
    const BreakRules& rules = kBreakRules[Index(kind)];
    const bool shown = m_settings.*rules.use == 1;
    if (AlreadyRested(m_settings.*rules.length) || (shown && Held(rules.held))) {
        ArmInterval(rules.dueTimer, m_settings.*rules.interval);
        return false;
    }
    if (shown) {
        m_hold.NoteBreakShown();
    }
    return true;
}

// A break has begun, its timers armed: no reminder yet, the history told
// (even of a break whose notices are off but which runs), its sound played.
void BreakEngine::Began(BreakKind kind) {
    const BreakRules& rules = kBreakRules[Index(kind)];
    m_reminded[Index(kind)] = false;
    if (m_settings.*rules.use != 0) {
        TellHistory(kind, BreakOutcome::kDue);
    }
    if (m_settings.*rules.use == 1) {
        PlayIfSounds(rules.sound);
    }
}

// The firmer reminder of a break worked through: a notice, a point or five
// taken, and the history told once per break. Nobody is reminded while busy.
void BreakEngine::Remind(BreakKind kind) {
    const BreakRules& rules = kBreakRules[Index(kind)];
    if (m_settings.*rules.use != 1 || Quiet()) {
        return;
    }
    SetState(rules.reminder);
    ShowNotice(kStayMs);
    if (!m_reminded[Index(kind)]) {
        m_reminded[Index(kind)] = true;
        TellHistory(kind, BreakOutcome::kWorkedThrough);
    }
    ChangePoints(-rules.penalty);
    PlayIfSounds(rules.reminderSound);
}

void BreakEngine::OnShortBreakDue() {
    if (BreakGoesAhead(BreakKind::kShort)) {
        StartShortBreak();
    }
}

void BreakEngine::StartShortBreak() {
    if (m_settings.UseMicropauses == 1) {
        SetState(STATE_SHORT_BREAK);
        ShowNotice(kStayMs);
    }
    ArmLength(TIMER_SHORT_END, m_settings.Micropause_length);
    ArmTimer(TIMER_SHORT_POLL, kPollPeriodMs);
    KillTimer(TIMER_SHORT_DUE);
    KillTimer(TIMER_WORK_POLL);
    m_shortBreakActiveMs = 0;
    Began(BreakKind::kShort);
}

void BreakEngine::PollShortBreak() {
    MeasureIdle();
    if (m_idleMs < 1000) {
        m_shortBreakActiveMs += 1000;
        ArmLength(TIMER_SHORT_END, m_settings.Micropause_length);
    }
    // A whole short-break interval of work inside the break earns the firmer
    // reminder.
    if (std::uint64_t{m_shortBreakActiveMs} > std::uint64_t{m_settings.Micropause} * 1000) {
        m_shortBreakActiveMs = 0;
        Remind(BreakKind::kShort);
    }
}

void BreakEngine::OnShortBreakEnd() {
    SetState(STATE_NORMAL);
    ArmInterval(TIMER_SHORT_DUE, m_settings.Micropause);
    ArmTimer(TIMER_WORK_POLL, kPollPeriodMs);
    KillTimer(TIMER_SHORT_END);
    KillTimer(TIMER_SHORT_POLL);
    RefreshWorkingTooltip();
    if (m_settings.UseMicropauses != 0) {
        TellHistory(BreakKind::kShort, BreakOutcome::kTaken);
        ChangePoints(2);
        PlayIfSounds(SoundEvent::kShortBreakEnd);
    }
}

void BreakEngine::OnLongBreakDue() {
    if (BreakGoesAhead(BreakKind::kLong)) {
        StartLongBreak();
    }
}

void BreakEngine::StartLongBreak() {
    const std::uint32_t length = BreakLength(m_settings.Pause_length);
    if (m_settings.UsePauses == 1) {
        SetState(STATE_LONG_BREAK);
        // The notice stays up for the whole break.
        ShowNotice(ToPeriodMs(length));
    }
    ArmLength(TIMER_LONG_END, length);
    ArmTimer(TIMER_LONG_POLL, kPollPeriodMs);
    // A running short break is swallowed by the long one: no end, no points.
    KillTimer(TIMER_LONG_DUE);
    KillTimer(TIMER_SHORT_END);
    KillTimer(TIMER_SHORT_DUE);
    KillTimer(TIMER_SHORT_POLL);
    KillTimer(TIMER_WORK_POLL);
    m_longBreakActiveMs = 0;
    Began(BreakKind::kLong);
}

void BreakEngine::PollLongBreak() {
    MeasureIdle();
    const std::uint32_t length = BreakLength(m_settings.Pause_length);
    if (m_idleMs < 1000) {
        m_longBreakActiveMs += 1000;
        ArmLength(TIMER_LONG_END, length);
    }
    // Unlike the short break, the long one reminds after a whole break
    // length of work, not a whole interval.
    if (std::uint64_t{m_longBreakActiveMs} > std::uint64_t{length} * 1000) {
        m_longBreakActiveMs = 0;
        Remind(BreakKind::kLong);
    }
}

void BreakEngine::OnLongBreakEnd() {
    SetState(STATE_NORMAL);
    ArmInterval(TIMER_LONG_DUE, m_settings.Pause);
    ArmInterval(TIMER_SHORT_DUE, m_settings.Micropause);
    ArmTimer(TIMER_WORK_POLL, kPollPeriodMs);
    KillTimer(TIMER_SHORT_END);
    KillTimer(TIMER_LONG_END);
    KillTimer(TIMER_LONG_POLL);
    RefreshWorkingTooltip();
    if (m_settings.UsePauses != 0) {
        TellHistory(BreakKind::kLong, BreakOutcome::kTaken);
        ChangePoints(10);
    }
    // The end sound wants the switch at exactly 1, the points any value but 0.
    if (m_settings.UsePauses == 1) {
        PlayIfSounds(SoundEvent::kLongBreakEnd);
    }
}

void BreakEngine::PollWork() {
    MeasureIdle();
    // The idle seconds add up whether or not they are consecutive, and even
    // while the reset is off, so switching it on acts on what is already there.
    // A poll that came late (a busy or briefly hung machine) counts the idle
    // time that has really passed.
    if (m_idleMs > 1000) {
        const std::uint32_t seconds = std::max(1u, std::min(m_stepElapsedMs, m_idleMs) / 1000);
        m_shortIdleSeconds = SaturatingAdd(m_shortIdleSeconds, seconds);
        m_longIdleSeconds = SaturatingAdd(m_longIdleSeconds, seconds);
    }
    if (m_settings.UseTimeReset == 0) {
        return;
    }
    // Idle time as long as a break counts as the break: the next one moves a
    // whole interval away.
    if (m_shortIdleSeconds > BreakLength(m_settings.Micropause_length)) {
        ArmInterval(TIMER_SHORT_DUE, m_settings.Micropause);
        m_shortIdleSeconds = 0;
        m_ports.input.Stop();
        m_ports.input.Start();
    }
    if (m_longIdleSeconds > BreakLength(m_settings.Pause_length)) {
        ArmInterval(TIMER_LONG_DUE, m_settings.Pause);
        m_longIdleSeconds = 0;
        m_ports.input.Stop();
        m_ports.input.Start();
    }
}

}  // namespace pausora
