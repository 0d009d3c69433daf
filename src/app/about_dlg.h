// The About box: the product picture, the name, the version and who makes it.
#pragma once

#include "ui/dialog.h"
#include "ui/handles.h"

namespace pausora {

class CAboutDlg final : public ui::Dialog {
  public:
    CAboutDlg();

  protected:
    BOOL OnInitDialog() override;

  private:
    ui::FontHandle m_titleFont;
    ui::BitmapHandle m_watermark;
};

}  // namespace pausora
