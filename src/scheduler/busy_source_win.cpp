#include "scheduler/busy_source_win.h"

#include "scheduler/quiet_programs.h"
#include "ui/utf.h"

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

// The full path of a process's program file, in lower case; empty when the
// process cannot be asked (one of another user's, or gone).
std::wstring FoldedProgramPath(DWORD process) {
    const HANDLE handle = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (handle == nullptr) {
        return {};
    }
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = static_cast<DWORD>(std::size(path));
    const bool got = ::QueryFullProcessImageNameW(handle, 0, path, &size) != FALSE;
    ::CloseHandle(handle);
    if (!got) {
        return {};
    }
    ::CharLowerBuffW(path, size);
    return std::wstring(path, size);
}

std::string Folded(const std::string& text) {
    std::wstring wide = Widen(text);
    if (!wide.empty()) {
        ::CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    }
    return Narrow(wide);
}

}  // namespace

bool SystemBusySource::QuietProgramInFront() {
    if (m_settings.QuietPrograms.empty()) {
        return false;
    }
    if (m_settings.QuietPrograms != m_names) {
        m_names = m_settings.QuietPrograms;
        m_foldedNames.clear();
        for (const std::string& name : m_names) {
            m_foldedNames.push_back(Folded(name));
        }
    }
    const HWND window = ::GetForegroundWindow();
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (window != m_front || process != m_frontProcess) {
        m_front = window;
        m_frontProcess = process;
        m_frontPath = process == 0 || process == ::GetCurrentProcessId()
                          ? std::string()
                          : Narrow(FoldedProgramPath(process));
    }
    return IsQuietProgram(m_frontPath, m_foldedNames);
}

Busy SystemBusySource::Query() {
    const Busy shell = ShellSaysBusy();
    if (shell == Busy::kYes || QuietProgramInFront() || m_cameras.InUse() ||
        m_microphones.InUse()) {
        return Busy::kYes;
    }
    if (shell == Busy::kNo && ForegroundCoversItsMonitor()) {
        return Busy::kFullScreen;
    }
    return shell;
}

}  // namespace pausora
