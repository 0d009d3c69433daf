// The day's computer time: counted a minute at a time, kept in the registry
// so that a restart on the same day goes on from where it was.
#include "scheduler/break_engine.h"
#include "store/locale_formats.h"

#include <algorithm>

namespace pausora {

void BreakEngine::CheckDay() {
    auto key = m_ports.registry.NewKey();
    m_fullWorkTime = 0;
    m_day = LocalTime{};
    if (key->Open(reg::kAppKey)) {
        key->ReadDword(reg::kFullWorkTime, m_fullWorkTime);
        key->ReadDword(reg::kLastYear, m_day.year);
        key->ReadDword(reg::kLastMonth, m_day.month);
        key->ReadDword(reg::kLastDay, m_day.day);
    }
    key->Close();
    // A fresh run knows only the day the registry holds.
    m_otherDays.clear();
    StartDayIfNew(m_ports.calendar.Now());
}

void BreakEngine::StartDayIfNew(const LocalTime& now) {
    if (SameDay(now, m_day)) {
        return;
    }
    // A clock set back over midnight (by hand, a time server or daylight
    // saving) returns to a day whose minutes are already counted, and later
    // forwards to today again: each day goes on from its own total. Only a
    // day never counted in this run starts from zero.
    const auto found = std::ranges::find_if(
        m_otherDays, [&now](const DayTotal& total) { return SameDay(now, total.day); });
    std::uint32_t minutes = 0;
    // The day being left goes to the front; the one found leaves the list;
    // when the list is full, the day left longest ago is forgotten.
    if (found != m_otherDays.end()) {
        minutes = found->minutes;
        m_otherDays.erase(found);
    } else if (m_otherDays.size() == kRememberedDays - 1) {
        m_otherDays.pop_back();
    }
    m_otherDays.insert(m_otherDays.begin(), DayTotal{m_day, m_fullWorkTime});

    // The total and its date are written together, so that a restart before
    // the first counted minute cannot bring back the other day's total.
    m_day = now;
    m_fullWorkTime = minutes;
    SaveWorkTime(true);
}

void BreakEngine::SaveWorkTime(bool withDate) {
    auto key = m_ports.registry.NewKey();
    bool saved = key->Open(reg::kAppKey) && key->WriteDword(reg::kFullWorkTime, m_fullWorkTime);
    if (withDate) {
        saved = saved && key->WriteDword(reg::kLastYear, m_day.year) &&
                key->WriteDword(reg::kLastMonth, m_day.month) &&
                key->WriteDword(reg::kLastDay, m_day.day);
    }
    key->Close();
    if (!saved) {
        m_ports.presenter.ReportTrouble(Trouble::kWorkTimeNotSaved);
    }
}

bool BreakEngine::AtOrAfterEndOfDay(const LocalTime& now) const {
    // The end moment is built on today's date, so an hour or minute past the
    // end of the day lands on tomorrow and is never reached today.
    const std::uint64_t end = std::uint64_t{m_settings.EndWorkTime_hours} * 3600 +
                              std::uint64_t{m_settings.EndWorkTime_minutes} * 60;
    if (end >= 24 * 60 * 60) {
        return false;
    }
    const std::uint64_t current =
        std::uint64_t{now.hour} * 3600 + std::uint64_t{now.minute} * 60 + now.second;
    return current >= end;
}

std::string DayTimeLine(const BreakTexts& texts, std::uint32_t minutes) {
    std::string line(texts.dayTimeStart);
    const std::uint32_t hours = minutes / 60;
    minutes %= 60;
    if (hours > 0) {
        line += Fill(texts.hours, {std::to_string(hours)});
    }
    if (minutes > 0 || hours == 0) {
        line += (hours > 0 ? " " : "") + Fill(texts.minutes, {std::to_string(minutes)});
    }
    line += texts.dayTimeEnd;
    return line;
}

void BreakEngine::OnMinute() {
    MeasureIdle();
    const bool active = m_idleMs < 60000;
    // A program left running over midnight counts the new day from zero.
    const LocalTime now = m_ports.calendar.Now();
    StartDayIfNew(now);
    RefreshWorkingTooltip();
    if (active) {
        ++m_fullWorkTime;
    }
    m_ports.history.OnMinuteStep(m_day, now, m_fullWorkTime, active);
    if (!active) {
        return;
    }
    SaveWorkTime(false);  // at every counted minute, so nothing is left to save at exit
    // A pause counts the computer time and keeps quiet about it.
    if (m_pause.Active()) {
        return;
    }

    // Both notices can fall in one minute; the limit's is shown last.
    const bool workdayOver = m_settings.UseWorkingTime == 1 && AtOrAfterEndOfDay(now);
    const bool overLimit = m_settings.UseDailyTimeLimit == 1 &&
                           std::uint64_t{m_fullWorkTime} * 60 > m_settings.DailyTimeLimit;
    if (!HoldDayNotices(workdayOver, overLimit)) {
        ShowDayNotices(workdayOver, overLimit);
    }
}

void BreakEngine::ShowDayNotices(bool workdayOver, bool overLimit) {
    if (workdayOver) {
        SetState(STATE_WORKDAY_END);
        m_notice.title = m_texts.workdayEndTitle;
        ShowNotice(kStayMs);
    }
    if (overLimit) {
        SetState(STATE_TIME_LIMIT);
        m_notice.title = m_texts.timeLimitTitle;
        ShowNotice(kStayMs);
    }
    if (workdayOver) {
        PlayIfSounds(SoundEvent::kWorkTimeEnd);
    }
    if (overLimit) {
        PlayIfSounds(SoundEvent::kTimeLimit);
    }
}

}  // namespace pausora
