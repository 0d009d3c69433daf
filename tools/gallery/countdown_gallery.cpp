// The countdown icons of the notification area on a light and a dark
// taskbar, at each size the tray uses, as they are and four times larger:
// written as a BMP file for scripts/gallery-countdown.sh to look at.
#include "notify/countdown_icon.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kSizes[] = {16, 20, 24, 32};
constexpr unsigned kMinutes[] = {1, 5, 25, 99};
constexpr COLORREF kBackgrounds[] = {RGB(0xF3, 0xF3, 0xF3), RGB(0x20, 0x20, 0x20)};
constexpr int kZoom = 4;
constexpr int kGap = 8;

struct Canvas {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    int width;
    int height;
    Canvas(int w, int h) : width(w), height(h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ::SelectObject(dc, bitmap);
    }
    ~Canvas() {
        ::DeleteDC(dc);
        ::DeleteObject(bitmap);
    }
    void Fill(RECT r, COLORREF colour) {
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &r, brush);
        ::DeleteObject(brush);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: countdown_gallery out.bmp\n", stderr);
        return 2;
    }
    int bandHeight = 0;
    for (const int size : kSizes) {
        bandHeight += size * kZoom + kGap;
    }
    const int width = 4 * (32 + kGap) + 4 * (32 * kZoom + kGap) + kGap;
    Canvas canvas(width, bandHeight * 2);
    int y = 0;
    for (const COLORREF background : kBackgrounds) {
        canvas.Fill({0, y, width, y + bandHeight}, background);
        for (const int size : kSizes) {
            int x = kGap;
            for (const unsigned minutes : kMinutes) {
                const pausora::ui::IconHandle icon = pausora::DrawCountdownIcon(minutes, size);
                ::DrawIconEx(canvas.dc, x, y + kGap / 2, icon.get(), size, size, 0, nullptr,
                             DI_NORMAL);
                x += 32 + kGap;
            }
            for (const unsigned minutes : kMinutes) {
                const pausora::ui::IconHandle icon = pausora::DrawCountdownIcon(minutes, size);
                Canvas one(size, size);
                one.Fill({0, 0, size, size}, background);
                ::DrawIconEx(one.dc, 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
                ::SetStretchBltMode(canvas.dc, COLORONCOLOR);
                ::StretchBlt(canvas.dc, x, y + kGap / 2, size * kZoom, size * kZoom, one.dc, 0, 0,
                             size, size, SRCCOPY);
                x += 32 * kZoom + kGap;
            }
            y += size * kZoom + kGap;
        }
    }
    ::GdiFlush();
    // GDI leaves the alpha bytes at 0: the picture is opaque.
    auto* pixel = static_cast<DWORD*>(canvas.bits);
    for (int i = 0; i < canvas.width * canvas.height; ++i) {
        pixel[i] |= 0xFF000000;
    }
    const DWORD imageBytes = static_cast<DWORD>(canvas.width * canvas.height * 4);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageBytes;
    BITMAPINFOHEADER header{
        sizeof header, canvas.width, -canvas.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        return 1;
    }
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(canvas.bits, imageBytes, 1, out);
    return std::fclose(out) == 0 ? 0 : 1;
}
