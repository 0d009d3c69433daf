// Move-only owners for the system handles the program keeps. Each owner
// releases its handle in exactly one place; copying one does not compile.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace pausora::ui {

template <typename Handle, typename Traits>
class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return Traits::Valid(m_handle); }
    Handle release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) noexcept {
        const Handle old = std::exchange(m_handle, handle);
        if (Traits::Valid(old)) {
            Traits::Close(old);
        }
    }

  private:
    Handle m_handle = Traits::Invalid();
};

namespace detail {
template <typename H>
struct NullIsInvalid {
    static H Invalid() noexcept { return nullptr; }
    static bool Valid(H h) noexcept { return h != nullptr; }
};
template <typename H>
struct GdiTraits : NullIsInvalid<H> {
    static void Close(H h) noexcept { ::DeleteObject(h); }
};
struct WindowTraits : NullIsInvalid<HWND> {
    static void Close(HWND h) noexcept { ::DestroyWindow(h); }
};
struct IconTraits : NullIsInvalid<HICON> {
    static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct MenuTraits : NullIsInvalid<HMENU> {
    static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct KernelTraits : NullIsInvalid<HANDLE> {
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FileTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) noexcept { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct ModuleTraits : NullIsInvalid<HMODULE> {
    static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};
struct ImageListTraits : NullIsInvalid<HIMAGELIST> {
    static void Close(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
};
struct MemoryDcTraits : NullIsInvalid<HDC> {
    static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
}  // namespace detail

using WindowHandle = UniqueHandle<HWND, detail::WindowTraits>;
using BitmapHandle = UniqueHandle<HBITMAP, detail::GdiTraits<HBITMAP>>;
using FontHandle = UniqueHandle<HFONT, detail::GdiTraits<HFONT>>;
using RegionHandle = UniqueHandle<HRGN, detail::GdiTraits<HRGN>>;
using BrushHandle = UniqueHandle<HBRUSH, detail::GdiTraits<HBRUSH>>;
using PenHandle = UniqueHandle<HPEN, detail::GdiTraits<HPEN>>;
using IconHandle = UniqueHandle<HICON, detail::IconTraits>;
using MenuHandle = UniqueHandle<HMENU, detail::MenuTraits>;
using KernelHandle = UniqueHandle<HANDLE, detail::KernelTraits>;
using FileHandle = UniqueHandle<HANDLE, detail::FileTraits>;
using ModuleHandle = UniqueHandle<HMODULE, detail::ModuleTraits>;
using ImageListHandle = UniqueHandle<HIMAGELIST, detail::ImageListTraits>;
// A device context of our own (CreateCompatibleDC), deleted with its owner.
using MemoryDc = UniqueHandle<HDC, detail::MemoryDcTraits>;

// A window's device context (GetDC), given back to the window with its owner.
// For the screen, the window is null.
class WindowDc {
  public:
    explicit WindowDc(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : m_window(other.m_window), m_dc(std::exchange(other.m_dc, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    ~WindowDc() {
        if (m_dc != nullptr) {
            ::ReleaseDC(m_window, m_dc);
        }
    }

    HDC get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

  private:
    HWND m_window;
    HDC m_dc;
};

// A pen, brush, font or bitmap selected into a device context for a while
// (not a region: that is copied, not selected). What it replaced goes back in
// when the owner ends, so the context never ends up holding an object that
// is about to be deleted. Declare it after the owners of the context and the
// object, so that it ends first.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : m_dc(dc) { Select(object); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    SelectedObject(SelectedObject&& other) noexcept
        : m_dc(other.m_dc), m_old(std::exchange(other.m_old, nullptr)) {}
    SelectedObject& operator=(SelectedObject&&) = delete;
    ~SelectedObject() {
        if (m_old != nullptr) {
            ::SelectObject(m_dc, m_old);
        }
    }

    // Puts `object` in place of the one selected now; what was there before
    // the first selection is still what comes back at the end.
    void Select(HGDIOBJ object) noexcept {
        if (m_dc == nullptr || object == nullptr) {
            return;
        }
        const HGDIOBJ replaced = ::SelectObject(m_dc, object);
        if (m_old == nullptr) {
            m_old = replaced;
        }
    }

  private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

}  // namespace pausora::ui
