#include "wizards/workplace_setup_wizard.h"

#include "resource.h"
#include "ui/dpi.h"
#include "wizards/wizard_title.h"

#include <utility>

namespace pausora {

namespace {
constexpr DWORD kFirst = PSWIZB_NEXT;
constexpr DWORD kMiddle = PSWIZB_BACK | PSWIZB_NEXT;
constexpr DWORD kLast = PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH;
}  // namespace

CWorkPlaceSetupWizardPage::CWorkPlaceSetupWizardPage(const Layout& layout)
    : ui::PropertyPage(layout.templateId),
      m_picture(layout.pictureId),
      m_buttons(layout.buttons),
      m_secondTitle(layout.secondTitle) {
    HideHeader();
}

BOOL CWorkPlaceSetupWizardPage::OnInitDialog() {
    m_picture.Attach(Handle(), Dpi());
    ApplyTitleFont();
    return TRUE;
}

void CWorkPlaceSetupWizardPage::OnSetActive() {
    SetWizardButtons(m_buttons);
    if ((m_buttons & PSWIZB_FINISH) != 0) {
        FocusWizardFinish();
    }
}

void CWorkPlaceSetupWizardPage::OnDpiChanged() {
    m_picture.Follow(Dpi());
    ApplyTitleFont();
}

void CWorkPlaceSetupWizardPage::ApplyTitleFont() {
    // The welcome and the last page open and close the walk in bold.
    const bool bold = (m_buttons & PSWIZB_FINISH) != 0 || (m_buttons & PSWIZB_BACK) == 0;
    ui::FontHandle titleFont = CreateWizardTitleFont(bold, Dpi().Dpi());
    const auto font = reinterpret_cast<WPARAM>(titleFont.get());
    ::SendDlgItemMessage(Handle(), IDC_WIZARD_TITLE, WM_SETFONT, font, TRUE);
    if (m_secondTitle) {
        ::SendDlgItemMessage(Handle(), IDC_WIZARD_TITLE_2, WM_SETFONT, font, TRUE);
    }
    // The controls let go of the old font before it is deleted.
    m_titleFont = std::move(titleFont);
}

ui::Handled CWorkPlaceSetupWizardPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const ui::Handled answer = ui::WindowColourBackground(message, wParam)) {
        return answer;
    }
    return ui::PropertyPage::OnMessage(message, wParam, lParam);
}

CWorkPlaceSetupWizard::CWorkPlaceSetupWizard(std::string caption, HWND parent, UINT startPage)
    : ui::WizardSheet(std::move(caption), parent, startPage) {
    using Page = CWorkPlaceSetupWizardPage;
    static constexpr Page::Layout kPages[] = {
        {IDD_WORKPLACE_WIZARD_1, IDB_WP_WELCOME, kFirst},
        {IDD_WORKPLACE_WIZARD_2, IDB_WP_DESK_CHAIR, kMiddle},
        {IDD_WORKPLACE_WIZARD_3, IDB_WP_DESK_CHAIR, kMiddle},
        {IDD_WORKPLACE_WIZARD_4, IDB_WP_SCREEN, kMiddle},
        {IDD_WORKPLACE_WIZARD_5, IDB_WP_KEYBOARD_MOUSE, kMiddle},
        {IDD_WORKPLACE_WIZARD_6, IDB_WP_NOTEBOOK, kMiddle},
        {IDD_WORKPLACE_WIZARD_7, IDB_WP_LIGHTING, kMiddle},
        {IDD_WORKPLACE_WIZARD_8, IDB_WP_CLIMATE_NOISE, kLast, true},
    };
    SetHeaderBitmap(IDB_WIZARD_HEADER);
    for (const Page::Layout& layout : kPages) {
        AddPage(*m_pages.emplace_back(std::make_unique<Page>(layout)));
    }
}

}  // namespace pausora
