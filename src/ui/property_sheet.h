// Property sheets on the system's comctl32: a page base whose dialog
// messages reach virtual handlers like a dialog's, and a sheet that runs
// modally in a loop of its own, so that it can see keys before the sheet's
// own keyboard handling and messages before the sheet's window procedure.
#pragma once

#include "ui/window.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

namespace pausora::ui {

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
    // The system's page for this object; the sheet that receives it owns it.
    HPROPSHEETPAGE CreatePage();

  protected:
    // WM_INITDIALOG: return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The sheet's Apply or OK; false keeps the sheet open on this page.
    virtual bool OnApply() { return true; }
    // Any other notification from a control or the sheet.
    virtual Handled OnNotify(const NMHDR& /*header*/) { return std::nullopt; }
    // Enables (or disables) the sheet's Apply button on this page's behalf.
    void SetModified(bool changed = true);
    HWND Sheet() const noexcept { return ::GetParent(m_hwnd); }

  private:
    static INT_PTR CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    static UINT CALLBACK PageCallback(HWND hwnd, UINT message, LPPROPSHEETPAGEA page) noexcept;

    UINT m_templateId;
    UINT m_iconId;
    HWND m_hwnd = nullptr;
};

class PropertySheet : public MessageHandlers {
  public:
    PropertySheet(std::string caption, HWND parent, UINT startPage);
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;
    ~PropertySheet() override;

    // Pages are shown in the order they are added; they must outlive the run.
    void AddPage(PropertyPage& page) { m_pages.push_back(&page); }
    // Runs the sheet until OK or Cancel closes it; IDOK when some page was
    // applied, IDCANCEL otherwise, -1 when it could not be created.
    INT_PTR DoModal();
    HWND Handle() const noexcept { return m_hwnd; }

  protected:
    // The header the sheet is created from; its flags may be changed until
    // DoModal.
    PROPSHEETHEADERA& Header() noexcept { return m_header; }
    // Once the system has built the sheet, its tab control and first page.
    virtual void OnInitialized() {}
    // Sees every message of the modal loop first; true means it was consumed.
    virtual bool PreTranslateMessage(MSG& /*msg*/) { return false; }
    // The sheet's own window procedure, for handlers that change a message's
    // result or act after it.
    LRESULT CallSheetProc(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam) noexcept;
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self) noexcept;

    std::string m_caption;
    PROPSHEETHEADERA m_header{};
    std::vector<PropertyPage*> m_pages;
    HWND m_hwnd = nullptr;
};

}  // namespace pausora::ui
