// The window base: one trampoline procedure finds the object behind an HWND
// and hands each message, decoded once, to a virtual handler.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace pausora::ui {

// What a handler answers: nothing (let the default handling run) or a result.
using Handled = std::optional<LRESULT>;

class MessageHandlers;

class MessageHandlers {
  public:
    virtual ~MessageHandlers() = default;

  protected:
    friend std::optional<LRESULT> Dispatch(MessageHandlers&, UINT, WPARAM, LPARAM);
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

// Calls the handler chain of `handlers` for one message; shared by windows
// and dialogs.
Handled Dispatch(MessageHandlers& handlers, UINT message, WPARAM wParam, LPARAM lParam);

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
// settings notices unless it was given another target. Set once by the main
// window when it starts.
HWND AppMainWindow() noexcept;
void SetAppMainWindow(HWND window) noexcept;

}  // namespace pausora::ui
