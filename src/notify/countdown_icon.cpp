#include "notify/countdown_icon.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace pausora {
namespace {

constexpr COLORREF kPlate = RGB(0x4F, 0x94, 0x00);  // the green of the program's art
constexpr COLORREF kEdge = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kDigits = RGB(0xFF, 0xFF, 0xFF);
// Never drawn by the plate or the digits: what is left of it is see-through.
constexpr COLORREF kClear = RGB(0xFF, 0x00, 0xFF);

// The boldest font whose digits fit `width` pixels at most `height` high.
ui::FontHandle FittingFont(HDC dc, const std::wstring& text, int width, int height) {
    for (int h = height; h > 4; --h) {
        ui::FontHandle font(::CreateFontW(-h, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma"));
        const ui::SelectedObject selected(dc, font.get());
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        if (extent.cx <= width || h == 5) {
            return font;
        }
    }
    return {};
}

// The plate and the number, drawn into the bitmap selected into `dc`; the
// rest stays kClear.
void DrawPlateAndDigits(HDC dc, unsigned minutes, int size) {
    const RECT all{0, 0, size, size};
    const ui::BrushHandle clear(::CreateSolidBrush(kClear));
    ::FillRect(dc, &all, clear.get());

    // The plate, with an edge a pixel wide (two from 32 pixels on).
    const int edge = size >= 32 ? 2 : 1;
    const ui::BrushHandle plate(::CreateSolidBrush(kPlate));
    const ui::PenHandle pen(::CreatePen(PS_INSIDEFRAME, edge, kEdge));
    {
        const ui::SelectedObject brush(dc, plate.get());
        const ui::SelectedObject outline(dc, pen.get());
        const int round = std::max(4, size / 3);
        ::RoundRect(dc, 0, 0, size, size, round, round);
    }

    const std::wstring text = std::to_wstring(minutes);
    // A pixel clear of the edge on either side.
    const ui::FontHandle font = FittingFont(dc, text, size - 2 * edge - 2, size * 4 / 5);
    const ui::SelectedObject selectedFont(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kDigits);
    RECT inside{edge, edge, size - edge, size - edge};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inside,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

ui::IconHandle DrawCountdownIcon(unsigned minutes, int size) {
    if (minutes < 1 || minutes > 99 || size < 8) {
        return {};
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const ui::BitmapHandle colour(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ui::BitmapHandle mask(::CreateBitmap(size, size, 1, 1, nullptr));
    const ui::MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!colour || !mask || !dc || bits == nullptr) {
        return {};
    }
    {
        const ui::SelectedObject selected(dc.get(), colour.get());
        DrawPlateAndDigits(dc.get(), minutes, size);
    }
    ::GdiFlush();

    // GDI leaves the alpha bytes alone: set them, opaque wherever something
    // was drawn.
    auto* pixel = static_cast<std::uint32_t*>(bits);
    const std::uint32_t clearPixel = 0x00FF00FF;
    for (int i = 0; i < size * size; ++i) {
        pixel[i] = (pixel[i] & 0x00FFFFFF) == clearPixel ? 0 : (pixel[i] | 0xFF000000);
    }
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = colour.get();
    icon.hbmMask = mask.get();  // unused where the colours have alpha, but required
    return ui::IconHandle(::CreateIconIndirect(&icon));
}

}  // namespace pausora
