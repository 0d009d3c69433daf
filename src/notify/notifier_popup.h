// The notification window: a borderless, skinned popup that slides or fades
// out of the taskbar's edge of the screen, stays a few seconds and goes back.
// Its owner creates the items once and edits them for every notice; clicks
// reach the owner as WM_NOTIFIER_CLICK.
#pragma once

#include "notify/popup_model.h"
#include "ui/handles.h"
#include "ui/window.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace pausora {

class CNotifierPopup : public ui::Window, private IPopupSurface {
  public:
    CNotifierPopup();
    ~CNotifierPopup() override;

    // Creates the hidden, layered popup owned by `owner`, which receives the
    // clicks.
    bool Create(HWND owner);

    // The skin sets the popup's size; a key colour (none of red, green, blue
    // -1) cuts the pixels of that colour out of the window's shape.
    bool LoadSkin(UINT bitmapId, int red = -1, int green = -1, int blue = -1);

    // Point sizes are in tenths of a point; styles combine kStyleBold,
    // kStyleItalic and kStyleUnderline. An id that is already there is left
    // as it is.
    void AddTextItem(int id, std::string_view text, const RECT& rect, std::string_view face,
                     int pointSize, UINT style, COLORREF colour);
    void AddLinkItem(int id, std::string_view text, const RECT& rect, std::string_view face,
                     int pointSize, UINT normalStyle, UINT hoverStyle, COLORREF normalColour,
                     COLORREF hoverColour);
    void AddPictureItem(int id, int x, int y, UINT bitmapId);
    // None of the setters repaints; the next show does.
    bool SetItemText(int id, std::string_view text);
    bool SetItemClickable(int id, bool clickable);
    bool SetItemPictures(int id, UINT normalBitmapId, UINT hoverBitmapId);

    // A text of item `upper` that needs more lines than its rectangle holds,
    // even in the smallest font it may shrink to, takes them, and item
    // `lower` moves down by as much, at most `room` (at 96 DPI) further.
    void FlowBelow(int upper, int lower, int room);

    // mode 0 slides the popup, 1 fades it; a show while it is in view
    // refreshes it in place.
    void ShowPopup(DWORD appearTime, DWORD stayTime, DWORD disappearTime, int step, int mode,
                   int starCount);
    void HidePopup();
    // A popup in view moves to its place in the changed work area.
    void OnWorkAreaChanged() { m_model.OnWorkAreaChanged(); }

    const NotifierPopupModel& Model() const { return m_model; }

  protected:
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    ui::Handled OnTimer(UINT_PTR id) override;
    ui::Handled OnEraseBackground(HDC dc) override;
    ui::Handled OnPaint() override;
    ui::Handled OnMouseMove(POINT at, WPARAM keys) override;
    ui::Handled OnLButtonUp(POINT at, WPARAM keys) override;
    ui::Handled OnRButtonUp(POINT at, WPARAM keys) override;
    ui::Handled OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage) override;
    ui::Handled OnClose() override;

  private:
    // IPopupSurface
    Screen ReadScreen() override;
    void StartTimer(unsigned id, std::uint32_t periodMs) override;
    void StopTimer(unsigned id) override;
    void ShowWindow() override;
    void HideWindow() override;
    void Place(ScreenPoint corner, std::int32_t width, std::int32_t height) override;
    void ApplyOpacity(std::int32_t opacity) override;
    void Repaint() override;
    void PostClick(std::int32_t itemId, std::int32_t rightClick) override;

    void ChangeScale(std::int32_t dpi) override;

    // The skin in the window's size at the current scaling, and the window's
    // shape cut from it.
    void FitSkin();
    // What a paint draws with is made on first use in a show (or when an
    // item's picture, text or font changes) and kept until the popup hides:
    // a paint of a slide step only draws.
    HBITMAP Picture(UINT bitmapId);
    HFONT Font(HDC dc, const SNotifierItem& item, bool hover);
    void PaintAll(HDC dc, HDC source);
    // The flow's rectangles for the texts the items hold now.
    void Flow();

    struct FittedFont {
        std::string text;  // that the font was fitted to
        ui::FontHandle font;
    };

    HWND m_owner = nullptr;
    UINT m_skinId = 0;
    ui::BitmapHandle m_skin;  // in the window's size
    std::optional<COLORREF> m_keyColour;
    ui::BitmapHandle m_canvas;
    std::map<UINT, ui::BitmapHandle> m_pictures;         // the star and the pictures
    std::map<std::pair<int, bool>, FittedFont> m_fonts;  // by item id and hover look
    std::int32_t m_appliedOpacity = -1;
    struct ItemFlow {
        int upper = 0;
        int lower = 0;
        int room = 0;
        ScreenRect upperRect;  // as added
        ScreenRect lowerRect;
    };
    std::optional<ItemFlow> m_flow;
    NotifierPopupModel m_model;
};

// Creates `popup` for the main window `owner` with the skin and the four items
// every notice uses: the picture, the title, the "Show me a stretch" link and
// the body with the saying.
void SetUpNoticePopup(CNotifierPopup& popup, HWND owner);

}  // namespace pausora
