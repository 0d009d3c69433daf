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
    ItemFont font;
    font.face = std::string(face);
    font.height = -MulDivRounded(pointSize, dpi, 720);  // tenths of a point
    font.weight = (style & kStyleBold) != 0 ? 700 : 400;
    font.italic = (style & kStyleItalic) != 0;
    font.underline = (style & kStyleUnderline) != 0;
    return font;
}

ItemFont ScaleFont(const ItemFont& font, std::int32_t dpi) {
    ItemFont scaled = font;
    scaled.height = ScaleLength(font.height, dpi);
    return scaled;
}

ScreenRect StarRect(std::int32_t index, std::int32_t dpi) {
    const std::int32_t left = kFirstStarCorner.x - kStarWidth * index;
    return ScaleRect(
        {left, kFirstStarCorner.y, left + kStarWidth, kFirstStarCorner.y + kStarHeight}, dpi);
}

namespace {

// The scalings the artwork is drawn for, and what its resource ids add.
struct ArtworkScale {
    std::int32_t dpi;
    std::uint32_t idOffset;
};
constexpr ArtworkScale kArtworkScales[] = {{96, 0}, {120, 10000}, {144, 20000}, {192, 30000}};

}  // namespace

std::uint32_t ArtworkId(std::uint32_t id, std::int32_t dpi) {
    for (const ArtworkScale& scale : kArtworkScales) {
        if (dpi <= scale.dpi) {
            return id + scale.idOffset;
        }
    }
    return id + std::end(kArtworkScales)[-1].idOffset;
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
    m_items.push_back(std::move(item));
    return true;
}

namespace {

SNotifierItem ItemIn(std::int32_t id, const ScreenRect& rect) {
    SNotifierItem item;
    item.id = id;
    item.left = rect.left;
    item.top = rect.top;
    item.right = rect.right;
    item.bottom = rect.bottom;
    return item;
}

}  // namespace

bool NotifierPopupModel::AddTextItem(std::int32_t id, std::string_view text, const ScreenRect& rect,
                                     const ItemFont& font, std::uint32_t colour) {
    SNotifierItem item = ItemIn(id, rect);
    item.text = std::string(text);
    item.normalFont = font;
    item.hoverFont = font;
    item.normalColour = colour;
    return Add(std::move(item));
}

bool NotifierPopupModel::AddLinkItem(std::int32_t id, std::string_view text, const ScreenRect& rect,
                                     const ItemFont& normalFont, const ItemFont& hoverFont,
                                     std::uint32_t normalColour, std::uint32_t hoverColour) {
    SNotifierItem item = ItemIn(id, rect);
    item.text = std::string(text);
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
    SNotifierItem item = ItemIn(id, {x, y, x + width, y + height});
    item.normalPicture = bitmapId;
    item.isPicture = true;
    return Add(std::move(item));
}

bool NotifierPopupModel::SetItemText(std::int32_t id, std::string_view text) {
    SNotifierItem* item = Find(id);
    if (item != nullptr) {
        item->text = std::string(text);
    }
    return item != nullptr;
}

bool NotifierPopupModel::SetItemRect(std::int32_t id, const ScreenRect& rect) {
    SNotifierItem* item = Find(id);
    if (item != nullptr) {
        item->left = rect.left;
        item->top = rect.top;
        item->right = rect.right;
        item->bottom = rect.bottom;
    }
    return item != nullptr;
}

bool NotifierPopupModel::SetItemClickable(std::int32_t id, bool clickable) {
    SNotifierItem* item = Find(id);
    if (item != nullptr) {
        item->clickable = clickable;
    }
    return item != nullptr;
}

bool NotifierPopupModel::SetItemPictures(std::int32_t id, std::uint32_t normalBitmapId,
                                         std::uint32_t hoverBitmapId) {
    SNotifierItem* item = Find(id);
    if (item != nullptr) {
        item->normalPicture = normalBitmapId;
        item->hoverPicture = hoverBitmapId;
    }
    return item != nullptr;
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
    const bool rescaled = TakeScale(screen.dpi);
    const TaskbarEdge edge = FindTaskbarEdge(screen.workArea, screen.width, screen.height);
    const PopupPlacement place = Placement(edge, screen.workArea);
    if (rescaled && m_inView) {
        Relocate(edge, place);
    }

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
            Anchor(edge, place, place.hidden);
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
            if (Direction().x != 0) {
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
    Anchor(edge, place, place.shown);
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
        case PopupPhase::kDisappearing:
            m_opacity = 255;
            m_surface.Repaint();
            RestartStay();
            break;
    }
}

void NotifierPopupModel::OnWorkAreaChanged() {
    if (!m_inView) {
        return;  // the next show reads the screen afresh
    }
    const IPopupSurface::Screen screen = m_surface.ReadScreen();
    const bool rescaled = TakeScale(screen.dpi);
    const TaskbarEdge edge = FindTaskbarEdge(screen.workArea, screen.width, screen.height);
    const PopupPlacement place = Placement(edge, screen.workArea);
    const ScreenPoint start = m_fadeMode == kModeTransparency ? place.shown : place.hidden;
    if (!rescaled && edge == m_edge && start == m_start) {
        return;  // nothing that matters here has changed
    }
    Relocate(edge, place);
    if (rescaled) {
        m_surface.Repaint();
    }
}

void NotifierPopupModel::Relocate(TaskbarEdge edge, const PopupPlacement& place) {
    if (m_fadeMode == kModeTransparency) {
        Anchor(edge, place, place.shown);
    } else {
        // The same share of the way out: an edge on the other axis slides
        // the width instead of the height.
        const std::int64_t wasOut = std::clamp(SlidOut(), 0, std::max(m_slideLength, 0));
        const std::int32_t out =
            m_slideLength > 0
                ? static_cast<std::int32_t>(wasOut * place.slideLength / m_slideLength)
                : place.slideLength;
        Anchor(edge, place, place.hidden);
        const ScreenPoint direction = Direction();
        m_current = {m_start.x + out * direction.x, m_start.y + out * direction.y};
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

void NotifierPopupModel::Anchor(TaskbarEdge edge, const PopupPlacement& place, ScreenPoint start) {
    m_edge = edge;
    m_slideLength = place.slideLength;
    m_start = start;
    m_current = start;
}

ScreenPoint NotifierPopupModel::Direction() const {
    // Out of the taskbar: away from the edge it sits on.
    switch (m_edge) {
        case TaskbarEdge::kTop:
            return {0, 1};
        case TaskbarEdge::kLeft:
            return {1, 0};
        case TaskbarEdge::kRight:
            return {-1, 0};
        case TaskbarEdge::kBottom:
        case TaskbarEdge::kUnknown:
            break;
    }
    return {0, -1};
}

std::int32_t NotifierPopupModel::SlidOut() const {
    const ScreenPoint direction = Direction();
    return (m_current.x - m_start.x) * direction.x + (m_current.y - m_start.y) * direction.y;
}

void NotifierPopupModel::Slide(std::int32_t sign) {
    const ScreenPoint direction = Direction();
    m_current.x += sign * PixelStep() * direction.x;
    m_current.y += sign * PixelStep() * direction.y;
}

void NotifierPopupModel::AppearTick() {
    m_phase = PopupPhase::kAppearing;
    const bool fading = m_fadeMode == kModeTransparency;
    bool done = false;
    if (fading) {
        m_opacity = std::min(m_opacity + m_step, 255);
        done = m_opacity == 255;
    } else if (SlidOut() < m_slideLength) {
        // Measured from the hidden corner, so the last step may overshoot by
        // less than one step; the tick after that finishes.
        Slide(+1);
    } else {
        done = true;
    }
    if (done) {
        m_surface.StopTimer(kAppearTimer);
        m_surface.StartTimer(kStayTimer, m_stayTime);
        m_phase = PopupPhase::kWaiting;
    }
    if (!fading) {
        PlaceWindow();
    }
    m_surface.Repaint();
}

void NotifierPopupModel::DisappearTick() {
    m_phase = PopupPhase::kDisappearing;
    if (m_fadeMode == kModeTransparency) {
        m_opacity = std::max(m_opacity - m_step, 0);
        if (m_opacity == 0) {
            HidePopup();
        }
        m_surface.Repaint();
    } else if (SlidOut() > 0) {
        Slide(-1);
        PlaceWindow();
        m_surface.Repaint();
    } else {
        // Between notices the window stays hidden at 0 x 0; placing it again
        // here would only give it back its size.
        HidePopup();
    }
}

bool NotifierPopupModel::OnTimer(unsigned id) {
    switch (id) {
        case kAppearTimer:
            AppearTick();
            return true;
        case kStayTimer:
            m_surface.StopTimer(kStayTimer);
            m_surface.StartTimer(kDisappearTimer, m_disappearStepPeriod);
            return true;
        case kDisappearTimer:
            DisappearTick();
            return true;
        default:
            return false;
    }
}

void NotifierPopupModel::OnMouseMove(std::int32_t x, std::int32_t y) {
    // Strict on every side: the rectangle's border is not part of a link.
    const auto link = std::find_if(m_items.begin(), m_items.end(), [&](const SNotifierItem& item) {
        const ScreenRect rect = ItemRect(item);
        return item.clickable && rect.left < x && x < rect.right && rect.top < y && y < rect.bottom;
    });
    bool repaint = false;
    if (link != m_items.end()) {
        m_overLink = true;
        if (!link->hovered) {
            for (SNotifierItem& item : m_items) {
                item.hovered = &item == &*link;
            }
            repaint = true;
        }
    } else if (m_overLink) {
        m_overLink = false;
        for (SNotifierItem& item : m_items) {
            if (item.clickable) {
                item.hovered = false;
            }
        }
        repaint = true;
    }
    if (repaint) {
        m_surface.Repaint();
    }
}

void NotifierPopupModel::OnLeftButtonUp() {
    const auto link = std::find_if(m_items.begin(), m_items.end(),
                                   [](const SNotifierItem& item) { return item.ShowsHoverLook(); });
    m_surface.PostClick(link != m_items.end() ? link->id : 0, 0);
}

void NotifierPopupModel::OnRightButtonUp() {
    const bool anyHovered = std::any_of(m_items.begin(), m_items.end(),
                                        [](const SNotifierItem& item) { return item.hovered; });
    if (!anyHovered) {
        m_surface.PostClick(0, 1);
    }
}

}  // namespace pausora
