// The pause of the tray menu and the break the user asks for: the schedule
// stops as Stop stops it, but the day's computer time goes on being counted,
// and a timed pause ends by itself.
#include "scheduler/break_engine.h"

#include "artwork_ids.h"

#include <algorithm>

namespace pausora {

void BreakEngine::Pause(PauseLength length) {
    const UtcTime now = m_ports.wall.UtcNow();
    const std::uint32_t tick = m_ports.ticks.TickCount();
    if (length == PauseLength::kUntilResumed) {
        m_pause.BeginUntilResumed();
    } else {
        const std::optional<UtcTime> end =
            PauseEnd(length, now, m_ports.wall, m_settings.StartWorkTime_hours,
                     m_settings.StartWorkTime_minutes, m_settings.UseWorkingTime == 1);
        if (!end) {
            return;  // the clock cannot say when: better no pause than an endless one
        }
        m_pause.Begin(*end, now, tick);
    }
    // As Stop stops it, except the minute count, which goes on undisturbed
    // from a running schedule and starts again from a stopped one.
    const bool counting = m_stopped == 0;
    ShowStopped(counting);
    if (!counting) {
        ArmTimer(TIMER_MINUTE, kMinutePeriodMs);
    }
    m_stopped = 1;
    m_lastStepTick = tick;
    StorePause();
    ArmPauseTimer();
    m_ports.presenter.SetTooltipText(CurrentTooltip());
}

void BreakEngine::RestorePause() {
    std::uint64_t stored = kNotPaused;
    auto key = m_ports.registry.NewKey();
    const bool read = key->Open(reg::kAppKey) && key->ReadQword(reg::kPausedUntil, stored);
    key->Close();
    if (!read) {
        return;
    }
    const UtcTime now = m_ports.wall.UtcNow();
    const std::optional<std::uint64_t> until = DecodePausedUntil(stored, now);
    if (!until) {
        // Over while the program was not running, or a value that no pause
        // of ours leaves behind: not paused, and it says so from now on.
        if (stored != kNotPaused) {
            StorePause();
        }
        return;
    }
    if (*until == kPausedUntilResumed) {
        m_pause.BeginUntilResumed();
    } else {
        // The length left, from the wall clock once, and from now on on the
        // tick count as well.
        m_pause.Begin(*until, now, m_ports.ticks.TickCount());
    }
    ShowStopped(m_stopped == 0);
    m_stopped = 1;
    ArmPauseTimer();
}

void BreakEngine::Resume() {
    if (!m_pause.Active()) {
        return;
    }
    m_pause.Clear();
    StorePause();
    KillTimer(TIMER_PAUSE_END);
    // As after Start: every interval in full from now, and marked running
    // first, so that the tooltip it sets already names the next break.
    m_stopped = 0;
    StartScheduler();
}

void BreakEngine::OnPauseStep() {
    if (!m_pause.Active()) {
        KillTimer(TIMER_PAUSE_END);
        return;
    }
    const UtcTime now = m_ports.wall.UtcNow();
    const std::uint32_t tick = m_ports.ticks.TickCount();
    if (m_pause.Over(now, tick)) {
        Resume();
        return;
    }
    // A clock set back leaves the stored end too late for a restart; it
    // moves to where the tick count says the pause ends.
    if (m_pause.Tighten(now, tick)) {
        StorePause();
    }
    ArmPauseTimer();
    m_ports.presenter.SetTooltipText(CurrentTooltip());
}

void BreakEngine::ArmPauseTimer() {
    if (m_pause.UntilResumed() || !m_pause.Active()) {
        KillTimer(TIMER_PAUSE_END);
        return;
    }
    // At least once a minute, so that a clock set forwards past the end ends
    // the pause within the minute, and the "until" of the tooltip follows a
    // clock that was set.
    const std::uint64_t remaining =
        m_pause.RemainingMs(m_ports.wall.UtcNow(), m_ports.ticks.TickCount());
    ArmTimer(TIMER_PAUSE_END,
             static_cast<std::uint32_t>(std::clamp<std::uint64_t>(remaining, 1, kMinutePeriodMs)));
}

void BreakEngine::StorePause() {
    auto key = m_ports.registry.NewKey();
    if (key->Open(reg::kAppKey) || key->Create(reg::kAppKey)) {
        key->WriteQword(reg::kPausedUntil, m_pause.Stored());
    }
    key->Close();
}

bool BreakEngine::InBreak() const {
    return m_armed[TIMER_SHORT_END].periodMs != 0 || m_armed[TIMER_LONG_END].periodMs != 0;
}

bool BreakEngine::CanTakeBreakNow() const {
    return m_stopped == 0 && !m_pause.Active() && !InBreak() && m_settings.UsePauses == 1;
}

bool BreakEngine::TakeBreakNow() {
    if (!CanTakeBreakNow()) {
        return false;
    }
    StartLongBreak();
    return true;
}

void BreakEngine::ApplySettings() {
    if (m_pause.Active()) {
        return;  // nothing runs that the new values could change
    }
    ToggleStartStop();
    ToggleStartStop();
}

std::string BreakEngine::CurrentTooltip() {
    if (m_pause.Active()) {
        std::optional<LocalTime> end;
        std::optional<LocalTime> today;
        if (!m_pause.UntilResumed()) {
            const UtcTime now = m_ports.wall.UtcNow();
            const std::uint64_t remaining = m_pause.RemainingMs(now, m_ports.ticks.TickCount());
            end = m_ports.wall.ToLocal(now + remaining * kUtcPerMs);
            today = m_ports.wall.ToLocal(now);
        }
        return MakeTooltip(PausedLine(m_pauseTexts, end, today));
    }
    if (m_stopped != 0) {
        return MakeTooltip(m_texts.tipStopped);
    }
    if (m_hold.HasHeld()) {
        return MakeTooltip(m_texts.tipHeld);  // when it comes is up to the user
    }
    std::string state(m_texts.tipNormal);
    if (const std::optional<std::uint32_t> next = NextBreakMs()) {
        state += '\n';
        state += NextBreakLine(m_pauseTexts, *next);
    }
    return MakeTooltip(state);
}

// The next break the user will see: a kind of break whose notices are off
// still runs, silently, and is none of the user's business.
std::optional<std::uint32_t> BreakEngine::NextBreakMs() const {
    const std::uint32_t now = m_ports.ticks.TickCount();
    std::optional<std::uint32_t> next;
    const auto consider = [&](std::uint32_t id, std::uint32_t use) {
        const ArmedTimer& timer = m_armed[id];
        if (use != 1 || timer.periodMs == 0) {
            return;
        }
        const std::uint32_t left = timer.periodMs - std::min(now - timer.sinceTick, timer.periodMs);
        next = std::min(next.value_or(left), left);
    };
    consider(TIMER_SHORT_DUE, m_settings.UseMicropauses);
    consider(TIMER_LONG_DUE, m_settings.UsePauses);
    return next;
}

void BreakEngine::RefreshWorkingTooltip() {
    if (m_stopped != 0 || m_pause.Active() || InBreak()) {
        return;
    }
    m_ports.presenter.SetTooltipText(CurrentTooltip());
    // The icon's count says what the tooltip's line says, rounded up alike;
    // past 99 minutes, or with nothing coming, the plain icon.
    const std::optional<std::uint32_t> next = NextBreakMs();
    const std::uint32_t minutes = next ? (*next + 59999) / 60000 : 0;
    const bool counting = m_settings.IconCountdown == 1 && !m_hold.HasHeld() && minutes <= 99;
    m_ports.presenter.SetCountdown(counting ? minutes : 0);
}

void BreakEngine::RefreshTray() {
    if (m_stopped != 0) {
        m_ports.presenter.SetIcon(IDI_TRAY_STOPPED);
        m_ports.presenter.SetTooltipText(CurrentTooltip());
        return;
    }
    RefreshWorkingTooltip();
}

}  // namespace pausora
