#include "ui/wizard_sheet.h"

#include "ui/common_controls.h"

#include "ui/handles.h"

namespace pausora::ui {

void WizardPage::SetHeaderTexts(std::string title, std::string subtitle) {
    m_headerTitle = std::move(title);
    m_headerSubtitle = std::move(subtitle);
}

PROPSHEETPAGEA WizardPage::Describe() {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.hInstance = ModuleInstance();
    page.pszTemplate = MAKEINTRESOURCEA(m_templateId);
    page.pfnDlgProc = &WizardPage::Trampoline;
    page.lParam = reinterpret_cast<LPARAM>(this);
    if (m_hideHeader) {
        page.dwFlags |= PSP_HIDEHEADER;
    }
    if (!m_headerTitle.empty()) {
        page.dwFlags |= PSP_USEHEADERTITLE;
        page.pszHeaderTitle = m_headerTitle.c_str();
    }
    if (!m_headerSubtitle.empty()) {
        page.dwFlags |= PSP_USEHEADERSUBTITLE;
        page.pszHeaderSubTitle = m_headerSubtitle.c_str();
    }
    return page;
}

void WizardPage::SetWizardButtons(DWORD flags) const {
    ::PostMessageA(Sheet(), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

void WizardPage::SetModified() const {
    ::SendMessageA(Sheet(), PSM_CHANGED, reinterpret_cast<WPARAM>(m_hwnd), 0);
}

// Each answer lets the wizard go on: a page never holds the user back.
INT_PTR WizardPage::Notify(const NMHDR& header) {
    switch (header.code) {
        case PSN_SETACTIVE:
            OnSetActive();
            ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, 0);
            return TRUE;
        case PSN_KILLACTIVE:
            OnKillActive();
            ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, FALSE);
            return TRUE;
        case PSN_WIZFINISH:
            OnWizardFinish();
            ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, FALSE);
            return TRUE;
        default:
            if (const Handled result = OnNotify(header)) {
                ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, *result);
                return TRUE;
            }
            return FALSE;
    }
}

INT_PTR CALLBACK WizardPage::Trampoline(HWND hwnd, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    WizardPage* self = nullptr;
    if (message == WM_INITDIALOG) {
        // The sheet hands over its copy of the page's description.
        self = reinterpret_cast<WizardPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        self->m_hwnd = hwnd;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<WizardPage*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    try {
        switch (message) {
            case WM_INITDIALOG:
                return self->OnInitDialog();
            case WM_NCDESTROY:
                ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
                self->m_hwnd = nullptr;
                return FALSE;
            case WM_NOTIFY:
                return self->Notify(*reinterpret_cast<const NMHDR*>(lParam));
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN: {
                const HWND control =
                    message == WM_CTLCOLORDLG ? hwnd : reinterpret_cast<HWND>(lParam);
                if (const Handled brush =
                        self->OnCtlColor(reinterpret_cast<HDC>(wParam), control)) {
                    return static_cast<INT_PTR>(*brush);
                }
                return FALSE;
            }
            default:
                break;
        }
        if (const Handled result = Dispatch(*self, message, wParam, lParam)) {
            ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, *result);
            return TRUE;
        }
        return FALSE;
    } catch (...) {
        return FALSE;
    }
}

INT_PTR WizardSheet::DoModal() {
    LoadCommonControls();
    std::vector<PROPSHEETPAGEA> pages;
    pages.reserve(m_pages.size());
    for (WizardPage* page : m_pages) {
        pages.push_back(page->Describe());
        // A wizard's title bar shows the title of the page in front; every
        // page carries the wizard's own, so the window keeps its name.
        pages.back().dwFlags |= PSP_USETITLE;
        pages.back().pszTitle = m_caption.c_str();
    }
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD97;
    header.hwndParent = m_parent;
    header.hInstance = ModuleInstance();
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = m_startPage;
    header.ppsp = pages.data();
    if (m_watermark != 0) {
        header.dwFlags |= PSH_WATERMARK;
        header.pszbmWatermark = MAKEINTRESOURCEA(m_watermark);
    }
    // The header picture goes over as a loaded bitmap: named by its resource
    // id it is not drawn everywhere (Wine's sheet leaves it out).
    BitmapHandle headerBitmap;
    if (m_headerBitmap != 0) {
        headerBitmap.reset(
            static_cast<HBITMAP>(::LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(m_headerBitmap),
                                              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        header.dwFlags |= PSH_HEADER | PSH_USEHBMHEADER;
        header.hbmHeader = headerBitmap.get();
    }
    return ::PropertySheetA(&header);
}

}  // namespace pausora::ui
