#include "ui/dialog.h"

namespace pausora::ui {

Dialog::~Dialog() {
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);
    }
}

INT_PTR Dialog::DoModal(HWND parent) {
    m_ended = false;
    m_result = IDCANCEL;
    const HWND hwnd = ::CreateDialogParam(ModuleInstance(), MAKEINTRESOURCE(m_templateId), parent,
                                          &Dialog::Trampoline, reinterpret_cast<LPARAM>(this));
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

INT_PTR CALLBACK Dialog::Trampoline(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->m_hwnd = hwnd;
        ::SetWindowLongPtr(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(::GetWindowLongPtr(hwnd, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    try {
        if (message == WM_INITDIALOG) {
            self->m_dpi.Start(hwnd);
            return self->OnInitDialog();
        }
        if (message == WM_DPICHANGED) {
            self->m_dpi.Change(hwnd, wParam, lParam);
            self->OnDpiChanged();
            // The dialog manager goes on with its own part where it has one
            // (the template's font and layout).
            return FALSE;
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtr(hwnd, DWLP_USER, 0);
            self->m_hwnd = nullptr;
            // A modal run cannot outlive its window: when something else
            // destroys it (a parent going away), the run ends as cancelled
            // instead of pumping messages for nobody.
            if (!self->m_ended) {
                self->m_result = IDCANCEL;
                self->m_ended = true;
            }
            return FALSE;
        }
        if (const Handled result = self->OnMessage(message, wParam, lParam)) {
            return DialogAnswer(hwnd, message, *result);
        }
        return FALSE;
    } catch (...) {
        return FALSE;
    }
}

}  // namespace pausora::ui
