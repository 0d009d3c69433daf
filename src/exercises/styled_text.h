// A static text control that draws its text in a font, colour and background
// of its own choosing: the exercises' instructions.
#pragma once

#include "ui/handles.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace pausora {

class CStyledText {
  public:
    virtual ~CStyledText();

    // Takes over the painting of an existing static control, which from then
    // on also reports clicks (SS_NOTIFY). False if it cannot.
    bool Attach(HWND control);
    HWND Handle() const noexcept { return m_hwnd; }

    // Face name, cell height in pixels and text colour; the text is drawn
    // left-aligned and wrapped at words.
    void SetFont(std::string_view faceName, int height, COLORREF textColour);
    // Paints this colour behind the text instead of the button-face colour.
    void SetBackground(COLORREF colour);

  protected:
    // The font the text is drawn in; empty when it cannot be made.
    virtual ui::FontHandle MakeFont() const;

  private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self) noexcept;
    void Paint();
    void Detach() noexcept;

    bool m_ownBackground = false;
    std::string m_faceName = "MS Sans Serif";
    COLORREF m_textColour = RGB(0, 0, 0);
    COLORREF m_backgroundColour = RGB(255, 255, 255);
    int m_height = 8;

    HWND m_hwnd = nullptr;
    // Made once per change of face, height or style, not once per paint.
    ui::FontHandle m_font;
    bool m_fontStale = true;
    bool m_fontFailureShown = false;
};

}  // namespace pausora
