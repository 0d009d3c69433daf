#include "ui/dpi.h"

#include "ui/window.h"

namespace pausora::ui {

namespace {

// A DPI from the system, or 96 when it says nothing sensible.
int Sane(long long dpi) {
    return dpi >= 48 && dpi <= 960 ? static_cast<int>(dpi) : kBaseDpi;
}

}  // namespace

int ScreenDpi() {
    const WindowDc screen(nullptr);
    return Sane(screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : kBaseDpi);
}

void DpiScale::Start(HWND window) {
    // GetDpiForWindow came with Windows 10 (1607); looked up once, so the
    // program still starts on Windows 7 and 8. Elsewhere the screen's counts.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT windowDpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    // What the window's template was laid out at, whatever was handed down.
    m_startDpi = windowDpi != 0 ? Sane(windowDpi) : ScreenDpi();
    if (m_dpi <= 0) {
        m_dpi = m_startDpi;
    }
}

int DpiScale::Change(HWND window, WPARAM wParam, LPARAM lParam) {
    // Both halves carry the same value; the vertical one is the one fonts
    // are sized by.
    Set(Sane(HIWORD(wParam)));
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return m_dpi;
}

void DpiScale::Set(int dpi) {
    m_dpi = Sane(dpi);
}

int DpiScale::FromStart(int pixels) const {
    return m_startDpi > 0 ? ::MulDiv(pixels, Dpi(), m_startDpi) : pixels;
}

FontHandle TitleFont(int height, bool bold) {
    LOGFONT font{};
    font.lfHeight = height;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpyn(font.lfFaceName, L"Arial", LF_FACESIZE);
    return FontHandle(::CreateFontIndirect(&font));
}

BitmapHandle LoadBitmapOfHeight(UINT id, int height) {
    BitmapHandle bitmap(static_cast<HBITMAP>(
        ::LoadImage(ModuleInstance(), MAKEINTRESOURCE(id), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP own{};
    if (!bitmap || ::GetObject(bitmap.get(), sizeof own, &own) == 0 || own.bmHeight <= 0 ||
        height <= 0 || (own.bmHeight - height <= 2 && height - own.bmHeight <= 2)) {
        return bitmap;
    }
    const int width = ::MulDiv(own.bmWidth, height, own.bmHeight);
    BitmapHandle sized(static_cast<HBITMAP>(
        ::LoadImage(ModuleInstance(), MAKEINTRESOURCE(id), IMAGE_BITMAP, width, height, 0)));
    return sized ? std::move(sized) : std::move(bitmap);
}

SIZE DialogUnitsToPixels(HWND dialog, int width, int height) {
    RECT rect{0, 0, width, height};
    ::MapDialogRect(dialog, &rect);
    return {rect.right, rect.bottom};
}

HBITMAP SetStaticPicture(HWND control, HBITMAP bitmap) {
    return reinterpret_cast<HBITMAP>(
        ::SendMessage(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

}  // namespace pausora::ui
