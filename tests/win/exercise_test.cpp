// The exercises dialog as the main window runs it: modal, on a thread of its
// own here, driven by messages from the test's thread. Which picture is on
// screen is read back from the picture control's pixels.
#include "exercises/exercise_dlg.h"
#include "exercises/styled_text.h"
#include "resource.h"
#include "shared/dpi_checks.h"
#include "shared/wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace pausora {
namespace {

using test::kTimeoutMs;
using test::WaitFor;

std::vector<std::uint32_t> Pixels(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0) {
        return {};
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) *
                                      static_cast<std::size_t>(info.bmHeight));
    const HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format,
                DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// The exercise pictures by content; a copy of another picture (335, 327)
// is known by the number of the original.
class PictureIndex {
  public:
    PictureIndex() {
        for (int id = IDB_EX01_ARM_ACROSS; id <= IDB_EX03_ROLL_A_COPY; ++id) {
            const ui::BitmapHandle bitmap(static_cast<HBITMAP>(
                ::LoadImageA(ui::ModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0)));
            std::vector<std::uint32_t> pixels = Pixels(bitmap.get());
            if (!pixels.empty() && m_ids.find(pixels) == m_ids.end()) {
                m_ids.emplace(std::move(pixels), id);
            }
        }
    }
    // 0 for no picture, -1 for one that is not an exercise picture.
    int Identify(HBITMAP bitmap) const {
        if (bitmap == nullptr) {
            return 0;
        }
        const auto found = m_ids.find(Pixels(bitmap));
        return found == m_ids.end() ? -1 : found->second;
    }

  private:
    std::map<std::vector<std::uint32_t>, int> m_ids;
};

std::string StringResource(int id) {
    char text[1024] = {};
    ::LoadStringA(ui::ModuleInstance(), static_cast<UINT>(id), text, sizeof text);
    return text;
}

class ExerciseDialogTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (m_thread != nullptr) {
            if (::IsWindow(m_dialog)) {
                ::PostMessageA(m_dialog, WM_CLOSE, 0, 0);
            }
            ::WaitForSingleObject(m_thread, kTimeoutMs);
            ::CloseHandle(m_thread);
        }
    }

    // Opens the dialog; it shows the given exercises in turn, the last one
    // from then on.
    void Open(std::initializer_list<int> picks) {
        m_picks.assign(picks);
        m_thread = ::CreateThread(
            nullptr, 0,
            [](LPVOID self) -> DWORD {
                auto* test = static_cast<ExerciseDialogTest*>(self);
                test->m_result = test->m_dlg.DoModal();
                return 0;
            },
            this, 0, &m_threadId);
        ASSERT_NE(m_thread, nullptr);
        ASSERT_TRUE(WaitFor(kTimeoutMs, [&] {
            m_dialog = ::FindWindowA(nullptr, "Pausora - Exercises");
            return m_dialog != nullptr && ::IsWindowVisible(m_dialog) && !Instructions().empty();
        }));
    }

    int Pick() {
        std::lock_guard lock(m_mutex);
        ++m_pickCount;
        const int n = m_picks.front();
        if (m_picks.size() > 1) {
            m_picks.pop_front();
        }
        return n;
    }
    int PickCount() {
        std::lock_guard lock(m_mutex);
        return m_pickCount;
    }

    HWND Item(int id) const { return ::GetDlgItem(m_dialog, id); }
    std::string Instructions() const {
        char text[1024] = {};
        ::GetWindowTextA(Item(IDC_EXERCISE_TEXT), text, sizeof text);
        return text;
    }
    int Picture() const {
        return m_pictures.Identify(reinterpret_cast<HBITMAP>(
            ::SendMessageA(Item(IDC_EXERCISE_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0)));
    }
    void NextStretch() {
        ::SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(IDC_NEXT_STRETCH, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(IDC_NEXT_STRETCH)));
    }
    bool Closed() { return ::WaitForSingleObject(m_thread, kTimeoutMs) == WAIT_OBJECT_0; }

    // The pictures shown over `ms`, each with the time it appeared.
    struct Shown {
        int picture;
        DWORD atMs;
    };
    std::vector<Shown> Watch(DWORD ms) {
        std::vector<Shown> shown{{Picture(), 0}};
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < ms) {
            ::Sleep(10);
            const int now = Picture();
            if (now != shown.back().picture) {
                shown.push_back({now, ::GetTickCount() - start});
            }
        }
        return shown;
    }

    PictureIndex m_pictures;
    std::mutex m_mutex;
    std::deque<int> m_picks{1};
    int m_pickCount = 0;
    CExerciseDlg m_dlg{[this] { return Pick(); }};
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
    HWND m_dialog = nullptr;
    std::atomic<INT_PTR> m_result{0};
};

TEST_F(ExerciseDialogTest, AnAnimatedExerciseCyclesItsPicturesAtItsPeriod) {
    Open({15, 7});
    EXPECT_EQ(Instructions(), StringResource(347));
    // Eyes up, down, left, right, and up again: one picture a second.
    std::vector<Shown> shown = Watch(4500);
    ASSERT_GE(shown.size(), 5u);
    const int eyes[] = {317, 318, 319, 320, 317};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(shown[i].picture, eyes[i]) << "picture " << i;
    }
    for (std::size_t i = 1; i < 5; ++i) {
        const DWORD gap = shown[i].atMs - shown[i - 1].atMs;
        EXPECT_NEAR(static_cast<double>(gap), 1000.0, 300.0) << "picture " << i;
    }

    // Blinking: open and closed, every half second.
    NextStretch();
    EXPECT_EQ(Instructions(), StringResource(339));
    shown = Watch(2200);
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown[0].picture, 328);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].picture, i % 2 == 0 ? 328 : 329);
        if (i >= 2) {
            const DWORD gap = shown[i].atMs - shown[i - 1].atMs;
            EXPECT_NEAR(static_cast<double>(gap), 500.0, 200.0) << "picture " << i;
        }
    }
}

TEST_F(ExerciseDialogTest, NextStretchStopsTheAnimationAndAStillExerciseNeverChanges) {
    Open({15, 15, 1});
    ASSERT_TRUE(WaitFor(3000, [&] { return Picture() == 319; }));
    // The same exercise again starts over from its first picture.
    NextStretch();
    EXPECT_EQ(Picture(), 317);
    std::vector<Shown> shown = Watch(1500);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[1].picture, 318);
    EXPECT_GE(shown[1].atMs, 700u);

    NextStretch();
    EXPECT_EQ(Instructions(), StringResource(333));
    shown = Watch(2500);
    ASSERT_EQ(shown.size(), 1u) << "changed to " << shown.back().picture;
    EXPECT_EQ(shown[0].picture, 308);
    // Even a tick of its own does not move a two-entry list on.
    ::SendMessageA(m_dialog, WM_TIMER, CExerciseDlg::kAnimationTimer, 0);
    EXPECT_EQ(Picture(), 308);
    EXPECT_EQ(PickCount(), 3);
}

TEST_F(ExerciseDialogTest, TheInstructionsAreTheChosenExercisesTextsAsStored) {
    Open({4, 10, 6});
    EXPECT_EQ(Instructions(),
              "- Interlace your fingers and straighten your arms in front of you with palms "
              "facing away.\n- Hold for 5 seconds.\n- Repeat 3-5 times.");
    EXPECT_EQ(Picture(), 324);
    NextStretch();
    EXPECT_EQ(Instructions(),
              "- Turn your head left.\n- Keep it there for 5 seconds.\n- Turn your head right.\n- "
              "Hold for 5 seconds.\n- Repeat 3 times.");
    EXPECT_EQ(Picture(), 309);
    NextStretch();
    EXPECT_EQ(Instructions(), StringResource(IDS_EXERCISE_6));
    EXPECT_EQ(Picture(), 325);
}

// Every exercise fits in a short break: none holds a position for minutes.
TEST(ExerciseTexts, EveryHoldIsCountedInSeconds) {
    for (int id = IDS_EXERCISE_1; id <= IDS_EXERCISE_15; ++id) {
        const std::string text = StringResource(id);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_EQ(text.find("minute"), std::string::npos) << id << ": " << text;
    }
}

TEST_F(ExerciseDialogTest, EscapeClosesItFromTheFocusedFinishButton) {
    Open({2});
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    ASSERT_TRUE(::GetGUIThreadInfo(m_threadId, &focus));
    EXPECT_EQ(focus.hwndFocus, Item(IDCANCEL));
    ::PostMessageA(focus.hwndFocus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::PostMessageA(focus.hwndFocus, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
    ASSERT_TRUE(Closed());
    EXPECT_EQ(m_result, IDCANCEL);
    EXPECT_FALSE(::IsWindow(m_dialog));
}

TEST_F(ExerciseDialogTest, FinishClosesIt) {
    Open({2});
    ::PostMessageA(Item(IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(m_result, IDCANCEL);
    EXPECT_FALSE(::IsWindow(m_dialog));
}

TEST_F(ExerciseDialogTest, ItIsCentredAndWhiteWithTheTextDrawnOnIt) {
    Open({8});
    RECT window{};
    ::GetWindowRect(m_dialog, &window);
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    EXPECT_NEAR((window.left + window.right) / 2, (desktop.left + desktop.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (desktop.top + desktop.bottom) / 2, 1);

    ::RedrawWindow(m_dialog, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(200);
    const HWND text = Item(IDC_EXERCISE_TEXT);
    RECT box{};
    ::GetClientRect(text, &box);
    const HDC dc = ::GetDC(text);
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(::GetPixel(dc, box.right - 2, box.bottom - 2), white);
    // Ink in the first line ("- Rotate your wrists..."), none below the text.
    int ink = 0;
    for (int x = 0; x < box.right; ++x) {
        for (int y = 0; y < 18; ++y) {
            ink += ::GetPixel(dc, x, y) != white ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 50);
    ::ReleaseDC(text, dc);

    // The dialog's own ground between the controls is white, not grey.
    const HDC dialogDc = ::GetDC(m_dialog);
    RECT beside{0, 0, 4, 4};
    ::MapDialogRect(m_dialog, &beside);
    EXPECT_EQ(::GetPixel(dialogDc, beside.right, beside.bottom), white);
    ::ReleaseDC(m_dialog, dialogDc);
}

// Moved to a monitor of another scaling, the dialog takes the system's
// rectangle and its pictures fill their box at the new size, the animated
// ones too.
TEST_F(ExerciseDialogTest, ItsPicturesFollowTheScalingOfItsMonitor) {
    const int start = test::ScreenDpi();
    const int moved = test::OtherDpi(start);
    auto pictureHeight = [&] { return test::StaticPictureHeight(Item(IDC_EXERCISE_PICTURE)); };
    Open({3});
    // The box is 154 dialog units high.
    const int side = test::DialogUnitsHigh(m_dialog, 154);
    ASSERT_TRUE(WaitFor(3000, [&] { return pictureHeight() > 0; }));
    EXPECT_NEAR(pictureHeight(), side, 2);

    const RECT suggested = test::MoveToDpi(m_dialog, start, moved);
    test::ExpectWindowRect(m_dialog, suggested);
    const int movedSide = ::MulDiv(side, moved, start);
    EXPECT_NEAR(pictureHeight(), movedSide, 2);
    // The next pictures of the loop come at the new size as well.
    const HBITMAP shown = reinterpret_cast<HBITMAP>(
        ::SendMessageA(Item(IDC_EXERCISE_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_TRUE(WaitFor(3000, [&] {
        return reinterpret_cast<HBITMAP>(::SendMessageA(Item(IDC_EXERCISE_PICTURE), STM_GETIMAGE,
                                                        IMAGE_BITMAP, 0)) != shown;
    }));
    EXPECT_NEAR(pictureHeight(), movedSide, 2);

    test::MoveToDpi(m_dialog, moved, start);
    EXPECT_NEAR(pictureHeight(), side, 2);
}

// A change of scaling goes on with the loop where it was; back at the first
// scaling the pictures are the stored ones again and can be told apart.
TEST_F(ExerciseDialogTest, AChangeOfScalingKeepsTheAnimationsPlace) {
    const int start = test::ScreenDpi();
    Open({15});
    ASSERT_TRUE(WaitFor(3000, [&] { return Picture() == 318; }));
    test::MoveToDpi(m_dialog, start, test::OtherDpi(start));
    test::MoveToDpi(m_dialog, test::OtherDpi(start), start);
    // 318 still, or 319 if a tick came meanwhile; a loop started again shows 317.
    const int now = Picture();
    EXPECT_TRUE(now == 318 || now == 319) << now;
}

// A styled text whose font cannot be made.
class FontlessText final : public CStyledText {
  protected:
    ui::FontHandle MakeFont() const override { return {}; }
};

TEST(StyledText, AFontThatCannotBeMadeIsReportedOnceAndNoTextIsDrawn) {
    const HWND parent = ::CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 10, 10, 200, 60,
                                          nullptr, nullptr, nullptr, nullptr);
    const HWND control = ::CreateWindowExA(0, "Static", "Some words", WS_CHILD | WS_VISIBLE, 0, 0,
                                           200, 60, parent, nullptr, nullptr, nullptr);
    FontlessText text;
    ASSERT_TRUE(text.Attach(control));
    EXPECT_NE(::GetWindowLongPtrA(control, GWL_STYLE) & SS_NOTIFY, 0);
    text.SetBackground(RGB(255, 255, 255));

    // Another thread answers the boxes and counts them.
    struct Boxes {
        std::atomic<int> seen{0};
        std::atomic<bool> stop{false};
        std::string text;
    } boxes;
    const HANDLE watcher = ::CreateThread(
        nullptr, 0,
        [](LPVOID param) -> DWORD {
            auto* b = static_cast<Boxes*>(param);
            while (!b->stop) {
                if (const HWND box = ::FindWindowA("#32770", "Pausora")) {
                    char line[128] = {};
                    ::GetDlgItemTextA(box, 0xFFFF, line, sizeof line);
                    b->text = line;
                    ++b->seen;
                    ::SendMessageA(box, WM_COMMAND, IDOK, 0);
                    WaitFor(2000, [&] { return !::IsWindow(box); });
                }
                ::Sleep(20);
            }
            return 0;
        },
        &boxes, 0, nullptr);
    for (int i = 0; i < 3; ++i) {
        ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    ::Sleep(300);
    EXPECT_EQ(boxes.seen, 1);
    EXPECT_EQ(boxes.text, "Font could not be created!");

    const HDC dc = ::GetDC(control);
    int ink = 0;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 20; ++y) {
            ink += ::GetPixel(dc, x, y) != RGB(255, 255, 255) ? 1 : 0;
        }
    }
    ::ReleaseDC(control, dc);
    EXPECT_EQ(ink, 0);

    // A new face is a new font: its failure is told again.
    text.SetFont("Tahoma", 18, RGB(0, 0, 0));
    ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ::Sleep(300);
    EXPECT_EQ(boxes.seen, 2);
    boxes.stop = true;
    ::WaitForSingleObject(watcher, kTimeoutMs);
    ::CloseHandle(watcher);
    ::DestroyWindow(parent);
}

TEST(StyledText, TheFontIsTheFaceAndHeightAskedFor) {
    // Seen through the font it makes.
    class Probe final : public CStyledText {
      public:
        LOGFONTA Font() const {
            const ui::FontHandle font = MakeFont();
            LOGFONTA info{};
            ::GetObjectA(font.get(), sizeof info, &info);
            return info;
        }
    } probe;
    LOGFONTA font = probe.Font();
    EXPECT_EQ(font.lfHeight, 8);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    probe.SetFont("Tahoma", 18, RGB(0, 0, 0));
    font = probe.Font();
    EXPECT_EQ(font.lfHeight, 18);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
}

}  // namespace
}  // namespace pausora
