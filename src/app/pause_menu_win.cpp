#include "app/pause_menu_win.h"

#include "notify/tray_model.h"
#include "resource.h"
#include "store/locale_formats_win.h"
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

using ui::LoadText;

}  // namespace

PauseTexts LoadPauseTexts() {
    PauseTexts texts;
    LoadText(texts.pausedUntil, IDS_PAUSED_UNTIL);
    LoadText(texts.pausedUntilTomorrow, IDS_PAUSED_UNTIL_TOMORROW);
    LoadText(texts.pausedUntilDate, IDS_PAUSED_UNTIL_DATE);
    LoadText(texts.paused, IDS_PAUSED);
    LoadText(texts.nextBreakIn, IDS_NEXT_BREAK_IN);
    LoadText(texts.nextBreakSoon, IDS_NEXT_BREAK_SOON);
    texts.formats = UserLocaleFormats();
    return texts;
}

BreakTexts LoadBreakTexts() {
    BreakTexts texts;
    LoadText(texts.shortBreakTitle, IDS_SHORT_BREAK_TITLE);
    LoadText(texts.longBreakTitle, IDS_LONG_BREAK_TITLE);
    LoadText(texts.repeatTitle, IDS_REPEAT_TITLE);
    LoadText(texts.stretchLink, IDS_STRETCH_LINK);
    LoadText(texts.eveningLine, IDS_EVENING_LINE);
    LoadText(texts.restLine, IDS_REST_LINE);
    LoadText(texts.workdayEndTitle, IDS_WORKDAY_END_TITLE);
    LoadText(texts.timeLimitTitle, IDS_TIME_LIMIT_TITLE);
    LoadText(texts.dayTimeStart, IDS_DAY_TIME_START);
    LoadText(texts.dayTimeEnd, IDS_DAY_TIME_END);
    LoadText(texts.hours, IDS_HOURS);
    LoadText(texts.minutes, IDS_MINUTES);
    LoadText(texts.tipNormal, IDS_TIP_NORMAL);
    LoadText(texts.tipStopped, IDS_TIP_STOPPED);
    LoadText(texts.tipShortBreak, IDS_TIP_SHORT_BREAK);
    LoadText(texts.tipLongBreak, IDS_TIP_LONG_BREAK);
    LoadText(texts.tipHeld, IDS_TIP_HELD);
    LoadText(texts.experienceLine, IDS_EXPERIENCE_LINE);
    LoadText(texts.captionStart, IDS_CAPTION_START);
    LoadText(texts.captionStop, IDS_CAPTION_STOP);
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
