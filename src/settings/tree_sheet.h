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

// The frame around the pages: a child window whose top band carries the
// page's icon and name. It paints off-screen, then copies.
class CPageFrame final : public ui::Window {
  public:
    CPageFrame() = default;
    ~CPageFrame() override;

    bool Create(HWND parent, const RECT& rect, UINT id);
    void ShowCaption(bool show);
    void SetCaptionHeight(int pixels);
    // `icon` is copied; the caller keeps its own.
    void SetCaption(const std::string& text, HICON icon);

  protected:
    ui::Handled OnPaint() override;
    ui::Handled OnEraseBackground(HDC dc) override;

  private:
    void Repaint() const;
    RECT CaptionRect(HDC dc, const RECT& client) const;
    void DrawBackground(HDC dc, const RECT& client) const;
    void DrawCaption(HDC dc, const RECT& caption) const;

    bool m_showCaption = false;
    int m_captionHeight = 0;
    std::string m_captionText;
    HIMAGELIST m_icon = nullptr;
    SIZE m_iconSize{0, 0};
};

// The program's settings window.
class CTreeSettingsSheet final : public ui::PropertySheet {
  public:
    CTreeSettingsSheet(std::string caption, HWND parent, UINT startPage);
    ~CTreeSettingsSheet() override;

    // May be changed only before the sheet's window exists.
    bool SetTreeViewMode(bool treeMode, bool pageCaption, bool treeImages);
    // Any width of 0 or more, at any time; a tree already shown keeps its
    // size. False for a negative one.
    bool SetTreeWidth(int width);

    HWND TreeWindow() const { return m_tree.get(); }

  protected:
    void OnInitialized() override;
    void OnDpiChanged() override;
    bool PreTranslateMessage(MSG& msg) override;
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    HWND TabControl() const;
    void UseOneRowOfTabs();
    void WidenForTree(int treeWidth);
    static int TabHeight(HWND sheet, HFONT font);
    void LoadTreeIcons();
    void RefillTree();
    void SelectPageInTree(int page);
    void SelectNode(int node);
    LRESULT OnSelectionChanging(const NMTREEVIEW& change);
    void OnSelectionChanged(const NMTREEVIEW& change);
    int CurrentNode() const;

    bool m_treeMode = false;
    bool m_pageCaption = false;
    bool m_treeImages = false;
    int m_treeWidth = 150;
    int m_treeGap = 5;
    int m_captionHeightAtStart = 0;  // pixels, measured when the sheet was made
    bool m_refilling = false;        // the sheet itself moves the tree
    ui::WindowHandle m_tree;
    std::unique_ptr<CPageFrame> m_frame;
    HIMAGELIST m_images = nullptr;
    std::vector<int> m_pageImages;  // by page: its icon in m_images, or -1
    PageTree m_pages;
    std::vector<HTREEITEM> m_items;  // by node of m_pages
};

}  // namespace pausora::TreeSheet
