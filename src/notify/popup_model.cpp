#include "notify/popup_model.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace pausora {

TaskbarEdge FindTaskbarEdge(const ScreenRect& workArea, std::int32_t screenWidth,
                            std::int32_t screenHeight) {
    const std::int32_t workWidth = workArea.right - workArea.left;
    const std::int32_t workHeight = workArea.bottom - workArea.top;
    if (workWidth < screenWidth) {
        return workArea.left == 0 ? TaskbarEdge::kRight : TaskbarEdge::kLeft;
    }
    if (workHeight < screenHeight && workArea.top != 0) {
        return TaskbarEdge::kTop;
    }
    return TaskbarEdge::kBottom;
}

PopupPlacement PlacePopup(TaskbarEdge edge, const ScreenRect& work, std::int32_t width,
                          std::int32_t height) {
    switch (edge) {
        case TaskbarEdge::kRight:
            return {{work.right - width, work.bottom - height},
                    {work.right, work.bottom - height},
                    width};
        case TaskbarEdge::kLeft:
            return {{work.left, work.bottom - height},
                    {work.left - width, work.bottom - height},
                    width};
        case TaskbarEdge::kTop:
            return {
                {work.right - width, work.top}, {work.right - width, work.top - height}, height};
        case TaskbarEdge::kBottom:
        case TaskbarEdge::kUnknown:
            break;
    }
    return {{work.right - width, work.bottom - height}, {work.right - width, work.bottom}, height};
}

std::uint32_t StepPeriod(std::uint32_t time, std::int32_t distance, std::int32_t step) {
    const std::int32_t steps = step > 0 ? distance / step : 0;
    return time / static_cast<std::uint32_t>(std::max(steps, 1));
}

ItemFont MakeItemFont(std::string_view face, std::int32_t pointSize, std::uint32_t style,
                      std::int32_t dpi) {
    // Tenths of a point at `dpi`, rounded to the nearest pixel as the
    // system's MulDiv would.
    const std::int64_t scaled = std::int64_t{pointSize} * dpi;
    const std::int64_t magnitude = ((scaled < 0 ? -scaled : scaled) * 2 + 720) / 1440;
    const auto pixels = static_cast<std::int32_t>(scaled < 0 ? -magnitude : magnitude);
    ItemFont font;
    font.face = std::string(face);
    font.height = -pixels;
    font.weight = (style & kStyleBold) != 0 ? 700 : 400;
    font.italic = (style & kStyleItalic) != 0;
    font.underline = (style & kStyleUnderline) != 0;
    return font;
}

ScreenPoint StarPosition(std::int32_t index) {
    return {kFirstStarCorner.x - kStarWidth * index, kFirstStarCorner.y};
}

std::int32_t ScaleLength(std::int32_t length, std::int32_t dpi) {
    const std::int64_t scaled = std::int64_t{length} * dpi;
    const std::int64_t magnitude =
        ((scaled < 0 ? -scaled : scaled) * 2 + kLayoutDpi) / (2 * std::int64_t{kLayoutDpi});
    return static_cast<std::int32_t>(scaled < 0 ? -magnitude : magnitude);
}

ScreenRect ScaleRect(const ScreenRect& rect, std::int32_t dpi) {
    // Each edge on its own, so that neighbouring rectangles stay neighbours.
    return {ScaleLength(rect.left, dpi), ScaleLength(rect.top, dpi), ScaleLength(rect.right, dpi),
            ScaleLength(rect.bottom, dpi)};
}

ItemFont ScaleFont(const ItemFont& font, std::int32_t dpi) {
    ItemFont scaled = font;
    scaled.height = ScaleLength(font.height, dpi);
    return scaled;
}

ScreenRect StarRect(std::int32_t index, std::int32_t dpi) {
    const ScreenPoint at = StarPosition(index);
    return ScaleRect({at.x, at.y, at.x + kStarWidth, at.y + kStarHeight}, dpi);
}

namespace {

// The scalings the artwork is drawn for, and what its resource ids add.
struct ArtworkScale {
    std::int32_t dpi;
    std::uint32_t idOffset;
};
constexpr ArtworkScale kArtworkScales[] = {
    {96, 0},
    {120, 10000},
    {144, 20000},
    {192, 30000},
};

}  // namespace

std::int32_t ArtworkDpi(std::int32_t dpi) {
    for (const ArtworkScale& scale : kArtworkScales) {
        if (dpi <= scale.dpi) {
            return scale.dpi;
        }
    }
    return std::end(kArtworkScales)[-1].dpi;
}

std::uint32_t ArtworkId(std::uint32_t id, std::int32_t artworkDpi) {
    for (const ArtworkScale& scale : kArtworkScales) {
        if (artworkDpi == scale.dpi) {
            return id + scale.idOffset;
        }
    }
    return id;
}

void NotifierPopupModel::SetSkinSize(std::int32_t width, std::int32_t height) {
    m_skinWidth = width;
    m_skinHeight = height;
}

ScreenRect NotifierPopupModel::ItemRect(const SNotifierItem& item) const {
    return ScaleRect({item.left, item.top, item.right, item.bottom}, m_dpi);
}

bool NotifierPopupModel::TakeScale(std::int32_t dpi) {
    // A monitor that reports nothing sensible is taken as 100 %.
    if (dpi <= 0) {
        dpi = kLayoutDpi;
    }
    if (dpi == m_dpi) {
        return false;
    }
    m_dpi = dpi;
    m_surface.ChangeScale(dpi);
    return true;
}

PopupPlacement NotifierPopupModel::Placement(TaskbarEdge edge, const ScreenRect& workArea) const {
    return PlacePopup(edge, workArea, WindowWidth(), WindowHeight());
}

std::int32_t NotifierPopupModel::PixelStep() const {
    return std::max(ScaleLength(m_step, m_dpi), 1);
}

void NotifierPopupModel::PlaceWindow() {
    m_surface.Place(m_current, WindowWidth(), WindowHeight());
}

SNotifierItem* NotifierPopupModel::Find(std::int32_t id) {
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [id](const SNotifierItem& item) { return item.id == id; });
    return it == m_items.end() ? nullptr : &*it;
}

bool NotifierPopupModel::Add(SNotifierItem item) {
    if (Find(item.id) != nullptr) {
        return false;
    }
    item.hovered = false;
    m_items.push_back(std::move(item));
    return true;
}

namespace {

// A line of text in its rectangle, as the text and the link items begin.
SNotifierItem TextItem(std::int32_t id, std::string_view text, const ScreenRect& rect) {
    SNotifierItem item;
    item.id = id;
    item.text = std::string(text);
    item.left = rect.left;
    item.top = rect.top;
    item.right = rect.right;
    item.bottom = rect.bottom;
    return item;
}

}  // namespace

bool NotifierPopupModel::AddTextItem(std::int32_t id, std::string_view text, const ScreenRect& rect,
                                     const ItemFont& font, std::uint32_t colour) {
    SNotifierItem item = TextItem(id, text, rect);
    item.normalFont = font;
    item.hoverFont = font;
    item.normalColour = colour;
    return Add(std::move(item));
}

bool NotifierPopupModel::AddLinkItem(std::int32_t id, std::string_view text, const ScreenRect& rect,
                                     const ItemFont& normalFont, const ItemFont& hoverFont,
                                     std::uint32_t normalColour, std::uint32_t hoverColour) {
    SNotifierItem item = TextItem(id, text, rect);
    item.normalFont = normalFont;
    item.hoverFont = hoverFont;
    item.normalColour = normalColour;
    item.hoverColour = hoverColour;
    item.clickable = true;
    return Add(std::move(item));
}

bool NotifierPopupModel::AddPictureItem(std::int32_t id, std::int32_t x, std::int32_t y,
                                        std::uint32_t bitmapId, std::int32_t width,
                                        std::int32_t height) {
    SNotifierItem item;
    item.id = id;
    item.normalPicture = bitmapId;
    item.left = x;
    item.top = y;
    item.right = x + width;
    item.bottom = y + height;
    item.isPicture = true;
    return Add(std::move(item));
}

bool NotifierPopupModel::SetItemText(std::int32_t id, std::string_view text) {
    SNotifierItem* item = Find(id);
    if (item == nullptr) {
        return false;
    }
    item->text = std::string(text);
    return true;
}

bool NotifierPopupModel::SetItemClickable(std::int32_t id, bool clickable) {
    SNotifierItem* item = Find(id);
    if (item == nullptr) {
        return false;
    }
    item->clickable = clickable;
    return true;
}

bool NotifierPopupModel::SetItemPictures(std::int32_t id, std::uint32_t normalBitmapId,
                                         std::uint32_t hoverBitmapId) {
    SNotifierItem* item = Find(id);
    if (item == nullptr) {
        return false;
    }
    item->normalPicture = normalBitmapId;
    item->hoverPicture = hoverBitmapId;
    return true;
}

void NotifierPopupModel::ComputeStepPeriods(std::int32_t distance, std::int32_t step) {
    m_appearStepPeriod = StepPeriod(m_appearTime, distance, step);
    m_disappearStepPeriod = StepPeriod(m_disappearTime, distance, step);
}

void NotifierPopupModel::RestartStay() {
    // The stay tick may already have handed over to the disappear timer
    // while the phase still reads "waiting"; stopping it here keeps two
    // timers from racing the popup out of view.
    m_surface.StopTimer(kDisappearTimer);
    m_surface.StartTimer(kStayTimer, m_stayTime);
}

void NotifierPopupModel::ShowPopup(std::uint32_t appearTime, std::uint32_t stayTime,
                                   std::uint32_t disappearTime, std::int32_t step,
                                   std::int32_t mode, std::int32_t starCount) {
    m_starCount = starCount;
    m_appearTime = appearTime;
    m_stayTime = stayTime;
    m_disappearTime = disappearTime;
    // A step of 0 would never get the popup anywhere.
    m_step = std::max(step, 1);

    const IPopupSurface::Screen screen = m_surface.ReadScreen();
    if (TakeScale(screen.dpi) && m_inView) {
        Relocate(screen);
    }
    const TaskbarEdge edge = FindTaskbarEdge(screen.workArea, screen.width, screen.height);
    const PopupPlacement place = Placement(edge, screen.workArea);

    m_needsRepaint = true;
    m_overLink = false;
    for (SNotifierItem& item : m_items) {
        item.hovered = false;
    }

    if (mode == kModeMotion) {
        ShowSliding(edge, place, screen.workArea);
    } else if (mode == kModeTransparency) {
        ShowFading(edge, place);
    }
}

// Slides out of the taskbar's edge; a notice already on its way or up stays
// where it is (or comes straight back) and shows the new contents.
void NotifierPopupModel::ShowSliding(TaskbarEdge edge, const PopupPlacement& place,
                                     const ScreenRect& workArea) {
    m_fadeMode = kModeMotion;
    m_opacity = 255;
    switch (m_phase) {
        case PopupPhase::kHidden:
            ComputeStepPeriods(place.slideLength, PixelStep());
            m_start = place.hidden;
            m_current = place.hidden;
            SetEdge(edge, place.slideLength);
            m_inView = true;
            m_surface.ShowWindow();
            PlaceWindow();
            m_surface.StartTimer(kAppearTimer, m_appearStepPeriod);
            break;
        case PopupPhase::kAppearing:
            m_surface.Repaint();
            break;
        case PopupPhase::kWaiting:
            m_surface.Repaint();
            RestartStay();
            break;
        case PopupPhase::kDisappearing: {
            RestartStay();
            // Straight back to fully shown along the axis it slides on.
            const ScreenPoint shown = Placement(m_edge, workArea).shown;
            if (m_direction.x != 0) {
                m_current.x = shown.x;
            } else {
                m_current.y = shown.y;
            }
            PlaceWindow();
            m_surface.Repaint();
            break;
        }
    }
}

// Fades in at its place; a notice already fading in starts again from
// clear, one up or fading out comes back whole.
void NotifierPopupModel::ShowFading(TaskbarEdge edge, const PopupPlacement& place) {
    m_fadeMode = kModeTransparency;
    m_start = place.shown;
    m_current = place.shown;
    SetEdge(edge, place.slideLength);
    PlaceWindow();
    switch (m_phase) {
        case PopupPhase::kHidden:
            m_opacity = 0;
            m_surface.ApplyOpacity(m_opacity);
            m_inView = true;
            m_surface.ShowWindow();
            ComputeStepPeriods(255, m_step);
            m_surface.StartTimer(kAppearTimer, m_appearStepPeriod);
            break;
        case PopupPhase::kAppearing:
            m_opacity = 0;
            m_surface.Repaint();
            break;
        case PopupPhase::kWaiting:
            m_opacity = 255;
            m_surface.Repaint();
            RestartStay();
            break;
        case PopupPhase::kDisappearing:
            m_opacity = 255;
            RestartStay();
            m_surface.Repaint();
            break;
    }
}

void NotifierPopupModel::OnWorkAreaChanged() {
    if (!m_inView) {
        return;  // the next show reads the screen afresh
    }
    const IPopupSurface::Screen screen = m_surface.ReadScreen();
    if (TakeScale(screen.dpi)) {
        Relocate(screen);
        m_surface.Repaint();
        return;
    }
    const TaskbarEdge edge = FindTaskbarEdge(screen.workArea, screen.width, screen.height);
    const PopupPlacement place = Placement(edge, screen.workArea);
    const ScreenPoint start = m_fadeMode == kModeTransparency ? place.shown : place.hidden;
    if (edge == m_edge && start == m_start) {
        return;  // nothing that matters here has changed
    }
    Relocate(screen);
}

void NotifierPopupModel::Relocate(const IPopupSurface::Screen& screen) {
    const TaskbarEdge edge = FindTaskbarEdge(screen.workArea, screen.width, screen.height);
    const PopupPlacement place = Placement(edge, screen.workArea);
    if (m_fadeMode == kModeTransparency) {
        m_start = place.shown;
        m_current = place.shown;
        SetEdge(edge, place.slideLength);
    } else {
        // The same share of the way out: an edge on the other axis slides
        // the width instead of the height.
        const std::int64_t wasOut = std::clamp(SlidOut(), 0, std::max(m_slideLength, 0));
        const std::int32_t out =
            m_slideLength > 0
                ? static_cast<std::int32_t>(wasOut * place.slideLength / m_slideLength)
                : place.slideLength;
        m_start = place.hidden;
        SetEdge(edge, place.slideLength);
        m_current = {m_start.x + out * m_direction.x, m_start.y + out * m_direction.y};
    }
    PlaceWindow();
}

void NotifierPopupModel::HidePopup() {
    m_inView = false;
    // Every timer goes, not only the one the phase names: right after a show
    // that interrupted the fade-out the phase still reads "disappearing"
    // while the stay timer runs, and a stay tick left behind would start a
    // fade-out of the hidden window.
    m_surface.StopTimer(kAppearTimer);
    m_surface.StopTimer(kStayTimer);
    m_surface.StopTimer(kDisappearTimer);
    m_surface.ApplyOpacity(0);
    m_surface.HideWindow();
    m_phase = PopupPhase::kHidden;
}

void NotifierPopupModel::FinishAppearing() {
    m_surface.StopTimer(kAppearTimer);
    m_surface.StartTimer(kStayTimer, m_stayTime);
    m_phase = PopupPhase::kWaiting;
}

void NotifierPopupModel::SetEdge(TaskbarEdge edge, std::int32_t slideLength) {
    m_edge = edge;
    // Out of the taskbar: away from the edge it sits on.
    switch (edge) {
        case TaskbarEdge::kTop:
            m_direction = {0, 1};
            break;
        case TaskbarEdge::kLeft:
            m_direction = {1, 0};
            break;
        case TaskbarEdge::kRight:
            m_direction = {-1, 0};
            break;
        case TaskbarEdge::kBottom:
            m_direction = {0, -1};
            break;
        case TaskbarEdge::kUnknown:
            m_direction = {0, 0};
            break;
    }
    m_slideLength = m_direction.x == 0 && m_direction.y == 0 ? 0 : slideLength;
}

std::int32_t NotifierPopupModel::SlidOut() const {
    return (m_current.x - m_start.x) * m_direction.x + (m_current.y - m_start.y) * m_direction.y;
}

void NotifierPopupModel::Slide(std::int32_t sign) {
    m_current.x += sign * PixelStep() * m_direction.x;
    m_current.y += sign * PixelStep() * m_direction.y;
}

void NotifierPopupModel::MotionAppearTick() {
    m_phase = PopupPhase::kAppearing;
    // Measured from the hidden corner, so the last step may overshoot by
    // less than one step; the tick after that finishes.
    if (SlidOut() < m_slideLength) {
        Slide(+1);
    } else {
        FinishAppearing();
    }
    PlaceWindow();
    m_surface.Repaint();
}

void NotifierPopupModel::MotionDisappearTick() {
    m_phase = PopupPhase::kDisappearing;
    if (SlidOut() <= 0) {
        // Between notices the window stays hidden at 0 x 0; placing it again
        // here would only give it back its size.
        m_surface.StopTimer(kDisappearTimer);
        HidePopup();
        return;
    }
    Slide(-1);
    PlaceWindow();
    m_surface.Repaint();
}

void NotifierPopupModel::FadeAppearTick() {
    m_phase = PopupPhase::kAppearing;
    if (m_opacity < 255 - m_step) {
        m_opacity += m_step;
    } else {
        m_opacity = 255;
        FinishAppearing();
    }
    m_surface.Repaint();
}

void NotifierPopupModel::FadeDisappearTick() {
    m_phase = PopupPhase::kDisappearing;
    if (m_step < m_opacity) {
        m_opacity -= m_step;
    } else {
        m_opacity = 0;
        m_surface.StopTimer(kDisappearTimer);
        HidePopup();
    }
    m_surface.Repaint();
}

bool NotifierPopupModel::OnTimer(unsigned id) {
    const bool fading = m_fadeMode == kModeTransparency;
    switch (id) {
        case kAppearTimer:
            fading ? FadeAppearTick() : MotionAppearTick();
            return true;
        case kStayTimer:
            m_surface.StopTimer(kStayTimer);
            m_surface.StartTimer(kDisappearTimer, m_disappearStepPeriod);
            return true;
        case kDisappearTimer:
            fading ? FadeDisappearTick() : MotionDisappearTick();
            return true;
        default:
            return false;
    }
}

void NotifierPopupModel::OnMouseMove(std::int32_t x, std::int32_t y) {
    m_needsRepaint = false;
    bool found = false;
    const bool wasOverLink = m_overLink;
    for (SNotifierItem& item : m_items) {
        // Strict on every side: the rectangle's border is not part of a link.
        const ScreenRect rect = ItemRect(item);
        if (!item.clickable ||
            !(rect.left < x && x < rect.right && rect.top < y && y < rect.bottom)) {
            continue;
        }
        m_overLink = true;
        found = true;
        if (!item.hovered) {
            item.hovered = true;
            m_needsRepaint = true;
            for (SNotifierItem& other : m_items) {
                if (&other != &item) {
                    other.hovered = false;
                }
            }
        }
        break;
    }
    if (wasOverLink && !found) {
        m_needsRepaint = true;
        m_overLink = false;
        for (SNotifierItem& item : m_items) {
            if (item.clickable) {
                item.hovered = false;
            }
        }
    }
    if (m_needsRepaint) {
        m_surface.Repaint();
    }
}

void NotifierPopupModel::OnLeftButtonUp() {
    for (const SNotifierItem& item : m_items) {
        if (item.clickable && item.hovered) {
            m_surface.PostClick(item.id, 0);
            return;
        }
    }
    m_surface.PostClick(0, 0);
}

void NotifierPopupModel::OnRightButtonUp() {
    const bool anyHovered = std::any_of(m_items.begin(), m_items.end(),
                                        [](const SNotifierItem& item) { return item.hovered; });
    if (!anyHovered) {
        m_surface.PostClick(0, 1);
    }
}

}  // namespace pausora
