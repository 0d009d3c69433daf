#include "wizards/picture_page.h"

#include "resource.h"
#include "ui/dpi.h"

#include <utility>

namespace pausora {

CPicturePage::CPicturePage(UINT templateId, UINT pictureId, DWORD buttons)
    : ui::PropertyPage(templateId), m_pictureId(pictureId), m_buttons(buttons) {
    HideHeader();
}

void CPicturePage::OnSetActive() {
    SetWizardButtons(m_buttons);
}

BOOL CPicturePage::OnInitDialog() {
    // The template's picture control is the page's only bitmap static.
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtr(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            m_pictureControl = child;
            break;
        }
    }
    // The strip is the page's height: 193 dialog units.
    m_pictureHeight = ui::DialogUnitsToPixels(Handle(), 0, 193).cy;
    OnDpiChanged();
    return TRUE;
}

void CPicturePage::OnDpiChanged() {
    ui::BitmapHandle picture;
    if (m_pictureControl != nullptr) {
        picture = ui::LoadBitmapOfHeight(m_pictureId, Dpi().FromStart(m_pictureHeight));
    }
    if (picture) {
        const HBITMAP previous = ui::SetStaticPicture(m_pictureControl, picture.get());
        if (!m_picture && previous != nullptr) {
            m_templatePicture.reset(previous);
        }
        m_picture = std::move(picture);
    }

    // Arial at 12 points (16 pixels at 96 dots per inch, 24 at 144): bold for
    // the welcome and last pages, which open and close the walk, normal
    // weight for the pages between, where the size alone sets the title off
    // from the advice. A negative height asks for the character's own
    // height, as a point size does.
    const bool bold = (m_buttons & PSWIZB_FINISH) != 0 || (m_buttons & PSWIZB_BACK) == 0;
    ui::FontHandle titleFont = ui::TitleFont(-Dpi().Scale(16), bold);
    const auto font = reinterpret_cast<WPARAM>(titleFont.get());
    ::SendDlgItemMessage(Handle(), IDC_WIZARD_TITLE, WM_SETFONT, font, TRUE);
    ::SendDlgItemMessage(Handle(), IDC_WIZARD_TITLE_2, WM_SETFONT, font, TRUE);
    // The controls let go of the old font before it is deleted.
    m_titleFont = std::move(titleFont);
}

ui::Handled CPicturePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const ui::Handled answer = ui::WindowColourBackground(message, wParam)) {
        return answer;
    }
    return ui::PropertyPage::OnMessage(message, wParam, lParam);
}

}  // namespace pausora
