// The history window: the last two or four weeks as bars, drawn from the
// layout history_chart.h works out. Modeless and resizable; the main window
// keeps one and brings it forward on a second request.
#pragma once

#include "history/history_chart.h"
#include "history/history_recorder.h"
#include "store/time_settings.h"
#include "ui/dpi.h"
#include "ui/handles.h"
#include "ui/window.h"

namespace pausora {

class CHistoryWindow final : public ui::Window {
  public:
    CHistoryWindow(const HistoryRecorder& history, const STimeSettings& settings)
        : m_history(history), m_settings(settings) {}

    // Opens the window, or brings the open one forward.
    void Show();

  protected:
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    ui::Handled OnCreate() override;
    ui::Handled OnPaint() override;
    ui::Handled OnEraseBackground(HDC dc) override;
    ui::Handled OnMouseMove(POINT at, WPARAM keys) override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;
    ui::Handled OnTimer(UINT_PTR id) override;
    ui::Handled OnClose() override;

  private:
    void MakeFonts();
    void Relayout();
    void Draw(HDC dc, const RECT& client);
    void Export();

    const HistoryRecorder& m_history;
    const STimeSettings& m_settings;
    ui::DpiScale m_dpi;
    ui::FontHandle m_font;
    ui::FontHandle m_boldFont;
    int m_lineHeight = 16;
    int m_charWidth = 7;
    int m_buttonText = 0;  // the wider of the buttons' texts, in pixels
    HistoryTexts m_texts;
    ChartLayout m_layout;
    HWND m_export = nullptr;
    HWND m_close = nullptr;
    HWND m_tooltip = nullptr;
    int m_hovered = -1;
    std::wstring m_tipText;
    // The off-screen picture, kept while the size stays.
    ui::BitmapHandle m_buffer;
    SIZE m_bufferSize{};
};

}  // namespace pausora
