#include "ui/common_controls.h"

#include <windows.h>

#include <commctrl.h>

namespace pausora::ui {

void LoadCommonControls() {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES;
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    static_cast<void>(loaded);
}

}  // namespace pausora::ui
