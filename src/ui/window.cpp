#include "ui/window.h"

#include "ui/ui_language.h"
#include "ui/utf.h"

#include <windowsx.h>

namespace pausora::ui {

HINSTANCE ModuleInstance() noexcept {
    return ::GetModuleHandle(nullptr);
}

std::wstring ResourceString(UINT id) {
    // Strings are kept sixteen to a block, each its length and then its
    // characters, not zero-terminated.
    const auto* block = static_cast<const WORD*>(
        LoadInLanguage(RT_STRING, MAKEINTRESOURCEW(static_cast<WORD>(id / 16 + 1))));
    if (block == nullptr) {
        return {};
    }
    for (UINT skip = id % 16; skip > 0; --skip) {
        block += 1 + *block;
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(block + 1), *block);
}

void LoadText(std::string& text, UINT id) {
    if (const std::wstring loaded = ResourceString(id); !loaded.empty()) {
        text = Narrow(loaded);
    }
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLength(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowText(window, text.data(), static_cast<int>(text.size()))));
    return text;
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

struct Window::Procedure {
    using Object = Window;
    using Result = LRESULT;
    static constexpr UINT kAttachMessage = WM_NCCREATE;
    static constexpr int kSlot = GWLP_USERDATA;
    static Window* Creator(LPARAM lParam) noexcept {
        return static_cast<Window*>(reinterpret_cast<const CREATESTRUCT*>(lParam)->lpCreateParams);
    }
    static void Attach(Window& self, HWND hwnd) noexcept { self.m_hwnd = hwnd; }
    static void Detach(Window& self) noexcept { self.m_hwnd = nullptr; }
    static LRESULT Default(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    }
    static LRESULT Dispatch(Window& self, HWND /*hwnd*/, UINT message, WPARAM wParam,
                            LPARAM lParam) {
        if (const Handled result = self.OnMessage(message, wParam, lParam)) {
            return *result;
        }
        return self.DefaultProc(message, wParam, lParam);
    }
};

Window::~Window() {
    Destroy();
}

void Window::Destroy() {
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);  // WM_NCDESTROY clears m_hwnd
    }
}

bool Window::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu) {
    const HINSTANCE instance = ModuleInstance();
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Trampoline<Procedure>;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (::RegisterClassEx(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    return ::CreateWindowEx(exStyle, className, title, style, x, y, width, height, parent, menu,
                            instance, this) != nullptr;
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProc(m_hwnd, message, wParam, lParam);
}

INT_PTR DialogAnswer(HWND dialog, UINT message, LRESULT result) {
    switch (message) {
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_QUERYDRAGICON:
            return static_cast<INT_PTR>(result);
        default:
            ::SetWindowLongPtr(dialog, DWLP_MSGRESULT, result);
            return TRUE;
    }
}

Handled WindowColourBackground(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        default:
            return std::nullopt;
    }
}

}  // namespace pausora::ui
