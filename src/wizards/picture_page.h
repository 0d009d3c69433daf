// The wizards' pages without a header band.
#pragma once

#include "ui/handles.h"
#include "ui/property_sheet.h"

namespace pausora {

// A page whose picture fills the left strip, the page's whole height, with
// its title (and a second one, where the template has it) in Arial and
// everything on the window colour. Picture and titles follow the scaling of
// the monitor.
class CPicturePage : public ui::PropertyPage {
  public:
    // `buttons`: the wizard buttons for the page's place in the row.
    CPicturePage(UINT templateId, UINT pictureId, DWORD buttons);

  protected:
    BOOL OnInitDialog() override;
    void OnSetActive() override;
    void OnDpiChanged() override;
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // The texts one under the other, each as tall as it is in the page's
    // language, with the template's gaps between them.
    void StackTexts();

    UINT m_pictureId;
    DWORD m_buttons;
    ui::FontHandle m_titleFont;
    HWND m_pictureControl = nullptr;
    int m_pictureHeight = 0;  // the strip's height in pixels when the page was made
    ui::BitmapHandle m_picture;
    // The picture the control loaded from the template, ours once replaced.
    ui::BitmapHandle m_templatePicture;
};

}  // namespace pausora
