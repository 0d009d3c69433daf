// The break engine's side of the hold: where a notice that falls due asks
// whether to wait, and the one-second step that lets the held notice out.
#include "scheduler/break_engine.h"

namespace pausora {

bool BreakEngine::Quiet() {
    if (m_settings.QuietWhenBusy != 1) {
        return false;
    }
    const std::uint32_t now = m_ports.ticks.TickCount();
    m_hold.Observe(m_ports.busy.Query(), now);
    return m_hold.Quiet(now);
}

bool BreakEngine::Held(HeldNotice notice) {
    if (!Quiet()) {
        return false;
    }
    const bool first = !m_hold.HasHeld();
    m_hold.Hold(notice, m_ports.ticks.TickCount());
    // The state line says why nothing comes; the icon stays as it is.
    if (first) {
        m_ports.presenter.SetTooltipText(CurrentTooltip());
        m_ports.presenter.SetCountdown(0);
    }
    return true;
}

bool BreakEngine::HoldDayNotices(bool workdayOver, bool overLimit) {
    if (!workdayOver && !overLimit) {
        return false;
    }
    // The notice just let out of a hold is this minute's already.
    if (m_hold.RecentlyReleased(m_ports.ticks.TickCount())) {
        return true;
    }
    if (!Quiet()) {
        return false;
    }
    if (workdayOver) {
        Held(HeldNotice::kWorkdayEnd);
    }
    if (overLimit) {
        Held(HeldNotice::kTimeLimit);
    }
    return true;
}

void BreakEngine::StepHold() {
    if (m_settings.QuietWhenBusy != 1 && !m_hold.HasHeld()) {
        return;
    }
    // A notice still up when the slide show starts (a long break's stays for
    // the whole break) goes out of the way.
    if (Quiet() && m_hold.TakeBusyStart()) {
        m_ports.presenter.HideNotice();
    }
    if (!m_hold.HasHeld()) {
        return;
    }
    const std::uint32_t now = m_ports.ticks.TickCount();
    m_hold.NoteIdle(m_idleMs);  // as the poll that just ran measured it
    const std::optional<HeldNotice> notice = m_hold.Release(
        now, BreakLengthMs(m_settings.Micropause_length), BreakLengthMs(m_settings.Pause_length));
    if (!notice) {
        return;
    }
    // The state line comes back before anything is shown; a break that
    // comes out of the hold starts as it would have when it fell due.
    const bool longBreak = m_armed[TIMER_LONG_END].periodMs != 0;
    const bool shortBreak = m_armed[TIMER_SHORT_END].periodMs != 0;
    std::string_view state = m_texts.tipNormal;
    if (longBreak && m_settings.UsePauses == 1) {
        state = m_texts.tipLongBreak;
    } else if (shortBreak && m_settings.UseMicropauses == 1) {
        state = m_texts.tipShortBreak;
    }
    if (InBreak()) {
        m_ports.presenter.SetTooltipText(MakeTooltip(state));
    } else {
        RefreshWorkingTooltip();
    }
    switch (*notice) {
        case HeldNotice::kLongBreak:
            if (!longBreak) {
                StartLongBreak();
            }
            break;
        case HeldNotice::kShortBreak:
            if (!longBreak && !shortBreak) {
                StartShortBreak();
            }
            break;
        case HeldNotice::kTimeLimit:
            ShowDayNotices(false, true);
            break;
        case HeldNotice::kWorkdayEnd:
            ShowDayNotices(true, false);
            break;
        case HeldNotice::kNone:
            break;
    }
}

}  // namespace pausora
