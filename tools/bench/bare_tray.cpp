// The smallest tray program we can write the way the system expects one: a hidden
// window, one notification-area icon and one timer of a second. The footprint
// benchmark runs it beside Pausora.exe, so that every figure has a floor to be
// compared with on the same machine in the same minute. Built a second time as
// bare_tray_input.exe, it also reads the time of the last input at every tick, as
// any break reminder must: the floor for the work the schedule cannot do without.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT kTrayMessage = WM_APP + 10;
constexpr UINT_PTR kTimer = 1;
UINT g_ticks = 0;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER: {
            ++g_ticks;  // a real program would look at the clock here
#ifdef BARE_TRAY_READS_INPUT
            LASTINPUTINFO input{};
            input.cbSize = sizeof input;
            ::GetLastInputInfo(&input);
            g_ticks += input.dwTime & 1;
#endif
            return 0;
        }
        case WM_CLOSE:
            ::DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "BareTrayWindow";
    if (::RegisterClassA(&windowClass) == 0) {
        return 1;
    }
    // Top-level and never shown: taskkill and the session's end still reach it.
    const HWND hwnd = ::CreateWindowExA(0, windowClass.lpszClassName, "Bare tray", WS_OVERLAPPED, 0,
                                        0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = hwnd;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    ::lstrcpynA(icon.szTip, "Bare tray", sizeof icon.szTip);
    ::Shell_NotifyIconA(NIM_ADD, &icon);
    ::SetTimer(hwnd, kTimer, 1000, nullptr);

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ::Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
