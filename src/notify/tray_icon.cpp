#include "notify/tray_icon.h"
#include "ui/utf.h"

#include "notify/countdown_icon.h"
#include "notify/notification_area.h"
#include "resource.h"
#include "ui/system_notice.h"
#include "ui/ui_language.h"

#include <algorithm>
#include <cwchar>
#include <string>

namespace pausora {
namespace {

constexpr wchar_t kTrayClassName[] = L"PausoraTrayIcon";
constexpr wchar_t kHiddenOwnerClassName[] = L"PausoraTrayOwner";

// Copies as much of `text` as fits with a terminating zero, never half of a
// pair.
template <std::size_t N>
void CopyText(wchar_t (&target)[N], const char* text) {
    static_assert(N > 0);
    const std::wstring wide = Widen(text != nullptr ? text : "");
    std::size_t length = std::min(wide.size(), N - 1);
    if (length > 0 && length < wide.size() && wide[length - 1] >= 0xD800 &&
        wide[length - 1] <= 0xDBFF) {
        --length;
    }
    std::wmemcpy(target, wide.data(), length);
    target[length] = L'\0';
}

bool MinimiseAnimationOn() {
    ANIMATIONINFO info{};
    info.cbSize = sizeof info;
    return ::SystemParametersInfo(SPI_GETANIMATION, sizeof info, &info, 0) && info.iMinAnimate != 0;
}

// The invisible parent of the windows hidden into the tray. Being the only
// top-level window among them, it is what the system talks to when it closes
// the program (the task list, taskkill) or ends the session; it passes those
// on to the windows it hides instead of letting the default handling destroy
// it, and them with it, behind their backs.
class HiddenOwner final : public ui::Window {
  protected:
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_CLOSE:
                ForEachHidden([](HWND window) { ::PostMessage(window, WM_CLOSE, 0, 0); });
                return 0;
            case WM_QUERYENDSESSION: {
                bool mayEnd = true;
                ForEachHidden([&](HWND window) {
                    mayEnd = ::SendMessage(window, WM_QUERYENDSESSION, wParam, lParam) != FALSE &&
                             mayEnd;
                });
                return mayEnd ? TRUE : FALSE;
            }
            case WM_ENDSESSION:
                ForEachHidden(
                    [&](HWND window) { ::SendMessage(window, WM_ENDSESSION, wParam, lParam); });
                return 0;
            default:
                if (const ui::Handled answer =
                        ui::PassSystemNotice(Handle(), message, wParam, lParam)) {
                    return answer;
                }
                return ui::Window::OnMessage(message, wParam, lParam);
        }
    }

  private:
    template <typename Action>
    void ForEachHidden(Action action) {
        std::vector<HWND> hidden;
        for (HWND child = ::GetWindow(Handle(), GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            hidden.push_back(child);
        }
        for (const HWND window : hidden) {
            action(window);
        }
    }
};

// One invisible window owns every window hidden into the tray, which takes
// their taskbar buttons away. It lives as long as the program.
HWND HiddenOwnerWindow() {
    static HiddenOwner owner;
    if (owner.Handle() == nullptr) {
        owner.CreateEx(0, kHiddenOwnerClassName, L"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr);
    }
    return owner.Handle();
}

BOOL CALLBACK CollectTaskbarChild(HWND child, LPARAM param) {
    auto& children = *reinterpret_cast<std::vector<TaskbarChild>*>(param);
    wchar_t className[256] = {};
    ::GetClassName(child, className, 255);
    RECT rect{};
    ::GetWindowRect(child, &rect);
    children.push_back({Narrow(className), ui::ToScreenRect(rect)});
    return TRUE;
}

}  // namespace

CTrayIcon::CTrayIcon() : m_presence(static_cast<ITrayShell&>(*this)) {}

CTrayIcon::~CTrayIcon() {
    RemoveFromTray();
    Destroy();
}

bool CTrayIcon::Create(UINT callbackMessage, const char* tooltip, HICON icon, UINT menuId) {
    if (Handle() == nullptr && !CreateEx(0, kTrayClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr)) {
        return false;
    }
    if (m_taskbarCreated == 0) {
        m_taskbarCreated = ::RegisterWindowMessage(L"TaskbarCreated");
    }

    // The Windows 2000 layout of the record, with no later additions. In a 64-bit program it is
    // larger than the 488 bytes of a 32-bit one.
    m_record = NOTIFYICONDATA{};
    m_record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    m_record.hWnd = Handle();
    m_record.uID = menuId;
    m_record.hIcon = icon;
    m_record.uCallbackMessage = callbackMessage;
    CopyText(m_record.szTip, tooltip);
    return m_presence.Create();
}

bool CTrayIcon::Notify(Op op, std::uint32_t flags) {
    m_record.uFlags = flags;
    const DWORD message = op == Op::kAdd ? NIM_ADD : op == Op::kModify ? NIM_MODIFY : NIM_DELETE;
    return ::Shell_NotifyIcon(message, &m_record) != FALSE;
}

void CTrayIcon::AddAgain() {
    const bool wasPending = m_presence.AddPending();
    m_presence.AddAgain();
    if (wasPending && m_presence.Shown() && m_onArrived) {
        m_onArrived();
    }
}

bool CTrayIcon::Show(HICON icon) {
    if (!m_presence.Created()) {
        return false;
    }
    m_record.hIcon = icon;
    return m_presence.Change(kNifIcon);
}

bool CTrayIcon::SetIcon(HICON icon) {
    // Takes over from a countdown; the next one shows again.
    m_baseIcon = icon;
    m_countdown = 0;
    return Show(icon);
}

HICON CTrayIcon::CountdownIcon(unsigned minutes) {
    if (m_iconSize == 0) {
        m_iconSize = NotificationIconSize(NotificationAreaDpi());
    }
    // Drawn again only for another number or another size.
    if (!m_countdownIcon || m_countdownDrawn != minutes || m_countdownSize != m_iconSize) {
        m_countdownIcon = DrawCountdownIcon(minutes, m_iconSize);
        m_countdownDrawn = minutes;
        m_countdownSize = m_iconSize;
    }
    return m_countdownIcon.get();
}

bool CTrayIcon::SetCountdown(unsigned minutes) {
    minutes = std::min(minutes, 99u);
    if (minutes == m_countdown || !m_presence.Created()) {
        return m_presence.Created();
    }
    m_countdown = minutes;
    const HICON icon = minutes == 0 ? m_baseIcon : CountdownIcon(minutes);
    if (icon == nullptr) {
        return false;
    }
    // A blink goes on and ends on the new icon.
    if (Animating()) {
        m_savedIcon = icon;
        return true;
    }
    return Show(icon);
}

bool CTrayIcon::SetIcon(UINT iconResourceId) {
    if (!m_presence.Created()) {
        return false;
    }
    const HICON icon = LoadTrayIcon(iconResourceId);
    if (icon == nullptr) {
        return false;
    }
    m_iconId = iconResourceId;
    return SetIcon(icon);
}

HICON CTrayIcon::LoadTrayIcon(UINT id) {
    // The notification area's size at its monitor's scaling, drawn for
    // that size (16, 20, 24 or 32 pixels).
    if (m_iconSize == 0) {
        m_iconSize = NotificationIconSize(NotificationAreaDpi());
    }
    ui::IconHandle& icon = m_loadedIcons[{id, m_iconSize}];
    if (!icon) {
        icon.reset(static_cast<HICON>(::LoadImage(ui::ModuleInstance(), MAKEINTRESOURCE(id),
                                                  IMAGE_ICON, m_iconSize, m_iconSize, 0)));
    }
    return icon.get();
}

void CTrayIcon::FollowScaling() {
    const int size = NotificationIconSize(NotificationAreaDpi());
    const bool resized = m_iconSize != 0 && size != m_iconSize;
    m_iconSize = size;
    HICON icon = resized && m_iconId != 0 ? LoadTrayIcon(m_iconId) : nullptr;
    if (icon != nullptr) {
        m_baseIcon = icon;
    }
    if (resized && m_countdown != 0) {
        icon = CountdownIcon(m_countdown);
    }
    if (icon == nullptr) {
        return;
    }
    // A blink in progress shows its frames and puts this icon back when it
    // ends.
    if (Animating()) {
        m_savedIcon = icon;
    } else {
        Show(icon);
    }
}

HICON CTrayIcon::GetIconHandle() const {
    return m_presence.Created() ? m_record.hIcon : nullptr;
}

bool CTrayIcon::SetTooltipText(const char* text) {
    if (!m_presence.Created()) {
        return false;
    }
    CopyText(m_record.szTip, text);
    return m_presence.Change(kNifTip);
}

std::string CTrayIcon::GetTooltipText() const {
    return Narrow(m_record.szTip);
}

HWND CTrayIcon::GetCommandTarget() const {
    return m_commandTarget != nullptr ? m_commandTarget : ui::AppMainWindow();
}

bool CTrayIcon::SetIconList(UINT firstIconId, UINT lastIconId) {
    if (lastIconId < firstIconId) {
        return false;
    }
    // Each frame is loaded as it is shown, in the notification area's size at
    // that time, and kept with the other icons.
    m_firstFrameId = firstIconId;
    m_frameCount = std::size_t{lastIconId - firstIconId} + 1;
    return true;
}

bool CTrayIcon::Animate(UINT delayMs, UINT lengthSeconds) {
    if (m_frameCount == 0 || Handle() == nullptr) {
        return false;
    }
    StopAnimation();
    m_currentFrame = 0;
    m_animationStart = ::GetTickCount64();
    m_animationLength = lengthSeconds;
    m_savedIcon = GetIconHandle();
    m_animationTimer = ::SetTimer(Handle(), kAnimationTimerId, delayMs, nullptr);
    return m_animationTimer != 0;
}

bool CTrayIcon::NextAnimationFrame() {
    if (m_frameCount == 0) {
        return false;
    }
    m_currentFrame = NextFrame(m_currentFrame, m_frameCount);
    return Show(LoadTrayIcon(m_firstFrameId + static_cast<UINT>(m_currentFrame)));
}

void CTrayIcon::StopAnimation() {
    if (m_animationTimer != 0 && Handle() != nullptr) {
        ::KillTimer(Handle(), m_animationTimer);
    }
    m_animationTimer = 0;
    if (m_savedIcon != nullptr) {
        Show(m_savedIcon);
    }
    m_savedIcon = nullptr;
}

ui::Handled CTrayIcon::OnTimer(UINT_PTR id) {
    if (id == kAnimationTimerId && m_animationTimer != 0) {
        const auto elapsed = static_cast<std::int64_t>(::GetTickCount64() - m_animationStart);
        if (AnimationOver(elapsed, m_animationLength)) {
            StopAnimation();
        } else {
            NextAnimationFrame();
        }
    }
    return 0;  // no other timer of this window is anyone's business
}

bool CTrayIcon::SetMenuDefaultItem(UINT item, bool byPosition) {
    if (!m_menu.SetDefaultItem(item, byPosition)) {
        return true;
    }
    const ui::MenuHandle menu(ui::LoadMenuInLanguage(m_record.uID));
    if (!menu) {
        return false;
    }
    const HMENU popup = ::GetSubMenu(menu.get(), 0);
    return popup != nullptr && ::SetMenuDefaultItem(popup, item, byPosition ? TRUE : FALSE);
}

void CTrayIcon::SetStartStopCaption(const char* caption) {
    m_menu.SetStartStopCaption(caption != nullptr ? caption : "");
}

void CTrayIcon::ShowTrayMenu(HWND target, HMENU popup) {
    // The caption first: replacing an item clears its default mark, and the
    // start/stop item is the one shown bold.
    ::ModifyMenu(popup, kStartStopPosition, MF_BYPOSITION | MF_STRING, ID_TRAY_STARTSTOP,
                 Widen(m_menu.StartStopCaption()).c_str());
    ::SetMenuDefaultItem(popup, m_menu.DefaultItem(), m_menu.DefaultByPosition() ? TRUE : FALSE);
    const auto& marks = m_menu.CheckMarks();
    const HMENU notifications = ::GetSubMenu(popup, kNotificationsPosition);
    if (notifications != nullptr) {
        const auto& switches = NotificationSwitches();
        for (std::size_t i = 0; i < kSwitchCount; ++i) {
            ::CheckMenuItem(notifications, switches[i].command, MF_BYCOMMAND | marks[i]);
        }
    }
    if (m_onPrepareMenu) {
        m_onPrepareMenu(popup);
    }
    POINT at{};
    ::GetCursorPos(&at);
    // The target must be in front, or the menu would not close when the user
    // clicks elsewhere.
    ::SetForegroundWindow(target);
    ::TrackPopupMenu(popup, 0, at.x, at.y, 0, target, nullptr);
    ::PostMessage(target, WM_NULL, 0, 0);
}

void CTrayIcon::PostDefaultCommand(HWND target, HMENU popup) {
    ::SetForegroundWindow(target);
    UINT command = m_menu.DefaultItem();
    if (m_menu.DefaultByPosition()) {
        command = ::GetMenuItemID(popup, static_cast<int>(m_menu.DefaultItem()));
        if (command == static_cast<UINT>(-1)) {
            return;  // a submenu or no item at that place: nothing to send
        }
    }
    ::PostMessage(target, WM_COMMAND, command, 0);
}

LRESULT CTrayIcon::HandleTrayMessage(WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != m_record.uID) {
        return 0;
    }
    const HWND target = GetCommandTarget();
    if (target == nullptr) {
        return 0;
    }
    const UINT mouse = LOWORD(static_cast<DWORD>(mouseMessage));
    if (mouse != WM_RBUTTONUP && mouse != WM_LBUTTONDBLCLK) {
        return 1;
    }
    const ui::MenuHandle menu(ui::LoadMenuInLanguage(m_record.uID));
    const HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (popup == nullptr && (mouse == WM_RBUTTONUP || m_menu.DefaultByPosition())) {
        return 0;  // no menu: the click is not ours to handle
    }
    if (mouse == WM_RBUTTONUP) {
        ShowTrayMenu(target, popup);
    } else {
        PostDefaultCommand(target, popup);
    }
    return 1;
}

ui::Handled CTrayIcon::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_record.uCallbackMessage != 0 && message == m_record.uCallbackMessage) {
        return HandleTrayMessage(wParam, lParam);
    }
    if (m_taskbarCreated != 0 && message == m_taskbarCreated) {
        // The shell started anew and forgot its icons, or it is there for the
        // first time and takes the icon it refused at start.
        AddAgain();
        return 0;
    }
    if (message == WM_CLOSE) {
        // Closing the icon's window from outside (the task list, taskkill)
        // means closing the program; the window itself lives as long as the
        // icon object.
        if (const HWND target = GetCommandTarget(); target != nullptr) {
            ::PostMessage(target, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    if (const ui::Handled answer = ui::PassSystemNotice(Handle(), message, wParam, lParam)) {
        return answer;
    }
    if (message == WM_SETTINGCHANGE) {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        FollowScaling();
        if (wParam == SPI_SETWORKAREA) {
            AddAgain();
        }
        return result;
    }
    if (message == WM_DISPLAYCHANGE || message == WM_DPICHANGED) {
        FollowScaling();
        return 0;
    }
    return ui::Window::OnMessage(message, wParam, lParam);
}

void CTrayIcon::MinimiseToTray(HWND window, bool forceAnimation) {
    if (forceAnimation || MinimiseAnimationOn()) {
        RECT from{};
        ::GetWindowRect(window, &from);
        const RECT to = LocateTrayArea();
        ::DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    if (const HWND owner = HiddenOwnerWindow(); owner != nullptr) {
        ::SetParent(window, owner);
    }
    const LONG_PTR style = ::GetWindowLongPtr(window, GWL_STYLE);
    ::SetWindowLongPtr(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
}

RECT CTrayIcon::LocateTrayArea() {
    if (const HWND taskbar = ::FindWindow(L"Shell_TrayWnd", nullptr); taskbar != nullptr) {
        RECT rect{};
        ::GetWindowRect(taskbar, &rect);
        std::vector<TaskbarChild> children;
        ::EnumChildWindows(taskbar, &CollectTaskbarChild, reinterpret_cast<LPARAM>(&children));
        return ui::ToRect(TrayAreaFromTaskbar(ui::ToScreenRect(rect), children));
    }
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    if (::SHAppBarMessage(ABM_GETTASKBARPOS, &bar) != 0) {
        return ui::ToRect(TrayAreaFromAppBar(bar.uEdge, ui::ToScreenRect(bar.rc)));
    }
    RECT work{};
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    return ui::ToRect(TrayAreaFromWorkArea(ui::ToScreenRect(work)));
}

}  // namespace pausora
