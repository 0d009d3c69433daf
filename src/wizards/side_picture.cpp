#include "wizards/side_picture.h"

#include <utility>

namespace pausora {

void CSidePicture::Attach(HWND page, const ui::DpiScale& dpi) {
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtr(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            m_control = child;
            break;
        }
    }
    // The strip is the page's height: 193 dialog units.
    m_heightAtStart = ui::DialogUnitsToPixels(page, 0, 193).cy;
    Follow(dpi);
}

void CSidePicture::Follow(const ui::DpiScale& dpi) {
    if (m_control == nullptr) {
        return;
    }
    ui::BitmapHandle picture = ui::LoadBitmapOfHeight(m_bitmapId, dpi.FromStart(m_heightAtStart));
    if (!picture) {
        return;
    }
    const HBITMAP previous = ui::SetStaticPicture(m_control, picture.get());
    if (!m_picture && previous != nullptr) {
        m_templatePicture.reset(previous);
    }
    m_picture = std::move(picture);
}

}  // namespace pausora
