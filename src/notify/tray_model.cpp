#include "notify/tray_model.h"

#include <algorithm>

namespace pausora {

const std::array<NotificationSwitch, kSwitchCount>& NotificationSwitches() {
    static constexpr std::array<NotificationSwitch, kSwitchCount> kSwitches{{
        {ID_TRAY_SHORT_BREAKS, &STimeSettings::UseMicropauses},
        {ID_TRAY_LONG_BREAKS, &STimeSettings::UsePauses},
        {ID_TRAY_END_OF_WORKDAY, &STimeSettings::UseWorkingTime},
        {ID_TRAY_DAILY_LIMIT, &STimeSettings::UseDailyTimeLimit},
        {ID_TRAY_PLAY_SOUNDS, &STimeSettings::UseSounds},
    }};
    return kSwitches;
}

bool TrayMenuModel::SetDefaultItem(unsigned item, bool byPosition) {
    if (item == m_defaultItem && byPosition == m_defaultByPosition) {
        return false;
    }
    m_defaultItem = item;
    m_defaultByPosition = byPosition;
    return true;
}

void TrayMenuModel::ShowSwitches(const STimeSettings& settings) {
    const auto& switches = NotificationSwitches();
    for (std::size_t i = 0; i < kSwitchCount; ++i) {
        m_marks[i] = settings.*switches[i].field == 1 ? kMenuChecked : 0;
    }
}

bool FlipNotificationSwitch(STimeSettings& settings, unsigned command) {
    const auto& switches = NotificationSwitches();
    const auto it =
        std::find_if(switches.begin(), switches.end(),
                     [command](const NotificationSwitch& s) { return s.command == command; });
    if (it == switches.end()) {
        return false;
    }
    // Only exactly 1 is on, as the check mark shows it.
    settings.*it->field = settings.*it->field == 1 ? 0 : 1;
    return true;
}

bool TrayPresence::Add() {
    const bool added = m_shell.Notify(ITrayShell::Op::kAdd, kNifMessage | kNifIcon | kNifTip);
    m_shown = m_shown || added;
    m_addPending = !added;
    return added;
}

bool TrayPresence::Create() {
    m_created = true;
    return Add();
}

bool TrayPresence::Remove() {
    m_addPending = false;
    if (!m_created) {
        return false;
    }
    if (m_shown && !m_shell.Notify(ITrayShell::Op::kDelete, 0)) {
        return false;
    }
    m_shown = false;
    return true;
}

bool TrayPresence::AddAgain() {
    if (!m_created) {
        return false;
    }
    // An icon whose add failed (the shell was not up yet, as at logon) is
    // still owed to the user; a shown one the shell may have forgotten.
    if (!m_addPending && !m_shown) {
        return true;
    }
    // The record still holds the latest icon and tooltip, so the icon comes
    // back as it was last shown.
    return Add();
}

bool TrayPresence::Change(std::uint32_t flags) {
    if (!m_created) {
        return false;
    }
    // Not shown, the record alone keeps the change.
    return !m_shown || m_shell.Notify(ITrayShell::Op::kModify, flags);
}

bool AnimationOver(std::int64_t elapsedMs, std::uint32_t lengthSeconds) {
    const std::int64_t seconds = (elapsedMs + 500) / 1000;
    return lengthSeconds > 0 && seconds > std::int64_t{lengthSeconds};
}

ScreenRect TrayAreaFromTaskbar(const ScreenRect& taskbar,
                               const std::vector<TaskbarChild>& children) {
    ScreenRect area = taskbar;
    for (const TaskbarChild& child : children) {
        if (child.className == "TrayNotifyWnd") {
            area = child.rect;
        } else if (child.className == "TrayClockWClass") {
            if (child.rect.bottom < area.bottom - 5) {
                area.top = child.rect.bottom;  // a vertical taskbar
            } else {
                area.right = child.rect.left;
            }
            break;
        }
    }
    return area;
}

ScreenRect TrayAreaFromAppBar(std::uint32_t edge, const ScreenRect& taskbar) {
    switch (edge) {
        case 1:
        case 3:
            return {taskbar.right - 100, taskbar.top, taskbar.right - 16, taskbar.bottom};
        case 0:
        case 2:
            return {taskbar.left, taskbar.bottom - 100, taskbar.right, taskbar.bottom - 16};
        default:
            return {};
    }
}

ScreenRect TrayAreaFromWorkArea(const ScreenRect& workArea) {
    return {workArea.right - 150, workArea.bottom - 30, workArea.right, workArea.bottom};
}

}  // namespace pausora
