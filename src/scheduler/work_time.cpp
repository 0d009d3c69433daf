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
    std::uint32_t year = 0;
    std::uint32_t month = 0;
    std::uint32_t day = 0;
    if (open) {
        key->ReadDword(reg::kFullWorkTime, fullWorkTime);
        key->ReadDword(reg::kLastYear, year);
        key->ReadDword(reg::kLastMonth, month);
        key->ReadDword(reg::kLastDay, day);
    }
    m_fullWorkTime = fullWorkTime;

    const LocalTime today = m_ports.calendar.Now();
    if (year != today.year || month != today.month || day != today.day) {
        // A new day. The total itself is written by the first counted minute.
        m_fullWorkTime = 0;
        if (open) {
            key->WriteDword(reg::kLastYear, today.year);
            key->WriteDword(reg::kLastMonth, today.month);
            key->WriteDword(reg::kLastDay, today.day);
        }
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

    if (active && m_settings.UseWorkingTime == 1 && AtOrAfterEndOfDay(m_ports.calendar.Now())) {
        SetState(STATE_WORKDAY_END);
        m_ports.presenter.SetItemText(kItemTitle, text::kWorkdayEndTitle);
        ShowNotice(kStayMs);
        PlayIfSounds(SoundEvent::kWorkTimeEnd);
    }

    if (active) {
        ++m_fullWorkTime;
        // Written at every counted minute, so nothing is left to save at exit.
        // A key that has gone away only loses this write.
        auto key = m_ports.registry.NewKey();
        if (key->Open(reg::kAppKey)) {
            key->WriteDword(reg::kFullWorkTime, m_fullWorkTime);
        }
        key->Close();
    }

    if (active && m_settings.UseDailyTimeLimit == 1 &&
        std::uint64_t{m_fullWorkTime} * 60 > m_settings.DailyTimeLimit) {
        SetState(STATE_TIME_LIMIT);
        m_ports.presenter.SetItemText(kItemTitle, text::kTimeLimitTitle);
        ShowNotice(kStayMs);
        PlayIfSounds(SoundEvent::kTimeLimit);
    }
}

}  // namespace pausora
