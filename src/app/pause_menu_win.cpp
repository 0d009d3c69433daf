#include "app/pause_menu_win.h"

#include "notify/tray_model.h"
#include "resource.h"
#include "ui/utf.h"
#include "ui/window.h"

#include <iterator>

namespace pausora {
namespace {

struct LengthCommand {
    UINT command;
    PauseLength length;
};
constexpr LengthCommand kLengthCommands[] = {
    {ID_TRAY_PAUSE_30_MINUTES, PauseLength::kMinutes30},
    {ID_TRAY_PAUSE_1_HOUR, PauseLength::kHour1},
    {ID_TRAY_PAUSE_2_HOURS, PauseLength::kHours2},
    {ID_TRAY_PAUSE_TOMORROW, PauseLength::kUntilTomorrow},
    {ID_TRAY_PAUSE_UNTIL_RESUMED, PauseLength::kUntilResumed},
};

// A text of the string table, or the one the program ships with when the
// table lacks it.
void Load(std::string& text, UINT id) {
    if (const std::wstring loaded = ui::ResourceString(id); !loaded.empty()) {
        text = Narrow(loaded);
    }
}

}  // namespace

PauseTexts LoadPauseTexts() {
    PauseTexts texts;
    Load(texts.pausedUntil, IDS_PAUSED_UNTIL);
    Load(texts.pausedUntilTomorrow, IDS_PAUSED_UNTIL_TOMORROW);
    Load(texts.pausedUntilDate, IDS_PAUSED_UNTIL_DATE);
    Load(texts.paused, IDS_PAUSED);
    Load(texts.nextBreakIn, IDS_NEXT_BREAK_IN);
    Load(texts.nextBreakSoon, IDS_NEXT_BREAK_SOON);
    return texts;
}

BreakTexts LoadBreakTexts() {
    BreakTexts texts;
    Load(texts.shortBreakTitle, IDS_SHORT_BREAK_TITLE);
    Load(texts.longBreakTitle, IDS_LONG_BREAK_TITLE);
    Load(texts.repeatTitle, IDS_REPEAT_TITLE);
    Load(texts.stretchLink, IDS_STRETCH_LINK);
    Load(texts.eveningLine, IDS_EVENING_LINE);
    Load(texts.restLine, IDS_REST_LINE);
    Load(texts.workdayEndTitle, IDS_WORKDAY_END_TITLE);
    Load(texts.timeLimitTitle, IDS_TIME_LIMIT_TITLE);
    Load(texts.dayTimeStart, IDS_DAY_TIME_START);
    Load(texts.dayTimeEnd, IDS_DAY_TIME_END);
    Load(texts.tipNormal, IDS_TIP_NORMAL);
    Load(texts.tipStopped, IDS_TIP_STOPPED);
    Load(texts.tipShortBreak, IDS_TIP_SHORT_BREAK);
    Load(texts.tipLongBreak, IDS_TIP_LONG_BREAK);
    Load(texts.tipHeld, IDS_TIP_HELD);
    Load(texts.experienceLine, IDS_EXPERIENCE_LINE);
    Load(texts.captionStart, IDS_CAPTION_START);
    Load(texts.captionStop, IDS_CAPTION_STOP);
    return texts;
}

void ApplyPauseMenu(HMENU popup, bool paused, bool breakNowAllowed) {
    ::EnableMenuItem(popup, ID_TRAY_BREAK_NOW,
                     static_cast<UINT>(MF_BYCOMMAND | (breakNowAllowed ? MF_ENABLED : MF_GRAYED)));
    const HMENU submenu = ::GetSubMenu(popup, kPausePosition);
    if (!paused || submenu == nullptr ||
        ::GetMenuState(submenu, ID_TRAY_PAUSE_30_MINUTES, MF_BYCOMMAND) == static_cast<UINT>(-1)) {
        return;
    }
    // Deleted and inserted, not modified: a modified item may keep opening
    // the submenu it had. Deleting it destroys the submenu with it.
    ::DeleteMenu(popup, static_cast<UINT>(kPausePosition), MF_BYPOSITION);
    ::InsertMenu(popup, static_cast<UINT>(kPausePosition), MF_BYPOSITION | MF_STRING,
                 ID_TRAY_RESUME, ui::ResourceString(IDS_TRAY_RESUME).c_str());
}

void ApplyPolicyMenu(HMENU popup, const SettingsPolicy& policy, bool stopped, bool paused) {
    const auto grey = [popup](UINT item, UINT by, bool locked) {
        ::EnableMenuItem(popup, item, by | (locked ? MF_GRAYED : MF_ENABLED));
    };
    grey(ID_TRAY_EXIT, MF_BYCOMMAND, !policy.AllowExit());
    grey(ID_TRAY_STARTSTOP, MF_BYCOMMAND, !policy.AllowStop() && !stopped);
    if (!paused) {
        grey(static_cast<UINT>(kPausePosition), MF_BYPOSITION, !policy.AllowStop());
    }
    for (const NotificationSwitch& item : NotificationSwitches()) {
        grey(item.command, MF_BYCOMMAND, policy.Sets(STimeSettings::NameOf(item.field)));
    }
}

std::optional<PauseLength> PauseLengthOf(UINT command) {
    for (const LengthCommand& entry : kLengthCommands) {
        if (entry.command == command) {
            return entry.length;
        }
    }
    return std::nullopt;
}

}  // namespace pausora
