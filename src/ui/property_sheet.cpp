#include "ui/property_sheet.h"

#include "ui/common_controls.h"
#include "ui/ui_language.h"

#include <algorithm>

namespace pausora::ui {

namespace {
// The Finish button of comctl32's wizards.
constexpr int kWizardFinishButton = 0x3025;

// The sheet whose window is being made: the system's sheet callback carries
// no data of ours. Sheets are made on one thread, one at a time.
thread_local PropertySheet* t_sheetBeingCreated = nullptr;
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

struct PropertyPage::Procedure : DialogProcedure {
    using Object = PropertyPage;
    static PropertyPage* Creator(LPARAM lParam) noexcept {
        return reinterpret_cast<PropertyPage*>(
            reinterpret_cast<const PROPSHEETPAGE*>(lParam)->lParam);
    }
    static void Attach(PropertyPage& self, HWND hwnd) noexcept { self.m_hwnd = hwnd; }
    static void Detach(PropertyPage& self) noexcept { self.m_hwnd = nullptr; }
    static INT_PTR Dispatch(PropertyPage& self, HWND hwnd, UINT message, WPARAM wParam,
                            LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                self.m_dpi.Start(hwnd);
                return self.OnInitDialog();
            case WM_NOTIFY:
                if (const Handled result = self.Notify(*reinterpret_cast<const NMHDR*>(lParam))) {
                    ::SetWindowLongPtr(hwnd, DWLP_MSGRESULT, *result);
                    return TRUE;
                }
                return FALSE;
            default:
                return Answer(hwnd, message, self.OnMessage(message, wParam, lParam));
        }
    }
};

void PropertyPage::SetHeaderTexts(UINT title, UINT subtitle) {
    m_headerTitle = ResourceString(title);
    m_headerSubtitle = ResourceString(subtitle);
}

HPROPSHEETPAGE PropertyPage::CreatePage(const wchar_t* title) {
    PROPSHEETPAGE page{};
    page.dwSize = sizeof page;
    page.dwFlags = m_iconId != 0 ? PSP_USEICONID : 0;
    page.hInstance = ModuleInstance();
    // The template in the thread's language, as the dialogs take theirs.
    if (const void* dialog = LoadInLanguage(RT_DIALOG, MAKEINTRESOURCE(m_templateId))) {
        page.dwFlags |= PSP_DLGINDIRECT;
        page.pResource = static_cast<const DLGTEMPLATE*>(dialog);
    } else {
        page.pszTemplate = MAKEINTRESOURCE(m_templateId);
    }
    page.pszIcon = MAKEINTRESOURCE(m_iconId);
    page.pfnDlgProc = &Trampoline<Procedure>;
    page.lParam = reinterpret_cast<LPARAM>(this);
    if (title != nullptr) {
        page.dwFlags |= PSP_USETITLE;
        page.pszTitle = title;
    }
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
    return ::CreatePropertySheetPage(&page);
}

void PropertyPage::SetModified() {
    if (m_hwnd != nullptr) {
        ::SendMessage(Sheet(), PSM_CHANGED, reinterpret_cast<WPARAM>(m_hwnd), 0);
    }
}

void PropertyPage::SetWizardButtons(DWORD flags) const {
    const HWND sheet = Sheet();
    ::PostMessage(sheet, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
    // Posted after the buttons: Finish is shown only when they arrive.
    const HWND finish = ::GetDlgItem(sheet, kWizardFinishButton);
    if ((flags & PSWIZB_FINISH) != 0 && finish != nullptr) {
        ::PostMessageW(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(finish), TRUE);
    }
}

// A page's own answer comes first; the steps after it each let the sheet go
// on, apart from an apply that fails.
Handled PropertyPage::Notify(const NMHDR& header) {
    if (const Handled answer = OnNotify(header)) {
        return answer;
    }
    switch (header.code) {
        case PSN_SETACTIVE:
            OnSetActive();
            return 0;
        case PSN_KILLACTIVE:
            OnKillActive();
            return FALSE;
        case PSN_APPLY:
            if (!OnApply()) {
                return PSNRET_INVALID;
            }
            if (m_owner != nullptr) {
                m_owner->m_applied = true;
            }
            return PSNRET_NOERROR;
        case PSN_WIZFINISH:
            OnWizardFinish();
            return FALSE;
        default:
            return std::nullopt;
    }
}

void PropertyPage::FollowDpi(int dpi) {
    m_dpi.Set(dpi);
    if (m_hwnd != nullptr) {
        OnDpiChanged();
    }
}

PropertySheet::PropertySheet(std::string caption, HWND parent, UINT startPage)
    : m_caption(Widen(caption)) {
    m_header.dwSize = sizeof m_header;
    m_header.dwFlags = PSH_MODELESS | PSH_USECALLBACK | PSH_NOCONTEXTHELP;
    m_header.hwndParent = parent;
    m_header.hInstance = ModuleInstance();
    m_header.nStartPage = startPage;
    m_header.pfnCallback = &PropertySheet::SheetCallback;
}

PropertySheet::~PropertySheet() {
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);
    }
}

INT_PTR PropertySheet::DoModal() {
    LoadCommonControls();
    // A wizard's title bar shows the title of the page in front; every page
    // carries the wizard's own, so the window keeps its name.
    const wchar_t* pageTitle = IsWizard() ? m_caption.c_str() : nullptr;
    std::vector<HPROPSHEETPAGE> pages;
    for (PropertyPage* page : m_pages) {
        if (const HPROPSHEETPAGE made = page->CreatePage(pageTitle)) {
            pages.push_back(made);
        }
    }
    if (pages.empty()) {
        return -1;
    }
    m_header.pszCaption = m_caption.c_str();
    m_header.nPages = static_cast<UINT>(pages.size());
    m_header.phpage = pages.data();

    t_sheetBeingCreated = this;
    const auto created = ::PropertySheet(&m_header);
    t_sheetBeingCreated = nullptr;
    if (created <= 0) {
        for (const HPROPSHEETPAGE page : pages) {
            ::DestroyPropertySheetPage(page);
        }
        return -1;
    }
    m_hwnd = reinterpret_cast<HWND>(created);

    // The sheet has no current page any more once OK, Cancel or Finish
    // closed it. A wizard is walked by its buttons only: Ctrl+Tab does not
    // switch its pages.
    RunModal(
        m_header.hwndParent,
        [this] { return m_hwnd == nullptr || PropSheet_GetCurrentPageHwnd(m_hwnd) == nullptr; },
        [this](MSG& msg) { return PreTranslateMessage(msg); },
        [this](MSG& msg) {
            return m_hwnd != nullptr && (IsWizard() ? ::IsDialogMessage(m_hwnd, &msg)
                                                    : PropSheet_IsDialogMessage(m_hwnd, &msg));
        });
    const INT_PTR result = m_hwnd != nullptr && PropSheet_GetResult(m_hwnd) > 0 ? IDOK : IDCANCEL;
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);
    }
    return result;
}

LRESULT PropertySheet::CallSheetProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hwnd, message, wParam, lParam);
}

int CALLBACK PropertySheet::SheetCallback(HWND hwnd, UINT message, LPARAM /*lParam*/) noexcept {
    if (message != PSCB_INITIALIZED || t_sheetBeingCreated == nullptr) {
        return 0;
    }
    PropertySheet* self = t_sheetBeingCreated;
    self->m_hwnd = hwnd;
    self->m_dpi.Start(hwnd);
    ::SetWindowSubclass(hwnd, &PropertySheet::SubclassProc, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(self));
    try {
        self->OnInitialized();
    } catch (...) {
    }
    return 0;
}

LRESULT CALLBACK PropertySheet::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR /*id*/, DWORD_PTR data) noexcept {
    auto* self = reinterpret_cast<PropertySheet*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &PropertySheet::SubclassProc, kSubclassId);
        self->m_hwnd = nullptr;
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    if (message == WM_DPICHANGED) {
        // The system's own part first (the template fonts and layout, where
        // it has one), then ours.
        ::DefSubclassProc(hwnd, message, wParam, lParam);
        try {
            const int dpi = self->m_dpi.Change(hwnd, wParam, lParam);
            for (PropertyPage* page : self->m_pages) {
                page->FollowDpi(dpi);
            }
            self->OnDpiChanged();
        } catch (...) {
        }
        return 0;
    }
    // The pages apply one by one inside the handling of the button (or the
    // message) that asked for it; the owner hears of it when that is over.
    ++self->m_depth;
    Handled handled;
    try {
        handled = self->OnMessage(message, wParam, lParam);
    } catch (...) {
    }
    const LRESULT result = handled ? *handled : ::DefSubclassProc(hwnd, message, wParam, lParam);
    if (--self->m_depth == 0 && self->m_applied) {
        self->m_applied = false;
        if (self->m_onApplied) {
            try {
                self->m_onApplied();
            } catch (...) {
            }
        }
    }
    // OK or Cancel may come as a message sent from elsewhere, which the
    // modal loop's wait handles without returning; a posted message wakes
    // it to see that the sheet has closed.
    if ((message == WM_COMMAND || message == PSM_PRESSBUTTON || message == WM_SYSCOMMAND) &&
        PropSheet_GetCurrentPageHwnd(hwnd) == nullptr) {
        ::PostMessage(hwnd, WM_NULL, 0, 0);
    }
    return result;
}

WizardSheet::WizardSheet(std::string caption, HWND parent, UINT startPage)
    : PropertySheet(std::move(caption), parent, startPage) {
    Header().dwFlags = (Header().dwFlags & ~static_cast<DWORD>(PSH_NOCONTEXTHELP)) | PSH_WIZARD97;
}

void WizardSheet::OnInitialized() {
    const HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    const HMONITOR monitor = tray != nullptr
                                 ? ::MonitorFromWindow(tray, MONITOR_DEFAULTTOPRIMARY)
                                 : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT own{};
    if (!::GetMonitorInfoW(monitor, &info) || !::GetWindowRect(Handle(), &own)) {
        return;
    }
    const RECT& work = info.rcWork;
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    // A sheet larger than the work area keeps its top-left corner on it.
    ::SetWindowPos(Handle(), nullptr,
                   work.left + std::max(0, static_cast<int>(work.right - work.left) - width) / 2,
                   work.top + std::max(0, static_cast<int>(work.bottom - work.top) - height) / 2, 0,
                   0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardSheet::SetWatermark(UINT bitmapId) {
    Header().dwFlags |= PSH_WATERMARK;
    Header().pszbmWatermark = MAKEINTRESOURCE(bitmapId);
}

// The header picture goes over as a loaded bitmap: named by its resource id
// it is not drawn everywhere (Wine's sheet leaves it out).
void WizardSheet::SetHeaderBitmap(UINT bitmapId) {
    m_headerBitmap.reset(static_cast<HBITMAP>(::LoadImage(
        ModuleInstance(), MAKEINTRESOURCE(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    Header().dwFlags |= PSH_HEADER | PSH_USEHBMHEADER;
    Header().hbmHeader = m_headerBitmap.get();
}

}  // namespace pausora::ui
