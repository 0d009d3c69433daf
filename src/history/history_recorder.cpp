#include "history/history_recorder.h"

#include <algorithm>
#include <limits>

namespace pausora {
namespace {

Date DateOf(const LocalTime& time) {
    return Date{static_cast<std::int32_t>(time.year), time.month, time.day};
}

std::uint32_t Add(std::uint32_t value, std::uint64_t more) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(value + more, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace

void HistoryRecorder::SetKeeping(bool keep) {
    if (keep == m_keeping) {
        return;
    }
    m_keeping = keep;
    m_file = HistoryFile{};
    m_dirty = false;
    m_blocked = false;
    m_trimmedOn = Date{};
    if (!keep) {
        return;
    }
    std::string text;
    switch (m_storage.Read(text, kLargestFile)) {
        case IHistoryStorage::ReadResult::kRead:
            m_file = HistoryFile::Parse(text);
            break;
        case IHistoryStorage::ReadResult::kMissing:
            break;
        case IHistoryStorage::ReadResult::kFailed:
            // Writing over a file that could not be read would lose it.
            m_blocked = true;
            m_presenter.ReportTrouble(Trouble::kHistoryNotSaved);
            break;
    }
}

DayRecord* HistoryRecorder::Record(const LocalTime& day) {
    const Date date = DateOf(day);
    if (!m_keeping || m_blocked || !IsValidDate(date)) {
        return nullptr;
    }
    return &m_file.Day(date);
}

void HistoryRecorder::OnBreak(const LocalTime& day, BreakKind kind, BreakOutcome outcome) {
    DayRecord* r = Record(day);
    if (r == nullptr) {
        return;
    }
    BreakTally& tally = kind == BreakKind::kShort ? r->shortBreaks : r->longBreaks;
    std::uint32_t& count = outcome == BreakOutcome::kDue     ? tally.due
                           : outcome == BreakOutcome::kTaken ? tally.taken
                                                             : tally.workedThrough;
    count = Add(count, 1);
    m_dirty = true;
}

void HistoryRecorder::OnPoints(const LocalTime& day, std::int64_t change) {
    DayRecord* r = change != 0 ? Record(day) : nullptr;
    if (r == nullptr) {
        return;
    }
    m_dirty = true;
    if (change > 0) {
        r->pointsEarned = Add(r->pointsEarned, static_cast<std::uint64_t>(change));
    } else {
        r->pointsLost = Add(r->pointsLost, static_cast<std::uint64_t>(-change));
    }
}

void HistoryRecorder::OnMinuteStep(const LocalTime& day, const LocalTime& now,
                                   std::uint32_t dayMinutes, bool active) {
    if (!m_keeping || m_blocked) {
        return;
    }
    const Date date = DateOf(day);
    // An idle minute of a day with no line yet makes none.
    if (active || m_file.Find(date) != nullptr) {
        if (DayRecord* r = Record(day)) {
            const DayRecord before = *r;
            r->minutes = dayMinutes;
            if (active && now.hour < 24 && now.minute < 60) {
                const auto minute = static_cast<std::int32_t>(now.hour * 60 + now.minute);
                r->firstActive = r->firstActive < 0 ? minute : std::min(r->firstActive, minute);
                r->lastActive = std::max(r->lastActive, minute);
            }
            m_dirty = m_dirty || !(before == *r);
        }
    }
    if (IsValidDate(date) && date != m_trimmedOn) {
        m_trimmedOn = date;
        m_dirty = m_file.Trim(date) > 0 || m_dirty;
    }
    Flush();
}

void HistoryRecorder::Flush() {
    if (!m_keeping || m_blocked || !m_dirty) {
        return;
    }
    if (!m_storage.Write(m_file.Serialise())) {
        // Tried again at the next step; told once.
        if (!m_failing) {
            m_failing = true;
            m_presenter.ReportTrouble(Trouble::kHistoryNotSaved);
        }
        return;
    }
    m_failing = false;
    m_dirty = false;
}

}  // namespace pausora
