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

}  // namespace pausora::ui
