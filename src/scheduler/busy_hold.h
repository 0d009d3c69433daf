// Quiet while the user is busy: presenting, in a call, or in a full-screen
// program. A notice that falls due then is held instead of shown, and the
// most important one comes once the user is free again.
//
// The hold is plain bookkeeping over the tick count; the break engine asks
// it at every notice and lets it see every one-second poll.
#pragma once

#include <cstdint>
#include <optional>

namespace pausora {

// How busy the user is at this moment, and on whose word.
enum class Busy : std::uint8_t {
    kNo,
    // Only because a window covers its monitor. That is a slide show as
    // often as it is a workplace (a remote desktop, a virtual machine, a
    // browser in full screen), so such a hold has its limits.
    kFullScreen,
    // The system says so (presentation settings, a Direct3D program in full
    // screen, its quiet hours), another program records from a microphone or
    // a camera, or a program the user named is in front.
    kYes,
};

// The program asks the system; tests script it.
class IBusySource {
  public:
    virtual ~IBusySource() = default;
    virtual Busy Query() = 0;
};

// What a hold can keep back, least important first.
enum class HeldNotice : std::uint8_t {
    kNone,
    kWorkdayEnd,
    kTimeLimit,
    kShortBreak,
    kLongBreak,
};

class BusyHold {
  public:
    // After the user stops being busy, notices wait this long: a slide show
    // between two slides, or a call that is being set up again, is no
    // moment for a notice.
    static constexpr std::uint32_t kGraceMs = 10 * 1000;
    // The longest a hold keeps notices back. A program that claims to be
    // presenting for ever must not silence the reminders for good: after
    // this the held notice shows, and so does every one after it until the
    // user is no longer busy. A window in full screen may be someone's
    // workplace for the whole day: after a hold it ended this way, full
    // screen holds nothing until a break has been shown again.
    static constexpr std::uint32_t kLongestHoldMs = 2 * 60 * 60 * 1000;
    // As long as a notice stays up.
    static constexpr std::uint32_t kAfterReleaseMs = 5 * 1000;

    // What the user is doing now. The moment busy ends starts the grace.
    void Observe(Busy busy, std::uint32_t now);
    // Whether a notice due now is to be held.
    bool Quiet(std::uint32_t now) const;
    // True once after the user has become busy.
    bool TakeBusyStart();

    // Keeps `notice` back; the first one held starts the hold.
    void Hold(HeldNotice notice, std::uint32_t now);
    bool HasHeld() const { return m_held != 0; }
    bool Holds(HeldNotice notice) const { return (m_held & Bit(notice)) != 0; }
    // The user has been away from the keyboard for `idleMs` now.
    void NoteIdle(std::uint32_t idleMs);
    std::uint32_t LongestAwayMs() const { return m_longestAwayMs; }

    // When the hold is over (the grace has passed, or the hold has lasted
    // its longest), the notice to show and the hold emptied; kNone when
    // every break held was had while the user was away for its length. No
    // value while the hold goes on.
    std::optional<HeldNotice> Release(std::uint32_t now, std::uint32_t shortBreakMs,
                                      std::uint32_t longBreakMs);

    // Whether a notice came out of the hold a moment ago: the day's notices,
    // which come at every active minute, then wait for the next one.
    bool RecentlyReleased(std::uint32_t now) const;

    // A break's notice came as the schedule has it, not out of a hold.
    void NoteBreakShown() { m_fullScreenSpent = false; }

    // A wake, a stop, a pause or a fresh start: nothing stays held.
    void Clear();

  private:
    static constexpr std::uint8_t Bit(HeldNotice notice) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(notice));
    }

    bool m_busy = false;
    bool m_busyStarted = false;
    bool m_inGrace = false;
    std::uint32_t m_graceFrom = 0;
    // The hold reached its longest during this busy spell: busy counts for
    // nothing until the spell ends.
    bool m_spent = false;
    bool m_fullScreen = false;  // and nothing more says busy
    // The last hold in full screen reached its longest (see kLongestHoldMs).
    bool m_fullScreenSpent = false;
    std::uint8_t m_held = 0;
    std::uint32_t m_heldSince = 0;
    std::uint32_t m_longestAwayMs = 0;
    bool m_released = false;
    std::uint32_t m_releasedAt = 0;
};

}  // namespace pausora
