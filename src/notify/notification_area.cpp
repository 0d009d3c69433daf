#include "notify/notification_area.h"

#include "ui/dpi.h"

namespace pausora {
namespace {

// MONITOR_DPI_TYPE's effective DPI, the one windows are scaled by.
constexpr int kEffectiveDpi = 0;

// Both came after Windows 7: each is looked up once, shcore.dll from the
// system's own folder.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

template <typename Function>
Function Find(HMODULE module, const char* name) {
    return module != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
               : nullptr;
}

}  // namespace

int NotificationAreaDpi() {
    static const auto getDpiForMonitor = Find<GetDpiForMonitorFunction>(
        ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor");
    if (getDpiForMonitor == nullptr) {
        return ui::ScreenDpi();
    }
    // The notification area is on the taskbar of the main monitor.
    const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    const HMONITOR monitor = taskbar != nullptr
                                 ? ::MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)
                                 : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT x = 0;
    UINT y = 0;
    if (monitor == nullptr || FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) || y < 48 ||
        y > 960) {
        return ui::ScreenDpi();
    }
    return static_cast<int>(y);
}

int NotificationIconSize(int dpi) {
    static const GetSystemMetricsForDpiFunction metricsForDpi =
        Find<GetSystemMetricsForDpiFunction>(::GetModuleHandleW(L"user32.dll"),
                                             "GetSystemMetricsForDpi");
    if (metricsForDpi != nullptr) {
        if (const int size = metricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)); size > 0) {
            return size;
        }
    }
    // The screen's small icons, grown or shrunk from its scaling to `dpi`.
    return ::MulDiv(::GetSystemMetrics(SM_CXSMICON), dpi, ui::ScreenDpi());
}

}  // namespace pausora
