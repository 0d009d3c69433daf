#include "history/history_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <unordered_set>

namespace pausora {

namespace {

std::chrono::year_month_day CalendarDate(const Date& date) {
    return {std::chrono::year{date.year}, std::chrono::month{date.month},
            std::chrono::day{date.day}};
}

}  // namespace

bool IsValidDate(const Date& date) {
    // The ranges first: chrono keeps a month and a day in a byte.
    return date.year >= 1 && date.year <= 9999 && date.month <= 12 && date.day <= 31 &&
           CalendarDate(date).ok();
}

std::int64_t DayNumber(const Date& date) {
    return std::chrono::sys_days{CalendarDate(date)}.time_since_epoch().count();
}

Date DateOfDayNumber(std::int64_t number) {
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{number}}};
    return Date{static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day())};
}

int Weekday(const Date& date) {
    const std::chrono::weekday day{std::chrono::sys_days{CalendarDate(date)}};
    return static_cast<int>(day.iso_encoding()) - 1;  // ISO counts from Monday = 1
}

std::string ZeroPadded(std::uint32_t value, std::size_t width) {
    const std::string digits = std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

std::string IsoDate(const Date& date) {
    return ZeroPadded(static_cast<std::uint32_t>(std::max(date.year, 0)), 4) + '-' +
           ZeroPadded(date.month, 2) + '-' + ZeroPadded(date.day, 2);
}

namespace {

// The counts of a day line, in the order of its columns after the date; of
// a DayRecord or a const one.
template <typename Record>
auto DayCounts(Record& r) {
    return std::array{&r.minutes,
                      &r.shortBreaks.due,
                      &r.shortBreaks.taken,
                      &r.shortBreaks.workedThrough,
                      &r.longBreaks.due,
                      &r.longBreaks.taken,
                      &r.longBreaks.workedThrough,
                      &r.pointsEarned,
                      &r.pointsLost};
}

// Decimal digits only (from_chars takes no sign or space for an unsigned
// value), into a 32-bit value.
bool ParseUnsigned(std::string_view text, std::uint32_t& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

bool ParseMinuteOfDay(std::string_view text, std::int32_t& value) {
    if (text == "-1") {
        value = -1;
        return true;
    }
    std::uint32_t minute = 0;
    if (!ParseUnsigned(text, minute) || minute >= 24 * 60) {
        return false;
    }
    value = static_cast<std::int32_t>(minute);
    return true;
}

bool ParseIsoDate(std::string_view text, Date& date) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return false;
    }
    std::uint32_t year = 0;
    if (!ParseUnsigned(text.substr(0, 4), year) || !ParseUnsigned(text.substr(5, 2), date.month) ||
        !ParseUnsigned(text.substr(8, 2), date.day)) {
        return false;
    }
    date.year = static_cast<std::int32_t>(year);
    return IsValidDate(date);
}

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::string FormatDayLine(const DayRecord& r) {
    std::string out = IsoDate(r.date);
    for (const std::uint32_t* value : DayCounts(r)) {
        out += ',' + std::to_string(*value);
    }
    for (const std::int32_t value : {r.firstActive, r.lastActive}) {
        out += ',' + std::to_string(value);
    }
    return out;
}

bool ParseDayLine(std::string_view line, DayRecord& record) {
    std::array<std::string_view, 12> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t comma = line.find(',');
        const bool last = i + 1 == fields.size();
        if (last != (comma == std::string_view::npos)) {
            return false;  // fewer or more fields than a day line has
        }
        fields[i] = line.substr(0, comma);
        line.remove_prefix(last ? line.size() : comma + 1);
    }
    DayRecord r;
    const auto counts = DayCounts(r);
    if (!ParseIsoDate(fields[0], r.date)) {
        return false;
    }
    for (std::size_t i = 0; i < std::size(counts); ++i) {
        if (!ParseUnsigned(fields[i + 1], *counts[i])) {
            return false;
        }
    }
    if (!ParseMinuteOfDay(fields[10], r.firstActive) ||
        !ParseMinuteOfDay(fields[11], r.lastActive)) {
        return false;
    }
    record = r;
    return true;
}

HistoryFile HistoryFile::Parse(std::string_view text) {
    HistoryFile file;
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    bool first = true;
    std::unordered_set<std::int64_t> seen;  // a second line for a day is kept as text
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const bool header = first && line == kHistoryHeader;
        first = false;
        if (header) {
            continue;  // written afresh
        }
        DayRecord record;
        if (ParseDayLine(line, record) && seen.insert(DayNumber(record.date)).second) {
            file.m_lines.emplace_back(record);
        } else {
            file.m_lines.emplace_back(std::string(line));
        }
    }
    return file;
}

std::string HistoryFile::Serialise() const {
    std::string out(kHistoryHeader);
    out += kLineEnd;
    for (const auto& line : m_lines) {
        if (const auto* record = std::get_if<DayRecord>(&line)) {
            out += FormatDayLine(*record);
        } else {
            out += std::get<std::string>(line);
        }
        out += kLineEnd;
    }
    return out;
}

std::size_t HistoryFile::IndexOf(const Date& date) const {
    const auto holds = [&](std::size_t i) {
        const auto* record = std::get_if<DayRecord>(&m_lines[i]);
        return record != nullptr && record->date == date;
    };
    if (m_lastFound < m_lines.size() && holds(m_lastFound)) {
        return m_lastFound;
    }
    // Newest last, as they are written: look from the end.
    for (std::size_t i = m_lines.size(); i-- > 0;) {
        if (holds(i)) {
            m_lastFound = i;
            return i;
        }
    }
    return m_lines.size();
}

const DayRecord* HistoryFile::Find(const Date& date) const {
    const std::size_t i = IndexOf(date);
    return i < m_lines.size() ? &std::get<DayRecord>(m_lines[i]) : nullptr;
}

DayRecord& HistoryFile::Day(const Date& date) {
    std::size_t i = IndexOf(date);
    if (i == m_lines.size()) {
        m_lines.emplace_back(DayRecord{.date = date});
        m_lastFound = i;
    }
    return std::get<DayRecord>(m_lines[i]);
}

std::size_t HistoryFile::Trim(const Date& today) {
    const Date oldest{today.year - 2, today.month, today.day};
    return std::erase_if(m_lines, [&oldest](const auto& line) {
        const auto* record = std::get_if<DayRecord>(&line);
        return record != nullptr && record->date < oldest;
    });
}

std::vector<DayRecord> HistoryFile::Records() const {
    std::vector<DayRecord> records;
    for (const auto& line : m_lines) {
        if (const auto* record = std::get_if<DayRecord>(&line)) {
            records.push_back(*record);
        }
    }
    return records;
}

std::size_t HistoryFile::KeptLineCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_lines.begin(), m_lines.end(),
                      [](const auto& line) { return std::holds_alternative<std::string>(line); }));
}

}  // namespace pausora
