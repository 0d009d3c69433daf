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
    void OnDpiChanged() override;

  private:
    // The title's font and the picture, at the dialog's scaling.
    void ApplyScale();

    ui::FontHandle m_titleFont;
    ui::BitmapHandle m_watermark;
    // The picture control's picture from the template, ours once replaced.
    ui::BitmapHandle m_templatePicture;
    int m_pictureHeight = 0;  // pixels when the dialog was made
};

}  // namespace pausora
