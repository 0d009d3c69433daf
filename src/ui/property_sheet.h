// Property sheets on the system's comctl32, tabbed or as a Wizard97 wizard:
// a page base whose dialog messages reach virtual handlers like a dialog's,
// and a sheet that runs modally in a loop of its own, so that it can see keys
// before the sheet's own keyboard handling and messages before the sheet's
// window procedure.
#pragma once

#include "ui/dpi.h"
#include "ui/handles.h"
#include "ui/utf.h"
#include "ui/window.h"

#include <commctrl.h>
#include <prsht.h>

#include <functional>
#include <string>
#include <vector>

namespace pausora::ui {

class PropertySheet;

class PropertyPage : public MessageHandlers {
  public:
    // `iconId` 0: no icon of its own on the sheet.
    explicit PropertyPage(UINT templateId, UINT iconId = 0)
        : m_templateId(templateId), m_iconId(iconId) {}
    PropertyPage(const PropertyPage&) = delete;
    PropertyPage& operator=(const PropertyPage&) = delete;

    // The page's window, which exists from the first time the page is shown
    // until the sheet closes.
    HWND Handle() const noexcept { return m_hwnd; }
    HWND Item(int id) const noexcept { return ::GetDlgItem(m_hwnd, id); }
    // The icon resource it shows on the sheet; 0 for none.
    UINT IconId() const noexcept { return m_iconId; }
    // The scaling of the monitor the sheet is on.
    const DpiScale& Dpi() const noexcept { return m_dpi; }

    // On a wizard: an exterior page, without the header band.
    void HideHeader() { m_hideHeader = true; }
    // On a wizard: an interior page's title and subtitle in the header band.
    // A wizard page's header, from the string table.
    void SetHeaderTexts(UINT title, UINT subtitle);

    // The system's page for this object; the sheet that receives it owns it.
    // `title` replaces the template's caption when given.
    HPROPSHEETPAGE CreatePage(const wchar_t* title = nullptr);

  protected:
    // WM_INITDIALOG: return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The sheet moved to a monitor of another scaling: fonts and pictures of
    // fixed pixel sizes are made again at Dpi(). Only for a page whose window
    // exists; one made later starts at the new scaling.
    virtual void OnDpiChanged() {}
    // The page comes to the front.
    virtual void OnSetActive() {}
    // The page is left (another page, Next or Back, OK); it always may be.
    virtual void OnKillActive() {}
    // The sheet's Apply or OK; false keeps the sheet open on this page.
    virtual bool OnApply() { return true; }
    // Finish was pressed on this page; the wizard closes afterwards.
    virtual void OnWizardFinish() {}
    // Every notification from a control or the sheet, before the steps
    // above; an answer here takes their place.
    virtual Handled OnNotify(const NMHDR& /*header*/) { return std::nullopt; }

    // Enables the sheet's Apply button on this page's behalf.
    void SetModified();
    // A wizard's Back, Next and Finish; posted, as the sheet wants it while
    // it is switching pages. A Finish button takes the keyboard focus.
    void SetWizardButtons(DWORD flags) const;
    HWND Sheet() const noexcept { return m_hwnd != nullptr ? ::GetParent(m_hwnd) : nullptr; }

  private:
    friend class PropertySheet;
    void FollowDpi(int dpi);
    struct Procedure;
    Handled Notify(const NMHDR& header);

    UINT m_templateId;
    UINT m_iconId;
    PropertySheet* m_owner = nullptr;  // the sheet it was last added to
    HWND m_hwnd = nullptr;
    DpiScale m_dpi;
    bool m_hideHeader = false;
    std::wstring m_headerTitle;
    std::wstring m_headerSubtitle;
};

class PropertySheet : public MessageHandlers {
  public:
    PropertySheet(std::string caption, HWND parent, UINT startPage);
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;
    ~PropertySheet() override;

    // Pages are shown in the order they are added; they must outlive the run.
    void AddPage(PropertyPage& page) {
        m_pages.push_back(&page);
        page.m_owner = this;
    }
    // Runs the sheet until OK, Cancel or Finish closes it; IDOK when some
    // page was applied or the wizard finished, IDCANCEL otherwise, -1 when it
    // could not be created.
    INT_PTR DoModal();
    HWND Handle() const noexcept { return m_hwnd; }
    // The scaling of the monitor the sheet is on.
    const DpiScale& Dpi() const noexcept { return m_dpi; }
    // Called once after each Apply or OK in which some page applied, however
    // many pages took part, once every one of them has.
    void OnApplied(std::function<void()> handler) { m_onApplied = std::move(handler); }

  protected:
    // The header the sheet is created from; its flags may be changed until
    // DoModal.
    PROPSHEETHEADER& Header() noexcept { return m_header; }
    bool IsWizard() const noexcept { return (m_header.dwFlags & PSH_WIZARD97) != 0; }
    // The pages in the order they were added, which is the tabs' order.
    const std::vector<PropertyPage*>& Pages() const noexcept { return m_pages; }
    // Once the system has built the sheet, its tab control and first page.
    virtual void OnInitialized() {}
    // The sheet moved to a monitor of another scaling, took the rectangle
    // the system suggested, and its pages have followed.
    virtual void OnDpiChanged() {}
    // Sees every message of the modal loop first; true means it was consumed.
    virtual bool PreTranslateMessage(MSG& /*msg*/) { return false; }
    // The sheet's own window procedure, for handlers that change a message's
    // result or act after it.
    LRESULT CallSheetProc(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    friend class PropertyPage;
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam) noexcept;
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self) noexcept;

    std::wstring m_caption;
    PROPSHEETHEADER m_header{};
    std::vector<PropertyPage*> m_pages;
    HWND m_hwnd = nullptr;
    DpiScale m_dpi;
    std::function<void()> m_onApplied;
    bool m_applied = false;  // some page applied in the message being handled
    int m_depth = 0;         // messages of the sheet being handled, nested
};

// A Wizard97 sheet: Back, Next and Finish in place of the tabs and OK.
class WizardSheet : public PropertySheet {
  public:
    WizardSheet(std::string caption, HWND parent, UINT startPage);

    // The bitmap beside exterior pages, at its own size.
    void SetWatermark(UINT bitmapId);
    // The bitmap in the header band of interior pages.
    void SetHeaderBitmap(UINT bitmapId);

  protected:
    // Centred on the work area of the monitor that holds the notification
    // area, where the user's eyes are when the program speaks.
    void OnInitialized() override;

  private:
    BitmapHandle m_headerBitmap;
};

}  // namespace pausora::ui
