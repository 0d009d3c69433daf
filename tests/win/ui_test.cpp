// The framework's own owners and its window procedure: what a selection puts
// back, and what the trampoline does with a handler that throws, a window
// destroyed from elsewhere and a dialog whose parent goes away.
#include "resource.h"
#include "ui/dialog.h"
#include "ui/handles.h"
#include "ui/window.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <utility>

namespace pausora {
namespace {

HGDIOBJ CurrentFont(HDC dc) {
    return ::GetCurrentObject(dc, OBJ_FONT);
}

ui::FontHandle MakeFont(int height) {
    LOGFONTW log{};
    log.lfHeight = height;
    return ui::FontHandle(::CreateFontIndirectW(&log));
}

TEST(SelectedObject, PutsBackWhatWasSelectedBeforeItOnce) {
    const ui::WindowDc screen(nullptr);
    ASSERT_TRUE(screen);
    const ui::MemoryDc dc(::CreateCompatibleDC(screen.get()));
    const ui::FontHandle first = MakeFont(-12);
    const ui::FontHandle second = MakeFont(-20);
    ASSERT_TRUE(dc && first && second);
    const HGDIOBJ before = CurrentFont(dc.get());

    {
        ui::SelectedObject font(dc.get(), first.get());
        EXPECT_EQ(CurrentFont(dc.get()), first.get());
        font.Select(second.get());
        EXPECT_EQ(CurrentFont(dc.get()), second.get());
    }
    EXPECT_EQ(CurrentFont(dc.get()), before);

    // Nothing to select yet: the context is left as it is until a later
    // selection, whose predecessor then comes back.
    {
        ui::SelectedObject font(dc.get(), nullptr);
        EXPECT_EQ(CurrentFont(dc.get()), before);
        font.Select(first.get());
        EXPECT_EQ(CurrentFont(dc.get()), first.get());
    }
    EXPECT_EQ(CurrentFont(dc.get()), before);

    // Moved, it puts back once, when the new owner ends.
    std::optional<ui::SelectedObject> moved;
    {
        ui::SelectedObject font(dc.get(), first.get());
        moved.emplace(std::move(font));
    }
    EXPECT_EQ(CurrentFont(dc.get()), first.get());
    moved.reset();
    EXPECT_EQ(CurrentFont(dc.get()), before);
}

constexpr UINT kAnswer = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;

class ProbeWindow : public ui::Window {
  public:
    HWND handleAtCreate = nullptr;
    int answered = 0;

  protected:
    ui::Handled OnCreate() override {
        handleAtCreate = Handle();
        return std::nullopt;
    }
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kThrow) {
            throw std::runtime_error("a handler that fails");
        }
        if (message == kAnswer) {
            ++answered;
            return 42;
        }
        return ui::Window::OnMessage(message, wParam, lParam);
    }
};

TEST(WindowTrampoline, FindsTheObjectAndLetsNothingEscape) {
    ProbeWindow probe;
    ASSERT_TRUE(probe.CreateEx(0, L"PausoraUiProbe", L"", WS_POPUP, 0, 0, 10, 10, nullptr));
    const HWND window = probe.Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(probe.handleAtCreate, window);  // known from WM_NCCREATE on
    EXPECT_EQ(::SendMessageW(window, kAnswer, 0, 0), 42);

    // The default answer, and the window goes on.
    EXPECT_EQ(::SendMessageW(window, kThrow, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(window, kAnswer, 0, 0), 42);

    // Destroyed from elsewhere: the object lets go of the handle and hears
    // nothing more.
    ::DestroyWindow(window);
    EXPECT_EQ(probe.Handle(), nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    ::SendMessageW(window, kAnswer, 0, 0);
    EXPECT_EQ(probe.answered, 2);
}

// Asks its parent to close as soon as it is up.
class ClosesItsParent : public ui::Dialog {
  public:
    explicit ClosesItsParent(HWND parent) : ui::Dialog(IDD_ABOUTBOX), m_parent(parent) {}

  protected:
    BOOL OnInitDialog() override {
        ::PostMessageW(m_parent, WM_CLOSE, 0, 0);
        return TRUE;
    }

  private:
    HWND m_parent;
};

bool g_watchdogFired = false;

TEST(DialogTrampoline, AModalRunEndsCancelledWithItsParent) {
    ProbeWindow parent;
    ASSERT_TRUE(
        parent.CreateEx(0, L"PausoraUiProbe", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr));
    // A run that never ends is ended by a WM_QUIT, and the test fails.
    g_watchdogFired = false;
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) {
        g_watchdogFired = true;
        ::PostQuitMessage(0);
    });
    ClosesItsParent dialog(parent.Handle());
    EXPECT_EQ(dialog.DoModal(parent.Handle()), IDCANCEL);
    ::KillTimer(nullptr, watchdog);
    EXPECT_FALSE(g_watchdogFired);
    EXPECT_EQ(parent.Handle(), nullptr);
    EXPECT_EQ(dialog.Handle(), nullptr);
    // The WM_QUIT the watchdog may have left behind goes with this test.
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace
}  // namespace pausora
