// The notification-area icon without the shell: whether the icon is in the
// notification area, what its menu shows, and the small rules of its
// animation and tooltip. The window class carries out the shell calls.
#pragma once

#include "store/time_settings.h"
#include "menu_ids.h"
#include "notify/screen_geometry.h"

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
inline constexpr std::uint32_t kNifState = 0x08;
inline constexpr std::uint32_t kNifInfo = 0x10;
inline constexpr std::uint32_t kNisHidden = 0x01;
inline constexpr std::uint32_t kMenuChecked = 0x08;  // MF_CHECKED

// The start/stop item is the popup's last entry, the Notifications submenu
// its second, the Pause submenu (or, while paused, "Resume") its thirteenth.
inline constexpr int kStartStopPosition = 15;
inline constexpr int kNotificationsPosition = 1;
inline constexpr int kPausePosition = 12;

// Longest texts the icon record holds, not counting the terminating zero.
inline constexpr std::size_t kTooltipMax = 127;
inline constexpr std::size_t kBalloonTextMax = 255;
inline constexpr std::size_t kBalloonTitleMax = 63;

// The first `maxBytes` bytes of `text`.
std::string_view CutText(std::string_view text, std::size_t maxBytes);

// One of the five notification switches of the menu.
struct NotificationSwitch {
    unsigned command;
    std::uint32_t STimeSettings::*field;
};
inline constexpr std::size_t kSwitchCount = 5;
const std::array<NotificationSwitch, kSwitchCount>& NotificationSwitches();

// The menu as the settings and the scheduler want it shown.
class TrayMenuModel {
  public:
    void SetSettings(STimeSettings* settings) { m_settings = settings; }
    STimeSettings* Settings() const { return m_settings; }

    void SetStartStopCaption(std::string_view caption) { m_caption = std::string(caption); }
    const std::string& StartStopCaption() const { return m_caption; }

    // Remembers the default item; false when it was already this one.
    bool SetDefaultItem(unsigned item, bool byPosition);
    unsigned DefaultItem() const { return m_defaultItem; }
    bool DefaultByPosition() const { return m_defaultByPosition; }

    // Reads the five switches into the check marks, MF_CHECKED where a switch
    // is 1, and returns them in the order of NotificationSwitches().
    const std::array<std::uint32_t, kSwitchCount>& RefreshCheckMarks();
    const std::array<std::uint32_t, kSwitchCount>& CheckMarks() const { return m_marks; }

    // Flips the switch of `command`; false, changing nothing, for any other
    // command.
    bool Toggle(unsigned command);

  private:
    STimeSettings* m_settings = nullptr;
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
    virtual bool Notify(Op op, std::uint32_t flags, std::uint32_t state,
                        std::uint32_t stateMask) = 0;
};

// Whether the icon is in the notification area, and the shell calls that
// keep it so.
class TrayPresence {
  public:
    explicit TrayPresence(ITrayShell& shell) : m_shell(shell) {}

    // Adds the icon as created; `enabled` false makes every operation fail.
    bool Create(bool enabled, bool stateSupport, bool hidden, bool withBalloon);
    bool AddToTray();
    bool RemoveFromTray();
    bool HideTrayIcon();
    bool ShowTrayIcon();
    // The shell's taskbar came back or the work area changed: an icon that
    // should be shown is added again.
    bool AddAgain();
    // A change of icon, tooltip or callback: reaches the shell at once unless
    // the icon is hidden, in which case the record alone keeps it.
    bool Change(std::uint32_t flags);
    // With balloons only.
    bool Balloon();

    bool Enabled() const { return m_enabled; }
    bool StateSupport() const { return m_stateSupport; }
    bool Hidden() const { return m_hidden; }
    bool Removed() const { return m_removed; }
    bool AddPending() const { return m_addPending; }
    std::uint32_t CreationFlags() const { return m_creationFlags; }

  private:
    bool Add(std::uint32_t flags);

    ITrayShell& m_shell;
    bool m_enabled = false;
    bool m_stateSupport = false;
    bool m_hidden = true;
    bool m_removed = true;
    bool m_addPending = false;
    std::uint32_t m_creationFlags = 0;
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
// 3 bottom); `fallback` for an edge it does not know.
ScreenRect TrayAreaFromAppBar(std::uint32_t edge, const ScreenRect& taskbar,
                              const ScreenRect& fallback);
// With no taskbar at all: the bottom-right corner of the work area.
ScreenRect TrayAreaFromWorkArea(const ScreenRect& workArea);

}  // namespace pausora
