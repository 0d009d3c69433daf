#include "exercises/styled_text.h"

#include "ui/utf.h"
#include "resource.h"
#include "ui/window.h"

#include <commctrl.h>

namespace pausora {

namespace {
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

CStyledText::~CStyledText() {
    Detach();
}

bool CStyledText::Attach(HWND control) {
    Detach();
    if (control == nullptr || !::SetWindowSubclass(control, &CStyledText::SubclassProc, kSubclassId,
                                                   reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hwnd = control;
    const LONG_PTR style = ::GetWindowLongPtr(control, GWL_STYLE);
    ::SetWindowLongPtr(control, GWL_STYLE, style | SS_NOTIFY);
    return true;
}

void CStyledText::Detach() noexcept {
    if (m_hwnd != nullptr) {
        ::RemoveWindowSubclass(m_hwnd, &CStyledText::SubclassProc, kSubclassId);
        m_hwnd = nullptr;
    }
}

void CStyledText::SetFont(std::string_view faceName, int height, COLORREF textColour) {
    m_faceName = std::string(faceName);
    m_height = height;
    m_textColour = textColour;
    m_fontStale = true;
    m_fontFailureShown = false;
}

void CStyledText::SetBackground(COLORREF colour) {
    m_backgroundColour = colour;
    m_ownBackground = true;
}

ui::FontHandle CStyledText::MakeFont() const {
    return ui::FontHandle(::CreateFont(m_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_STRING_PRECIS, CLIP_CHARACTER_PRECIS,
                                       DEFAULT_QUALITY, 0, Widen(m_faceName).c_str()));
}

void CStyledText::Paint() {
    const std::wstring text = ui::WindowText(m_hwnd);
    RECT client{};
    ::GetClientRect(m_hwnd, &client);

    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(m_hwnd, &paint);
    if (m_ownBackground) {
        const ui::BrushHandle background(::CreateSolidBrush(m_backgroundColour));
        ::FillRect(dc, &client, background.get());
    } else {
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    ::SetTextColor(dc, m_textColour);
    ::SetBkMode(dc, TRANSPARENT);

    if (m_fontStale) {
        m_font = MakeFont();
        m_fontStale = false;
    }
    const bool fontFailed = !m_font;
    if (!fontFailed) {
        const ui::SelectedObject font(dc, m_font.get());
        ::DrawText(dc, text.c_str(), static_cast<int>(text.size()), &client,
                   DT_WORDBREAK | DT_NOPREFIX);
    }
    ::EndPaint(m_hwnd, &paint);

    // Told once per font that failed, and only after the paint is over: a box
    // shown on every paint would bring itself back each time it uncovers the
    // control.
    if (fontFailed && !m_fontFailureShown) {
        m_fontFailureShown = true;
        ::MessageBox(::GetAncestor(m_hwnd, GA_ROOT), ui::ResourceString(IDS_FONT_FAILURE).c_str(),
                     L"Pausora", MB_OK | MB_ICONEXCLAMATION);
    }
}

LRESULT CALLBACK CStyledText::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR /*id*/, DWORD_PTR self) noexcept {
    auto* text = reinterpret_cast<CStyledText*>(self);
    switch (message) {
        case WM_PAINT:
            try {
                text->Paint();
            } catch (...) {
                ::ValidateRect(hwnd, nullptr);
            }
            return 0;
        case WM_NCDESTROY:
            text->Detach();
            break;
        default:
            break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace pausora
