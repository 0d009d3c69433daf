// A pause of the schedule that ends by itself: its end on the wall clock, as
// the user reads it and as it survives a restart, and the same length on the
// tick count, which no one can set. The pause is over at whichever comes
// first, so setting the clock back cannot make a pause longer than the one
// chosen, and setting it forwards ends it when the clock shows its end.
#pragma once

#include "scheduler/engine_ports.h"
#include "store/locale_formats.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pausora {

// Coordinated universal time as Windows counts it (FILETIME): 100 ns units
// since 1601-01-01.
using UtcTime = std::uint64_t;
inline constexpr UtcTime kUtcPerSecond = 10'000'000;
inline constexpr UtcTime kUtcPerMs = 10'000;

// The wall clock: the present in UTC, and the computer's time zone both
// ways. A local time that does not exist (skipped by daylight saving) maps to
// whatever the system makes of it; nullopt only when it cannot map at all.
class IWallClock {
  public:
    virtual ~IWallClock() = default;
    virtual UtcTime UtcNow() = 0;
    virtual std::optional<LocalTime> ToLocal(UtcTime utc) = 0;
    virtual std::optional<UtcTime> FromLocal(const LocalTime& local) = 0;
};

// The lengths the tray menu offers.
enum class PauseLength { kMinutes30, kHour1, kHours2, kUntilTomorrow, kUntilResumed };

// "PausedUntil" under the program's key: 0 not paused, all ones until the
// user resumes, anything else the end in UTC.
inline constexpr std::uint64_t kNotPaused = 0;
inline constexpr std::uint64_t kPausedUntilResumed = ~std::uint64_t{0};
// No length on offer reaches this far ahead; a stored end beyond it is damage.
inline constexpr UtcTime kLongestPause = 48 * 3600 * kUtcPerSecond;
// The largest time Windows can turn into a calendar date.
inline constexpr UtcTime kLastUtcTime = 0x7FFFFFFFFFFFFFFFull;

// What a stored "PausedUntil" means at `now`: nullopt for no pause (0,
// damaged, beyond kLongestPause, or already past), otherwise the value.
std::optional<std::uint64_t> DecodePausedUntil(std::uint64_t stored, UtcTime now);

// The end of a pause of `length` chosen at `now` (in UTC): nullopt for
// "until I resume", or when the clock cannot say. "Until tomorrow" is the
// next start of the working day still ahead (this morning's, chosen after
// midnight), or of 08:00 with the working time off.
std::optional<UtcTime> PauseEnd(PauseLength length, UtcTime now, IWallClock& wall,
                                std::uint32_t startHours, std::uint32_t startMinutes,
                                bool useWorkingTime);

// The calendar day after `day`, and whether two times share a date (only
// the date fields are read).
LocalTime NextDay(const LocalTime& day);
bool SameDay(const LocalTime& a, const LocalTime& b);

class PauseClock {
  public:
    bool Active() const { return m_active; }
    bool UntilResumed() const { return m_active && !m_timed; }

    void BeginUntilResumed();
    // A timed pause that ends at `end` on the wall clock, or after the same
    // length on the tick count.
    void Begin(UtcTime end, UtcTime now, std::uint32_t nowTick);
    void Clear() { *this = PauseClock{}; }

    // Whether a timed pause is over at this moment.
    bool Over(UtcTime now, std::uint32_t nowTick) const;
    // Milliseconds until it is over, counting the earlier of the two clocks.
    std::uint64_t RemainingMs(UtcTime now, std::uint32_t nowTick) const;
    // Brings the wall-clock end forward to where the tick count says the
    // pause ends, after the clock was set back; true when it moved by more
    // than a little clock drift (and so wants storing again).
    bool Tighten(UtcTime now, std::uint32_t nowTick);
    // What goes into "PausedUntil".
    std::uint64_t Stored() const;

  private:
    std::uint64_t TickRemainingMs(std::uint32_t nowTick) const;

    bool m_active = false;
    bool m_timed = false;
    UtcTime m_end = 0;
    std::uint32_t m_startTick = 0;
    std::uint64_t m_lengthMs = 0;
};

// The texts of the pause and of the next break, from the string table of
// the program; these are the ones it ships with. "%1" stands for a time
// of day, "%2" for a number of minutes or a date, each as `formats` writes it.
struct PauseTexts {
    std::string pausedUntil = "Paused until %1";
    std::string pausedUntilTomorrow = "Paused until tomorrow %1";
    std::string pausedUntilDate = "Paused until %2 %1";
    std::string paused = "Paused";
    std::string nextBreakIn = "Next break in %2 min";
    std::string nextBreakSoon = "Next break in less than a minute";
    LocaleFormats formats;
};

// The tooltip's state line of a pause ending at `end`, read at `now`
// (both local), or of one until the user resumes.
std::string PausedLine(const PauseTexts& texts, const std::optional<LocalTime>& end,
                       const std::optional<LocalTime>& now);
// The line under the state: when the next break comes.
std::string NextBreakLine(const PauseTexts& texts, std::uint64_t remainingMs);

}  // namespace pausora
