#include "settings/tree_sheet.h"
#include "ui/utf.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

namespace pausora::TreeSheet {

namespace {

constexpr UINT kFrameId = 0xFFFF;
constexpr int kTabPane = 9;  // the tab control's pane part in the visual style
// Posted to the sheet to select a page's node after a selection that landed
// on a node without a page was cancelled.
constexpr UINT kSelectNodeLater = WM_APP + 201;
// Posted to the sheet once it is built: the tree follows the current page.
constexpr UINT kFollowCurrentPage = WM_APP + 202;

// `child`'s window rectangle in `parent`'s client coordinates.
RECT RectIn(HWND parent, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Moves every child of `sheet` but `except` whose top is at `fromTop` or
// below by (dx, dy).
void MoveChildren(HWND sheet, int dx, int dy, LONG fromTop = LONG_MIN, HWND except = nullptr) {
    for (HWND child = ::GetWindow(sheet, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const RECT rect = RectIn(sheet, child);
        if (child != except && rect.top >= fromTop) {
            ::SetWindowPos(child, nullptr, rect.left + dx, rect.top + dy, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

}  // namespace

// --- visual styles ---

CVisualStyles& CVisualStyles::Get() {
    static CVisualStyles styles;  // released at exit with the library
    return styles;
}

CVisualStyles::CVisualStyles() : m_library(::LoadLibrary(L"uxtheme.dll")) {
    if (!m_library) {
        return;
    }
    const HMODULE library = m_library.get();
    auto find = [library](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            reinterpret_cast<void*>(::GetProcAddress(library, name)));
    };
    find(m_isAppThemed, "IsAppThemed");
    find(m_isThemeActive, "IsThemeActive");
    find(m_openThemeData, "OpenThemeData");
    find(m_closeThemeData, "CloseThemeData");
    find(m_getContentRect, "GetThemeBackgroundContentRect");
    find(m_drawBackground, "DrawThemeBackground");
    find(m_getThemeColor, "GetThemeColor");
}

bool CVisualStyles::Themed() const {
    return m_isAppThemed != nullptr && m_isThemeActive != nullptr && m_openThemeData != nullptr &&
           m_closeThemeData != nullptr && m_getContentRect != nullptr &&
           m_drawBackground != nullptr && m_isAppThemed() && m_isThemeActive();
}

CVisualStyles::Theme CVisualStyles::OpenTab(HWND window) const {
    return Themed() ? m_openThemeData(window, L"Tab") : nullptr;
}

void CVisualStyles::Close(Theme theme) const {
    if (theme != nullptr) {
        m_closeThemeData(theme);
    }
}

bool CVisualStyles::TabPaneContent(HWND window, HDC dc, const RECT& bounds, RECT& content) const {
    const Theme theme = OpenTab(window);
    const bool got =
        theme != nullptr && SUCCEEDED(m_getContentRect(theme, dc, kTabPane, 0, &bounds, &content));
    Close(theme);
    return got;
}

bool CVisualStyles::DrawTabPane(HWND window, HDC dc, const RECT& rect) const {
    const Theme theme = OpenTab(window);
    const bool drawn =
        theme != nullptr && SUCCEEDED(m_drawBackground(theme, dc, kTabPane, 0, &rect, nullptr));
    Close(theme);
    return drawn;
}

// --- the frame ---

void CPageFrame::Repaint() const {
    if (const HWND window = Wnd()) {
        ::InvalidateRect(window, nullptr, FALSE);
    }
}

void CPageFrame::ShowCaption(bool show) {
    m_showCaption = show;
    Repaint();
}

void CPageFrame::SetCaptionHeight(int pixels) {
    m_captionHeight = std::max(0, pixels);
    Repaint();
}

void CPageFrame::SetCaption(const std::string& text, HICON icon) {
    m_captionText = text;
    SetCaptionIcon(icon);
    Repaint();
}

void CPageFrame::Draw(HDC dc, const RECT& client) {
    if (m_showCaption) {
        DrawCaption(dc, CaptionRect(dc, client));
    }
}

RECT CPageFrame::CaptionRect(HDC dc, const RECT& client) const {
    RECT caption = client;
    RECT content{};
    if (CVisualStyles::Get().TabPaneContent(Wnd(), dc, client, content)) {
        caption.top = content.top;
    }
    caption.bottom = caption.top + m_captionHeight;
    return caption;
}

void CPageFrame::DrawCaption(HDC dc, const RECT& caption) {
    std::array<TRIVERTEX, 2> corners{};
    corners[0] = {caption.left, caption.top, 0xFF00, 0xFF00, 0xFF00, 0};
    corners[1] = {caption.right, caption.bottom, 0x7F00, 0x7F00, 0x7F00, 0};
    GRADIENT_RECT span{0, 1};
    ::GradientFill(dc, corners.data(), 2, &span, 1, GRADIENT_FILL_RECT_H);

    RECT text = caption;
    const SIZE icon = CaptionIconSize();
    if (icon.cx > 0) {
        DrawCaptionIcon(dc, 3, caption.top + (caption.bottom - caption.top - icon.cy) / 2);
        text.left += icon.cx + 3;
    }
    text.left += 2;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    // The window's own font, bold: the same face as the page below it, in
    // every language and at every scaling.
    LOGFONT bold{};
    const auto windowFont =
        reinterpret_cast<HGDIOBJ>(::SendMessage(::GetParent(Wnd()), WM_GETFONT, 0, 0));
    if (windowFont == nullptr || ::GetObject(windowFont, sizeof bold, &bold) == 0) {
        ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof bold, &bold);
    }
    bold.lfWeight = FW_BOLD;
    const ui::FontHandle captionFont(::CreateFontIndirect(&bold));
    const ui::SelectedObject font(dc, captionFont.get());
    const std::wstring title = Widen(m_captionText);
    ::DrawText(dc, title.c_str(), static_cast<int>(title.size()), &text,
               DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

bool CPageFrameWnd::CreateWnd(HWND parent, const RECT& rect, UINT id) {
    return CreateEx(0, L"PausoraPageFrame", L"PausoraSettingsWnd",
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CPageFrameWnd::SetCaptionIcon(HICON icon) {
    m_icon.reset();
    m_iconSize = {0, 0};
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) {
        return;
    }
    const ui::BitmapHandle maskBits(info.hbmMask);
    const ui::BitmapHandle colourBits(info.hbmColor);
    BITMAP mask{};
    ::GetObject(maskBits.get(), sizeof mask, &mask);
    // An icon without colour keeps its image and mask one above the other.
    const int height = colourBits ? mask.bmHeight : mask.bmHeight / 2;
    m_icon.reset(::ImageList_Create(mask.bmWidth, height, ILC_COLOR32 | ILC_MASK, 1, 0));
    if (m_icon && ::ImageList_AddIcon(m_icon.get(), icon) >= 0) {
        m_iconSize = {mask.bmWidth, height};
    }
}

void CPageFrameWnd::DrawCaptionIcon(HDC dc, int x, int y) {
    ::ImageList_Draw(m_icon.get(), 0, dc, x, y, ILD_TRANSPARENT);
}

ui::Handled CPageFrameWnd::OnEraseBackground(HDC /*dc*/) {
    return 1;  // everything is painted at once, off-screen
}

void CPageFrameWnd::DrawBackground(HDC dc, const RECT& client) const {
    if (!CVisualStyles::Get().DrawTabPane(Handle(), dc, client)) {
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    }
}

ui::Handled CPageFrameWnd::OnPaint() {
    PAINTSTRUCT paint;
    const HDC screen = ::BeginPaint(Handle(), &paint);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const ui::MemoryDc dc(::CreateCompatibleDC(screen));
    const ui::BitmapHandle canvas(::CreateCompatibleBitmap(screen, client.right, client.bottom));
    if (dc && canvas) {
        const ui::SelectedObject selected(dc.get(), canvas.get());
        DrawBackground(dc.get(), client);
        Draw(dc.get(), client);
        ::BitBlt(screen, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
    }
    ::EndPaint(Handle(), &paint);
    return 0;
}

// --- the tree ---

bool CSheetTree::Create(HWND sheet, const RECT& rect) {
    m_window.reset(::CreateWindowEx(
        WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, WC_TREEVIEW, L"PageTree",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
            TVS_SHOWSELALWAYS | TVS_TRACKSELECT,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, sheet,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kId)), ui::ModuleInstance(), nullptr));
    return static_cast<bool>(m_window);
}

// --- the sheet ---

CTreeSheetBase::CTreeSheetBase(std::string caption, HWND parent, UINT startPage)
    : ui::PropertySheet(std::move(caption), parent, startPage) {}

bool CTreeSheetBase::SetTreeViewMode(bool treeMode, bool pageCaption, bool treeImages) {
    if (Handle() != nullptr) {
        return false;
    }
    m_treeMode = treeMode;
    m_pageCaption = pageCaption;
    m_treeImages = treeImages;
    return true;
}

bool CTreeSheetBase::SetTreeWidth(int width) {
    if (width < 0 || Handle() != nullptr) {
        return false;
    }
    m_treeWidth = width;
    return true;
}

HWND CTreeSheetBase::TabControl() const {
    return Handle() != nullptr ? PropSheet_GetTabControl(Handle()) : nullptr;
}

void CTreeSheetBase::OnInitialized() {
    if (!m_treeMode) {
        return;
    }
    const HWND sheet = Handle();
    // Small icons at the sheet's scaling: 16 pixels at 100 %, drawn for
    // 20, 24 and 32 as well.
    const int iconSide = Dpi().Scale(16);
    m_images.reset(::ImageList_Create(iconSide, iconSide, ILC_COLOR32 | ILC_MASK, 0, 1));
    // The tree's width is given at 96 dots per inch; its texts grow with the
    // screen's scaling, and so must it.
    int treeWidth = Dpi().Scale(m_treeWidth);

    // The tab strip gives way to the frame; the pages stay where the sheet
    // puts them, in the tab control's display area.
    const HWND tab = TabControl();
    UseOneRowOfTabs();
    ::ShowWindow(tab, SW_HIDE);
    ::EnableWindow(tab, FALSE);
    const RECT tabRect = RectIn(sheet, tab);

    m_frame = std::make_unique<CPageFrameWnd>();
    m_frame->CreateWnd(sheet, tabRect, kFrameId);
    ::SetWindowPos(m_frame->Wnd(), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_frame->ShowCaption(m_pageCaption);

    const HFONT font = reinterpret_cast<HFONT>(::SendMessage(sheet, WM_GETFONT, 0, 0));
    m_captionHeightAtStart = TabHeight(sheet, font);
    m_frame->SetCaptionHeight(m_captionHeightAtStart);

    m_tree = std::make_unique<CSheetTree>();
    RECT treeRect = tabRect;
    treeRect.right = treeRect.left + std::max(0, treeWidth - Dpi().Scale(m_treeGap));
    m_tree->Create(sheet, treeRect);
    const HWND tree = m_tree->Handle();
    ::SendMessage(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // First in the keyboard's order.
    ::SetWindowPos(tree, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_treeImages) {
        TreeView_SetImageList(tree, m_images.get(), TVSIL_NORMAL);
        TreeView_SetImageList(tree, m_images.get(), TVSIL_STATE);
    }
    RefillTree();
    // Wide enough for its longest page name, in any language: a tree with
    // cut names or a scroll bar of its own is no way to find a page.
    const int needed = WidestTreeItem(tree) + Dpi().Scale(m_treeGap) + Dpi().Scale(6);
    if (needed > treeWidth) {
        treeWidth = needed;
        m_treeWidth = ::MulDiv(needed, kBaseDpi, Dpi().Dpi());
    }
    WidenForTree(treeWidth);
    // The widening moved the tree with every other child; it stays at the left.
    ::SetWindowPos(tree, nullptr, tabRect.left, tabRect.top,
                   std::max(0, treeWidth - Dpi().Scale(m_treeGap)), tabRect.bottom - tabRect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    SelectCurrentPage();
    // The sheet may settle on its first page only after this returns.
    ::PostMessage(sheet, kFollowCurrentPage, 0, 0);
}

// The right edge of the widest text of the tree's items, all of them shown.
int CTreeSheetBase::WidestTreeItem(HWND tree) {
    int widest = 0;
    for (HTREEITEM item = TreeView_GetFirstVisible(tree); item != nullptr;
         item = TreeView_GetNextVisible(tree, item)) {
        RECT text{};
        if (TreeView_GetItemRect(tree, item, &text, TRUE)) {
            widest = std::max(widest, static_cast<int>(text.right));
        }
    }
    return widest;
}

// Moves every child right by the tree's width and widens the sheet by as
// much, centred again on its monitor's work area.
void CTreeSheetBase::WidenForTree(int treeWidth) {
    const HWND sheet = Handle();
    MoveChildren(sheet, treeWidth, 0);
    RECT window{};
    ::GetWindowRect(sheet, &window);
    const int width = window.right - window.left + treeWidth;
    const int height = window.bottom - window.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfo(::MonitorFromWindow(sheet, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    ::SetWindowPos(sheet, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

// The height of one tab in `font`: the caption band is as tall as a tab
// would be, so the page below it keeps the place the sheet gave it.
int CTreeSheetBase::TabHeight(HWND sheet, HFONT font) {
    const ui::WindowHandle probe(::CreateWindowEx(0, WC_TABCONTROL, L"", WS_CHILD, 0, 0, 200, 100,
                                                  sheet, nullptr, ui::ModuleInstance(), nullptr));
    if (!probe) {
        return 0;
    }
    ::SendMessage(probe.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"");
    TabCtrl_InsertItem(probe.get(), 0, &item);
    RECT itemRect{};
    TabCtrl_GetItemRect(probe.get(), 0, &itemRect);
    return itemRect.bottom - itemRect.top;
}

// The system moved the sheet and, where it does, laid out its template
// again; the tree, its font and the caption band are ours to follow.
void CTreeSheetBase::OnDpiChanged() {
    if (!m_treeMode || !m_tree || !m_frame) {
        return;
    }
    m_frame->SetCaptionHeight(Dpi().FromStart(m_captionHeightAtStart));
    const HWND sheet = Handle();
    const HWND tree = TreeWindow();
    const HFONT font = reinterpret_cast<HFONT>(::SendMessage(sheet, WM_GETFONT, 0, 0));
    ::SendMessage(tree, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // The tree keeps its left edge and spans the frame's height.
    const RECT treeRect = RectIn(sheet, tree);
    const RECT frameRect = RectIn(sheet, m_frame->Wnd());
    const int width = std::max(0, Dpi().Scale(m_treeWidth) - Dpi().Scale(m_treeGap));
    ::SetWindowPos(tree, nullptr, treeRect.left, frameRect.top, width,
                   frameRect.bottom - frameRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ReloadTreeIcons();
}

// The tab strip's icons keep the size they were made in; at another scaling
// the pages' icons are loaded again, in the same order (each page with an
// icon has the next image), so the nodes keep their image indices. The
// caption band takes its icon again from the new list.
void CTreeSheetBase::ReloadTreeIcons() {
    const int side = Dpi().Scale(16);
    ui::ImageListHandle images(::ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, 0, 1));
    bool whole = static_cast<bool>(images);
    for (const ui::PropertyPage* page : Pages()) {
        if (whole && page->IconId() != 0) {
            const ui::IconHandle icon(static_cast<HICON>(
                ::LoadImage(ui::ModuleInstance(), MAKEINTRESOURCE(page->IconId()), IMAGE_ICON, side,
                            side, LR_DEFAULTCOLOR)));
            whole = icon && ::ImageList_AddIcon(images.get(), icon.get()) >= 0;
        }
    }
    if (!whole) {
        return;  // the icons stay as they were
    }
    // The old list goes at the end, once the tree has let go of it.
    std::swap(m_images, images);
    if (m_treeImages) {
        TreeView_SetImageList(TreeWindow(), m_images.get(), TVSIL_NORMAL);
        TreeView_SetImageList(TreeWindow(), m_images.get(), TVSIL_STATE);
    }
    OnSelectionChanged(TreeView_GetSelection(TreeWindow()));
}

// With nine pages the tabs would stack in rows, and the pages would sit
// below all of them; one row keeps the page right under the caption band.
// Everything below the tab control moves up by the rows it no longer has.
void CTreeSheetBase::UseOneRowOfTabs() {
    const HWND sheet = Handle();
    const HWND tab = TabControl();
    const LONG_PTR style = ::GetWindowLongPtr(tab, GWL_STYLE);
    if ((style & TCS_MULTILINE) == 0) {
        return;
    }
    auto displayTop = [tab] {
        RECT display{};
        ::GetClientRect(tab, &display);
        TabCtrl_AdjustRect(tab, FALSE, &display);
        return static_cast<int>(display.top);
    };
    const int before = displayTop();
    ::SetWindowLongPtr(tab, GWL_STYLE, style & ~static_cast<LONG_PTR>(TCS_MULTILINE));
    ::SetWindowPos(tab, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    const int rise = before - displayTop();
    if (rise <= 0) {
        return;
    }
    const RECT tabRect = RectIn(sheet, tab);
    ::SetWindowPos(tab, nullptr, 0, 0, tabRect.right - tabRect.left,
                   tabRect.bottom - tabRect.top - rise, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Pages inside the tab's area and the buttons below it go up.
    MoveChildren(sheet, 0, -rise, tabRect.top, tab);
    RECT window{};
    ::GetWindowRect(sheet, &window);
    ::SetWindowPos(sheet, nullptr, 0, 0, window.right - window.left,
                   window.bottom - window.top - rise, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTreeSheetBase::RefillTree() {
    const HWND tree = TreeWindow();
    const HWND tab = TabControl();
    if (tree == nullptr || tab == nullptr) {
        return;
    }
    m_refilling = true;
    TreeView_DeleteAllItems(tree);
    m_items.clear();
    m_pages.Clear();

    ::ImageList_RemoveAll(m_images.get());
    if (const HIMAGELIST pageIcons = TabCtrl_GetImageList(tab)) {
        for (int i = 0; i < ::ImageList_GetImageCount(pageIcons); ++i) {
            if (const HICON icon = ::ImageList_GetIcon(pageIcons, i, ILD_NORMAL)) {
                ::ImageList_AddIcon(m_images.get(), icon);
                ::DestroyIcon(icon);
            }
        }
    }

    std::vector<int> pageImages;
    const int count = TabCtrl_GetItemCount(tab);
    for (int i = 0; i < count; ++i) {
        std::array<wchar_t, 261> text{};
        TCITEM item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size() - 1);
        TabCtrl_GetItem(tab, i, &item);
        m_pages.AddPage(Narrow(text.data()), i);
        const bool valid =
            item.iImage >= 0 && item.iImage < ::ImageList_GetImageCount(m_images.get());
        pageImages.push_back(valid ? item.iImage : -1);
    }

    m_items.assign(m_pages.Size(), nullptr);
    for (const int node : m_pages.DepthFirst()) {
        const PageTree::Node& info = m_pages.At(node);
        TVINSERTSTRUCT insert{};
        insert.hParent = info.parent == PageTree::kRoot
                             ? TVI_ROOT
                             : m_items[static_cast<std::size_t>(info.parent)];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        const std::wstring text = Widen(info.text);
        insert.item.pszText = const_cast<wchar_t*>(text.c_str());
        insert.item.lParam = info.page;
        const int image = info.page >= 0 ? pageImages[static_cast<std::size_t>(info.page)] : -1;
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        m_items[static_cast<std::size_t>(node)] = TreeView_InsertItem(tree, &insert);
        // Every branch open: the window shows all its pages at a glance, and
        // the selected one stands among them.
        if (info.parent != PageTree::kRoot) {
            TreeView_Expand(tree, insert.hParent, TVE_EXPAND);
        }
    }
    m_refilling = false;
}

void CTreeSheetBase::SelectCurrentPage() {
    m_refilling = true;
    SelectNode(m_pages.NodeOfPage(TabCtrl_GetCurSel(TabControl())));
    m_refilling = false;
}

void CTreeSheetBase::SelectNode(int node) {
    if (node != PageTree::kNone && TreeWindow() != nullptr) {
        TreeView_SelectItem(TreeWindow(), m_items[static_cast<std::size_t>(node)]);
    }
}

int CTreeSheetBase::NodeOf(HTREEITEM item) const {
    const auto found = std::find(m_items.begin(), m_items.end(), item);
    return item != nullptr && found != m_items.end() ? static_cast<int>(found - m_items.begin())
                                                     : PageTree::kNone;
}

int CTreeSheetBase::CurrentNode() const {
    const int node = NodeOf(TreeView_GetSelection(TreeWindow()));
    return node != PageTree::kNone ? node : m_pages.NodeOfPage(TabCtrl_GetCurSel(TabControl()));
}

LRESULT CTreeSheetBase::OnSelectionChanging(const NMTREEVIEW& change) {
    if (m_refilling) {
        return FALSE;
    }
    const auto page = static_cast<int>(change.itemNew.lParam);
    if (page < 0) {
        // A node that only groups pages hands over to its first page.
        if (const int node = NodeOf(change.itemNew.hItem); node != PageTree::kNone) {
            const int first = m_pages.FirstPageNodeFrom(node);
            ::PostMessage(Handle(), kSelectNodeLater, static_cast<WPARAM>(first), 0);
        }
        return TRUE;
    }
    m_refilling = true;
    const LRESULT moved = ::SendMessage(Handle(), PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
    m_refilling = false;
    if (moved == FALSE) {
        return TRUE;  // the page being left would not let go
    }
    ::SetFocus(TreeWindow());
    return FALSE;
}

void CTreeSheetBase::OnSelectionChanged(HTREEITEM item) {
    const int node = NodeOf(item);
    if (node == PageTree::kNone || !m_frame) {
        return;
    }
    TVITEM image{};
    image.mask = TVIF_IMAGE;
    image.hItem = item;
    TreeView_GetItem(TreeWindow(), &image);
    const ui::IconHandle icon(m_treeImages && image.iImage >= 0
                                  ? ::ImageList_GetIcon(m_images.get(), image.iImage, ILD_NORMAL)
                                  : nullptr);
    m_frame->SetCaption(m_pages.At(node).text, icon.get());
    // A page made just now lies above the frame; the frame stays beneath.
    ::SetWindowPos(m_frame->Wnd(), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CTreeSheetBase::PreTranslateMessage(MSG& msg) {
    if (!m_treeMode || TreeWindow() == nullptr || msg.message != WM_KEYDOWN ||
        ::GetKeyState(VK_CONTROL) >= 0 ||
        (msg.hwnd != Handle() && !::IsChild(Handle(), msg.hwnd))) {
        return false;
    }
    const bool tab = msg.wParam == VK_TAB;
    if (!tab && msg.wParam != VK_NEXT && msg.wParam != VK_PRIOR) {
        return false;
    }
    const bool back = tab ? ::GetKeyState(VK_SHIFT) < 0 : msg.wParam == VK_PRIOR;
    const int node = CurrentNode();
    SelectNode(back ? m_pages.PreviousPageNode(node) : m_pages.NextPageNode(node));
    return true;
}

ui::Handled CTreeSheetBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_treeMode) {
        return std::nullopt;
    }
    switch (message) {
        case WM_NOTIFY: {
            const auto& change = *reinterpret_cast<const NMTREEVIEW*>(lParam);
            if (change.hdr.hwndFrom == nullptr || change.hdr.hwndFrom != TreeWindow()) {
                return std::nullopt;
            }
            switch (change.hdr.code) {
                case TVN_SELCHANGINGW:
                    return OnSelectionChanging(change);
                case TVN_SELCHANGEDW:
                    OnSelectionChanged(change.itemNew.hItem);
                    return 0;
                default:
                    return std::nullopt;
            }
        }
        case PSM_SETCURSEL:
        case PSM_SETCURSELID: {
            const LRESULT result = CallSheetProc(message, wParam, lParam);
            if (!m_refilling && result != FALSE) {
                SelectCurrentPage();
            }
            return result;
        }
        case PSM_ADDPAGE:
        case PSM_REMOVEPAGE:
        case PSM_INSERTPAGE: {
            const LRESULT result = CallSheetProc(message, wParam, lParam);
            RefillTree();
            SelectCurrentPage();
            return result;
        }
        case kSelectNodeLater:
            SelectNode(static_cast<int>(wParam));
            return 0;
        case kFollowCurrentPage:
            SelectCurrentPage();
            // The tree opens with the keyboard, so the page it shows stands
            // out in it and the arrow keys walk the pages.
            ::SetFocus(TreeWindow());
            return 0;
        case WM_DESTROY:
            m_tree.reset();
            m_frame.reset();
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

CTreeSettingsSheet::CTreeSettingsSheet(std::string caption, HWND parent, UINT startPage)
    : CTreeSheetBase(std::move(caption), parent, startPage) {
    Header().dwFlags &= ~static_cast<DWORD>(PSH_HASHELP);
}

bool CTreeSettingsSheet::SetTreeWidth(int width) {
    if (width < 0) {
        return false;
    }
    // Unlike the base, at any time; a tree already shown keeps its size.
    StoreTreeWidth(width);
    return true;
}

}  // namespace pausora::TreeSheet
