// The window base: one trampoline procedure finds the object behind an HWND
// and hands each message, decoded once, to a virtual handler.
#pragma once

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
    static LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    HWND m_hwnd = nullptr;
};

HINSTANCE ModuleInstance() noexcept;

// A string of the program's string table; empty when there is none.
std::wstring ResourceString(UINT id);
// The whole text of a window or control.
std::wstring WindowText(HWND window);

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
