// The workplace wizard: eight illustrated pages of advice on the desk, the
// chair, sitting, the screen, keyboard and mouse, notebooks, lighting, and
// climate and noise. It reads and writes nothing.
#pragma once

#include "ui/handles.h"
#include "ui/property_sheet.h"

#include <string>

namespace pausora {

inline constexpr char kWorkplaceWizardCaption[] = "Workplace Setup Wizard";

// Each page: its picture filling the left strip, its title in Arial,
// everything on the window colour, and the wizard buttons for its place in
// the row. Title and picture follow the scaling of the monitor.
class CWorkPlaceSetupWizardPage : public ui::PropertyPage {
  protected:
    CWorkPlaceSetupWizardPage(UINT templateId, UINT pictureId, DWORD buttons,
                              bool secondTitle = false);
    BOOL OnInitDialog() override;
    void OnSetActive() override;
    void OnDpiChanged() override;
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void ApplyTitleFont();
    void ApplyPicture();

    UINT m_pictureId;
    DWORD m_buttons;
    bool m_secondTitle;
    ui::FontHandle m_titleFont;
    HWND m_pictureControl = nullptr;
    int m_pictureHeight = 0;  // the strip's height in pixels when the page was made
    ui::BitmapHandle m_picture;
    // The picture the control loaded from the template, ours once replaced.
    ui::BitmapHandle m_templatePicture;
};

class CWorkPlaceSetupWizard_Page1 final : public CWorkPlaceSetupWizardPage {
  public:
    CWorkPlaceSetupWizard_Page1();
};
class CWorkPlaceSetupWizard_Page2 final : public CWorkPlaceSetupWizardPage {
  public:
    CWorkPlaceSetupWizard_Page2();
};
class CWorkPlaceSetupWizard_Page3 final : public CWorkPlaceSetupWizardPage {
  public:
    CWorkPlaceSetupWizard_Page3();
};
class CWorkPlaceSetupWizard_Page4 final : public CWorkPlaceSetupWizardPage {
  public:
    CWorkPlaceSetupWizard_Page4();
};
class CWorkPlaceSetupWizard_Page5 final : public CWorkPlaceSetupWizardPage {
  public:
    CWorkPlaceSetupWizard_Page5();
};
class CWorkPlaceSetupWizard_Page6 final : public CWorkPlaceSetupWizardPage {
  public:
    CWorkPlaceSetupWizard_Page6();
};
class CWorkPlaceSetupWizard_Page7 final : public CWorkPlaceSetupWizardPage {
  public:
    CWorkPlaceSetupWizard_Page7();
};
// "Climate", with "Noise" as a second title.
class CWorkPlaceSetupWizard_Page8 final : public CWorkPlaceSetupWizardPage {
  public:
    CWorkPlaceSetupWizard_Page8();
};

// The sheet owns its pages and adds them in order when it is made.
class CWorkPlaceSetupWizard final : public ui::WizardSheet {
  public:
    CWorkPlaceSetupWizard(std::string caption, HWND parent, UINT startPage);

  private:
    CWorkPlaceSetupWizard_Page1 m_page1;
    CWorkPlaceSetupWizard_Page2 m_page2;
    CWorkPlaceSetupWizard_Page3 m_page3;
    CWorkPlaceSetupWizard_Page4 m_page4;
    CWorkPlaceSetupWizard_Page5 m_page5;
    CWorkPlaceSetupWizard_Page6 m_page6;
    CWorkPlaceSetupWizard_Page7 m_page7;
    CWorkPlaceSetupWizard_Page8 m_page8;
};

}  // namespace pausora
