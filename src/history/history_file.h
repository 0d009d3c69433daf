// The break history: one record per calendar day, and the CSV file that keeps
// them (history.csv). Portable: the file's bytes come and go through the
// recorder's port.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pausora {

// A calendar date.
struct Date {
    std::int32_t year = 0;
    std::uint32_t month = 0;  // 1..12
    std::uint32_t day = 0;    // 1..31
    auto operator<=>(const Date&) const = default;
};

bool IsValidDate(const Date& date);
// Days since 1970-01-01 (negative before it), for a valid date.
std::int64_t DayNumber(const Date& date);
Date DateOfDayNumber(std::int64_t number);
// 0 = Monday .. 6 = Sunday.
int Weekday(const Date& date);
// `value` in decimal, with leading zeros up to `width` digits.
std::string ZeroPadded(std::uint32_t value, std::size_t width);
// "2026-12-07".
std::string IsoDate(const Date& date);

// How a day's breaks of one kind went.
struct BreakTally {
    std::uint32_t due = 0;
    std::uint32_t taken = 0;
    std::uint32_t workedThrough = 0;
    bool operator==(const BreakTally&) const = default;
};

// What one calendar day held. Minutes of the day are 0..1439; -1 when the
// day had no active minute.
struct DayRecord {
    Date date;
    std::uint32_t minutes = 0;  // computer time, as the day total counts it
    BreakTally shortBreaks{};
    BreakTally longBreaks{};
    std::uint32_t pointsEarned = 0;
    std::uint32_t pointsLost = 0;
    std::int32_t firstActive = -1;
    std::int32_t lastActive = -1;
    bool operator==(const DayRecord&) const = default;

    // The breaks of both kinds that fell due, and how many of those were
    // taken; wide enough for any two counts.
    std::uint64_t BreaksDue() const { return std::uint64_t{shortBreaks.due} + longBreaks.due; }
    std::uint64_t BreaksTaken() const {
        return std::min(std::uint64_t{shortBreaks.taken} + longBreaks.taken, BreaksDue());
    }
};

// The file's first line.
inline constexpr std::string_view kHistoryHeader =
    "date,minutes,short_due,short_taken,short_worked_through,long_due,long_taken,"
    "long_worked_through,points_earned,points_lost,first_active_minute,last_active_minute";

// A day's line without its line end, and back. Parsing is strict: exactly
// the twelve fields, a valid date, decimal digits only (a minute of -1 or
// 0..1439), no spaces; anything else is not a day line.
std::string FormatDayLine(const DayRecord& record);
bool ParseDayLine(std::string_view line, DayRecord& record);

// The file in memory: the day records, and every line that is not one (a
// damaged or foreign line, a second line for a date already read), kept as
// it was and written back in its place.
class HistoryFile {
  public:
    // Reads a whole file. Never fails: what is not a day line is kept.
    static HistoryFile Parse(std::string_view text);
    // The file's text: the header, then the lines in their order.
    std::string Serialise() const;

    // The record of `date`, made (at the end) if there is none.
    DayRecord& Day(const Date& date);
    const DayRecord* Find(const Date& date) const;
    // Drops the records of the days more than two years before `today`
    // (earlier than the same date two years back); kept lines stay.
    // Returns how many went.
    std::size_t Trim(const Date& today);

    // The day records, in the file's order.
    std::vector<DayRecord> Records() const;
    std::size_t KeptLineCount() const;
    bool Empty() const { return m_lines.empty(); }

  private:
    // The line holding the record of `date`, or m_lines.size().
    std::size_t IndexOf(const Date& date) const;

    std::vector<std::variant<DayRecord, std::string>> m_lines;
    // The last record looked up: the minute step asks for today's again and
    // again.
    mutable std::size_t m_lastFound = 0;
};

}  // namespace pausora
