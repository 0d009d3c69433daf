// Wizard-style property sheets (Wizard97): the sheet, which runs modally, and
// the page base, whose dialog messages go to virtual hooks like a dialog's.
#pragma once

#include "ui/window.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

namespace pausora::ui {

class WizardPage : public MessageHandlers {
  public:
    explicit WizardPage(UINT templateId) : m_templateId(templateId) {}
    WizardPage(const WizardPage&) = delete;
    WizardPage& operator=(const WizardPage&) = delete;

    HWND Handle() const noexcept { return m_hwnd; }
    // The sheet the page is shown in.
    HWND Sheet() const noexcept { return m_hwnd != nullptr ? ::GetParent(m_hwnd) : nullptr; }

    // An exterior page: no header band; the sheet's watermark, if it has one,
    // stands at its left.
    void HideHeader() { m_hideHeader = true; }
    // An interior page: the title and subtitle of the header band.
    void SetHeaderTexts(std::string title, std::string subtitle);

    // What the sheet needs to create the page.
    PROPSHEETPAGEA Describe();

  protected:
    // WM_INITDIALOG: return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The page comes to the front.
    virtual void OnSetActive() {}
    // The page is left by Next or Back.
    virtual void OnKillActive() {}
    // Finish was pressed on this page; the wizard closes afterwards.
    virtual void OnWizardFinish() {}
    // Any other notification from a control of the page.
    virtual Handled OnNotify(const NMHDR& /*header*/) { return std::nullopt; }
    // WM_CTLCOLOR... for the page (`control` is the page itself then) and its
    // controls; answers a brush.
    virtual Handled OnCtlColor(HDC /*dc*/, HWND /*control*/) { return std::nullopt; }

    // Posted, as the sheet wants it while it is switching pages.
    void SetWizardButtons(DWORD flags) const;
    // Marks the page as changed.
    void SetModified() const;

  private:
    static INT_PTR CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    INT_PTR Notify(const NMHDR& header);

    UINT m_templateId;
    HWND m_hwnd = nullptr;
    bool m_hideHeader = false;
    std::string m_headerTitle;
    std::string m_headerSubtitle;
};

class WizardSheet {
  public:
    WizardSheet(std::string caption, HWND parent, UINT startPage)
        : m_caption(std::move(caption)), m_parent(parent), m_startPage(startPage) {}
    WizardSheet(const WizardSheet&) = delete;
    WizardSheet& operator=(const WizardSheet&) = delete;

    // Pages are shown in the order they are added; they must outlive the run.
    void AddPage(WizardPage& page) { m_pages.push_back(&page); }
    // The bitmap beside exterior pages (0: none).
    void SetWatermark(UINT bitmapId) { m_watermark = bitmapId; }
    // The bitmap in the header band of interior pages (0: none).
    void SetHeaderBitmap(UINT bitmapId) { m_headerBitmap = bitmapId; }

    // Runs the wizard until Finish or Cancel; the sheet's result, or -1 when
    // it could not be shown.
    INT_PTR DoModal();

  private:
    std::string m_caption;
    HWND m_parent;
    UINT m_startPage;
    UINT m_watermark = 0;
    UINT m_headerBitmap = 0;
    std::vector<WizardPage*> m_pages;
};

}  // namespace pausora::ui
