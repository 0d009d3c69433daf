// The workplace wizard: eight illustrated pages of advice on the desk, the
// chair, sitting, the screen, keyboard and mouse, notebooks, lighting, and
// climate and noise. It reads and writes nothing.
#pragma once

#include "ui/property_sheet.h"
#include "wizards/picture_page.h"

#include <memory>
#include <string>
#include <vector>

namespace pausora {

// Each page: a picture page with the wizard buttons for its place in the
// row.
class CWorkPlaceSetupWizardPage final : public CPicturePage {
  public:
    // What sets one page apart from the others.
    struct Layout {
        UINT templateId;
        UINT pictureId;
        DWORD buttons;
    };
    explicit CWorkPlaceSetupWizardPage(const Layout& layout)
        : CPicturePage(layout.templateId, layout.pictureId, layout.buttons) {}
};

// The sheet owns its pages and adds them in order when it is made.
class CWorkPlaceSetupWizard final : public ui::WizardSheet {
  public:
    CWorkPlaceSetupWizard(std::string caption, HWND parent, UINT startPage);

  private:
    std::vector<std::unique_ptr<CWorkPlaceSetupWizardPage>> m_pages;
};

}  // namespace pausora
