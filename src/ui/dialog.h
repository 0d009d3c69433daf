// The dialog base: a dialog built from a resource template, run modally,
// with its messages decoded by the same hooks as a window's.
#pragma once

#include "ui/dpi.h"
#include "ui/window.h"

namespace pausora::ui {

class Dialog : public MessageHandlers {
  public:
    // With kWindowColour everything sits on the window colour instead of the
    // dialog grey, and texts have no box of their own.
    enum Background { kDialogColour, kWindowColour };
    explicit Dialog(UINT templateId, Background background = kDialogColour)
        : m_templateId(templateId), m_background(background) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    ~Dialog() override;

    // Runs the dialog in a message loop of its own until EndDialog; returns
    // its result, or -1 when the template could not be loaded. A WM_QUIT met
    // on the way ends the run and is posted again for the outer loop.
    INT_PTR DoModal(HWND parent = nullptr);

    HWND Handle() const noexcept { return m_hwnd; }
    // The scaling of the monitor the dialog is on.
    const DpiScale& Dpi() const noexcept { return m_dpi; }

  protected:
    // WM_INITDIALOG: return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // The dialog moved to a monitor of another scaling and took the
    // rectangle the system suggested: fonts and pictures of fixed pixel sizes
    // are made again at Dpi().
    virtual void OnDpiChanged() {}
    // Sees every message of the modal loop before it is dispatched; true
    // means it was consumed. `msg` may be changed.
    virtual bool PreTranslateMessage(MSG& /*msg*/) { return false; }
    // Whether the modal run shows the dialog when it starts.
    virtual bool ShowOnModalStart() const { return true; }
    void EndDialog(INT_PTR result);
    // Closing by the system menu or Escape ends a modal run with IDCANCEL
    // unless a handler says otherwise.
    Handled OnCommand(UINT id, UINT code, HWND control) override;
    Handled OnClose() override;
    Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    struct Procedure;
    UINT m_templateId;
    Background m_background;
    HWND m_hwnd = nullptr;
    DpiScale m_dpi;
    bool m_ended = false;
    INT_PTR m_result = 0;
};

}  // namespace pausora::ui
