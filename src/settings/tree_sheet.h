// The settings window's frame: a property sheet whose row of tabs is hidden
// and replaced by a tree built from the pages' captions, with the selected
// page shown inside a frame whose top band carries the page's icon and name.
#pragma once

#include "settings/page_path.h"
#include "ui/handles.h"
#include "ui/property_sheet.h"
#include "ui/window.h"

#include <memory>
#include <string>
#include <vector>

namespace pausora::TreeSheet {

// The visual-styles library, bound at run time: without it, or with styles
// off, everything draws unthemed.
class CVisualStyles {
  public:
    static CVisualStyles& Get();

    // Whether themed drawing is to be used now.
    bool Themed() const;
    // The tab control's pane in the visual style: its content rectangle
    // within `bounds`, or drawn over `rect`; false when unthemed.
    bool TabPaneContent(HWND window, HDC dc, const RECT& bounds, RECT& content) const;
    bool DrawTabPane(HWND window, HDC dc, const RECT& rect) const;

  private:
    using Theme = HANDLE;
    CVisualStyles();
    Theme OpenTab(HWND window) const;
    void Close(Theme theme) const;

    ui::ModuleHandle m_library;
    BOOL(WINAPI* m_isAppThemed)() = nullptr;
    BOOL(WINAPI* m_isThemeActive)() = nullptr;
    Theme(WINAPI* m_openThemeData)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI* m_closeThemeData)(Theme) = nullptr;
    HRESULT(WINAPI* m_getContentRect)(Theme, HDC, int, int, const RECT*, RECT*) = nullptr;
    HRESULT(WINAPI* m_drawBackground)(Theme, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* m_getThemeColor)(Theme, int, int, int, COLORREF*) = nullptr;
};

// What the sheet needs of the frame around its pages.
class CPageFrame {
  public:
    virtual ~CPageFrame() = default;

    void ShowCaption(bool show);
    void SetCaptionHeight(int pixels);
    // `icon` is copied; the caller keeps its own.
    void SetCaption(const std::string& text, HICON icon);

    // Draws the caption band, if shown.
    void Draw(HDC dc, const RECT& client);
    virtual RECT CaptionRect(HDC dc, const RECT& client) const;
    virtual void DrawCaption(HDC dc, const RECT& caption);

    virtual HWND Wnd() const = 0;
    virtual bool CreateWnd(HWND parent, const RECT& rect, UINT id) = 0;

  protected:
    void Repaint() const;
    virtual void SetCaptionIcon(HICON icon) = 0;
    virtual void DrawCaptionIcon(HDC dc, int x, int y) = 0;
    virtual SIZE CaptionIconSize() const = 0;

  private:
    bool m_showCaption = false;
    int m_captionHeight = 0;
    std::string m_captionText;
};

// The frame as a child window: it paints off-screen, then copies.
class CPageFrameWnd final : public CPageFrame, public ui::Window {
  public:
    HWND Wnd() const override { return Handle(); }
    bool CreateWnd(HWND parent, const RECT& rect, UINT id) override;

  protected:
    void SetCaptionIcon(HICON icon) override;
    void DrawCaptionIcon(HDC dc, int x, int y) override;
    SIZE CaptionIconSize() const override { return m_iconSize; }
    ui::Handled OnPaint() override;
    ui::Handled OnEraseBackground(HDC dc) override;

  private:
    void DrawBackground(HDC dc, const RECT& client) const;

    ui::ImageListHandle m_icon;
    SIZE m_iconSize{0, 0};
};

// The tree of pages.
class CSheetTree {
  public:
    static constexpr UINT kId = 0x7EEE;
    bool Create(HWND sheet, const RECT& rect);
    HWND Handle() const { return m_window.get(); }

  private:
    ui::WindowHandle m_window;
};

class CTreeSheetBase : public ui::PropertySheet {
  public:
    CTreeSheetBase(std::string caption, HWND parent, UINT startPage);

    // These three may be changed only before the sheet's window exists.
    bool SetTreeViewMode(bool treeMode, bool pageCaption, bool treeImages);
    // Any width of 0 or more; false for a negative one.
    virtual bool SetTreeWidth(int width);

    HWND TreeWindow() const { return m_tree ? m_tree->Handle() : nullptr; }

  protected:
    void StoreTreeWidth(int width) { m_treeWidth = width; }
    void OnInitialized() override;
    void OnDpiChanged() override;
    bool PreTranslateMessage(MSG& msg) override;
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    HWND TabControl() const;
    void UseOneRowOfTabs();
    void WidenForTree(int treeWidth);
    static int TabHeight(HWND sheet, HFONT font);
    static int WidestTreeItem(HWND tree);
    void ReloadTreeIcons();
    void RefillTree();
    void SelectCurrentPage();
    void SelectNode(int node);
    LRESULT OnSelectionChanging(const NMTREEVIEW& change);
    void OnSelectionChanged(HTREEITEM item);
    int NodeOf(HTREEITEM item) const;
    int CurrentNode() const;

    bool m_treeMode = false;
    bool m_pageCaption = false;
    bool m_treeImages = false;
    int m_treeWidth = 150;  // at 96 DPI; grown to the widest page name
    int m_treeGap = 5;
    int m_captionHeightAtStart = 0;  // pixels, measured when the sheet was made
    bool m_refilling = false;        // the sheet itself moves the tree
    std::unique_ptr<CSheetTree> m_tree;
    std::unique_ptr<CPageFrame> m_frame;
    ui::ImageListHandle m_images;
    PageTree m_pages;
    std::vector<HTREEITEM> m_items;  // by node of m_pages
};

// The program's settings window.
class CTreeSettingsSheet final : public CTreeSheetBase {
  public:
    CTreeSettingsSheet(std::string caption, HWND parent, UINT startPage);
    bool SetTreeWidth(int width) override;
};

}  // namespace pausora::TreeSheet
