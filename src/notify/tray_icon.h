// The program's icon in the notification area: its tooltip, its blinking, and
// the tray menu it opens. A small invisible window of its own receives the
// shell's notifications; menu commands go to the command target, the main
// window.
#pragma once

#include "store/time_settings.h"
#include "notify/tray_model.h"
#include "ui/handles.h"
#include "ui/window.h"

#include <shellapi.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace pausora {

class CTrayIcon : public ui::Window, private ITrayShell {
  public:
    CTrayIcon();
    ~CTrayIcon() override;

    // Adds the icon, whose menu is the first popup of menu resource
    // `menuId`; false when the shell refused it (it is then added when the
    // shell comes back). The shell's callbacks come to the tray's own window
    // as `callbackMessage`.
    bool Create(UINT callbackMessage, const char* tooltip, HICON icon, UINT menuId);

    // Called when an icon that the shell had refused (or forgotten) is shown
    // again after "TaskbarCreated" or a work-area change.
    void OnIconArrived(std::function<void()> handler) { m_onArrived = std::move(handler); }
    // Called with the menu's popup just before it is shown, after the
    // icon's own caption and check marks; the owner's items are its own.
    void OnPrepareMenu(std::function<void(HMENU)> handler) { m_onPrepareMenu = std::move(handler); }

    bool RemoveFromTray() { return m_presence.Remove(); }

    // Sets the icon, which a countdown showing gives way to.
    bool SetIcon(HICON icon);
    // An icon resource of the program, loaded once and kept, so that the
    // icon record never refers to a destroyed icon.
    bool SetIcon(UINT iconResourceId);
    HICON GetIconHandle() const;
    // The minutes to the next break (1 to 99) drawn in place of the icon;
    // 0 puts back the icon last set. A blink shows its frames over it.
    bool SetCountdown(unsigned minutes);

    bool SetTooltipText(const char* text);
    std::string GetTooltipText() const;

    void SetCommandTarget(HWND window) { m_commandTarget = window; }
    HWND GetCommandTarget() const;

    bool SetIconList(UINT firstIconId, UINT lastIconId);
    bool Animate(UINT delayMs, UINT lengthSeconds);
    bool NextAnimationFrame();
    void StopAnimation();
    bool Animating() const { return m_animationTimer != 0; }

    bool SetMenuDefaultItem(UINT item, bool byPosition);
    void SetStartStopCaption(const char* caption);
    // The check marks of the five notification switches, as `settings` has
    // them, from the next time the menu opens.
    void ShowSwitches(const STimeSettings& settings) { m_menu.ShowSwitches(settings); }

    // Hides `window` into the notification area: no taskbar button, and the
    // system's minimise animation towards the tray when it is switched on.
    static void MinimiseToTray(HWND window, bool forceAnimation);
    static RECT LocateTrayArea();

    // The shell's callback: `iconId` and the mouse message.
    LRESULT HandleTrayMessage(WPARAM iconId, LPARAM mouseMessage);

    const TrayPresence& Presence() const { return m_presence; }

    static constexpr UINT_PTR kAnimationTimerId = 4567;

  protected:
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    ui::Handled OnTimer(UINT_PTR id) override;

  private:
    bool Notify(Op op, std::uint32_t flags) override;
    // `popup` is the first popup of the icon's menu resource, loaded for this
    // click; it may be null for a default command by id.
    void ShowTrayMenu(HWND target, HMENU popup);
    void PostDefaultCommand(HWND target, HMENU popup);
    void AddAgain();
    // Shows `icon` without making it the one set.
    bool Show(HICON icon);
    // The countdown's icon for `minutes` in the notification area's size.
    HICON CountdownIcon(unsigned minutes);
    // Icon resource `id` in the notification area's size, loaded once.
    HICON LoadTrayIcon(UINT id);
    // The notification area's monitor changed its scaling (or another
    // monitor took it): the icon and the blink's frames in the new size.
    void FollowScaling();

    NOTIFYICONDATA m_record{};
    TrayPresence m_presence;
    TrayMenuModel m_menu;
    HWND m_commandTarget = nullptr;
    UINT m_firstFrameId = 0;  // of the blink
    std::size_t m_frameCount = 0;
    UINT_PTR m_animationTimer = 0;
    std::size_t m_currentFrame = 0;
    ULONGLONG m_animationStart = 0;
    UINT m_animationLength = 0;
    HICON m_savedIcon = nullptr;
    std::map<std::pair<UINT, int>, ui::IconHandle> m_loadedIcons;  // by id and size
    int m_iconSize = 0;
    UINT m_iconId = 0;           // of the icon last set by resource
    HICON m_baseIcon = nullptr;  // the icon last set
    unsigned m_countdown = 0;    // the minutes shown, 0 for none
    ui::IconHandle m_countdownIcon;
    unsigned m_countdownDrawn = 0;
    int m_countdownSize = 0;
    UINT m_taskbarCreated = 0;
    std::function<void()> m_onArrived;
    std::function<void(HMENU)> m_onPrepareMenu;
};

}  // namespace pausora
