// The program's main window: a dialog that is never seen. It carries the
// timers and receives the commands of the tray menu.
#pragma once

#include "ui/dialog.h"
#include "ui/handles.h"

namespace pausora {

class CPausoraDlg final : public ui::Dialog {
  public:
    CPausoraDlg();

  protected:
    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    // It stays out of sight from the start.
    bool ShowOnModalStart() const override { return false; }
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    ui::Handled OnSysCommand(UINT command, LPARAM lParam) override;
    ui::Handled OnPaint() override;
    ui::Handled OnClose() override;

  private:
    HICON m_icon = nullptr;  // shared resource icon: not destroyed
};

}  // namespace pausora
