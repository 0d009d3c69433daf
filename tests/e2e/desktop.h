// Real input on Wine's desktop for the end-to-end tests: clicks on the
// program's notification icon, on its popup and in the tray menu, sent with
// SendInput as a user's hand would.
#pragma once

#include "shared/wait.h"

#include <windows.h>

#include <initializer_list>
#include <string>

namespace pausora::test {

// Wine shows notification icons in a small window of its own at the top left
// of the screen; clicks on it reach the program like clicks on a taskbar.
inline HWND WineTrayWindow() {
    return ::FindWindowA("__winex11_standalone_tray", nullptr);
}

inline bool WineTrayShown() {
    const HWND tray = WineTrayWindow();
    return tray != nullptr && ::IsWindowVisible(tray);
}

inline void MouseButtons(std::initializer_list<DWORD> flags) {
    for (const DWORD flag : flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flag;
        ::SendInput(1, &input, sizeof input);
    }
}

// Clicks at a point of the screen; right or left, once or twice.
inline void ClickAt(POINT at, bool right, int times = 1) {
    ::SetCursorPos(at.x, at.y);
    ::Sleep(100);  // the window under the pointer sees it arrive
    const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    for (int i = 0; i < times; ++i) {
        MouseButtons({down, up});
    }
}

// The middle of the first icon's square in Wine's tray window.
inline POINT FirstTrayIcon() {
    RECT client{};
    ::GetClientRect(WineTrayWindow(), &client);
    POINT icon{10, client.bottom / 2};
    ::ClientToScreen(WineTrayWindow(), &icon);
    return icon;
}

// Waits for the program's icon in Wine's tray window, then lets it settle.
inline bool WaitForTrayIcon(DWORD ms) {
    if (!WaitFor(ms, WineTrayShown)) {
        return false;
    }
    ::Sleep(1000);  // the icon settles in after the window appears
    return true;
}

inline void Keys(std::initializer_list<WORD> keys) {
    for (const WORD key : keys) {
        INPUT input[2] = {};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wVk = key;
        input[1] = input[0];
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof input[0]);
        ::Sleep(150);
    }
}

// Input from the user: the mouse nudged a pixel.
inline void MoveMouse() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    ::SendInput(1, &input, sizeof input);
}

// A user at work for `ms`: the mouse nudged five times a second, `each`
// called after every nudge.
template <typename Each>
void KeepWorking(DWORD ms, Each each) {
    for (const DWORD until = ::GetTickCount() + ms;
         static_cast<int>(until - ::GetTickCount()) > 0;) {
        MoveMouse();
        each();
        ::Sleep(200);
    }
}
inline void KeepWorking(DWORD ms) {
    KeepWorking(ms, [] {});
}

// A window's text in UTF-8, asked of the window itself: GetWindowText would
// not ask one of another process.
inline std::string Utf8Text(HWND window) {
    wchar_t text[1024] = {};
    ::SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    char utf8[4096] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

// The tip the tray shows over the icon, once it shows one: the pointer is
// moved onto the icon first.
inline std::string ShownTrayTip(DWORD ms) {
    const POINT icon = FirstTrayIcon();
    ::SetCursorPos(icon.x + 1, icon.y);
    ::Sleep(100);
    ::SetCursorPos(icon.x, icon.y);
    std::string tip;
    WaitFor(ms, [&] {
        for (HWND w = ::FindWindowExA(nullptr, nullptr, "tooltips_class32", nullptr); w != nullptr;
             w = ::FindWindowExA(nullptr, w, "tooltips_class32", nullptr)) {
            if (::IsWindowVisible(w) && !(tip = Utf8Text(w)).empty()) {
                return true;
            }
        }
        return false;
    });
    return tip;
}

// A shown menu of any program (the system's menu window class).
inline bool MenuShown() {
    const HWND menu = ::FindWindowA("#32768", nullptr);
    return menu != nullptr && ::IsWindowVisible(menu);
}

// A right click on the program's icon; true once its menu is shown.
inline bool OpenTrayMenu() {
    ClickAt(FirstTrayIcon(), true);
    return WaitFor(5000, MenuShown);
}

// A slide show, as far as the system can tell: no frame, the whole screen,
// in front. It takes the foreground as the user's other work would.
class FullScreenWindow {
  public:
    FullScreenWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = L"PausoraTestSlideShow";
        ::RegisterClassW(&wc);
        m_window = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Slide show",
                                     WS_POPUP | WS_VISIBLE, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                                     ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                     wc.hInstance, nullptr);
        ::SetForegroundWindow(m_window);
        PumpFor(200);
    }
    ~FullScreenWindow() { Close(); }
    void Close() {
        if (m_window != nullptr) {
            ::DestroyWindow(m_window);
            m_window = nullptr;
        }
    }
    HWND Handle() const { return m_window; }
    // A click in the middle of the screen, as a presenter's to go on.
    void Click() {
        PumpFor(1500);  // the program's start has settled
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, input, sizeof(INPUT));
        ::SetForegroundWindow(m_window);
        PumpFor(300);
    }

  private:
    HWND m_window = nullptr;
};

}  // namespace pausora::test
