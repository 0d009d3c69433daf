// The workplace wizard: eight illustrated pages of advice on the desk, the
// chair, sitting, the screen, keyboard and mouse, notebooks, lighting, and
// climate and noise. It reads and writes nothing.
#pragma once

#include "ui/handles.h"
#include "ui/property_sheet.h"
#include "wizards/side_picture.h"

#include <memory>
#include <string>
#include <vector>

namespace pausora {

inline constexpr char kWorkplaceWizardCaption[] = "Workplace Setup Wizard";

// Each page: its picture filling the left strip, its title in Arial,
// everything on the window colour, and the wizard buttons for its place in
// the row. Title and picture follow the scaling of the monitor.
class CWorkPlaceSetupWizardPage final : public ui::PropertyPage {
  public:
    // What sets one page apart from the others.
    struct Layout {
        UINT templateId;
        UINT pictureId;
        DWORD buttons;
        bool secondTitle = false;  // "Climate", with "Noise" as a second title
    };
    explicit CWorkPlaceSetupWizardPage(const Layout& layout);

  protected:
    BOOL OnInitDialog() override;
    void OnSetActive() override;
    void OnDpiChanged() override;
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void ApplyTitleFont();

    CSidePicture m_picture;
    DWORD m_buttons;
    bool m_secondTitle;
    ui::FontHandle m_titleFont;
};

// The sheet owns its pages and adds them in order when it is made.
class CWorkPlaceSetupWizard final : public ui::WizardSheet {
  public:
    CWorkPlaceSetupWizard(std::string caption, HWND parent, UINT startPage);

  private:
    std::vector<std::unique_ptr<CWorkPlaceSetupWizardPage>> m_pages;
};

}  // namespace pausora
