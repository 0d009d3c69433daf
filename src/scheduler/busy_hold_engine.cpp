// The break engine's side of the hold: where notices ask whether to wait,
// and the one-second step that lets the held notice out.
#include "scheduler/break_engine.h"

#include <algorithm>

namespace pausora {
namespace {

// As the schedule measures a break: one of no length lasts a second.
std::uint32_t BreakMs(std::uint32_t seconds) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{std::max(seconds, 1u)} * 1000, 0xFFFFFFFFu));
}

}  // namespace

bool BreakEngine::Quiet() {
    if (m_settings.QuietWhenBusy != 1) {
        return false;
    }
    const std::uint32_t now = m_ports.ticks.TickCount();
    m_hold.Observe(m_ports.busy.Query() != Busy::kNo, now);
    return m_hold.Quiet(now);
}

bool BreakEngine::HoldNotice(HeldNotice notice) {
    if (!Quiet()) {
        return false;
    }
    const bool first = !m_hold.HasHeld();
    m_hold.Hold(notice, m_ports.ticks.TickCount());
    // The state line says why nothing comes; the icon stays as it is.
    if (first) {
        m_ports.presenter.SetTooltipText(MakeTooltip(text::kTipHeld));
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
        HoldNotice(HeldNotice::kWorkdayEnd);
    }
    if (overLimit) {
        HoldNotice(HeldNotice::kTimeLimit);
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
        now, BreakMs(m_settings.Micropause_length), BreakMs(m_settings.Pause_length));
    if (!notice) {
        return;
    }
    // The state line comes back before anything is shown.
    const bool longBreak = m_armed[TIMER_LONG_END].periodMs != 0;
    const bool shortBreak = m_armed[TIMER_SHORT_END].periodMs != 0;
    std::string_view state = text::kTipNormal;
    if (longBreak && m_settings.UsePauses == 1) {
        state = text::kTipLongBreak;
    } else if (shortBreak && m_settings.UseMicropauses == 1) {
        state = text::kTipShortBreak;
    }
    m_ports.presenter.SetTooltipText(MakeTooltip(state));
    switch (*notice) {
        case HeldNotice::kLongBreak:
            if (!longBreak) {
                OnLongBreakDue();
            }
            break;
        case HeldNotice::kShortBreak:
            if (!longBreak && !shortBreak) {
                OnShortBreakDue();
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
