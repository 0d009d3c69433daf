#include "update/update_dlg.h"
#include "ui/code_page.h"
#include "ui/utf.h"

#include "resource.h"

#include <shellapi.h>

#include <utility>

namespace pausora {

CUpdateDlg::CUpdateDlg(std::string message, std::string installerAddress)
    : ui::Dialog(IDD_UPDATE),
      m_message(std::move(message)),
      m_installerAddress(std::move(installerAddress)) {}

BOOL CUpdateDlg::OnInitDialog() {
    // The server writes its answer in 8-bit text, as it always has.
    ::SetDlgItemText(Handle(), IDC_UPDATE_MESSAGE, WidenFromCodePage(m_message).c_str());
    return TRUE;
}

ui::Handled CUpdateDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == IDOK) {
        ::ShellExecute(nullptr, nullptr, Widen(m_installerAddress).c_str(), nullptr, nullptr,
                       SW_SHOWNORMAL);
    }
    return ui::Dialog::OnCommand(id, code, control);
}

}  // namespace pausora
