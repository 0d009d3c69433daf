// The picture that fills the left strip of a wizard page without a header
// band, the page's whole height, at the scaling of its monitor.
#pragma once

#include "ui/dpi.h"
#include "ui/handles.h"

namespace pausora {

class CSidePicture {
  public:
    explicit CSidePicture(UINT bitmapId) : m_bitmapId(bitmapId) {}

    // On the page's WM_INITDIALOG: takes the template's picture control (the
    // page's only bitmap static) and fills it.
    void Attach(HWND page, const ui::DpiScale& dpi);
    // The page moved to a monitor of another scaling.
    void Follow(const ui::DpiScale& dpi);

  private:
    UINT m_bitmapId;
    HWND m_control = nullptr;
    int m_heightAtStart = 0;  // the strip's height in pixels when the page was made
    ui::BitmapHandle m_picture;
    // The picture the control loaded from the template, ours once replaced.
    ui::BitmapHandle m_templatePicture;
};

}  // namespace pausora
