// The offer of a newer version: the server's message with "Download", which
// opens the installer's address in the browser, and "Cancel".
#pragma once

#include "ui/dialog.h"

#include <string>

namespace pausora {

class CUpdateDlg final : public ui::Dialog {
  public:
    CUpdateDlg(std::string message, std::string installerAddress);

  protected:
    BOOL OnInitDialog() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;

  private:
    std::string m_message;
    std::string m_installerAddress;
};

}  // namespace pausora
