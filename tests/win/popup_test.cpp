// The notifier popup as a real window: where it appears for each taskbar
// edge, how it moves and fades, its Z-order, and what it posts on clicks.
#include "shared/dpi_checks.h"
#include "win/popup_setup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pausora {
namespace {

using test::PumpUntil;
using testing::ScreenRectOf;

// Receives the popup's clicks.
class OwnerWindow : public ui::Window {
  public:
    OwnerWindow() { CreateEx(0, L"PopupTestOwner", L"", WS_POPUP, 0, 0, 10, 10, nullptr); }
};

class PopupWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_savedWork = testing::WorkArea();
        m_screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        ASSERT_TRUE(testing::SetWorkArea(
            {m_screen.left, m_screen.top, m_screen.right, m_screen.bottom - 40}));
        testing::SetUpLikeTheMainWindow(popup, owner.Handle());
        ASSERT_NE(popup.Handle(), nullptr);
    }
    void TearDown() override { testing::SetWorkArea(m_savedWork); }

    void Tick(unsigned timer) { ::SendMessageA(popup.Handle(), WM_TIMER, timer, 0); }
    // Sends appear ticks until the popup is fully shown; returns how many.
    int AppearByTicks() {
        int ticks = 0;
        for (; ticks < 100 && popup.Model().Phase() != PopupPhase::kWaiting; ++ticks) {
            Tick(kAppearTimer);
        }
        EXPECT_EQ(popup.Model().Phase(), PopupPhase::kWaiting);
        return ticks;
    }
    BYTE Opacity() {
        BYTE alpha = 0;
        COLORREF key = 0;
        DWORD flags = 0;
        EXPECT_TRUE(::GetLayeredWindowAttributes(popup.Handle(), &key, &alpha, &flags));
        EXPECT_EQ(key, RGB(255, 255, 255));
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
        return alpha;
    }
    std::vector<MSG> Clicks() {
        std::vector<MSG> clicks;
        MSG msg;
        while (
            ::PeekMessageA(&msg, owner.Handle(), WM_NOTIFIER_CLICK, WM_NOTIFIER_CLICK, PM_REMOVE)) {
            clicks.push_back(msg);
        }
        return clicks;
    }
    bool Visible() { return ::IsWindowVisible(popup.Handle()) != FALSE; }

    RECT m_savedWork{};
    RECT m_screen{};
    OwnerWindow owner;
    CNotifierPopup popup;
};

TEST_F(PopupWindowTest, CreatedHiddenLayeredAndInvisible) {
    EXPECT_FALSE(Visible());
    EXPECT_NE(::GetWindowLongPtrA(popup.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(Opacity(), 0);
    // The size the ids header gives, which the whole-program tests look for.
    EXPECT_EQ(popup.Model().SkinWidth(), IDB_SKIN_WIDTH);
    EXPECT_EQ(popup.Model().SkinHeight(), IDB_SKIN_HEIGHT);
    EXPECT_EQ(::GetParent(popup.Handle()), owner.Handle());
    // The skin has no key-coloured pixel, so the shape is the whole skin.
    const ui::RegionHandle shape(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(popup.Handle(), shape.get()), ERROR);
    RECT box{};
    ::GetRgnBox(shape.get(), &box);
    EXPECT_EQ(box.right - box.left, 400);
    EXPECT_EQ(box.bottom - box.top, 159);
}

TEST_F(PopupWindowTest, MotionRisesFromABottomTaskbarStepByStep) {
    const int bottom = m_screen.bottom - 40;
    popup.ShowPopup(500, 5000, 500, 10, 0, 3);
    EXPECT_TRUE(Visible());
    RECT rect = ScreenRectOf(popup.Handle());
    EXPECT_EQ(rect.top, bottom);
    EXPECT_EQ(rect.left, m_screen.right - 400);
    EXPECT_EQ(rect.right - rect.left, 400);
    EXPECT_EQ(rect.bottom - rect.top, 159);
    EXPECT_EQ(popup.Model().AppearStepPeriod(), 33u);
    for (int step = 1; step <= 16; ++step) {
        Tick(kAppearTimer);
        EXPECT_EQ(ScreenRectOf(popup.Handle()).top, bottom - 10 * step);
    }
    Tick(kAppearTimer);
    EXPECT_EQ(popup.Model().Phase(), PopupPhase::kWaiting);
    EXPECT_EQ(Opacity(), 255);

    Tick(kStayTimer);
    Tick(kDisappearTimer);
    EXPECT_EQ(ScreenRectOf(popup.Handle()).top, bottom - 160 + 10);
    for (int i = 0; i < 20 && Visible(); ++i) {
        Tick(kDisappearTimer);
    }
    EXPECT_FALSE(Visible());
    rect = ScreenRectOf(popup.Handle());
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_EQ(rect.bottom - rect.top, 0);
}

TEST_F(PopupWindowTest, MotionOnRealTimersComesOutStaysAndGoes) {
    const int bottom = m_screen.bottom - 40;
    std::vector<LONG> tops;
    const ULONGLONG start = ::GetTickCount64();
    popup.ShowPopup(500, 300, 500, 10, 0, 0);
    const bool shown = PumpUntil(3000, [&] {
        const LONG top = ScreenRectOf(popup.Handle()).top;
        if (tops.empty() || tops.back() != top) {
            tops.push_back(top);
        }
        return popup.Model().Phase() == PopupPhase::kWaiting;
    });
    const ULONGLONG appeared = ::GetTickCount64() - start;
    ASSERT_TRUE(shown);
    EXPECT_EQ(ScreenRectOf(popup.Handle()).top, bottom - 160);
    // 17 ticks of 33 ms; timers are never early and rarely much late.
    EXPECT_GE(appeared, 500u);
    EXPECT_LT(appeared, 2500u);
    for (std::size_t i = 1; i < tops.size(); ++i) {
        EXPECT_LT(tops[i], tops[i - 1]);
    }
    EXPECT_TRUE(PumpUntil(4000, [&] { return !Visible(); }));
    EXPECT_EQ(popup.Model().Phase(), PopupPhase::kHidden);
}

TEST_F(PopupWindowTest, EachTaskbarEdgeHasItsCorner) {
    struct Case {
        RECT work;
        LONG startLeft, startTop;  // hidden corner
        LONG left, top;            // shown corner
    };
    const LONG w = m_screen.right;
    const LONG h = m_screen.bottom;
    const Case cases[] = {
        {{0, 0, w - 50, h}, w - 50, h - 159, w - 50 - 400, h - 159},  // right
        {{50, 0, w, h}, 50 - 400, h - 159, 50, h - 159},              // left
        {{0, 30, w, h}, w - 400, 30 - 159, w - 400, 30},              // top
        {{0, 0, w, h}, w - 400, h, w - 400, h - 159},                 // none: as bottom
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(testing::SetWorkArea(c.work));
        popup.ShowPopup(500, 5000, 500, 10, 0, 0);
        RECT rect = ScreenRectOf(popup.Handle());
        EXPECT_EQ(rect.left, c.startLeft);
        EXPECT_EQ(rect.top, c.startTop);
        AppearByTicks();
        rect = ScreenRectOf(popup.Handle());
        // The last step may overshoot by up to 9 pixels.
        EXPECT_NEAR(rect.left, c.left, 9);
        EXPECT_NEAR(rect.top, c.top, 9);
        popup.HidePopup();

        popup.ShowPopup(500, 5000, 500, 10, 1, 0);
        rect = ScreenRectOf(popup.Handle());
        EXPECT_EQ(rect.left, c.left);
        EXPECT_EQ(rect.top, c.top);
        popup.HidePopup();
    }
}

TEST_F(PopupWindowTest, TransparencyFadesTheOpacityInAndOut) {
    popup.ShowPopup(500, 5000, 500, 10, 1, 7);
    EXPECT_TRUE(Visible());
    EXPECT_EQ(Opacity(), 0);
    const RECT rect = ScreenRectOf(popup.Handle());
    EXPECT_EQ(rect.left, m_screen.right - 400);
    EXPECT_EQ(rect.top, m_screen.bottom - 40 - 159);
    std::vector<int> seen{Opacity()};
    while (popup.Model().Phase() != PopupPhase::kWaiting && seen.size() < 40) {
        Tick(kAppearTimer);
        seen.push_back(Opacity());
    }
    std::vector<int> expected;
    for (int o = 0; o <= 250; o += 10) {
        expected.push_back(o);
    }
    expected.push_back(255);
    EXPECT_EQ(seen, expected);

    Tick(kStayTimer);
    Tick(kDisappearTimer);
    EXPECT_EQ(Opacity(), 245);
    for (int i = 0; i < 40 && Visible(); ++i) {
        Tick(kDisappearTimer);
    }
    EXPECT_FALSE(Visible());
    EXPECT_EQ(Opacity(), 0);
}

TEST_F(PopupWindowTest, AShowWhileGoingBackRestoresTheFullView) {
    const int shownTop = m_screen.bottom - 40 - 159;
    popup.ShowPopup(500, 5000, 500, 10, 0, 0);
    AppearByTicks();
    Tick(kStayTimer);
    for (int i = 0; i < 4; ++i) {
        Tick(kDisappearTimer);
    }
    ASSERT_GT(ScreenRectOf(popup.Handle()).top, shownTop);
    popup.SetItemText(2, "Have a rest!");
    popup.ShowPopup(500, 5000, 500, 10, 0, 0);
    EXPECT_EQ(ScreenRectOf(popup.Handle()).top, shownTop);
    EXPECT_TRUE(Visible());
    popup.HidePopup();

    popup.ShowPopup(500, 5000, 500, 10, 1, 0);
    AppearByTicks();
    Tick(kStayTimer);
    Tick(kDisappearTimer);
    ASSERT_LT(Opacity(), 255);
    popup.ShowPopup(500, 5000, 500, 10, 1, 0);
    EXPECT_EQ(Opacity(), 255);
    // The stay starts again: nothing changes for well over the old remainder.
    EXPECT_FALSE(PumpUntil(1500, [&] { return Opacity() != 255 || !Visible(); }));
}

TEST_F(PopupWindowTest, HiddenPopupIsCollapsedAndStaysHidden) {
    popup.ShowPopup(100, 200, 100, 10, 0, 0);
    ASSERT_TRUE(
        PumpUntil(2000, [&] { return popup.Model().Phase() == PopupPhase::kDisappearing; }));
    popup.ShowPopup(100, 200, 100, 10, 0, 0);  // back in view, stay timer running
    popup.HidePopup();
    EXPECT_FALSE(Visible());
    const RECT rect = ScreenRectOf(popup.Handle());
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_FALSE(
        PumpUntil(800, [&] { return Visible() || popup.Model().Phase() != PopupPhase::kHidden; }));
}

TEST_F(PopupWindowTest, PointerAndClicks) {
    popup.ShowPopup(500, 5000, 500, 10, 1, 0);
    AppearByTicks();
    const auto move = [&](int x, int y) {
        ::SendMessageA(popup.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    };
    const auto setCursor = [&] {
        ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
        ::SendMessageA(popup.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(popup.Handle()),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    const auto click = [&](UINT message) { ::SendMessageA(popup.Handle(), message, 0, 0); };

    move(11, 50);  // on the link's border: not on the link
    EXPECT_NE(setCursor(), hand);
    move(30, 50);
    EXPECT_EQ(setCursor(), hand);
    click(WM_RBUTTONUP);
    EXPECT_TRUE(Clicks().empty());
    click(WM_LBUTTONUP);
    std::vector<MSG> clicks = Clicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].wParam, 3u);
    EXPECT_EQ(clicks[0].lParam, 0);
    EXPECT_TRUE(Visible());  // a left click does not hide it

    move(200, 120);
    EXPECT_NE(setCursor(), hand);
    click(WM_LBUTTONUP);
    click(WM_RBUTTONUP);
    clicks = Clicks();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].wParam, 0u);
    EXPECT_EQ(clicks[0].lParam, 0);
    EXPECT_EQ(clicks[1].wParam, 0u);
    EXPECT_EQ(clicks[1].lParam, 1);
}

// Run at 96, 144 and 192 dots per inch: the notice takes the scaling of the
// notification area's monitor, and its window, shape, slide and link grow
// with it.
TEST_F(PopupWindowTest, SizedForTheScalingOfItsMonitor) {
    struct Size {
        int dpi, width, height;
        POINT link;  // inside "Show me a stretch"
    };
    const Size sizes[] = {
        {96, 400, 159, {30, 50}}, {144, 600, 239, {45, 75}}, {192, 800, 318, {60, 100}}};
    const int dpi = test::ScreenDpi();
    const Size* size = std::find_if(std::begin(sizes), std::end(sizes),
                                    [&](const Size& s) { return s.dpi == dpi; });
    ASSERT_NE(size, std::end(sizes)) << dpi;
    const int bottom = m_screen.bottom - 40;

    popup.ShowPopup(500, 5000, 500, 10, 0, 7);
    RECT rect = ScreenRectOf(popup.Handle());
    EXPECT_EQ(rect.right - rect.left, size->width);
    EXPECT_EQ(rect.bottom - rect.top, size->height);
    EXPECT_EQ(rect.left, m_screen.right - size->width);
    EXPECT_EQ(rect.top, bottom);
    EXPECT_EQ(popup.Model().AppearStepPeriod(), 33u);
    EXPECT_EQ(AppearByTicks(), 17);  // as many steps as at 100 %
    EXPECT_GE(bottom - ScreenRectOf(popup.Handle()).top, size->height);
    const ui::RegionHandle shape(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(popup.Handle(), shape.get()), ERROR);
    ::GetRgnBox(shape.get(), &rect);
    EXPECT_EQ(rect.right - rect.left, size->width);
    EXPECT_EQ(rect.bottom - rect.top, size->height);

    ::SendMessageA(popup.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(size->link.x, size->link.y));
    ::SendMessageA(popup.Handle(), WM_LBUTTONUP, 0, 0);
    const std::vector<MSG> clicks = Clicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].wParam, 3u);
}

TEST_F(PopupWindowTest, ItemsAndSkinFailures) {
    EXPECT_FALSE(popup.SetItemText(9, "x"));
    EXPECT_TRUE(popup.SetItemPictures(1, IDB_SHORT_BREAK, IDB_SHORT_BREAK));
    ASSERT_EQ(popup.Model().Items().size(), 4u);
    const SNotifierItem& picture = popup.Model().Items()[0];
    EXPECT_EQ(picture.right - picture.left, 141);
    EXPECT_EQ(picture.bottom - picture.top, 124);
    EXPECT_EQ(popup.Model().Items()[1].normalFont.weight, 700);
    EXPECT_FALSE(popup.LoadSkin(9999, 255, 0, 255));
    EXPECT_EQ(popup.Model().SkinWidth(), 400);  // the size stays
}

// A title that one line cannot hold even in its smallest font takes two, and
// the link moves down by the second line; a short one leaves both as laid out.
TEST_F(PopupWindowTest, ATitleOfTwoLinesPushesTheLinkDown) {
    const auto item = [this](int id) {
        const auto& items = popup.Model().Items();
        return *std::find_if(items.begin(), items.end(),
                             [id](const SNotifierItem& i) { return i.id == id; });
    };
    for (const char* title : {"La tua giornata lavorativa sta finendo!", "Short break time"}) {
        const bool long_ = title[0] == 'L';
        popup.SetItemText(kItemTitle, title);
        popup.ShowPopup(100, 100, 100, 1, 0, 0);
        const SNotifierItem shown = item(kItemTitle);
        const SNotifierItem link = item(kItemLink);
        const int pushed = link.top - kLinkRect.top;
        EXPECT_EQ(shown.bottom - kTitleRect.bottom, pushed) << title;
        EXPECT_EQ(link.bottom - kLinkRect.bottom, pushed) << title;
        EXPECT_EQ(pushed > 0, long_) << title;
        EXPECT_LE(pushed, kTitleFlowRoom) << title;
        popup.HidePopup();
    }
}

}  // namespace
}  // namespace pausora
