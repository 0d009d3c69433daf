#include "scheduler/busy_source_win.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

namespace pausora {
namespace {

// QUERY_USER_NOTIFICATION_STATE, as the shell answers it.
enum : int {
    kQunsBusy = 2,              // a full-screen program, or one the shell takes for busy
    kQunsD3dFullScreen = 3,     // a full-screen Direct3D program: a game, a film
    kQunsPresentationMode = 4,  // the presentation settings are on
    kQunsQuietTime = 6,         // the system's quiet hours
};

using QueryUserNotificationState = HRESULT(WINAPI*)(int*);

// The shell's own answer: kNo where the system has no such answer. Its
// "busy" is any program in full screen, which is no more than our own test
// below can tell.
Busy ShellSaysBusy() {
    // Looked up rather than linked: a system without it simply never says so.
    static const auto query = reinterpret_cast<QueryUserNotificationState>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"shell32.dll"), "SHQueryUserNotificationState")));
    int state = 0;
    if (query == nullptr || FAILED(query(&state))) {
        return Busy::kNo;
    }
    if (state == kQunsD3dFullScreen || state == kQunsPresentationMode || state == kQunsQuietTime) {
        return Busy::kYes;
    }
    return state == kQunsBusy ? Busy::kFullScreen : Busy::kNo;
}

// The foreground window is another program's, neither the desktop nor the
// shell's, and covers the whole of its monitor.
bool ForegroundCoversItsMonitor() {
    const HWND window = ::GetForegroundWindow();
    if (window == nullptr || window == ::GetDesktopWindow() || window == ::GetShellWindow() ||
        !::IsWindowVisible(window) || ::IsIconic(window)) {
        return false;
    }
    // Our own windows (the settings window, the exercises) are never a
    // reason to keep quiet.
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId()) {
        return false;
    }
    // The desktop's own windows cover the monitor too.
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (std::wcscmp(className, L"Progman") == 0 || std::wcscmp(className, L"WorkerW") == 0) {
        return false;
    }
    // A maximised window with a title bar is everyday work; over a taskbar
    // that hides itself it covers the monitor all the same.
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    if (::IsZoomed(window) && (style & WS_CAPTION) == WS_CAPTION) {
        return false;
    }
    RECT rect{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetWindowRect(window, &rect) ||
        !::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONULL), &monitor)) {
        return false;
    }
    const RECT& screen = monitor.rcMonitor;
    return rect.left <= screen.left && rect.top <= screen.top && rect.right >= screen.right &&
           rect.bottom >= screen.bottom;
}

}  // namespace

Busy SystemBusySource::Query() {
    const Busy shell = ShellSaysBusy();
    if (shell == Busy::kNo && ForegroundCoversItsMonitor()) {
        return Busy::kFullScreen;
    }
    return shell;
}

}  // namespace pausora
