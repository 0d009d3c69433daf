// The break engine never calls the system itself. Everything it needs from
// outside comes through these interfaces, so that the same rules run on window
// timers in the program and on a virtual clock in the tests.
#pragma once

#include "store/time_settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pausora {

// Window timers of the main window, by fixed id. Arming a timer that is
// already armed restarts its full period; killing one that is not armed does
// nothing. The engine never arms a period of 0. Arm is false when the system
// refused the timer (it runs out of them like of any other resource).
class ITimerHost {
  public:
    virtual ~ITimerHost() = default;
    virtual bool Arm(std::uint32_t id, std::uint32_t periodMs) = 0;
    virtual void Kill(std::uint32_t id) = 0;
};

// The system tick count: milliseconds since the system started, wrapping
// after about 49.7 days.
class ITickClock {
  public:
    virtual ~ITickClock() = default;
    virtual std::uint32_t TickCount() = 0;
};

// The input watcher: the tick count of the user's last keyboard or mouse
// input anywhere on the desktop.
class IIdleSource {
  public:
    virtual ~IIdleSource() = default;
    virtual void Start() = 0;
    virtual std::uint32_t LastTick() = 0;
    virtual void Stop() = 0;
};

// The computer's local calendar time.
struct LocalTime {
    std::uint32_t year = 0;   // four digits
    std::uint32_t month = 0;  // 1..12
    std::uint32_t day = 0;    // 1..31
    std::uint32_t hour = 0;
    std::uint32_t minute = 0;
    std::uint32_t second = 0;
};
class ILocalClock {
  public:
    virtual ~ILocalClock() = default;
    virtual LocalTime Now() = 0;
};

// What a step can fail at without stopping the schedule.
enum class Trouble {
    kPointsNotSaved,    // "Bonus"
    kWorkTimeNotSaved,  // the day's work time and its date
    kTimerRefused,      // a timer the system would not start, twice
    kSettingsNotSaved,  // the settings record (the main window's own save)
    kHistoryNotSaved,   // the break history's file (src/history/)
};

// A saying for the body of a break notice.
class ITipSource {
  public:
    virtual ~ITipSource() = default;
    virtual std::string PickTip() = 0;
};

// What one notice shows: a picture, a title, a link line and a body.
struct Notice {
    std::string title;
    int picture = 0;  // a bitmap resource
    std::string link;
    bool linkOpensExercises = false;  // the link line is a link at all
    std::string body;
    bool operator==(const Notice&) const = default;
};

// How a notice comes: sliding out of the taskbar's edge or fading in
// ("AppearanceType" 0 or 1).
enum class NoticeEntry : std::uint32_t { kSlide = 0, kFade = 1 };

// What the user sees and hears: the notice, the tray icon, and the sound of
// each event. Texts are copied by whoever keeps them; the Start/Stop caption
// is always a literal that lives as long as the program.
class IPresenter {
  public:
    virtual ~IPresenter() = default;

    // Shows `notice` for `stayMs` with `stars` stars of experience; a notice
    // in view is replaced in place.
    virtual void ShowNotice(const Notice& notice, std::uint32_t stayMs, NoticeEntry entry,
                            int stars) = 0;
    virtual void HideNotice() = 0;

    // Tray icon.
    virtual void SetIcon(int iconId) = 0;
    virtual void SetTooltipText(std::string_view text) = 0;
    virtual void SetIconList(int firstIconId, int lastIconId) = 0;
    virtual void Animate(std::uint32_t frameMs, std::uint32_t lengthSeconds) = 0;
    virtual void StopAnimation() = 0;
    virtual void SetStartStopCaption(std::string_view caption) = 0;
    // The minutes to the next break, drawn on the icon in place of the one
    // SetIcon chose; 0 puts that icon back.
    virtual void SetCountdown(std::uint32_t minutes) = 0;

    // Plays the WAV file chosen for the event; playback runs on by itself.
    virtual void PlaySound(SoundEvent event, std::string_view path) = 0;

    // Something went wrong that the user should know about. Called from
    // inside a step: the message waits until the step is over.
    virtual void ReportTrouble(Trouble trouble) = 0;
};

// The break history (src/history/): told of each break and each minute step,
// always with the calendar day the engine is counting (that of its day total,
// so a clock set back over midnight goes on with that day's line). A break
// held while the user is busy, or not due during a pause, is not told.
enum class BreakKind { kShort, kLong };
enum class BreakOutcome {
    kDue,            // the break began
    kTaken,          // it ended as a break, with its points
    kWorkedThrough,  // its first firmer reminder came
};
class IHistorySink {
  public:
    virtual ~IHistorySink() = default;
    virtual void OnBreak(const LocalTime& day, BreakKind kind, BreakOutcome outcome) = 0;
    // Points earned (positive) or lost (negative), as really added or taken.
    virtual void OnPoints(const LocalTime& day, std::int64_t change) = 0;
    // The minute step: `dayMinutes` is the day's total after it, `active`
    // whether this minute was counted, `now` the time of the step.
    virtual void OnMinuteStep(const LocalTime& day, const LocalTime& now, std::uint32_t dayMinutes,
                              bool active) = 0;
};

}  // namespace pausora
