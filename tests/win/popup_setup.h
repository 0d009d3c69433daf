// The popup as the main window sets it up, and small helpers for driving it
// under Wine: work areas and the popup's rectangle.
#pragma once

#include "notify/notifier_popup.h"
#include "resource.h"
#include "shared/wait.h"

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

}  // namespace pausora::testing
