#include "app/about_dlg.h"

#include "resource.h"
#include "ui/dpi.h"

#include <string>

namespace pausora {

CAboutDlg::CAboutDlg() : ui::Dialog(IDD_ABOUTBOX, ui::Dialog::kWindowColour) {}

BOOL CAboutDlg::OnInitDialog() {
    LOGFONTA font{};
    font.lfHeight = ui::ScaleToScreen(19);
    font.lfWeight = FW_NORMAL;
    font.lfPitchAndFamily = FF_SWISS;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    m_titleFont.reset(::CreateFontIndirectA(&font));
    ::SendDlgItemMessageA(Handle(), IDC_ABOUT_TITLE, WM_SETFONT,
                          reinterpret_cast<WPARAM>(m_titleFont.get()), TRUE);

    // The picture fills the dialog's height (193 dialog units) at any
    // scaling. The control hands back the one it loaded from the template,
    // which is ours to delete.
    m_watermark =
        ui::LoadBitmapOfHeight(IDB_WATERMARK, ui::DialogUnitsToPixels(Handle(), 0, 193).cy);
    if (m_watermark) {
        const auto previous = reinterpret_cast<HBITMAP>(
            ::SendMessageA(::GetDlgItem(Handle(), IDC_ABOUT_WATERMARK), STM_SETIMAGE, IMAGE_BITMAP,
                           reinterpret_cast<LPARAM>(m_watermark.get())));
        if (previous != nullptr && previous != m_watermark.get()) {
            ::DeleteObject(previous);
        }
    }

    // "Version" from the template, then the version string of the resources.
    char label[64] = {};
    ::GetDlgItemTextA(Handle(), IDC_ABOUT_VERSION, label, sizeof label);
    char version[32] = {};
    ::LoadStringA(ui::ModuleInstance(), IDS_VERSION, version, sizeof version);
    const std::string line = std::string(label) + " " + version;
    ::SetDlgItemTextA(Handle(), IDC_ABOUT_VERSION, line.c_str());
    return TRUE;
}

}  // namespace pausora
