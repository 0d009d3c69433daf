// The popup as the main window sets it up, and small helpers for driving it
// under Wine: work areas, message pumping, the popup's rectangle.
#pragma once

#include "notify/notifier_popup.h"
#include "resource.h"

#include <windows.h>

namespace pausora::testing {

inline void SetUpLikeTheMainWindow(CNotifierPopup& popup, HWND owner) {
    popup.Create(owner);
    popup.LoadSkin(IDB_SKIN, 255, 0, 255);
    popup.AddPictureItem(1, 257, 1, IDB_LONG_BREAK);
    popup.AddTextItem(2, "You should make a pause", RECT{11, 17, 250, 40}, "Tahoma", 135,
                      kStyleBold, RGB(0, 0, 0));
    popup.AddLinkItem(3, "Show me a stretch", RECT{11, 43, 250, 60}, "Tahoma", 105, kStyleBold,
                      kStyleBold | kStyleUnderline, RGB(114, 200, 2), RGB(114, 200, 2));
    popup.AddTextItem(4, "", RECT{11, 90, 250, 155}, "Tahoma", 98, 0, RGB(131, 131, 131));
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
