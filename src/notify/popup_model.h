// The notifier popup without its window: where it comes out of the screen, how
// fast it moves or fades, which phase it is in, and what the pointer does to
// its items. The window class feeds it timer ticks and mouse messages and
// carries out what it asks for through IPopupSurface.
#pragma once

#include "ui/screen_geometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pausora {

// The side of the screen the taskbar sits on, as the work area gives it away.
enum class TaskbarEdge : std::int32_t {
    kUnknown = 0,
    kTop = 1,
    kLeft = 2,
    kRight = 3,
    kBottom = 4,
};

// A work area narrower than the screen means a side taskbar, a lower one a
// top taskbar when it starts below 0; anything else, an auto-hidden taskbar
// and no taskbar at all included, is treated as a bottom taskbar.
TaskbarEdge FindTaskbarEdge(const ScreenRect& workArea, std::int32_t screenWidth,
                            std::int32_t screenHeight);

struct PopupPlacement {
    ScreenPoint shown;         // top-left corner when fully in view
    ScreenPoint hidden;        // top-left corner just behind the taskbar
    std::int32_t slideLength;  // the skin's width or height, whichever it slides
};

// The popup sits in the corner of the work area next to the taskbar, and
// slides out from just outside the work area.
PopupPlacement PlacePopup(TaskbarEdge edge, const ScreenRect& workArea, std::int32_t width,
                          std::int32_t height);

// Milliseconds between two animation steps so that `distance` is covered in
// `time` ms at `step` units a tick. Never divides by zero: a step larger than
// the distance makes the whole move one tick long.
std::uint32_t StepPeriod(std::uint32_t time, std::int32_t distance, std::int32_t step);

// How every notice comes and goes: half a second in, half a second out, ten
// pixels or opacity units per step.
inline constexpr std::uint32_t kAppearMs = 500;
inline constexpr std::uint32_t kDisappearMs = 500;
inline constexpr std::uint32_t kShowStep = 10;

// The four items of every notice, as SetUpNoticePopup creates them.
inline constexpr int kItemPicture = 1;
inline constexpr int kItemTitle = 2;
inline constexpr int kItemLink = 3;
inline constexpr int kItemBody = 4;

// Where they sit on the 400 x 159 skin: the picture's top-left corner, then
// the title's, the link's and the body's rectangles.
inline constexpr ScreenPoint kPictureCorner{257, 1};
inline constexpr ScreenRect kTitleRect{11, 17, 250, 40};
inline constexpr ScreenRect kLinkRect{11, 43, 250, 60};
inline constexpr ScreenRect kBodyRect{11, 90, 250, 155};
// How far the link may move down under a title of two lines: to the rule
// the skin draws between it and the saying.
inline constexpr std::int32_t kTitleFlowRoom = 12;
// The experience stars, right to left from the first one's corner, each a
// star's width further left.
inline constexpr ScreenPoint kFirstStarCorner{377, 137};
inline constexpr std::int32_t kStarWidth = 16;
inline constexpr std::int32_t kStarHeight = 15;

// Style bits of AddTextItem and AddLinkItem.
inline constexpr std::uint32_t kStyleBold = 1;
inline constexpr std::uint32_t kStyleItalic = 2;
inline constexpr std::uint32_t kStyleUnderline = 4;

// A font as the screen will create it.
struct ItemFont {
    std::string face;
    std::int32_t height = 0;  // character height in pixels, negative as GDI wants it
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool operator==(const ItemFont&) const = default;
};

// `pointSize` is in tenths of a point, `dpi` the screen's vertical dots per inch.
ItemFont MakeItemFont(std::string_view face, std::int32_t pointSize, std::uint32_t style,
                      std::int32_t dpi);

// One thing the popup shows. The text is the popup's own copy.
struct SNotifierItem {
    std::int32_t id = 0;
    std::string text;
    ItemFont normalFont;
    ItemFont hoverFont;
    std::uint32_t normalColour = 0;  // 0x00BBGGRR
    std::uint32_t hoverColour = 0;
    std::uint32_t normalPicture = 0;  // bitmap resource id; 0 for text items
    std::uint32_t hoverPicture = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool hovered = false;
    bool isPicture = false;
    bool clickable = false;

    // Whether a paint uses the hover font, colour and picture.
    bool ShowsHoverLook() const { return clickable && hovered; }
};

enum class PopupPhase : std::int32_t {
    kHidden = 0,
    kAppearing = 1,
    kWaiting = 2,
    kDisappearing = 3,
};

// Window timer ids on the popup's own window.
inline constexpr unsigned kAppearTimer = 1;
inline constexpr unsigned kStayTimer = 2;
inline constexpr unsigned kDisappearTimer = 3;

inline constexpr std::int32_t kModeMotion = 0;
inline constexpr std::int32_t kModeTransparency = 1;

// The skin, its items and its pictures are laid out at 96 dots per inch; on
// a scaled display every length grows with the scaling (ScaleLength).
inline constexpr std::int32_t kLayoutDpi = kBaseDpi;
ItemFont ScaleFont(const ItemFont& font, std::int32_t dpi);

// The n-th star badge (from 0) at `dpi`, in the window's pixels: the row
// grows leftwards from the right edge of the skin.
ScreenRect StarRect(std::int32_t index, std::int32_t dpi);

// The popup's artwork is drawn for 100, 125, 150 and 200 %. The resource id
// of bitmap `id`, drawn for 96 dots per inch, as drawn for `dpi`: the nearest
// drawing at or above it, which the popup draws down, or the largest beyond
// 200 %.
std::uint32_t ArtworkId(std::uint32_t id, std::int32_t dpi);

// What the popup's window must do for the model.
class IPopupSurface {
  public:
    virtual ~IPopupSurface() = default;

    struct Screen {
        ScreenRect workArea;
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::int32_t dpi = kLayoutDpi;  // of the monitor that holds the notification area
    };
    virtual Screen ReadScreen() = 0;
    // The popup is drawn at another scaling from now on: what the window made
    // for the old one (skin, pictures, fonts) must be made again.
    virtual void ChangeScale(std::int32_t dpi) = 0;
    virtual void StartTimer(unsigned id, std::uint32_t periodMs) = 0;
    virtual void StopTimer(unsigned id) = 0;
    virtual void ShowWindow() = 0;
    // Hides the window and shrinks it to nothing at (0, 0).
    virtual void HideWindow() = 0;
    // Moves the window just below the taskbar in the Z-order.
    virtual void Place(ScreenPoint corner, std::int32_t width, std::int32_t height) = 0;
    virtual void ApplyOpacity(std::int32_t opacity) = 0;
    // Redraws the whole window now; the paint applies Opacity().
    virtual void Repaint() = 0;
    virtual void PostClick(std::int32_t itemId, std::int32_t rightClick) = 0;
};

class NotifierPopupModel {
  public:
    explicit NotifierPopupModel(IPopupSurface& surface) : m_surface(surface) {}

    // The skin's size at 96 dots per inch; the window's own size grows with
    // the scaling the popup is shown at.
    void SetSkinSize(std::int32_t width, std::int32_t height);
    std::int32_t SkinWidth() const { return m_skinWidth; }
    std::int32_t SkinHeight() const { return m_skinHeight; }
    std::int32_t Dpi() const { return m_dpi; }
    std::int32_t WindowWidth() const { return ScaleLength(m_skinWidth, m_dpi); }
    std::int32_t WindowHeight() const { return ScaleLength(m_skinHeight, m_dpi); }
    // An item's rectangle in the window's pixels at the current scaling.
    ScreenRect ItemRect(const SNotifierItem& item) const;

    // Each add does nothing when an item with the id exists already; true
    // when the item was added.
    bool AddTextItem(std::int32_t id, std::string_view text, const ScreenRect& rect,
                     const ItemFont& font, std::uint32_t colour);
    bool AddLinkItem(std::int32_t id, std::string_view text, const ScreenRect& rect,
                     const ItemFont& normalFont, const ItemFont& hoverFont,
                     std::uint32_t normalColour, std::uint32_t hoverColour);
    bool AddPictureItem(std::int32_t id, std::int32_t x, std::int32_t y, std::uint32_t bitmapId,
                        std::int32_t width, std::int32_t height);
    bool SetItemText(std::int32_t id, std::string_view text);
    // The item's rectangle at the layout's scaling (96 DPI).
    bool SetItemRect(std::int32_t id, const ScreenRect& rect);
    bool SetItemClickable(std::int32_t id, bool clickable);
    bool SetItemPictures(std::int32_t id, std::uint32_t normalBitmapId,
                         std::uint32_t hoverBitmapId);

    void ShowPopup(std::uint32_t appearTime, std::uint32_t stayTime, std::uint32_t disappearTime,
                   std::int32_t step, std::int32_t mode, std::int32_t starCount);
    void HidePopup();
    // The work area or the screen changed (the taskbar moved or resized, a
    // display was set to another size or scaling): a popup in view moves to
    // where it belongs now, in the size of that scaling, the same share of
    // the way out of the taskbar's edge.
    void OnWorkAreaChanged();

    // False for a timer that is not the popup's.
    bool OnTimer(unsigned id);
    void OnMouseMove(std::int32_t x, std::int32_t y);
    void OnLeftButtonUp();
    void OnRightButtonUp();
    // The hand cursor is shown while the pointer is over a clickable item.
    bool OverLink() const { return m_overLink; }

    PopupPhase Phase() const { return m_phase; }
    std::int32_t Opacity() const { return m_opacity; }
    std::int32_t StarCount() const { return m_starCount; }
    std::uint32_t AppearStepPeriod() const { return m_appearStepPeriod; }
    const std::vector<SNotifierItem>& Items() const { return m_items; }

  private:
    SNotifierItem* Find(std::int32_t id);
    // Takes the screen's scaling; true when it is another than before.
    bool TakeScale(std::int32_t dpi);
    // Moves a popup in view to its place next to `edge`.
    void Relocate(TaskbarEdge edge, const PopupPlacement& place);
    PopupPlacement Placement(TaskbarEdge edge, const ScreenRect& workArea) const;
    // Pixels a slide step moves: the step grows with the scaling, so a slide
    // takes as many ticks at every scaling.
    std::int32_t PixelStep() const;
    void PlaceWindow();
    bool Add(SNotifierItem item);
    void ComputeStepPeriods(std::int32_t distance, std::int32_t step);
    void ShowSliding(TaskbarEdge edge, const PopupPlacement& place, const ScreenRect& workArea);
    void ShowFading(TaskbarEdge edge, const PopupPlacement& place);
    // Stops whatever is fading or sliding the popup out and gives it its full
    // stay time again.
    void RestartStay();
    // The edge the popup comes out of, how far it goes, and the corner its
    // way starts from, where it is now.
    void Anchor(TaskbarEdge edge, const PopupPlacement& place, ScreenPoint start);
    // The way out of the taskbar as a unit vector.
    ScreenPoint Direction() const;
    // How far the popup is out of its hidden corner along the way out.
    std::int32_t SlidOut() const;
    // One step out (+1) or back in (-1).
    void Slide(std::int32_t sign);
    void AppearTick();
    void DisappearTick();

    IPopupSurface& m_surface;
    std::int32_t m_skinWidth = 0;
    std::int32_t m_skinHeight = 0;
    std::int32_t m_dpi = kLayoutDpi;
    PopupPhase m_phase = PopupPhase::kHidden;
    bool m_inView = false;  // shown, though the phase stays hidden until the first tick
    std::int32_t m_fadeMode = kModeMotion;
    bool m_overLink = false;
    std::uint32_t m_appearTime = 0;
    std::uint32_t m_stayTime = 0;
    std::uint32_t m_disappearTime = 0;
    std::uint32_t m_appearStepPeriod = 0;
    std::uint32_t m_disappearStepPeriod = 0;
    ScreenPoint m_start;
    ScreenPoint m_current;
    TaskbarEdge m_edge = TaskbarEdge::kUnknown;
    std::int32_t m_slideLength = 0;
    std::int32_t m_step = 1;
    std::vector<SNotifierItem> m_items;
    std::int32_t m_opacity = 255;
    std::int32_t m_starCount = 0;
};

}  // namespace pausora
