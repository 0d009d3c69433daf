// Not a test: prints what a paint of the notice popup costs. It shows a short
// break notice the way the program does, then repaints it many times and
// counts the bitmaps loaded, the fonts and canvases created, the GDI objects
// the process holds and the time per paint.
//
//   wine popup_paint_bench.exe [paints]
//
// The counts come from the program's own import table: the bench puts
// counting wrappers in place of the GDI and USER calls that create objects.
#include "win/popup_setup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace pausora;
using namespace pausora::testing;
using test::Pump;
using test::PumpUntil;

struct Counts {
    long bitmapLoads = 0;
    long fontCreations = 0;
    long canvasBitmaps = 0;
    long live = 0;  // objects created through the wrappers and not yet deleted
};
Counts g_counts;

decltype(&::LoadBitmapA) g_loadBitmap = nullptr;
decltype(&::LoadImageA) g_loadImage = nullptr;
decltype(&::CreateFontIndirectA) g_createFont = nullptr;
decltype(&::CreateCompatibleBitmap) g_createBitmap = nullptr;
decltype(&::DeleteObject) g_deleteObject = nullptr;

HBITMAP WINAPI CountedLoadBitmap(HINSTANCE module, LPCSTR name) {
    ++g_counts.bitmapLoads;
    const HBITMAP bitmap = g_loadBitmap(module, name);
    g_counts.live += bitmap != nullptr ? 1 : 0;
    return bitmap;
}

HANDLE WINAPI CountedLoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy,
                               UINT flags) {
    const HANDLE image = g_loadImage(module, name, type, cx, cy, flags);
    if (type == IMAGE_BITMAP) {
        ++g_counts.bitmapLoads;
        g_counts.live += image != nullptr ? 1 : 0;
    }
    return image;
}

HFONT WINAPI CountedCreateFont(const LOGFONTA* font) {
    ++g_counts.fontCreations;
    const HFONT created = g_createFont(font);
    g_counts.live += created != nullptr ? 1 : 0;
    return created;
}

HBITMAP WINAPI CountedCreateBitmap(HDC dc, int width, int height) {
    ++g_counts.canvasBitmaps;
    const HBITMAP bitmap = g_createBitmap(dc, width, height);
    g_counts.live += bitmap != nullptr ? 1 : 0;
    return bitmap;
}

BOOL WINAPI CountedDeleteObject(HGDIOBJ object) {
    const DWORD type = ::GetObjectType(object);
    const BOOL deleted = g_deleteObject(object);
    if (deleted != FALSE && (type == OBJ_BITMAP || type == OBJ_FONT)) {
        --g_counts.live;
    }
    return deleted;
}

// Points the import of `function` from `dll` at `replacement`; returns the
// address it held.
void* PatchImport(const char* dll, const char* function, void* replacement) {
    auto* const base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         imp->Name != 0; ++imp) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) {
                continue;
            }
            DWORD old = 0;
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
            void* const original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            ::VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return original;
        }
    }
    std::fprintf(stderr, "no import of %s from %s\n", function, dll);
    std::exit(2);
}

template <typename Fn>
void Patch(const char* dll, const char* name, Fn replacement, Fn& original) {
    original = reinterpret_cast<Fn>(PatchImport(dll, name, reinterpret_cast<void*>(replacement)));
}

DWORD GdiObjects() {
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
}

class Owner : public ui::Window {
  public:
    Owner() { CreateEx(0, L"PopupBenchOwner", L"", WS_POPUP, 0, 0, 10, 10, nullptr); }
};

void ShortBreakNotice(CNotifierPopup& popup) {
    popup.SetItemText(2, "Short break time");
    popup.SetItemClickable(3, true);
    popup.SetItemText(3, "Show me a stretch");
    popup.SetItemPictures(1, IDB_SHORT_BREAK, IDB_SHORT_BREAK);
    popup.SetItemText(4,
                      "Look out of the window for a moment: far-away things rest the eyes that "
                      "near ones tire.");
}

void Report(const char* what, const Counts& before, long paints) {
    const double n = paints > 0 ? static_cast<double>(paints) : 1.0;
    std::printf(
        "%-34s %6ld paints  %7.2f bitmap loads  %7.2f font creations  %7.2f canvas "
        "bitmaps per paint\n",
        what, paints, (g_counts.bitmapLoads - before.bitmapLoads) / n,
        (g_counts.fontCreations - before.fontCreations) / n,
        (g_counts.canvasBitmaps - before.canvasBitmaps) / n);
}

}  // namespace

int main(int argc, char** argv) {
    const long paints = argc > 1 ? std::max(1L, std::atol(argv[1])) : 500;
    Patch("user32.dll", "LoadBitmapA", &CountedLoadBitmap, g_loadBitmap);
    Patch("user32.dll", "LoadImageA", &CountedLoadImage, g_loadImage);
    Patch("gdi32.dll", "CreateFontIndirectA", &CountedCreateFont, g_createFont);
    Patch("gdi32.dll", "CreateCompatibleBitmap", &CountedCreateBitmap, g_createBitmap);
    Patch("gdi32.dll", "DeleteObject", &CountedDeleteObject, g_deleteObject);

    Owner owner;
    CNotifierPopup popup;
    SetUpLikeTheMainWindow(popup, owner.Handle());
    ShortBreakNotice(popup);
    Pump();
    const DWORD gdiBeforeShow = GdiObjects();
    const long liveBeforeShow = g_counts.live;

    // The first show, with its slide out of the taskbar, as the program
    // shows it; it stays long enough for every repaint below.
    Counts mark = g_counts;
    popup.ShowPopup(500, 600000, 500, 10, 0, 3);
    PumpUntil(3000, [&] { return popup.Model().Phase() == PopupPhase::kWaiting; });
    Report("show and slide in (totals)", mark, 1);
    const DWORD gdiShown = GdiObjects();
    const long liveShown = g_counts.live;

    mark = g_counts;
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (long i = 0; i < paints; ++i) {
        ::RedrawWindow(popup.Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    }
    ::QueryPerformanceCounter(&end);
    Report("repaints while shown", mark, paints);
    const double microseconds = static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                                static_cast<double>(frequency.QuadPart) /
                                static_cast<double>(paints);
    const DWORD gdiAfterPaints = GdiObjects();
    const long liveAfterPaints = g_counts.live;

    // A second notice while the first is up: new texts and picture.
    mark = g_counts;
    popup.SetItemText(2, "Have a rest!");
    popup.SetItemPictures(1, IDB_LONG_BREAK, IDB_LONG_BREAK);
    popup.ShowPopup(500, 600000, 500, 10, 0, 3);
    Pump();
    Report("show again, new items (totals)", mark, 1);
    mark = g_counts;
    for (long i = 0; i < 50; ++i) {
        ::RedrawWindow(popup.Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    }
    Report("repaints after that", mark, 50);

    popup.HidePopup();
    Pump();
    const DWORD gdiHidden = GdiObjects();

    std::printf("time per paint: %.1f us\n", microseconds);
    std::printf(
        "GDI objects (GetGuiResources): before show %lu, shown %lu, after %ld paints "
        "%lu, hidden %lu\n",
        gdiBeforeShow, gdiShown, paints, gdiAfterPaints, gdiHidden);
    std::printf(
        "bitmaps and fonts held (counted): before show %ld, shown %ld, after paints %ld, "
        "hidden %ld\n",
        liveBeforeShow, liveShown, liveAfterPaints, g_counts.live);
    return 0;
}
