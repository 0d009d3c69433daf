#include "app/about_dlg.h"

#include "resource.h"
#include "ui/dpi.h"

#include <string>

namespace pausora {

CAboutDlg::CAboutDlg() : ui::Dialog(IDD_ABOUTBOX, ui::Dialog::kWindowColour) {}

BOOL CAboutDlg::OnInitDialog() {
    // The picture fills the dialog's height (193 dialog units) at any
    // scaling.
    m_pictureHeight = ui::DialogUnitsToPixels(Handle(), 0, 193).cy;
    ApplyScale();

    // "Version" from the template, then the version string of the resources.
    const HWND versionLine = ::GetDlgItem(Handle(), IDC_ABOUT_VERSION);
    const std::wstring line = ui::WindowText(versionLine) + L" " + ui::ResourceString(IDS_VERSION);
    ::SetWindowText(versionLine, line.c_str());
    return TRUE;
}

void CAboutDlg::OnDpiChanged() {
    ApplyScale();
}

void CAboutDlg::ApplyScale() {
    // The control lets go of the old font before it is deleted.
    ui::FontHandle titleFont = ui::TitleFont(Dpi().Scale(19), false);
    ::SendDlgItemMessage(Handle(), IDC_ABOUT_TITLE, WM_SETFONT,
                         reinterpret_cast<WPARAM>(titleFont.get()), TRUE);
    m_titleFont = std::move(titleFont);

    ui::BitmapHandle watermark =
        ui::LoadBitmapOfHeight(IDB_WATERMARK, Dpi().FromStart(m_pictureHeight));
    if (!watermark) {
        return;
    }
    const HBITMAP previous =
        ui::SetStaticPicture(::GetDlgItem(Handle(), IDC_ABOUT_WATERMARK), watermark.get());
    // The first picture replaced is the one the control loaded from the
    // template, which is ours to delete.
    if (!m_watermark && previous != nullptr) {
        m_templatePicture.reset(previous);
    }
    m_watermark = std::move(watermark);
}

}  // namespace pausora
