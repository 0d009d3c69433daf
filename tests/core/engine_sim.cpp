#include "core/engine_sim.h"

#include <algorithm>
#include <sstream>

namespace pausora::sim {

FakeTimers::Slot* FakeTimers::Find(std::uint32_t id) {
    return id < m_slots.size() ? &m_slots[id] : nullptr;
}

const FakeTimers::Slot* FakeTimers::Find(std::uint32_t id) const {
    return id < m_slots.size() ? &m_slots[id] : nullptr;
}

bool FakeTimers::Arm(std::uint32_t id, std::uint32_t periodMs) {
    if (periodMs == 0) {
        ++zeroPeriodArms;
    }
    Slot* slot = Find(id);
    if (slot == nullptr) {
        return true;  // not a timer of the main window
    }
    if (refused.count(id) != 0) {
        // Windows leaves a timer that it could not arm afresh as it was.
        return false;
    }
    *slot = Slot{true, Timer{periodMs, nowMs + periodMs, ++m_order}};
    return true;
}

void FakeTimers::Kill(std::uint32_t id) {
    if (Slot* slot = Find(id)) {
        slot->armed = false;
    }
}

std::optional<std::uint32_t> FakeTimers::NextDue(std::uint64_t limitMs) const {
    std::optional<std::uint32_t> next;
    const Timer* best = nullptr;
    for (std::uint32_t id = 0; id < m_slots.size(); ++id) {
        const Slot& slot = m_slots[id];
        if (!slot.armed || slot.timer.dueMs > limitMs) {
            continue;
        }
        if (best == nullptr || slot.timer.dueMs < best->dueMs ||
            (slot.timer.dueMs == best->dueMs && slot.timer.order < best->order)) {
            best = &slot.timer;
            next = id;
        }
    }
    return next;
}

void FakeTimers::Fire(std::uint32_t id) {
    Timer& timer = m_slots.at(id).timer;
    nowMs = timer.dueMs;
    // Windows lets a 0 ms timer fire every 10 ms; keep the clock moving so a
    // fault shows up as a count rather than a hang.
    timer.dueMs = nowMs + (timer.periodMs == 0 ? 10 : timer.periodMs);
    timer.order = ++m_order;
    ++fired;
}

void FakeTimers::Deliver(std::uint32_t id) {
    ++fired;
    Slot* slot = Find(id);
    if (slot != nullptr && slot->armed) {
        slot->timer.dueMs = nowMs + slot->timer.periodMs;
        slot->timer.order = ++m_order;
    }
}

std::vector<std::uint32_t> FakeTimers::DueBy(std::uint64_t limitMs) const {
    std::vector<std::pair<std::uint64_t, std::uint32_t>> due;
    for (std::uint32_t id = 0; id < m_slots.size(); ++id) {
        if (m_slots[id].armed && m_slots[id].timer.dueMs <= limitMs) {
            due.emplace_back(m_slots[id].timer.dueMs, id);
        }
    }
    std::sort(due.begin(), due.end());
    std::vector<std::uint32_t> ids;
    for (const auto& entry : due) {
        ids.push_back(entry.second);
    }
    return ids;
}

std::set<std::uint32_t> FakeTimers::Armed() const {
    std::set<std::uint32_t> ids;
    for (std::uint32_t id = 0; id < m_slots.size(); ++id) {
        if (m_slots[id].armed) {
            ids.insert(id);
        }
    }
    return ids;
}

std::uint32_t FakeTimers::ArmedMask() const {
    std::uint32_t mask = 0;
    for (std::uint32_t id = 0; id < m_slots.size(); ++id) {
        mask |= m_slots[id].armed ? 1u << id : 0u;
    }
    return mask;
}

std::optional<std::uint32_t> FakeTimers::Period(std::uint32_t id) const {
    const Slot* slot = Find(id);
    if (slot == nullptr || !slot->armed) {
        return std::nullopt;
    }
    return slot->timer.periodMs;
}

std::map<std::uint32_t, FakeTimers::Timer> FakeTimers::Table() const {
    std::map<std::uint32_t, Timer> table;
    for (std::uint32_t id = 0; id < m_slots.size(); ++id) {
        if (m_slots[id].armed) {
            table[id] = m_slots[id].timer;
        }
    }
    return table;
}

void RecordingPresenter::Log(std::string entry) {
    if (!keepLog) {
        return;
    }
    std::ostringstream line;
    line << "[" << (clock != nullptr ? *clock : 0) << " ms] " << entry;
    log.push_back(line.str());
}

void RecordingPresenter::ShowNotice(const pausora::Notice& notice, std::uint32_t stayMs,
                                    NoticeEntry entry, int stars) {
    popupShown = true;
    Notice shown;
    static_cast<pausora::Notice&>(shown) = notice;
    shown.atMs = clock != nullptr ? *clock : 0;
    shown.stayMs = stayMs;
    shown.entry = entry;
    shown.stars = stars;
    notices.push_back(shown);
    Log("show '" + notice.title + "' stay " + std::to_string(stayMs) + " stars " +
        std::to_string(stars));
}

void RecordingPresenter::HideNotice() {
    popupShown = false;
    Log("hide popup");
}

void RecordingPresenter::SetIcon(int iconId) {
    countdown = 0;  // the icon set takes the count's place
    icon = iconId;
    Log("icon " + std::to_string(iconId));
}

void RecordingPresenter::SetTooltipText(std::string_view text) {
    tooltip = std::string(text);
    Log("tooltip '" + tooltip + "'");
}

void RecordingPresenter::SetIconList(int firstIconId, int lastIconId) {
    firstFrame = firstIconId;
    lastFrame = lastIconId;
    Log("icon list " + std::to_string(firstIconId) + ".." + std::to_string(lastIconId));
}

void RecordingPresenter::Animate(std::uint32_t frame, std::uint32_t lengthSeconds) {
    if (lastFrame < firstFrame) {
        return;
    }
    if (animating) {
        StopAnimation();
    }
    animating = true;
    savedIcon = icon;
    frameMs = frame;
    animationSeconds = lengthSeconds;
    Log("animate " + std::to_string(frame) + " ms for " + std::to_string(lengthSeconds) + " s");
}

void RecordingPresenter::StopAnimation() {
    animating = false;
    if (savedIcon) {
        icon = *savedIcon;
        savedIcon.reset();
    }
    Log("stop animation");
}

void RecordingPresenter::SetStartStopCaption(std::string_view text) {
    caption = std::string(text);
    Log("caption '" + caption + "'");
}

void RecordingPresenter::SetCountdown(std::uint32_t minutes) {
    countdown = minutes;
}

void RecordingPresenter::PlaySound(SoundEvent event, std::string_view path) {
    sounds.push_back(SoundPlay{clock != nullptr ? *clock : 0, event, std::string(path)});
    Log("sound " + std::to_string(static_cast<int>(event)) + " '" + std::string(path) + "'");
    if (onSound) {
        onSound();
    }
}

std::uint32_t ScriptedInput::LastTick() {
    if (forcedLastTick) {
        return *forcedLastTick;
    }
    // Tick counts are 32 bits and wrap; the virtual time does not.
    return tickBase + static_cast<std::uint32_t>(static_cast<std::uint64_t>(lastInputMs));
}

std::uint32_t ScriptedInput::TickCount() {
    return tickBase + static_cast<std::uint32_t>(*clock);
}

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, std::int64_t& m, std::int64_t& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

}  // namespace

LocalTime AddSeconds(const LocalTime& start, std::int64_t seconds) {
    const std::int64_t startSeconds = DaysFromCivil(start.year, start.month, start.day) * 86400 +
                                      start.hour * 3600 + start.minute * 60 + start.second;
    const std::int64_t total = startSeconds + seconds;
    // Floor division: a time before 1970 still has its hour of the day.
    const std::int64_t days = (total >= 0 ? total : total - 86399) / 86400;
    const std::int64_t rest = total - days * 86400;
    std::int64_t y = 0;
    std::int64_t m = 0;
    std::int64_t d = 0;
    CivilFromDays(days, y, m, d);
    return LocalTime{static_cast<std::uint32_t>(y),
                     static_cast<std::uint32_t>(m),
                     static_cast<std::uint32_t>(d),
                     static_cast<std::uint32_t>(rest / 3600),
                     static_cast<std::uint32_t>(rest / 60 % 60),
                     static_cast<std::uint32_t>(rest % 60)};
}

LocalTime SimCalendar::Now() {
    return AddSeconds(start, static_cast<std::int64_t>(*clock / 1000) + shiftSeconds);
}

namespace {

// Seconds from 1601-01-01, where UTC times count from, to 1970-01-01.
constexpr std::int64_t kEpochSeconds1601 = 11644473600;

std::int64_t LocalSeconds(const LocalTime& local) {
    return DaysFromCivil(local.year, local.month, local.day) * 86400 + local.hour * 3600 +
           local.minute * 60 + local.second;
}

}  // namespace

UtcTime SimWallClock::Utc(const LocalTime& local) const {
    return static_cast<UtcTime>(LocalSeconds(local) - offsetSeconds + kEpochSeconds1601) *
           kUtcPerSecond;
}

UtcTime SimWallClock::UtcNow() {
    return Utc(calendar->start) + *clock * kUtcPerMs +
           static_cast<UtcTime>(calendar->shiftSeconds * static_cast<std::int64_t>(kUtcPerSecond));
}

std::int64_t SimWallClock::OffsetAt(UtcTime utc) const {
    return changeAt && utc >= *changeAt ? offsetAfter : offsetSeconds;
}

std::optional<LocalTime> SimWallClock::ToLocal(UtcTime utc) {
    const auto seconds = static_cast<std::int64_t>(utc / kUtcPerSecond) - kEpochSeconds1601;
    return AddSeconds(LocalTime{1970, 1, 1, 0, 0, 0}, seconds + OffsetAt(utc));
}

std::optional<UtcTime> SimWallClock::FromLocal(const LocalTime& local) {
    const std::int64_t seconds = LocalSeconds(local) + kEpochSeconds1601;
    const auto before = static_cast<UtcTime>(seconds - offsetSeconds) * kUtcPerSecond;
    if (OffsetAt(before) == offsetSeconds) {
        return before;
    }
    const auto after = static_cast<UtcTime>(seconds - offsetAfter) * kUtcPerSecond;
    return OffsetAt(after) == offsetAfter ? after : before;
}

std::string NumberedTips::PickTip() {
    ++picked;
    return "Saying " + std::to_string(picked) + "\r\n-- Source";
}

EngineSim::EngineSim(BreakTexts texts)
    : engine(settings,
             BreakEngine::Ports{timers, input, input, calendar, presenter, tips, registry, wall,
                                busy, history},
             PauseTexts{}, std::move(texts)) {
    input.clock = &timers.nowMs;
    calendar.clock = &timers.nowMs;
    presenter.clock = &timers.nowMs;
    wall.calendar = &calendar;
    wall.clock = &timers.nowMs;
    registry.CreateKeyPath(reg::kAppKey);
    registry.CreateKeyPath(reg::kSettingsKey);
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        settings.SoundPath(static_cast<SoundEvent>(i)) = "sound" + std::to_string(i) + ".wav";
    }
}

void EngineSim::AdvanceMs(std::uint64_t ms, bool active) {
    const std::uint64_t target = timers.nowMs + ms;
    while (auto id = timers.NextDue(target)) {
        timers.Fire(*id);
        if (active) {
            input.lastInputMs = static_cast<std::int64_t>(timers.nowMs) - 1;
        }
        engine.OnTimer(*id);
        if (afterStep) {
            afterStep(*id);
        }
    }
    timers.nowMs = target;
    if (active && ms > 0) {
        input.lastInputMs = static_cast<std::int64_t>(target) - 1;
    }
}

void EngineSim::AdvanceTo(std::uint64_t second, bool active) {
    const std::uint64_t target = second * 1000;
    if (target > timers.nowMs) {
        AdvanceMs(target - timers.nowMs, active);
    }
}

void EngineSim::SleepAndWake(std::uint64_t seconds, WakeOrder order, WakeNotice notice) {
    const std::uint64_t wake = timers.nowMs + seconds * 1000;
    std::vector<std::uint32_t> overdue = timers.DueBy(wake);
    if (order == WakeOrder::kById) {
        std::sort(overdue.begin(), overdue.end());
    } else if (order == WakeOrder::kByIdBackwards) {
        std::sort(overdue.rbegin(), overdue.rend());
    }
    timers.nowMs = wake;
    if (notice == WakeNotice::kFirst) {
        engine.OnResume();
    }
    for (const std::uint32_t id : overdue) {
        timers.Deliver(id);
        engine.OnTimer(id);
        if (afterStep) {
            afterStep(id);
        }
    }
    if (notice == WakeNotice::kLast) {
        engine.OnResume();
    }
}

void EngineSim::Run(const std::vector<Stretch>& script) {
    for (const Stretch& stretch : script) {
        Advance(stretch.seconds, stretch.active);
    }
}

std::optional<std::uint32_t> EngineSim::StoredBonus() const {
    return registry.Dword(reg::kSettingsKey, "Bonus");
}

std::optional<std::uint32_t> EngineSim::StoredFullWorkTime() const {
    return registry.Dword(reg::kAppKey, reg::kFullWorkTime);
}

std::vector<std::uint64_t> EngineSim::NoticeTimes(std::string_view title) const {
    std::vector<std::uint64_t> times;
    for (const Notice& notice : presenter.notices) {
        if (notice.title == title) {
            times.push_back(notice.atMs / 1000);
        }
    }
    return times;
}

std::vector<std::uint64_t> EngineSim::SoundTimes(SoundEvent event) const {
    std::vector<std::uint64_t> times;
    for (const SoundPlay& play : presenter.sounds) {
        if (play.event == event) {
            times.push_back(play.atMs / 1000);
        }
    }
    return times;
}

std::string EngineSim::LogText() const {
    std::string text;
    for (const std::string& line : presenter.log) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace pausora::sim
