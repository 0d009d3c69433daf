#include "wizards/workplace_setup_wizard.h"

#include "resource.h"

#include <utility>

namespace pausora {

namespace {
constexpr DWORD kFirst = PSWIZB_NEXT;
constexpr DWORD kMiddle = PSWIZB_BACK | PSWIZB_NEXT;
constexpr DWORD kLast = PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH;
}  // namespace

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
        {IDD_WORKPLACE_WIZARD_8, IDB_WP_CLIMATE_NOISE, kLast},
    };
    SetHeaderBitmap(IDB_WIZARD_HEADER);
    for (const Page::Layout& layout : kPages) {
        AddPage(*m_pages.emplace_back(std::make_unique<Page>(layout)));
    }
}

}  // namespace pausora
