// The break engine on a virtual clock: fake window timers that fire in time
// order, a scripted user, a calendar that moves with the clock, and a
// presenter that records what the user would have seen and heard. Hours of
// schedule run in milliseconds.
#pragma once

#include "shared/memory_registry.h"
#include "store/time_settings.h"
#include "scheduler/break_engine.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pausora::sim {

// Window timers on a virtual clock. Due timers fire in order of their due
// time; two due at the same moment fire in the order they were last
// scheduled, as on Windows, where the timer re-armed later also lags later.
class FakeTimers final : public ITimerHost {
  public:
    bool Arm(std::uint32_t id, std::uint32_t periodMs) override;
    void Kill(std::uint32_t id) override;

    struct Timer {
        std::uint32_t periodMs = 0;
        std::uint64_t dueMs = 0;
        std::uint64_t order = 0;
        bool operator==(const Timer&) const = default;
    };
    // The next timer due at or before `limitMs`, if any.
    std::optional<std::uint32_t> NextDue(std::uint64_t limitMs) const;
    // Moves the clock to the timer's due time and schedules its next period.
    void Fire(std::uint32_t id);
    // Hands over a message that was due in the past, at the present time:
    // an armed timer's next period starts now.
    void Deliver(std::uint32_t id);
    // The timers due at or before `limitMs`.
    std::vector<std::uint32_t> DueBy(std::uint64_t limitMs) const;

    std::set<std::uint32_t> Armed() const;
    // The armed timers as bits (bit n for id n): cheap enough to look at
    // after every step.
    std::uint32_t ArmedMask() const;
    std::optional<std::uint32_t> Period(std::uint32_t id) const;
    std::map<std::uint32_t, Timer> Table() const;

    std::uint64_t nowMs = 0;
    std::uint64_t fired = 0;
    std::uint64_t zeroPeriodArms = 0;
    // Arms of these ids fail, as when the system runs out of timers.
    std::set<std::uint32_t> refused;

  private:
    // One slot per timer id: the clock loop looks for the next due timer
    // after every step, so the table is a flat array, not a tree.
    struct Slot {
        bool armed = false;
        Timer timer;
    };
    Slot* Find(std::uint32_t id);
    const Slot* Find(std::uint32_t id) const;
    std::array<Slot, kLastTimerId + 1> m_slots{};
    std::uint64_t m_order = 0;
};

// A notice as shown, and when.
struct Notice : pausora::Notice {
    std::uint64_t atMs = 0;
    std::uint32_t stayMs = 0;
    NoticeEntry entry = NoticeEntry::kSlide;
    int stars = 0;
};

struct SoundPlay {
    std::uint64_t atMs = 0;
    SoundEvent event{};
    std::string path;
};

// Keeps the popup's items and the tray as the real windows would, and logs
// every show and sound.
class RecordingPresenter final : public IPresenter {
  public:
    void ShowNotice(const pausora::Notice& notice, std::uint32_t stayMs, NoticeEntry entry,
                    int stars) override;
    void HideNotice() override;
    void SetIcon(int iconId) override;
    void SetTooltipText(std::string_view text) override;
    void SetIconList(int firstIconId, int lastIconId) override;
    void Animate(std::uint32_t frameMs, std::uint32_t lengthSeconds) override;
    void StopAnimation() override;
    void SetStartStopCaption(std::string_view caption) override;
    void SetCountdown(std::uint32_t minutes) override;
    void PlaySound(SoundEvent event, std::string_view path) override;
    void ReportTrouble(Trouble trouble) override { troubles.push_back(trouble); }

    // The tray as the tray icon keeps it: Animate saves the icon it replaces
    // and StopAnimation puts it back.
    int icon = 0;
    std::string tooltip;
    bool animating = false;
    std::optional<int> savedIcon;
    int firstFrame = 0;
    int lastFrame = -1;
    std::uint32_t frameMs = 0;
    std::uint32_t animationSeconds = 0;
    std::string caption;
    std::uint32_t countdown = 0;

    std::vector<Notice> notices;
    bool popupShown = false;  // from a show until a hide
    std::vector<SoundPlay> sounds;
    std::vector<Trouble> troubles;
    // Every call, in order, as text: what a failing test prints.
    std::vector<std::string> log;
    bool keepLog = true;

    const std::uint64_t* clock = nullptr;
    // Runs inside every sound request, as a real sound device would.
    std::function<void()> onSound;

  private:
    void Log(std::string entry);
};

class ScriptedInput final : public IIdleSource, public ITickClock {
  public:
    void Start() override { ++starts; }
    std::uint32_t LastTick() override;
    void Stop() override { ++stops; }
    std::uint32_t TickCount() override;

    std::uint32_t tickBase = 0;  // the tick count at virtual time 0
    std::int64_t lastInputMs = -1;
    // Set to report a last-input tick of its own instead of the script's.
    std::optional<std::uint32_t> forcedLastTick;
    int starts = 0;
    int stops = 0;
    const std::uint64_t* clock = nullptr;
};

class SimCalendar final : public ILocalClock {
  public:
    LocalTime Now() override;
    LocalTime start{2026, 12, 7, 9, 0, 0};
    // How far the wall clock has been set forwards (or, negative, back)
    // since the start: by the user, a time server or daylight saving.
    std::int64_t shiftSeconds = 0;
    const std::uint64_t* clock = nullptr;
};

// UTC and a time zone that follow the virtual clock and the calendar's
// shift: `offsetSeconds` east of UTC, and `offsetAfter` from `changeAt` on
// (a daylight-saving change).
class SimWallClock final : public IWallClock {
  public:
    UtcTime UtcNow() override;
    std::optional<LocalTime> ToLocal(UtcTime utc) override;
    std::optional<UtcTime> FromLocal(const LocalTime& local) override;
    // UTC of a local time read with the zone's first offset.
    UtcTime Utc(const LocalTime& local) const;

    std::int64_t offsetSeconds = 3600;
    std::optional<UtcTime> changeAt;
    std::int64_t offsetAfter = 3600;
    const SimCalendar* calendar = nullptr;
    const std::uint64_t* clock = nullptr;

  private:
    std::int64_t OffsetAt(UtcTime utc) const;
};

// The user presents or is in a call while `busy` is set, and has a window
// in full screen while `fullScreen` is.
class ScriptedBusy final : public IBusySource {
  public:
    Busy Query() override {
        return busy ? Busy::kYes : (fullScreen ? Busy::kFullScreen : Busy::kNo);
    }
    bool busy = false;
    bool fullScreen = false;
};

// Hands the engine's history on to a listener, when a test gives one.
class HistoryRelay final : public IHistorySink {
  public:
    void OnBreak(const LocalTime& day, BreakKind kind, BreakOutcome outcome) override {
        if (to != nullptr) {
            to->OnBreak(day, kind, outcome);
        }
    }
    void OnPoints(const LocalTime& day, std::int64_t change) override {
        if (to != nullptr) {
            to->OnPoints(day, change);
        }
    }
    void OnMinuteStep(const LocalTime& day, const LocalTime& now, std::uint32_t dayMinutes,
                      bool active) override {
        if (to != nullptr) {
            to->OnMinuteStep(day, now, dayMinutes, active);
        }
    }
    IHistorySink* to = nullptr;
};

class NumberedTips final : public ITipSource {
  public:
    std::string PickTip() override;
    int picked = 0;
};

// The calendar moved on (or back) by whole seconds.
LocalTime AddSeconds(const LocalTime& start, std::int64_t seconds);

// The order in which a waking computer hands over its overdue timer
// messages, and whether (and when) the system announces the wake.
enum class WakeOrder { kByDueTime, kById, kByIdBackwards };
enum class WakeNotice { kNone, kFirst, kLast };

// A stretch of the user's day: so many seconds at the keyboard or away.
struct Stretch {
    std::uint64_t seconds;
    bool active;
};

class EngineSim {
  public:
    // `texts`: the notices' and the tooltip's texts, English unless given.
    explicit EngineSim(BreakTexts texts = {});

    // Settings, registry, tick base and calendar may be set up before this.
    void Start() { engine.Initialise(); }

    // Runs the clock on. An active user makes an input every millisecond of
    // the stretch, the last one a millisecond before it ends; an idle user
    // makes none.
    void Advance(std::uint64_t seconds, bool active = false) { AdvanceMs(seconds * 1000, active); }
    void AdvanceMs(std::uint64_t ms, bool active = false);
    // Runs the clock on to an absolute virtual time.
    void AdvanceTo(std::uint64_t second, bool active = false);
    void Run(const std::vector<Stretch>& script);
    // The computer sleeps: nothing fires while the clock, the tick count and
    // the calendar move on by `seconds`, with no input. At the wake every
    // overdue timer hands over one message, in `order`; they were posted
    // before any of them ran, so they come even for timers that an earlier
    // one killed or armed afresh.
    void SleepAndWake(std::uint64_t seconds, WakeOrder order, WakeNotice notice);

    std::uint64_t NowMs() const { return timers.nowMs; }
    std::set<std::uint32_t> Armed() const { return timers.Armed(); }
    std::uint32_t Bonus() const { return settings.Bonus; }
    std::optional<std::uint32_t> StoredBonus() const;
    std::optional<std::uint32_t> StoredFullWorkTime() const;

    // Notices shown with the given title, and their times in seconds.
    std::vector<std::uint64_t> NoticeTimes(std::string_view title) const;
    std::vector<std::uint64_t> SoundTimes(SoundEvent event) const;
    std::string LogText() const;

    // Runs after every timer step.
    std::function<void(std::uint32_t timerId)> afterStep;

    MemoryRegistry registry;
    STimeSettings settings;
    FakeTimers timers;
    ScriptedInput input;
    SimCalendar calendar;
    RecordingPresenter presenter;
    NumberedTips tips;
    SimWallClock wall;
    ScriptedBusy busy;
    HistoryRelay history;
    BreakEngine engine;
};

}  // namespace pausora::sim
