// The day's computer time: counted a minute at a time, kept in the registry
// so that a restart on the same day goes on from where it was.
#include "scheduler/break_engine.h"

namespace pausora {
namespace {

constexpr std::uint64_t kSecondsPerDay = 24 * 60 * 60;

}  // namespace

void BreakEngine::CheckDay() {
    auto key = m_ports.registry.NewKey();
    const bool open = key->Open(reg::kAppKey);
    std::uint32_t fullWorkTime = 0;
    m_day = LocalTime{};
    if (open) {
        key->ReadDword(reg::kFullWorkTime, fullWorkTime);
        key->ReadDword(reg::kLastYear, m_day.year);
        key->ReadDword(reg::kLastMonth, m_day.month);
        key->ReadDword(reg::kLastDay, m_day.day);
    }
    key->Close();
    m_fullWorkTime = fullWorkTime;
    StartDayIfNew(m_ports.calendar.Now());
}

void BreakEngine::StartDayIfNew(const LocalTime& now) {
    if (now.year == m_day.year && now.month == m_day.month && now.day == m_day.day) {
        return;
    }
    // The total and its date are written together, so that a restart before
    // the first counted minute cannot bring back the old day's total.
    m_day = now;
    m_fullWorkTime = 0;
    auto key = m_ports.registry.NewKey();
    if (key->Open(reg::kAppKey)) {
        key->WriteDword(reg::kFullWorkTime, 0);
        key->WriteDword(reg::kLastYear, now.year);
        key->WriteDword(reg::kLastMonth, now.month);
        key->WriteDword(reg::kLastDay, now.day);
    }
    key->Close();
}

bool BreakEngine::AtOrAfterEndOfDay(const LocalTime& now) const {
    // The end moment is built on today's date, so an hour or minute past the
    // end of the day lands on tomorrow and is never reached today.
    const std::uint64_t end = std::uint64_t{m_settings.EndWorkTime_hours} * 3600 +
                              std::uint64_t{m_settings.EndWorkTime_minutes} * 60;
    if (end >= kSecondsPerDay) {
        return false;
    }
    const std::uint64_t current =
        std::uint64_t{now.hour} * 3600 + std::uint64_t{now.minute} * 60 + now.second;
    return current >= end;
}

void BreakEngine::OnMinute() {
    MeasureIdle();
    const bool active = m_idleMs < 60000;
    // A program left running over midnight counts the new day from zero.
    const LocalTime now = m_ports.calendar.Now();
    StartDayIfNew(now);
    if (!active) {
        return;
    }

    ++m_fullWorkTime;
    // Written at every counted minute, so nothing is left to save at exit.
    // A key that has gone away only loses this write.
    auto key = m_ports.registry.NewKey();
    if (key->Open(reg::kAppKey)) {
        key->WriteDword(reg::kFullWorkTime, m_fullWorkTime);
    }
    key->Close();

    // Both notices can fall in one minute; the limit's is shown last.
    const bool workdayOver = m_settings.UseWorkingTime == 1 && AtOrAfterEndOfDay(now);
    const bool overLimit = m_settings.UseDailyTimeLimit == 1 &&
                           std::uint64_t{m_fullWorkTime} * 60 > m_settings.DailyTimeLimit;
    if (workdayOver) {
        SetState(STATE_WORKDAY_END);
        m_ports.presenter.SetItemText(kItemTitle, text::kWorkdayEndTitle);
        ShowNotice(kStayMs);
    }
    if (overLimit) {
        SetState(STATE_TIME_LIMIT);
        m_ports.presenter.SetItemText(kItemTitle, text::kTimeLimitTitle);
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
