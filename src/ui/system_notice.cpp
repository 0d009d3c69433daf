#include "ui/system_notice.h"

namespace pausora::ui {

namespace {
bool IsSystemNotice(UINT message) noexcept {
    switch (message) {
        case WM_POWERBROADCAST:
        case WM_TIMECHANGE:
        case WM_SETTINGCHANGE:
        case WM_DISPLAYCHANGE:
        case WM_QUERYENDSESSION:
        case WM_ENDSESSION:
        case WM_WTSSESSION_CHANGE:  // only to the top-level window that asked for it
            return true;
        default:
            return false;
    }
}
}  // namespace

Handled PassSystemNotice(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND main = AppMainWindow();
    if (main == nullptr || main == receiver || !IsSystemNotice(message)) {
        return std::nullopt;
    }
    // Sent, not posted: the same thread, and WM_SETTINGCHANGE may carry a
    // text that lives only as long as this call. Every window of ours is a
    // Unicode one, so the text goes on in the form it came in.
    const LRESULT answer = ::SendMessage(main, message, wParam, lParam);
    if (message == WM_QUERYENDSESSION) {
        return answer;
    }
    return std::nullopt;
}

}  // namespace pausora::ui
