// The display's scaling, for the things the system does not scale for us:
// fonts and bitmaps of fixed pixel sizes, and metrics of our own. Each window
// follows the scaling of the monitor it is on; dialog templates scale by
// themselves.
#pragma once

#include "ui/handles.h"
#include "ui/screen_geometry.h"

#include <windows.h>

namespace pausora::ui {

// Dots per inch of the screen: 96 at 100 %, 144 at 150 %, 192 at 200 %.
int ScreenDpi();

// The scaling one window is drawn at. The window's base takes it when the
// window is made and again on WM_DPICHANGED, and then calls the window's own
// hook to recreate its fonts and pictures.
class DpiScale {
  public:
    // Takes the window's own scaling, unless one was handed down already
    // (a page made after its sheet moved to another monitor).
    void Start(HWND window);
    // WM_DPICHANGED: takes the new scaling and puts the window on the
    // rectangle the system suggests for it. Returns the new DPI.
    int Change(HWND window, WPARAM wParam, LPARAM lParam);
    // A scaling handed down by the window's owner.
    void Set(int dpi);

    int Dpi() const noexcept { return m_dpi > 0 ? m_dpi : kBaseDpi; }
    // A length given at 96 dots per inch, at this scaling.
    int Scale(int pixels) const { return ScaleLength(pixels, Dpi()); }
    // A length measured on the window when it was made (from its dialog
    // units, say), at this scaling.
    int FromStart(int pixels) const;

  private:
    int m_dpi = 0;
    int m_startDpi = 0;
};

// A bitmap resource `height` pixels tall, in its own proportions: as drawn
// where that is its own height (give or take a rounding pixel), otherwise
// stretched (a picture that fills its place reads better than a sharp stamp
// in a corner).
BitmapHandle LoadBitmapOfHeight(UINT id, int height);

// The titles' typeface, Arial, `height` pixels tall: negative for the
// character's own height (as a point size asks), positive for the cell's.
FontHandle TitleFont(int height, bool bold);

// The size in pixels of a rectangle of `width` x `height` dialog units of
// `dialog`, which grows with the display's scaling.
SIZE DialogUnitsToPixels(HWND dialog, int width, int height);

// Puts `bitmap` into a static picture control; the picture it replaces, if
// it is not one of ours, is handed back for its new owner to delete.
HBITMAP SetStaticPicture(HWND control, HBITMAP bitmap);

}  // namespace pausora::ui
