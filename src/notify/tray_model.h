// The notification-area icon without the shell: whether the icon is in the
// notification area, what its menu shows, and the small rules of its
// animation. The window class carries out the shell calls.
#pragma once

#include "store/time_settings.h"
#include "menu_ids.h"
#include "ui/screen_geometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pausora {

// The shell's flag values, as the icon record carries them.
inline constexpr std::uint32_t kNifMessage = 0x01;
inline constexpr std::uint32_t kNifIcon = 0x02;
inline constexpr std::uint32_t kNifTip = 0x04;
inline constexpr std::uint32_t kMenuChecked = 0x08;  // MF_CHECKED

// The start/stop item is the popup's last entry, the Notifications submenu
// its second, the Pause submenu (or, while paused, "Resume") its thirteenth.
inline constexpr int kStartStopPosition = 15;
inline constexpr int kNotificationsPosition = 1;
inline constexpr int kPausePosition = 12;

// One of the five notification switches of the menu.
struct NotificationSwitch {
    unsigned command;
    std::uint32_t STimeSettings::*field;
};
inline constexpr std::size_t kSwitchCount = 5;
const std::array<NotificationSwitch, kSwitchCount>& NotificationSwitches();

// Flips the switch of `command` in `settings`; false, changing nothing, for
// any other command.
bool FlipNotificationSwitch(STimeSettings& settings, unsigned command);

// The menu as the settings and the scheduler want it shown.
class TrayMenuModel {
  public:
    void SetStartStopCaption(std::string_view caption) { m_caption = std::string(caption); }
    const std::string& StartStopCaption() const { return m_caption; }

    // Remembers the default item; false when it was already this one.
    bool SetDefaultItem(unsigned item, bool byPosition);
    unsigned DefaultItem() const { return m_defaultItem; }
    bool DefaultByPosition() const { return m_defaultByPosition; }

    // Takes the five switches into the check marks, MF_CHECKED where a switch
    // is 1, kept in the order of NotificationSwitches() until the next record.
    void ShowSwitches(const STimeSettings& settings);
    const std::array<std::uint32_t, kSwitchCount>& CheckMarks() const { return m_marks; }

  private:
    std::string m_caption = "Stop";
    unsigned m_defaultItem = 0;
    bool m_defaultByPosition = true;
    std::array<std::uint32_t, kSwitchCount> m_marks{};
};

// Calls into the shell with the icon record, whose flags the caller gives.
class ITrayShell {
  public:
    enum class Op { kAdd, kModify, kDelete };
    virtual ~ITrayShell() = default;
    virtual bool Notify(Op op, std::uint32_t flags) = 0;
};

// Whether the icon is in the notification area, and the shell calls that
// keep it so.
class TrayPresence {
  public:
    explicit TrayPresence(ITrayShell& shell) : m_shell(shell) {}

    // Adds the icon with its callback, icon and tooltip; false when the shell
    // refused it, which leaves the add owed to the user.
    bool Create();
    // Takes the icon out of the notification area for good.
    bool Remove();
    // The shell's taskbar came back or the work area changed: an icon that
    // should be shown is added again.
    bool AddAgain();
    // A change of icon, tooltip or callback: reaches the shell at once unless
    // the icon is not there yet, in which case the record alone keeps it.
    bool Change(std::uint32_t flags);

    bool Created() const { return m_created; }
    bool Shown() const { return m_shown; }
    bool AddPending() const { return m_addPending; }

  private:
    bool Add();

    ITrayShell& m_shell;
    bool m_created = false;
    bool m_shown = false;
    bool m_addPending = false;
};

// Animation: whether a run of `lengthSeconds` (0: no end) is over after
// `elapsedMs`, counted in whole seconds rounded to the nearest.
bool AnimationOver(std::int64_t elapsedMs, std::uint32_t lengthSeconds);
inline std::size_t NextFrame(std::size_t current, std::size_t frameCount) {
    return frameCount == 0 ? 0 : (current + 1) % frameCount;
}

// Where the notification area is, for the minimise animation.
struct TaskbarChild {
    std::string className;
    ScreenRect rect;
};
// From the taskbar's rectangle and its child windows in enumeration order.
ScreenRect TrayAreaFromTaskbar(const ScreenRect& taskbar,
                               const std::vector<TaskbarChild>& children);
// From the shell's answer about its taskbar (edge 0 left, 1 top, 2 right,
// 3 bottom); empty for an edge it does not know.
ScreenRect TrayAreaFromAppBar(std::uint32_t edge, const ScreenRect& taskbar);
// With no taskbar at all: the bottom-right corner of the work area.
ScreenRect TrayAreaFromWorkArea(const ScreenRect& workArea);

}  // namespace pausora
