#include "ui/window.h"

#include <windowsx.h>

namespace pausora::ui {

HINSTANCE ModuleInstance() noexcept {
    return ::GetModuleHandleA(nullptr);
}

namespace {
HWND g_appMainWindow = nullptr;
}  // namespace

HWND AppMainWindow() noexcept {
    return g_appMainWindow;
}

void SetAppMainWindow(HWND window) noexcept {
    g_appMainWindow = window;
}

Handled MessageHandlers::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_CLOSE:
            return OnClose();
        case WM_TIMER:
            return OnTimer(static_cast<UINT_PTR>(wParam));
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_PAINT:
            return OnPaint();
        case WM_ERASEBKGND:
            return OnEraseBackground(reinterpret_cast<HDC>(wParam));
        case WM_MOUSEMOVE:
            return OnMouseMove(at, wParam);
        case WM_LBUTTONUP:
            return OnLButtonUp(at, wParam);
        case WM_RBUTTONUP:
            return OnRButtonUp(at, wParam);
        case WM_SETCURSOR:
            return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
        case WM_SYSCOMMAND:
            return OnSysCommand(static_cast<UINT>(wParam), lParam);
        default:
            return std::nullopt;
    }
}

Handled Dispatch(MessageHandlers& handlers, UINT message, WPARAM wParam, LPARAM lParam) {
    return handlers.OnMessage(message, wParam, lParam);
}

Window::~Window() {
    Destroy();
}

void Window::Destroy() {
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);  // WM_NCDESTROY clears m_hwnd
    }
}

bool Window::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu) {
    const HINSTANCE instance = ModuleInstance();
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExA(instance, className, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Window::Trampoline;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = className;
        if (::RegisterClassExA(&wc) == 0) {
            return false;
        }
    }
    return ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                             instance, this) != nullptr;
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::Trampoline(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        self = static_cast<Window*>(create->lpCreateParams);
        self->m_hwnd = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    try {
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->m_hwnd = nullptr;
            return ::DefWindowProcA(hwnd, message, wParam, lParam);
        }
        if (const Handled result = Dispatch(*self, message, wParam, lParam)) {
            return *result;
        }
        return self->DefaultProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code; the message simply
        // gets its default handling.
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace pausora::ui
