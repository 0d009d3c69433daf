#include "wizards/workplace_setup_wizard.h"

#include "resource.h"
#include "wizards/wizard_title.h"

#include <utility>

namespace pausora {

namespace {
constexpr DWORD kFirst = PSWIZB_NEXT;
constexpr DWORD kMiddle = PSWIZB_BACK | PSWIZB_NEXT;
constexpr DWORD kLast = PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH;
}  // namespace

CWorkPlaceSetupWizardPage::CWorkPlaceSetupWizardPage(UINT templateId, DWORD buttons,
                                                     bool secondTitle)
    : ui::PropertyPage(templateId), m_buttons(buttons), m_secondTitle(secondTitle) {
    HideHeader();
}

void CWorkPlaceSetupWizardPage::OnSetActive() {
    SetWizardButtons(m_buttons);
    // The welcome and the last page open and close the walk in bold.
    const bool finishes = (m_buttons & PSWIZB_FINISH) != 0;
    if (finishes) {
        FocusWizardFinish();
    }
    if (!m_titleFont) {
        m_titleFont = CreateWizardTitleFont(finishes || (m_buttons & PSWIZB_BACK) == 0);
    }
    const auto font = reinterpret_cast<WPARAM>(m_titleFont.get());
    ::SendDlgItemMessage(Handle(), IDC_WIZARD_TITLE, WM_SETFONT, font, TRUE);
    if (m_secondTitle) {
        ::SendDlgItemMessage(Handle(), IDC_WIZARD_TITLE_2, WM_SETFONT, font, TRUE);
    }
}

ui::Handled CWorkPlaceSetupWizardPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        default:
            return ui::PropertyPage::OnMessage(message, wParam, lParam);
    }
}

CWorkPlaceSetupWizard_Page1::CWorkPlaceSetupWizard_Page1()
    : CWorkPlaceSetupWizardPage(IDD_WORKPLACE_WIZARD_1, kFirst) {}
CWorkPlaceSetupWizard_Page2::CWorkPlaceSetupWizard_Page2()
    : CWorkPlaceSetupWizardPage(IDD_WORKPLACE_WIZARD_2, kMiddle) {}
CWorkPlaceSetupWizard_Page3::CWorkPlaceSetupWizard_Page3()
    : CWorkPlaceSetupWizardPage(IDD_WORKPLACE_WIZARD_3, kMiddle) {}
CWorkPlaceSetupWizard_Page4::CWorkPlaceSetupWizard_Page4()
    : CWorkPlaceSetupWizardPage(IDD_WORKPLACE_WIZARD_4, kMiddle) {}
CWorkPlaceSetupWizard_Page5::CWorkPlaceSetupWizard_Page5()
    : CWorkPlaceSetupWizardPage(IDD_WORKPLACE_WIZARD_5, kMiddle) {}
CWorkPlaceSetupWizard_Page6::CWorkPlaceSetupWizard_Page6()
    : CWorkPlaceSetupWizardPage(IDD_WORKPLACE_WIZARD_6, kMiddle) {}
CWorkPlaceSetupWizard_Page7::CWorkPlaceSetupWizard_Page7()
    : CWorkPlaceSetupWizardPage(IDD_WORKPLACE_WIZARD_7, kMiddle) {}
CWorkPlaceSetupWizard_Page8::CWorkPlaceSetupWizard_Page8()
    : CWorkPlaceSetupWizardPage(IDD_WORKPLACE_WIZARD_8, kLast, true) {}

CWorkPlaceSetupWizard::CWorkPlaceSetupWizard(std::string caption, HWND parent, UINT startPage)
    : ui::WizardSheet(std::move(caption), parent, startPage) {
    SetHeaderBitmap(IDB_WIZARD_HEADER);
    AddPage(m_page1);
    AddPage(m_page2);
    AddPage(m_page3);
    AddPage(m_page4);
    AddPage(m_page5);
    AddPage(m_page6);
    AddPage(m_page7);
    AddPage(m_page8);
}

}  // namespace pausora
