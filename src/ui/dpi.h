// The display's scaling, for the few things the system does not scale for us:
// fonts and bitmaps of fixed pixel sizes. Dialog templates scale by themselves.
#pragma once

#include "ui/handles.h"

#include <windows.h>

namespace pausora::ui {

// Dots per inch of the screen: 96 at 100 %, 144 at 150 %, 192 at 200 %.
int ScreenDpi();

// A length in pixels meant for 96 dots per inch, at the screen's scaling.
int ScaleToScreen(int pixels);

// A bitmap resource `height` pixels tall, in its own proportions: as drawn
// where that is its own height (give or take a rounding pixel), otherwise
// stretched (a picture that fills its place reads better than a sharp stamp
// in a corner).
BitmapHandle LoadBitmapOfHeight(UINT id, int height);

// The size in pixels of a rectangle of `width` x `height` dialog units of
// `dialog`, which grows with the display's scaling.
SIZE DialogUnitsToPixels(HWND dialog, int width, int height);

}  // namespace pausora::ui
