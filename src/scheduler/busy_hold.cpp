#include "scheduler/busy_hold.h"

#include <algorithm>

namespace pausora {

void BusyHold::Observe(Busy state, std::uint32_t now) {
    m_fullScreen = state == Busy::kFullScreen;
    if (m_fullScreen && m_fullScreenSpent) {
        // Not busy, and no grace either: full screen is simply work now.
        m_busy = false;
        m_inGrace = false;
        m_spent = false;
        return;
    }
    const bool busy = state != Busy::kNo;
    if (busy) {
        if (!m_busy) {
            m_busy = true;
            m_busyStarted = true;
            m_spent = false;
        }
        m_inGrace = false;
        return;
    }
    if (m_busy) {
        m_busy = false;
        m_inGrace = true;
        m_graceFrom = now;
        m_spent = false;
    }
    // Unsigned on purpose: right across the wrap of the tick count.
    if (m_inGrace && now - m_graceFrom >= kGraceMs) {
        m_inGrace = false;
    }
}

bool BusyHold::TakeBusyStart() {
    const bool started = m_busyStarted;
    m_busyStarted = false;
    return started;
}

bool BusyHold::Quiet(std::uint32_t now) const {
    if (m_spent) {
        return false;
    }
    return m_busy || (m_inGrace && now - m_graceFrom < kGraceMs);
}

void BusyHold::Hold(HeldNotice notice, std::uint32_t now) {
    if (notice == HeldNotice::kNone) {
        return;
    }
    if (m_held == 0) {
        m_heldSince = now;
        m_longestAwayMs = 0;
    }
    m_held = static_cast<std::uint8_t>(m_held | Bit(notice));
}

void BusyHold::NoteIdle(std::uint32_t idleMs) {
    // Away time that began before the hold counts too: the user who left
    // the keyboard before the slide show started has had the rest.
    if (m_held != 0) {
        m_longestAwayMs = std::max(m_longestAwayMs, idleMs);
    }
}

std::optional<HeldNotice> BusyHold::Release(std::uint32_t now, std::uint32_t shortBreakMs,
                                            std::uint32_t longBreakMs) {
    if (m_held == 0) {
        return std::nullopt;
    }
    const bool longest = now - m_heldSince >= kLongestHoldMs;
    if (!longest && Quiet(now)) {
        return std::nullopt;
    }
    if (longest) {
        m_spent = true;
        m_fullScreenSpent = m_fullScreen;
    }
    // The most important notice that still means something: a break had
    // while away is taken; several held short breaks are one notice, and a
    // long break takes the place of a short one, as it does in the schedule.
    HeldNotice shown = HeldNotice::kNone;
    if (Holds(HeldNotice::kLongBreak) && m_longestAwayMs < longBreakMs) {
        shown = HeldNotice::kLongBreak;
    } else if (Holds(HeldNotice::kShortBreak) && m_longestAwayMs < shortBreakMs) {
        shown = HeldNotice::kShortBreak;
    } else if (Holds(HeldNotice::kTimeLimit)) {
        shown = HeldNotice::kTimeLimit;
    } else if (Holds(HeldNotice::kWorkdayEnd)) {
        shown = HeldNotice::kWorkdayEnd;
    }
    m_held = 0;
    m_longestAwayMs = 0;
    m_released = true;
    m_releasedAt = now;
    return shown;
}

bool BusyHold::RecentlyReleased(std::uint32_t now) const {
    return m_released && now - m_releasedAt < kAfterReleaseMs;
}

void BusyHold::Clear() {
    m_released = false;
    m_held = 0;
    m_longestAwayMs = 0;
    m_inGrace = false;
    m_spent = false;
    m_fullScreenSpent = false;
}

}  // namespace pausora
