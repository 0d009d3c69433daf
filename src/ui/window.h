// The window base: one trampoline procedure finds the object behind an HWND
// and hands each message, decoded once, to a virtual handler. Dialogs and
// property pages use the same trampoline.
#pragma once

#include "ui/screen_geometry.h"

#include <windows.h>

#include <optional>
#include <string>

namespace pausora::ui {

// What a handler answers: nothing (let the default handling run) or a result.
using Handled = std::optional<LRESULT>;

class MessageHandlers {
  public:
    virtual ~MessageHandlers() = default;

  protected:
    // Every message passes here first; the typed hooks below are called from
    // the default implementation.
    virtual Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual Handled OnCreate() { return std::nullopt; }
    virtual Handled OnClose() { return std::nullopt; }
    virtual Handled OnTimer(UINT_PTR /*id*/) { return std::nullopt; }
    // A menu or control command; `code` is the notification code.
    virtual Handled OnCommand(UINT /*id*/, UINT /*code*/, HWND /*control*/) { return std::nullopt; }
    virtual Handled OnPaint() { return std::nullopt; }
    virtual Handled OnEraseBackground(HDC /*dc*/) { return std::nullopt; }
    virtual Handled OnMouseMove(POINT /*at*/, WPARAM /*keys*/) { return std::nullopt; }
    virtual Handled OnLButtonUp(POINT /*at*/, WPARAM /*keys*/) { return std::nullopt; }
    virtual Handled OnRButtonUp(POINT /*at*/, WPARAM /*keys*/) { return std::nullopt; }
    virtual Handled OnSetCursor(HWND /*window*/, UINT /*hitTest*/, UINT /*mouseMessage*/) {
        return std::nullopt;
    }
    virtual Handled OnSysCommand(UINT /*command*/, LPARAM /*lParam*/) { return std::nullopt; }
};

// The one window procedure of our windows, dialogs and pages. `Kind` says
// which message brings the object's address (kAttachMessage; Creator finds it
// in that message's lParam, Attach gives the object its HWND), the window's
// slot that keeps it until WM_NCDESTROY (kSlot, then Detach), the answer for
// a message the object does not see (Default), and how the object takes the
// rest (Dispatch). Nothing may unwind into the system's code: a handler that
// throws leaves its message the default answer.
template <typename Kind>
typename Kind::Result CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) noexcept {
    using Object = typename Kind::Object;
    Object* self = nullptr;
    if (message == Kind::kAttachMessage) {
        self = Kind::Creator(lParam);
        if (self != nullptr) {
            Kind::Attach(*self, hwnd);
        }
        ::SetWindowLongPtr(hwnd, Kind::kSlot, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Object*>(::GetWindowLongPtr(hwnd, Kind::kSlot));
    }
    if (self == nullptr) {
        return Kind::Default(hwnd, message, wParam, lParam);
    }
    try {
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtr(hwnd, Kind::kSlot, 0);
            Kind::Detach(*self);
            return Kind::Default(hwnd, message, wParam, lParam);
        }
        return Kind::Dispatch(*self, hwnd, message, wParam, lParam);
    } catch (...) {
        return Kind::Default(hwnd, message, wParam, lParam);
    }
}

// A window created from a registered class of its own. The object owns the
// HWND: destroying the object destroys the window.
class Window : public MessageHandlers {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() override;

    HWND Handle() const noexcept { return m_hwnd; }
    // Registers `className` (once per process) and creates the window.
    bool CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menu = nullptr);
    void Destroy();

  protected:
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    struct Procedure;
    HWND m_hwnd = nullptr;
};

HINSTANCE ModuleInstance() noexcept;

// A string of the program's string table; empty when there is none.
std::wstring ResourceString(UINT id);
// The same into UTF-8 `text`, which keeps the text the program ships with
// when the table lacks it.
void LoadText(std::string& text, UINT id);
// The whole text of a window or control.
std::wstring WindowText(HWND window);

// The system's rectangle and the one of the code that does not see it.
inline RECT ToRect(const ScreenRect& r) noexcept {
    return {r.left, r.top, r.right, r.bottom};
}
inline ScreenRect ToScreenRect(const RECT& r) noexcept {
    return {r.left, r.top, r.right, r.bottom};
}

// The application's main window: where the tray icon sends its commands and
// our windows pass the system's notices, unless it was given another target. Set once by the main
// window when it starts.
HWND AppMainWindow() noexcept;
void SetAppMainWindow(HWND window) noexcept;

// --- what dialogs and property pages share ---

// A dialog procedure's answer to a message a handler took: the control
// colours and the drag icon are returned as they are, everything else goes
// through DWLP_MSGRESULT with TRUE for "handled".
INT_PTR DialogAnswer(HWND dialog, UINT message, LRESULT result);
// The window-colour look: the dialog and its texts and buttons sit on the
// window colour instead of the dialog grey, with no box of their own. An
// answer only for the control-colour messages it covers.
Handled WindowColourBackground(UINT message, WPARAM wParam);

// Their part of the trampoline's Kind: the object comes with WM_INITDIALOG
// (the lParam of the call that made the window), is kept in DWLP_USER, and
// a message it does not take answers FALSE, so the dialog manager goes on.
struct DialogProcedure {
    using Result = INT_PTR;
    static constexpr UINT kAttachMessage = WM_INITDIALOG;
    static constexpr int kSlot = DWLP_USER;
    static INT_PTR Default(HWND, UINT, WPARAM, LPARAM) noexcept { return FALSE; }
    // What the object's handlers said, as the dialog procedure answers it.
    static INT_PTR Answer(HWND dialog, UINT message, const Handled& handled) {
        return handled ? DialogAnswer(dialog, message, *handled) : FALSE;
    }
};

// A modal run: disables `parent` (when given and enabled) and pumps messages
// until `ended` says so; each goes to `preTranslate`, then to
// `dialogMessage`, and is dispatched when neither took it. A WM_QUIT met on
// the way ends the run and is posted again for the outer loop. The parent
// comes back before this returns, so that the system activates it next.
template <typename Ended, typename PreTranslate, typename DialogMessage>
void RunModal(HWND parent, Ended ended, PreTranslate preTranslate, DialogMessage dialogMessage) {
    const bool disableParent = parent != nullptr && ::IsWindowEnabled(parent);
    if (disableParent) {
        ::EnableWindow(parent, FALSE);
    }
    MSG msg{};
    while (!ended()) {
        const BOOL got = ::GetMessage(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        if (preTranslate(msg)) {
            continue;
        }
        if (!dialogMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
    if (disableParent) {
        ::EnableWindow(parent, TRUE);
    }
}

}  // namespace pausora::ui
