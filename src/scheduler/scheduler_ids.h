// Every number and text the break engine shares with the windows around it:
// the main window's timer ids, the notice states and the texts the notices
// show. The icons and pictures are in artwork_ids.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pausora {

// Window-timer ids of the main window. They are fixed, so a timer can be
// re-armed or killed from any handler without keeping a handle.
enum TimerId : std::uint32_t {
    TIMER_SHORT_DUE = 1,   // the short-break interval
    TIMER_SHORT_END = 2,   // the short break's length
    TIMER_LONG_DUE = 3,    // the long-break interval
    TIMER_LONG_END = 4,    // the long break's length
    TIMER_SHORT_POLL = 5,  // once a second during a short break
    TIMER_WORK_POLL = 6,   // once a second between breaks
    TIMER_LONG_POLL = 7,   // once a second during a long break
    TIMER_MINUTE = 8,      // the work-time count
    TIMER_PAUSE_END = 9,   // a timed pause, checked at least once a minute
};
inline constexpr std::uint32_t kFirstTimerId = TIMER_SHORT_DUE;
inline constexpr std::uint32_t kLastTimerId = TIMER_PAUSE_END;

inline constexpr std::uint32_t kPollPeriodMs = 1000;
inline constexpr std::uint32_t kMinutePeriodMs = 60000;
// Twice the longest period that is always armed while the schedule runs: a
// longer gap between two timer steps is a sleep, not a busy moment.
inline constexpr std::uint32_t kWakeGapMs = 2 * kMinutePeriodMs;

// What a notice (or the tray alone) presents.
enum NoticeState : int {
    STATE_NORMAL = 1,
    STATE_STOPPED = 2,
    STATE_SHORT_BREAK = 3,
    STATE_SHORT_REPEAT = 4,
    STATE_LONG_BREAK = 5,
    STATE_LONG_REPEAT = 6,
    STATE_WORKDAY_END = 7,
    STATE_TIME_LIMIT = 8,
};

// How long a notice stays up.
inline constexpr std::uint32_t kStayMs = 5000;

// The blinking reminder: half a second per frame, and long enough that only
// the next state change stops it.
inline constexpr std::uint32_t kReminderFrameMs = 500;
inline constexpr std::uint32_t kReminderLengthSeconds = 100000;

namespace text {
inline constexpr std::string_view kShortBreakTitle = "Short break time";
inline constexpr std::string_view kLongBreakTitle = "Long break time";
inline constexpr std::string_view kRepeatTitle = "Have a rest!";
inline constexpr std::string_view kStretchLink = "Show me a stretch";
inline constexpr std::string_view kEveningLine = "Have a nice evening";
inline constexpr std::string_view kRestLine = "You should have a rest";
inline constexpr std::string_view kWorkdayEndTitle = "Your workday is ending!";
inline constexpr std::string_view kTimeLimitTitle = "Work time limit exceeded!";
// Around the day's computer time in the body of those two notices.
inline constexpr std::string_view kDayTimeStart = "Today: ";
inline constexpr std::string_view kDayTimeEnd = " at the computer";
inline constexpr std::string_view kTipNormal = "Pausora (Normal)";
inline constexpr std::string_view kTipStopped = "Pausora (Stopped)";
inline constexpr std::string_view kTipShortBreak = "Pausora (Short break)";
inline constexpr std::string_view kTipLongBreak = "Pausora (Long break)";
inline constexpr std::string_view kTipHeld = "Pausora (Held while you are busy)";
inline constexpr std::string_view kHours = "%1 h";
inline constexpr std::string_view kMinutes = "%1 min";
inline constexpr std::string_view kExperienceLine = "\nYour experience: ";
inline constexpr std::string_view kCaptionStart = "Start";
inline constexpr std::string_view kCaptionStop = "Stop";
}  // namespace text

// The texts above in the user's language: the Windows layer loads them from
// the string table, and the core and its tests keep the English ones.
struct BreakTexts {
    std::string shortBreakTitle{text::kShortBreakTitle};
    std::string longBreakTitle{text::kLongBreakTitle};
    std::string repeatTitle{text::kRepeatTitle};
    std::string stretchLink{text::kStretchLink};
    std::string eveningLine{text::kEveningLine};
    std::string restLine{text::kRestLine};
    std::string workdayEndTitle{text::kWorkdayEndTitle};
    std::string timeLimitTitle{text::kTimeLimitTitle};
    std::string dayTimeStart{text::kDayTimeStart};
    std::string dayTimeEnd{text::kDayTimeEnd};
    std::string hours{text::kHours};  // "%1 h", the day line's and the chart's
    std::string minutes{text::kMinutes};
    std::string tipNormal{text::kTipNormal};
    std::string tipStopped{text::kTipStopped};
    std::string tipShortBreak{text::kTipShortBreak};
    std::string tipLongBreak{text::kTipLongBreak};
    std::string tipHeld{text::kTipHeld};
    std::string experienceLine{text::kExperienceLine};
    std::string captionStart{text::kCaptionStart};
    std::string captionStop{text::kCaptionStop};
};

}  // namespace pausora
