#include "notify/notifier_popup.h"
#include "ui/utf.h"

#include "notify/notification_area.h"
#include "resource.h"
#include "ui/system_notice.h"
#include "ui/window.h"

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace pausora {
namespace {

constexpr wchar_t kClassName[] = L"PausoraNotifierPopup";

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObject(bitmap, sizeof info, &info) == 0) {
        return {0, 0};
    }
    return {info.bmWidth, info.bmHeight};
}

ui::BitmapHandle LoadBitmapResource(UINT id) {
    return ui::BitmapHandle(::LoadBitmap(ui::ModuleInstance(), MAKEINTRESOURCE(id)));
}

static_assert(IDB_SKIN_125 == IDB_SKIN + 10000 && IDB_STAR_150 == IDB_STAR + 20000 &&
                  IDB_WORKDAY_END_200 == IDB_WORKDAY_END + 30000,
              "the popup finds its scaled drawings by these offsets");

// `bitmap` drawn into a new bitmap of `size`, averaging the pixels it draws
// down (or spreading those it draws up) rather than dropping them.
ui::BitmapHandle Stretched(HBITMAP bitmap, SIZE size) {
    if (bitmap == nullptr || size.cx <= 0 || size.cy <= 0) {
        return {};
    }
    const SIZE own = BitmapSize(bitmap);
    const ui::WindowDc screen(nullptr);
    ui::BitmapHandle result(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    const ui::MemoryDc from(::CreateCompatibleDC(screen.get()));
    const ui::MemoryDc to(::CreateCompatibleDC(screen.get()));
    if (!result || !from || !to) {
        return {};
    }
    bool drawn = false;
    {
        // Both come out of their contexts before the result is handed on.
        const ui::SelectedObject fromBitmap(from.get(), bitmap);
        const ui::SelectedObject toBitmap(to.get(), result.get());
        ::SetStretchBltMode(to.get(), HALFTONE);
        ::SetBrushOrgEx(to.get(), 0, 0, nullptr);
        drawn = ::StretchBlt(to.get(), 0, 0, size.cx, size.cy, from.get(), 0, 0, own.cx, own.cy,
                             SRCCOPY) != 0;
    }
    return drawn ? std::move(result) : ui::BitmapHandle{};
}

// Bitmap `id`, which is drawn for 96 dots per inch, at `dpi`: the drawing
// made for that scaling where there is one, otherwise the nearest larger one
// drawn down. A bitmap without scaled drawings is stretched from its own.
ui::BitmapHandle LoadScaledBitmap(UINT id, int dpi) {
    ui::BitmapHandle own = LoadBitmapResource(id);
    if (dpi == kLayoutDpi || !own) {
        return own;
    }
    const SIZE size = BitmapSize(own.get());
    const SIZE wanted{ScaleLength(size.cx, dpi), ScaleLength(size.cy, dpi)};
    ui::BitmapHandle drawn = LoadBitmapResource(ArtworkId(id, dpi));
    if (!drawn) {
        drawn = std::move(own);
    }
    const SIZE drawnSize = BitmapSize(drawn.get());
    if (drawnSize.cx == wanted.cx && drawnSize.cy == wanted.cy) {
        return drawn;
    }
    ui::BitmapHandle fitted = Stretched(drawn.get(), wanted);
    return fitted ? std::move(fitted) : std::move(drawn);
}

// The skin's shape: its rectangle less every pixel of the key colour. Runs of
// key-coloured pixels are cut out a row at a time.
HRGN BuildKeyRegion(HBITMAP skin, COLORREF key) {
    const auto [width, height] = BitmapSize(skin);
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const auto stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<BYTE> pixels;
    try {
        pixels.resize(stride * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    const int lines = ::GetDIBits(ui::WindowDc(nullptr).get(), skin, 0, static_cast<UINT>(height),
                                  pixels.data(), &info, DIB_RGB_COLORS);
    if (lines != height) {
        return nullptr;
    }
    ui::RegionHandle region(::CreateRectRgn(0, 0, width, height));
    if (!region) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        const BYTE* row = pixels.data() + stride * static_cast<std::size_t>(y);
        int x = 0;
        while (x < width) {
            const auto isKey = [&](int at) {
                const BYTE* p = row + static_cast<std::size_t>(at) * 3;
                return p[0] == GetBValue(key) && p[1] == GetGValue(key) && p[2] == GetRValue(key);
            };
            if (!isKey(x)) {
                ++x;
                continue;
            }
            const int runStart = x;
            while (x < width && isKey(x)) {
                ++x;
            }
            const ui::RegionHandle run(::CreateRectRgn(runStart, y, x, y + 1));
            if (!run || ::CombineRgn(region.get(), region.get(), run.get(), RGN_XOR) == ERROR) {
                return nullptr;
            }
        }
    }
    return region.release();
}

ui::FontHandle CreateItemFont(const ItemFont& font) {
    LOGFONT log{};
    log.lfHeight = font.height;
    log.lfWeight = font.weight;
    log.lfItalic = font.italic ? TRUE : FALSE;
    log.lfUnderline = font.underline ? TRUE : FALSE;
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfQuality = ANTIALIASED_QUALITY;
    log.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    const std::wstring face = Widen(font.face);
    face.copy(log.lfFaceName, std::size(log.lfFaceName) - 1);
    return ui::FontHandle(::CreateFontIndirect(&log));
}

// The item's font, or a slightly smaller one when the text would not fit its
// rectangle: where the face is missing, the system's stand-in can be wider,
// and a title cut in half reads worse than one a point smaller. Never below
// three quarters of the intended size.
ui::FontHandle FontThatFits(HDC dc, const ItemFont& wanted, const std::string& text,
                            const RECT& box) {
    ItemFont font = wanted;
    const int sign = wanted.height < 0 ? -1 : 1;
    const int full = wanted.height * sign;
    for (int size = full; size >= 1; --size) {
        font.height = size * sign;
        ui::FontHandle handle = CreateItemFont(font);
        if (size * 4 <= full * 3 || text.empty()) {
            return handle;
        }
        RECT needed{box.left, box.top, box.right, box.top};
        const ui::SelectedObject selected(dc, handle.get());
        const std::wstring wide = Widen(text);
        ::DrawText(dc, wide.c_str(), static_cast<int>(wide.size()), &needed,
                   DT_WORDBREAK | DT_CALCRECT);
        if (needed.bottom <= box.bottom && needed.right <= box.right) {
            return handle;
        }
    }
    return CreateItemFont(wanted);
}

// Copies `bitmap`, selected into `source` for the copy, to (x, y) of `dc`.
void DrawBitmap(HDC dc, HDC source, HBITMAP bitmap, int x, int y, SIZE size) {
    if (bitmap == nullptr || source == nullptr) {
        return;
    }
    const ui::SelectedObject selected(source, bitmap);
    ::BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
}

}  // namespace

CNotifierPopup::CNotifierPopup() : m_model(static_cast<IPopupSurface&>(*this)) {}

CNotifierPopup::~CNotifierPopup() {
    // The window goes while the items and the skin it paints are still here.
    Destroy();
}

bool CNotifierPopup::Create(HWND owner) {
    m_owner = owner;
    if (!CreateEx(WS_EX_LAYERED, kClassName, L"", WS_POPUP, 0, 0, 0, 0, owner)) {
        return false;
    }
    ApplyOpacity(0);
    return true;
}

bool CNotifierPopup::LoadSkin(UINT bitmapId, int red, int green, int blue) {
    m_skinId = bitmapId;
    m_skin = LoadBitmapResource(bitmapId);
    m_canvas.reset();  // made again in the skin's size
    if (!m_skin) {
        return false;
    }
    const SIZE size = BitmapSize(m_skin.get());
    m_model.SetSkinSize(size.cx, size.cy);
    const auto given = [](int value) { return static_cast<std::int16_t>(value) != -1; };
    m_keyColour.reset();
    if (given(red) && given(green) && given(blue)) {
        m_keyColour = RGB(red, green, blue);
    }
    FitSkin();
    return true;
}

void CNotifierPopup::FitSkin() {
    m_skin = LoadScaledBitmap(m_skinId, m_model.Dpi());
    if (!m_skin || !m_keyColour || Handle() == nullptr) {
        return;
    }
    ui::RegionHandle region(BuildKeyRegion(m_skin.get(), *m_keyColour));
    // The window owns its region once it has taken it.
    if (region && ::SetWindowRgn(Handle(), region.get(), TRUE) != 0) {
        region.release();
    }
}

void CNotifierPopup::ChangeScale(std::int32_t /*dpi*/) {
    // Everything drawn for the old scaling goes; the skin is fitted at once,
    // the rest is made again by the next paint.
    m_pictures.clear();
    m_fonts.clear();
    m_canvas.reset();
    FitSkin();
}

void CNotifierPopup::AddTextItem(int id, std::string_view text, const RECT& rect,
                                 std::string_view face, int pointSize, UINT style,
                                 COLORREF colour) {
    m_model.AddTextItem(id, text, ui::ToScreenRect(rect),
                        MakeItemFont(face, pointSize, style, kLayoutDpi), colour);
}

void CNotifierPopup::AddLinkItem(int id, std::string_view text, const RECT& rect,
                                 std::string_view face, int pointSize, UINT normalStyle,
                                 UINT hoverStyle, COLORREF normalColour, COLORREF hoverColour) {
    m_model.AddLinkItem(
        id, text, ui::ToScreenRect(rect), MakeItemFont(face, pointSize, normalStyle, kLayoutDpi),
        MakeItemFont(face, pointSize, hoverStyle, kLayoutDpi), normalColour, hoverColour);
}

void CNotifierPopup::AddPictureItem(int id, int x, int y, UINT bitmapId) {
    const ui::BitmapHandle picture = LoadBitmapResource(bitmapId);
    const SIZE size = BitmapSize(picture.get());
    m_model.AddPictureItem(id, x, y, bitmapId, size.cx, size.cy);
}

bool CNotifierPopup::SetItemText(int id, std::string_view text) {
    return m_model.SetItemText(id, text);
}

bool CNotifierPopup::SetItemClickable(int id, bool clickable) {
    return m_model.SetItemClickable(id, clickable);
}

bool CNotifierPopup::SetItemPictures(int id, UINT normalBitmapId, UINT hoverBitmapId) {
    return m_model.SetItemPictures(id, normalBitmapId, hoverBitmapId);
}

void CNotifierPopup::FlowBelow(int upper, int lower, int room) {
    const auto rectOf = [this](int id) -> std::optional<ScreenRect> {
        for (const SNotifierItem& item : m_model.Items()) {
            if (item.id == id) {
                return ScreenRect{item.left, item.top, item.right, item.bottom};
            }
        }
        return std::nullopt;
    };
    const std::optional<ScreenRect> upperRect = rectOf(upper);
    const std::optional<ScreenRect> lowerRect = rectOf(lower);
    if (upperRect && lowerRect) {
        m_flow = ItemFlow{upper, lower, room, *upperRect, *lowerRect};
    }
}

void CNotifierPopup::Flow() {
    if (!m_flow) {
        return;
    }
    m_model.SetItemRect(m_flow->upper, m_flow->upperRect);
    m_model.SetItemRect(m_flow->lower, m_flow->lowerRect);
    const SNotifierItem* upper = nullptr;
    for (const SNotifierItem& item : m_model.Items()) {
        upper = item.id == m_flow->upper ? &item : upper;
    }
    if (upper == nullptr || upper->text.empty()) {
        return;
    }
    // Measured in the font the item is drawn in, fitted to its own rectangle.
    const ui::WindowDc dc(Handle());
    const RECT box = ui::ToRect(m_model.ItemRect(*upper));
    RECT needed{box.left, box.top, box.right, box.top};
    {
        const ui::SelectedObject font(dc.get(), Font(dc.get(), *upper, false));
        const std::wstring text = Widen(upper->text);
        ::DrawText(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed,
                   DT_WORDBREAK | DT_CALCRECT);
    }
    const int dpi = std::max(m_model.Dpi(), 1);
    const int over = static_cast<int>(needed.bottom - box.bottom);
    const int extra = std::min(m_flow->room, (over * kLayoutDpi + dpi - 1) / dpi);
    if (extra <= 0) {
        return;
    }
    ScreenRect grown = m_flow->upperRect;
    grown.bottom += extra;
    ScreenRect moved = m_flow->lowerRect;
    moved.top += extra;
    moved.bottom += extra;
    m_model.SetItemRect(m_flow->upper, grown);
    m_model.SetItemRect(m_flow->lower, moved);
}

void CNotifierPopup::ShowPopup(DWORD appearTime, DWORD stayTime, DWORD disappearTime, int step,
                               int mode, int starCount) {
    if (Handle() == nullptr) {
        return;
    }
    Flow();
    // The notice's words are also its window's name, which is what screen
    // readers and other assistive tools read of a window drawn by hand.
    std::string name;
    for (const SNotifierItem& item : m_model.Items()) {
        if (!item.isPicture && !item.text.empty()) {
            name += name.empty() ? "" : "\n";
            name += item.text;
        }
    }
    ::SetWindowText(Handle(), Widen(name).c_str());
    m_model.ShowPopup(appearTime, stayTime, disappearTime, step, mode, starCount);
}

void CNotifierPopup::HidePopup() {
    if (Handle() == nullptr) {
        return;
    }
    m_model.HidePopup();
}

ui::Handled CNotifierPopup::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A top-level window: the system's notices reach it, not the main window.
    if (const ui::Handled answer = ui::PassSystemNotice(Handle(), message, wParam, lParam)) {
        return answer;
    }
    if (message == WM_DPICHANGED) {
        // The popup's place and size follow the notification area's monitor,
        // not the rectangle the system suggests.
        m_model.OnWorkAreaChanged();
        return 0;
    }
    return ui::Window::OnMessage(message, wParam, lParam);
}

ui::Handled CNotifierPopup::OnTimer(UINT_PTR id) {
    m_model.OnTimer(static_cast<unsigned>(id));
    return std::nullopt;
}

ui::Handled CNotifierPopup::OnEraseBackground(HDC /*dc*/) {
    return TRUE;  // the paint covers the whole window
}

HBITMAP CNotifierPopup::Picture(UINT bitmapId) {
    ui::BitmapHandle& picture = m_pictures[bitmapId];
    if (!picture) {
        picture = LoadScaledBitmap(bitmapId, m_model.Dpi());
    }
    return picture.get();
}

HFONT CNotifierPopup::Font(HDC dc, const SNotifierItem& item, bool hover) {
    // An item's fonts stay as added; a change of scaling empties the cache.
    FittedFont& fitted = m_fonts[{item.id, hover}];
    if (!fitted.font || fitted.text != item.text) {
        const ItemFont wanted = ScaleFont(hover ? item.hoverFont : item.normalFont, m_model.Dpi());
        fitted.font = FontThatFits(dc, wanted, item.text, ui::ToRect(m_model.ItemRect(item)));
        fitted.text = item.text;
    }
    return fitted.font.get();
}

ui::Handled CNotifierPopup::OnPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(Handle(), &paint);
    if (dc == nullptr) {
        return 0;
    }
    ApplyOpacity(m_model.Opacity());
    // Everything is put together off screen and copied in one go, so a slide
    // step never shows the skin without its texts.
    const int width = m_model.WindowWidth();
    const int height = m_model.WindowHeight();
    if (!m_canvas && width > 0 && height > 0) {
        m_canvas.reset(::CreateCompatibleBitmap(dc, width, height));
    }
    const ui::MemoryDc memory(::CreateCompatibleDC(dc));
    const ui::MemoryDc source(::CreateCompatibleDC(dc));
    if (memory && m_canvas) {
        const ui::SelectedObject canvas(memory.get(), m_canvas.get());
        PaintAll(memory.get(), source.get());
        ::BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    } else {
        PaintAll(dc, source.get());
    }
    ::EndPaint(Handle(), &paint);
    return 0;
}

void CNotifierPopup::PaintAll(HDC dc, HDC source) {
    DrawBitmap(dc, source, m_skin.get(), 0, 0, {m_model.WindowWidth(), m_model.WindowHeight()});
    if (m_model.StarCount() > 0) {
        const HBITMAP star = Picture(IDB_STAR);
        const SIZE size = BitmapSize(star);
        for (int i = 0; i < m_model.StarCount(); ++i) {
            const ScreenRect at = StarRect(i, m_model.Dpi());
            DrawBitmap(dc, source, star, at.left, at.top, size);
        }
    }
    ::SetBkMode(dc, TRANSPARENT);
    for (const SNotifierItem& item : m_model.Items()) {
        // Every item is drawn on every paint: the paint starts from a fresh
        // copy of the skin, so an item left out would vanish.
        const bool hover = item.ShowsHoverLook();
        const ScreenRect at = m_model.ItemRect(item);
        if (item.isPicture) {
            DrawBitmap(dc, source, Picture(hover ? item.hoverPicture : item.normalPicture), at.left,
                       at.top, {at.Width(), at.Height()});
            continue;
        }
        RECT rect = ui::ToRect(at);
        const ui::SelectedObject font(dc, Font(dc, item, hover));
        ::SetTextColor(dc, hover ? item.hoverColour : item.normalColour);
        const std::wstring text = Widen(item.text);
        ::DrawText(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                   DT_WORDBREAK | DT_END_ELLIPSIS);
    }
}

ui::Handled CNotifierPopup::OnMouseMove(POINT at, WPARAM /*keys*/) {
    m_model.OnMouseMove(at.x, at.y);
    return std::nullopt;
}

ui::Handled CNotifierPopup::OnLButtonUp(POINT /*at*/, WPARAM /*keys*/) {
    m_model.OnLeftButtonUp();
    return std::nullopt;
}

ui::Handled CNotifierPopup::OnRButtonUp(POINT /*at*/, WPARAM /*keys*/) {
    m_model.OnRightButtonUp();
    return std::nullopt;
}

ui::Handled CNotifierPopup::OnClose() {
    // The popup is one of the program's top-level windows, so the task list
    // or taskkill may close it; that means closing the program, whose main
    // window owns the popup and destroys it in its own time.
    if (m_owner != nullptr) {
        ::PostMessage(m_owner, WM_CLOSE, 0, 0);
    }
    return 0;
}

ui::Handled CNotifierPopup::OnSetCursor(HWND /*window*/, UINT hitTest, UINT /*mouseMessage*/) {
    if (hitTest == HTCLIENT && m_model.OverLink()) {
        if (const HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND); hand != nullptr) {
            ::SetCursor(hand);
            return TRUE;
        }
    }
    return std::nullopt;
}

IPopupSurface::Screen CNotifierPopup::ReadScreen() {
    RECT work{};
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    return {ui::ToScreenRect(work), ::GetSystemMetrics(SM_CXSCREEN),
            ::GetSystemMetrics(SM_CYSCREEN), NotificationAreaDpi()};
}

void CNotifierPopup::StartTimer(unsigned id, std::uint32_t periodMs) {
    ::SetTimer(Handle(), id, periodMs, nullptr);
}

void CNotifierPopup::StopTimer(unsigned id) {
    ::KillTimer(Handle(), id);
}

void CNotifierPopup::ShowWindow() {
    // Shown without taking the focus from whatever the user is typing into.
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void CNotifierPopup::HideWindow() {
    ::ShowWindow(Handle(), SW_HIDE);
    // A hidden popup keeps only its skin; the next show loads afresh what
    // its items then name.
    m_pictures.clear();
    m_fonts.clear();
    m_canvas.reset();
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNotifierPopup::Place(ScreenPoint corner, std::int32_t width, std::int32_t height) {
    // Directly below the taskbar, which covers the popup while it slides out
    // from behind it.
    const HWND taskbar = ::FindWindow(L"Shell_TrayWnd", L"");
    ::SetWindowPos(Handle(), taskbar != nullptr ? taskbar : HWND_TOP, corner.x, corner.y, width,
                   height, SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void CNotifierPopup::ApplyOpacity(std::int32_t opacity) {
    // Pure white is always see-through; the artwork uses 254, 254, 254.
    if (Handle() != nullptr && opacity != m_appliedOpacity &&
        ::SetLayeredWindowAttributes(Handle(), RGB(255, 255, 255), static_cast<BYTE>(opacity),
                                     LWA_COLORKEY | LWA_ALPHA)) {
        m_appliedOpacity = opacity;
    }
}

void CNotifierPopup::Repaint() {
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

void CNotifierPopup::PostClick(std::int32_t itemId, std::int32_t rightClick) {
    if (m_owner != nullptr) {
        ::PostMessage(m_owner, WM_NOTIFIER_CLICK, static_cast<WPARAM>(itemId),
                      static_cast<LPARAM>(rightClick));
    }
}

void SetUpNoticePopup(CNotifierPopup& popup, HWND owner) {
    // The artwork's green and grey, darkened in their own hues until small
    // text in them reads on the near-white skin (4.6 : 1 and 4.7 : 1).
    constexpr COLORREF kLinkGreen = RGB(74, 130, 1);
    constexpr COLORREF kBodyGrey = RGB(115, 115, 115);
    popup.Create(owner);
    popup.LoadSkin(IDB_SKIN, 255, 0, 255);
    popup.AddPictureItem(kItemPicture, kPictureCorner.x, kPictureCorner.y, IDB_LONG_BREAK);
    // Every notice sets its own title and link; these only fill the items
    // until the first one.
    popup.AddTextItem(kItemTitle, Narrow(ui::ResourceString(IDS_SHORT_BREAK_TITLE)),
                      ui::ToRect(kTitleRect), "Tahoma", 135, kStyleBold, RGB(0, 0, 0));
    popup.AddLinkItem(kItemLink, Narrow(ui::ResourceString(IDS_STRETCH_LINK)),
                      ui::ToRect(kLinkRect), "Tahoma", 105, kStyleBold,
                      kStyleBold | kStyleUnderline, kLinkGreen, kLinkGreen);
    popup.AddTextItem(kItemBody, "", ui::ToRect(kBodyRect), "Tahoma", 98, 0, kBodyGrey);
    // A title that takes two lines in some language pushes the link down,
    // into the room above the skin's rule.
    popup.FlowBelow(kItemTitle, kItemLink, kTitleFlowRoom);
}

}  // namespace pausora
