#include "ui/dialog.h"

#include "ui/ui_language.h"

namespace pausora::ui {

struct Dialog::Procedure : DialogProcedure {
    using Object = Dialog;
    static Dialog* Creator(LPARAM lParam) noexcept { return reinterpret_cast<Dialog*>(lParam); }
    static void Attach(Dialog& self, HWND hwnd) noexcept { self.m_hwnd = hwnd; }
    static void Detach(Dialog& self) noexcept {
        self.m_hwnd = nullptr;
        // A modal run cannot outlive its window: when something else
        // destroys it (a parent going away), the run ends as cancelled
        // instead of pumping messages for nobody.
        if (!self.m_ended) {
            self.m_result = IDCANCEL;
            self.m_ended = true;
        }
    }
    static INT_PTR Dispatch(Dialog& self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_INITDIALOG:
                self.m_dpi.Start(hwnd);
                return self.OnInitDialog();
            case WM_DPICHANGED:
                self.m_dpi.Change(hwnd, wParam, lParam);
                self.OnDpiChanged();
                // The dialog manager goes on with its own part where it has
                // one (the template's font and layout).
                return FALSE;
            default:
                return Answer(hwnd, message, self.OnMessage(message, wParam, lParam));
        }
    }
};

Dialog::~Dialog() {
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);
    }
}

INT_PTR Dialog::DoModal(HWND parent) {
    m_ended = false;
    m_result = IDCANCEL;
    const auto* dialog =
        static_cast<const DLGTEMPLATE*>(LoadInLanguage(RT_DIALOG, MAKEINTRESOURCE(m_templateId)));
    const HWND hwnd =
        dialog == nullptr
            ? nullptr
            : ::CreateDialogIndirectParam(ModuleInstance(), dialog, parent, &Trampoline<Procedure>,
                                          reinterpret_cast<LPARAM>(this));
    if (hwnd == nullptr) {
        return -1;
    }
    if (!m_ended && ShowOnModalStart()) {
        ::ShowWindow(hwnd, SW_SHOW);
    }
    RunModal(
        parent, [this] { return m_ended; }, [this](MSG& msg) { return PreTranslateMessage(msg); },
        [this](MSG& msg) { return m_hwnd != nullptr && ::IsDialogMessage(m_hwnd, &msg); });
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);
    }
    return m_result;
}

void Dialog::EndDialog(INT_PTR result) {
    m_result = result;
    m_ended = true;
    ::ShowWindow(m_hwnd, SW_HIDE);
    ::PostMessage(m_hwnd, WM_NULL, 0, 0);  // wake the loop
}

Handled Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_background == kWindowColour) {
        if (const Handled answer = WindowColourBackground(message, wParam)) {
            return answer;
        }
    }
    return MessageHandlers::OnMessage(message, wParam, lParam);
}

Handled Dialog::OnCommand(UINT id, UINT /*code*/, HWND /*control*/) {
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(static_cast<INT_PTR>(id));
        return 0;
    }
    return std::nullopt;
}

Handled Dialog::OnClose() {
    EndDialog(IDCANCEL);
    return 0;
}

}  // namespace pausora::ui
