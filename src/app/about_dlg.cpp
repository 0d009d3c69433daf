#include "app/about_dlg.h"

#include "resource.h"
#include "ui/dpi.h"

#include <string>

namespace pausora {

CAboutDlg::CAboutDlg() : ui::Dialog(IDD_ABOUTBOX, ui::Dialog::kWindowColour) {}

BOOL CAboutDlg::OnInitDialog() {
    LOGFONT font{};
    font.lfHeight = ui::ScaleToScreen(19);
    font.lfWeight = FW_NORMAL;
    font.lfPitchAndFamily = FF_SWISS;
    lstrcpyn(font.lfFaceName, L"Arial", LF_FACESIZE);
    m_titleFont.reset(::CreateFontIndirect(&font));
    ::SendDlgItemMessage(Handle(), IDC_ABOUT_TITLE, WM_SETFONT,
                         reinterpret_cast<WPARAM>(m_titleFont.get()), TRUE);

    // The picture fills the dialog's height (193 dialog units) at any
    // scaling. The control hands back the one it loaded from the template,
    // which is ours to delete.
    m_watermark =
        ui::LoadBitmapOfHeight(IDB_WATERMARK, ui::DialogUnitsToPixels(Handle(), 0, 193).cy);
    if (m_watermark) {
        const auto previous = reinterpret_cast<HBITMAP>(
            ::SendMessage(::GetDlgItem(Handle(), IDC_ABOUT_WATERMARK), STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(m_watermark.get())));
        if (previous != nullptr && previous != m_watermark.get()) {
            ::DeleteObject(previous);
        }
    }

    // "Version" from the template, then the version string of the resources.
    const HWND versionLine = ::GetDlgItem(Handle(), IDC_ABOUT_VERSION);
    const std::wstring line = ui::WindowText(versionLine) + L" " + ui::ResourceString(IDS_VERSION);
    ::SetWindowText(versionLine, line.c_str());
    return TRUE;
}

}  // namespace pausora
