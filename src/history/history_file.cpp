#include "history/history_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_set>

namespace pausora {

bool IsValidDate(const Date& date) {
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) {
        return false;
    }
    static constexpr std::array<std::uint32_t, 12> kLengths = {31, 28, 31, 30, 31, 30,
                                                               31, 31, 30, 31, 30, 31};
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    const std::uint32_t length = kLengths[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
    return date.day <= length;
}

// Howard Hinnant's days-from-civil and civil-from-days.
std::int64_t DayNumber(const Date& date) {
    const std::int64_t y = std::int64_t{date.year} - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t m = date.month;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date DateOfDayNumber(std::int64_t number) {
    const std::int64_t z = number + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return Date{static_cast<std::int32_t>(y), static_cast<std::uint32_t>(m),
                static_cast<std::uint32_t>(d)};
}

int Weekday(const Date& date) {
    // 1970-01-01 was a Thursday.
    const std::int64_t n = DayNumber(date) + 3;
    return static_cast<int>(((n % 7) + 7) % 7);
}

namespace {

void AppendPadded(std::string& out, std::uint32_t value, int width) {
    std::array<char, 16> digits{};
    auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    (void)error;
    for (auto length = end - digits.data(); length < width; ++length) {
        out += '0';
    }
    out.append(digits.data(), end);
}

template <typename Number>
void AppendNumber(std::string& out, Number value) {
    std::array<char, 24> digits{};
    auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    (void)error;
    out.append(digits.data(), end);
}

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

// Decimal digits only, into a 32-bit value.
bool ParseUnsigned(std::string_view text, std::uint32_t& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
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

std::string IsoDate(const Date& date) {
    std::string out;
    AppendPadded(out, static_cast<std::uint32_t>(std::max(date.year, 0)), 4);
    out += '-';
    AppendPadded(out, date.month, 2);
    out += '-';
    AppendPadded(out, date.day, 2);
    return out;
}

std::string FormatDayLine(const DayRecord& r) {
    std::string out = IsoDate(r.date);
    out.reserve(64);
    for (const std::uint32_t* value : DayCounts(r)) {
        out += ',';
        AppendNumber(out, *value);
    }
    for (const std::int32_t value : {r.firstActive, r.lastActive}) {
        out += ',';
        AppendNumber(out, value);
    }
    return out;
}

bool ParseDayLine(std::string_view line, DayRecord& record) {
    std::array<std::string_view, 12> fields{};
    std::size_t count = 0;
    while (true) {
        const std::size_t comma = line.find(',');
        if (count == fields.size()) {
            return false;  // more fields than a day line has
        }
        fields[count++] = line.substr(0, comma);
        if (comma == std::string_view::npos) {
            break;
        }
        line.remove_prefix(comma + 1);
    }
    if (count != fields.size()) {
        return false;
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
            file.m_lines.push_back(Line{true, file.m_records.size(), 0});
            file.m_records.push_back(record);
            continue;
        }
        file.m_lines.push_back(Line{false, file.m_kept.size(), line.size()});
        file.m_kept.append(line);
    }
    return file;
}

std::string HistoryFile::Serialise() const {
    std::string out;
    out.reserve(kHistoryHeader.size() + 2 + m_records.size() * 64 + m_kept.size() +
                m_lines.size() * 2);
    out += kHistoryHeader;
    out += kLineEnd;
    for (const Line& line : m_lines) {
        if (line.record) {
            out += FormatDayLine(m_records[line.index]);
        } else {
            out.append(m_kept, line.index, line.length);
        }
        out += kLineEnd;
    }
    return out;
}

const DayRecord* HistoryFile::Find(const Date& date) const {
    if (m_lastFound < m_records.size() && m_records[m_lastFound].date == date) {
        return &m_records[m_lastFound];
    }
    // Newest last, as they are written: look from the end.
    for (std::size_t i = m_records.size(); i-- > 0;) {
        if (m_records[i].date == date) {
            m_lastFound = i;
            return &m_records[i];
        }
    }
    return nullptr;
}

DayRecord& HistoryFile::Day(const Date& date) {
    if (const DayRecord* found = Find(date)) {
        return m_records[static_cast<std::size_t>(found - m_records.data())];
    }
    m_lines.push_back(Line{true, m_records.size(), 0});
    m_records.push_back(DayRecord{});
    m_records.back().date = date;
    m_lastFound = m_records.size() - 1;
    return m_records.back();
}

std::size_t HistoryFile::Trim(const Date& today) {
    const Date oldest{today.year - 2, today.month, today.day};
    const auto old = [&oldest](const DayRecord& r) { return r.date < oldest; };
    if (std::none_of(m_records.begin(), m_records.end(), old)) {
        return 0;
    }
    std::vector<std::size_t> newIndex(m_records.size(), 0);
    std::vector<DayRecord> kept;
    kept.reserve(m_records.size());
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        newIndex[i] = kept.size();
        if (!old(m_records[i])) {
            kept.push_back(m_records[i]);
        }
    }
    const std::size_t dropped = m_records.size() - kept.size();
    std::erase_if(m_lines,
                  [&](const Line& line) { return line.record && old(m_records[line.index]); });
    for (Line& line : m_lines) {
        if (line.record) {
            line.index = newIndex[line.index];
        }
    }
    m_records = std::move(kept);
    m_lastFound = 0;
    return dropped;
}

std::size_t HistoryFile::KeptLineCount() const {
    return static_cast<std::size_t>(std::count_if(m_lines.begin(), m_lines.end(),
                                                  [](const Line& line) { return !line.record; }));
}

}  // namespace pausora
