#include "scheduler/pause_clock.h"

#include <algorithm>
#include <cstdio>

namespace pausora {
namespace {

bool LeapYear(std::uint32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::uint32_t DaysInMonth(std::uint32_t year, std::uint32_t month) {
    static constexpr std::uint32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 31;
    }
    return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<std::uint64_t> DecodePausedUntil(std::uint64_t stored, UtcTime now) {
    if (stored == kPausedUntilResumed) {
        return stored;
    }
    if (stored == kNotPaused || stored > kLastUtcTime || stored <= now ||
        stored - now > kLongestPause) {
        return std::nullopt;
    }
    return stored;
}

bool SameDay(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

LocalTime NextDay(const LocalTime& day) {
    LocalTime next{day.year, day.month, day.day + 1, 0, 0, 0};
    if (next.day > DaysInMonth(day.year, day.month)) {
        next.day = 1;
        if (++next.month > 12) {
            next.month = 1;
            ++next.year;
        }
    }
    return next;
}

std::optional<UtcTime> PauseEnd(PauseLength length, UtcTime now, IWallClock& wall,
                                std::uint32_t startHours, std::uint32_t startMinutes,
                                bool useWorkingTime) {
    switch (length) {
        case PauseLength::kMinutes30:
            return now + 30 * 60 * kUtcPerSecond;
        case PauseLength::kHour1:
            return now + 3600 * kUtcPerSecond;
        case PauseLength::kHours2:
            return now + 2 * 3600 * kUtcPerSecond;
        case PauseLength::kUntilResumed:
            return std::nullopt;
        case PauseLength::kUntilTomorrow:
            break;
    }
    const std::optional<LocalTime> today = wall.ToLocal(now);
    if (!today) {
        return std::nullopt;
    }
    // A start time the settings cannot hold is no start time: the morning's.
    const bool usable = useWorkingTime && startHours < 24 && startMinutes < 60;
    // The next start of work still ahead: after midnight that is this
    // morning's, not the one a day later.
    const auto startOn = [&](const LocalTime& day) {
        LocalTime morning{
            day.year, day.month, day.day, usable ? startHours : 8, usable ? startMinutes : 0, 0};
        // Through the time zone, so that a night with a daylight-saving
        // change lasts its 23 or 25 hours.
        return wall.FromLocal(morning);
    };
    std::optional<UtcTime> end = startOn(*today);
    if (!end || *end <= now) {
        end = startOn(NextDay(*today));
    }
    if (!end || *end <= now || *end - now > kLongestPause) {
        return std::nullopt;
    }
    return end;
}

void PauseClock::BeginUntilResumed() {
    *this = PauseClock{};
    m_active = true;
}

void PauseClock::Begin(UtcTime end, UtcTime now, std::uint32_t nowTick) {
    *this = PauseClock{};
    m_active = true;
    m_timed = true;
    m_end = end;
    m_startTick = nowTick;
    m_lengthMs = end > now ? (end - now) / kUtcPerMs : 0;
}

std::uint64_t PauseClock::TickRemainingMs(std::uint32_t nowTick) const {
    // Unsigned on purpose: right across the tick count's wrap, and no pause
    // comes near its 49 days.
    const std::uint32_t elapsed = nowTick - m_startTick;
    return elapsed >= m_lengthMs ? 0 : m_lengthMs - elapsed;
}

std::uint64_t PauseClock::RemainingMs(UtcTime now, std::uint32_t nowTick) const {
    if (!m_active || !m_timed) {
        return 0;
    }
    const std::uint64_t byWall = m_end > now ? (m_end - now + kUtcPerMs - 1) / kUtcPerMs : 0;
    return std::min(byWall, TickRemainingMs(nowTick));
}

bool PauseClock::Over(UtcTime now, std::uint32_t nowTick) const {
    return m_active && m_timed && RemainingMs(now, nowTick) == 0;
}

bool PauseClock::Tighten(UtcTime now, std::uint32_t nowTick) {
    if (!m_active || !m_timed) {
        return false;
    }
    const UtcTime byTicks = now + TickRemainingMs(nowTick) * kUtcPerMs;
    // The tick count and the clock drift apart by a little anyway; only a
    // clock that was set is worth a write.
    constexpr UtcTime kDrift = 2 * kUtcPerSecond;
    if (byTicks + kDrift >= m_end) {
        return false;
    }
    m_end = byTicks;
    return true;
}

std::uint64_t PauseClock::Stored() const {
    if (!m_active) {
        return kNotPaused;
    }
    return m_timed ? m_end : kPausedUntilResumed;
}

std::string PausedLine(const PauseTexts& texts, const std::optional<LocalTime>& end,
                       const std::optional<LocalTime>& now) {
    if (!end) {
        return texts.paused;
    }
    const std::string time = texts.formats.timeOfDay(end->hour, end->minute);
    if (now && SameDay(*end, *now)) {
        return Fill(texts.pausedUntil, {time});
    }
    if (now && SameDay(*end, NextDay(*now))) {
        return Fill(texts.pausedUntilTomorrow, {time});
    }
    return Fill(
        texts.pausedUntilDate,
        {time, texts.formats.date(static_cast<std::int32_t>(end->year), end->month, end->day)});
}

std::string NextBreakLine(const PauseTexts& texts, std::uint64_t remainingMs) {
    if (remainingMs < 60000) {
        return texts.nextBreakSoon;
    }
    // Rounded up, so that a fresh seven-minute interval reads "7 min" and
    // the count never says a minute less than there is.
    return Fill(texts.nextBreakIn, {{}, texts.formats.number((remainingMs + 59999) / 60000)});
}

}  // namespace pausora
