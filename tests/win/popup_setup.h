// The popup as the main window sets it up, and small helpers for driving it
// under Wine: work areas, message pumping, the popup's rectangle.
#pragma once

#include "notify/notifier_popup.h"
#include "resource.h"

#include <windows.h>

namespace pausora::testing {

inline void SetUpLikeTheMainWindow(CNotifierPopup& popup, HWND owner) {
    SetUpNoticePopup(popup, owner);
}

inline RECT WorkArea() {
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

inline bool SetWorkArea(RECT work) {
    return ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &work, 0) != FALSE;
}

inline RECT ScreenRectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

inline void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Runs the message loop for `ms` milliseconds, or until `done` says so.
template <typename Done>
inline bool PumpUntil(DWORD ms, Done done) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    while (::GetTickCount64() < end) {
        Pump();
        if (done()) {
            return true;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    Pump();
    return done();
}

inline void PumpFor(DWORD ms) {
    PumpUntil(ms, [] { return false; });
}

}  // namespace pausora::testing
