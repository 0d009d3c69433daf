// The popup's geometry, timing and phases, driven tick by tick on a virtual
// clock, and what the pointer does to its items.
#include "notify/popup_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace pausora {
namespace {

// A screen with window timers that fire on a virtual clock.
class FakeSurface : public IPopupSurface {
  public:
    Screen screen{{0, 0, 1024, 738}, 1024, 768};  // a 30-pixel taskbar at the bottom
    std::uint64_t now = 0;
    bool visible = false;
    ScreenPoint corner;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::optional<std::int32_t> appliedOpacity;
    int repaints = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> clicks;
    NotifierPopupModel* model = nullptr;

    struct Timer {
        std::uint32_t period;
        std::uint64_t due;
    };
    std::map<unsigned, Timer> timers;

    std::vector<std::int32_t> scales;  // every ChangeScale, in order

    Screen ReadScreen() override { return screen; }
    void ChangeScale(std::int32_t dpi) override { scales.push_back(dpi); }
    void StartTimer(unsigned id, std::uint32_t periodMs) override {
        timers[id] = {periodMs, now + periodMs};
    }
    void StopTimer(unsigned id) override { timers.erase(id); }
    void ShowWindow() override { visible = true; }
    void HideWindow() override {
        visible = false;
        corner = {0, 0};
        width = 0;
        height = 0;
    }
    void Place(ScreenPoint at, std::int32_t w, std::int32_t h) override {
        corner = at;
        width = w;
        height = h;
    }
    void ApplyOpacity(std::int32_t opacity) override { appliedOpacity = opacity; }
    void Repaint() override {
        ++repaints;
        // The paint applies the stored opacity, as the window's paint does.
        if (visible && model != nullptr) {
            appliedOpacity = model->Opacity();
        }
    }
    void PostClick(std::int32_t id, std::int32_t right) override { clicks.emplace_back(id, right); }

    bool Running(unsigned id) const { return timers.contains(id); }

    // Fires the earliest due timer, if it is due by `until`; returns its id.
    std::optional<unsigned> FireNext(std::uint64_t until) {
        std::optional<unsigned> next;
        for (const auto& [id, timer] : timers) {
            if (timer.due <= until && (!next || timer.due < timers.at(*next).due)) {
                next = id;
            }
        }
        if (!next) {
            return std::nullopt;
        }
        Timer& timer = timers.at(*next);
        now = timer.due;
        timer.due += timer.period;
        model->OnTimer(*next);
        return next;
    }
    void Advance(std::uint64_t ms) {
        const std::uint64_t until = now + ms;
        while (FireNext(until)) {
        }
        now = until;
    }
};

class PopupTest : public ::testing::Test {
  protected:
    PopupTest() {
        surface.model = &popup;
        popup.SetSkinSize(400, 159);
    }
    void ShowLikeTheScheduler(std::int32_t mode, std::uint32_t stay = 5000) {
        popup.ShowPopup(500, stay, 500, 10, mode, 3);
    }
    FakeSurface surface;
    NotifierPopupModel popup{surface};
};

TEST(PopupGeometry, TaskbarEdgeFromTheWorkArea) {
    EXPECT_EQ(FindTaskbarEdge({0, 0, 1024, 738}, 1024, 768), TaskbarEdge::kBottom);
    EXPECT_EQ(FindTaskbarEdge({0, 30, 1024, 768}, 1024, 768), TaskbarEdge::kTop);
    EXPECT_EQ(FindTaskbarEdge({60, 0, 1024, 768}, 1024, 768), TaskbarEdge::kLeft);
    EXPECT_EQ(FindTaskbarEdge({0, 0, 964, 768}, 1024, 768), TaskbarEdge::kRight);
    // Auto-hidden or no taskbar: the whole screen is work area.
    EXPECT_EQ(FindTaskbarEdge({0, 0, 1024, 768}, 1024, 768), TaskbarEdge::kBottom);
}

TEST(PopupGeometry, CornersNextToTheTaskbar) {
    const PopupPlacement right = PlacePopup(TaskbarEdge::kRight, {0, 0, 964, 768}, 400, 159);
    EXPECT_EQ(right.shown, (ScreenPoint{564, 609}));
    EXPECT_EQ(right.hidden, (ScreenPoint{964, 609}));
    EXPECT_EQ(right.slideLength, 400);
    const PopupPlacement left = PlacePopup(TaskbarEdge::kLeft, {60, 0, 1024, 768}, 400, 159);
    EXPECT_EQ(left.shown, (ScreenPoint{60, 609}));
    EXPECT_EQ(left.hidden, (ScreenPoint{-340, 609}));
    EXPECT_EQ(left.slideLength, 400);
    const PopupPlacement top = PlacePopup(TaskbarEdge::kTop, {0, 30, 1024, 768}, 400, 159);
    EXPECT_EQ(top.shown, (ScreenPoint{624, 30}));
    EXPECT_EQ(top.hidden, (ScreenPoint{624, -129}));
    EXPECT_EQ(top.slideLength, 159);
    const PopupPlacement bottom = PlacePopup(TaskbarEdge::kBottom, {0, 0, 1024, 738}, 400, 159);
    EXPECT_EQ(bottom.shown, (ScreenPoint{624, 579}));
    EXPECT_EQ(bottom.hidden, (ScreenPoint{624, 738}));
    EXPECT_EQ(bottom.slideLength, 159);
}

TEST(PopupGeometry, StepPeriodsTruncateTheStepCountFirst) {
    EXPECT_EQ(StepPeriod(500, 159, 10), 33u);  // 500 / 15
    EXPECT_EQ(StepPeriod(500, 400, 10), 12u);  // 500 / 40
    EXPECT_EQ(StepPeriod(500, 255, 10), 20u);  // 500 / 25
    // A step larger than the way, or no step at all, must not divide by zero.
    EXPECT_EQ(StepPeriod(500, 255, 300), 500u);
    EXPECT_EQ(StepPeriod(500, 159, 0), 500u);
}

TEST(PopupGeometry, FontsAreSizedForTheScreen) {
    const ItemFont title = MakeItemFont("Tahoma", 135, kStyleBold, 96);
    EXPECT_EQ(title.height, -18);
    EXPECT_EQ(title.weight, 700);
    EXPECT_FALSE(title.underline);
    const ItemFont link = MakeItemFont("Tahoma", 105, kStyleBold | kStyleUnderline, 96);
    EXPECT_EQ(link.height, -14);
    EXPECT_TRUE(link.underline);
    EXPECT_EQ(MakeItemFont("Tahoma", 98, 0, 96).height, -13);   // 13.07 rounds down
    EXPECT_EQ(MakeItemFont("Tahoma", 98, 0, 120).height, -16);  // 16.33
    EXPECT_EQ(MakeItemFont("Tahoma", 90, kStyleItalic, 96).height, -12);
    EXPECT_EQ(MakeItemFont("Tahoma", 90, kStyleItalic, 96).weight, 400);
    EXPECT_TRUE(MakeItemFont("Tahoma", 90, kStyleItalic, 96).italic);
}

TEST(PopupGeometry, StarRowGrowsLeftwardsFromTheRightEdge) {
    EXPECT_EQ(StarRect(0, 96), (ScreenRect{377, 137, 393, 152}));
    EXPECT_EQ(StarRect(6, 96), (ScreenRect{281, 137, 297, 152}));  // seven cover x = 281 to 392
}

TEST_F(PopupTest, MotionFromABottomTaskbarRisesTenPixelsEvery33Ms) {
    ShowLikeTheScheduler(kModeMotion);
    EXPECT_TRUE(surface.visible);
    EXPECT_EQ(surface.corner, (ScreenPoint{624, 738}));  // top edge at the work area's bottom
    EXPECT_EQ(surface.width, 400);
    EXPECT_EQ(surface.height, 159);
    EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);  // until the first tick
    ASSERT_TRUE(surface.Running(kAppearTimer));
    EXPECT_EQ(surface.timers.at(kAppearTimer).period, 33u);

    std::vector<std::int32_t> ys;
    while (surface.Running(kAppearTimer)) {
        ASSERT_EQ(surface.FireNext(surface.now + 33), kAppearTimer);
        ys.push_back(surface.corner.y);
        EXPECT_EQ(surface.corner.x, 624);
    }
    // 16 steps of 10 take the top from 738 to 578, one pixel past B - H; the
    // 17th tick only finishes.
    ASSERT_EQ(ys.size(), 17u);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(ys[i], 738 - 10 * static_cast<std::int32_t>(i + 1));
    }
    EXPECT_EQ(ys[16], 578);
    EXPECT_EQ(surface.now, 17u * 33u);
    EXPECT_EQ(popup.Phase(), PopupPhase::kWaiting);
    EXPECT_EQ(surface.timers.at(kStayTimer).period, 5000u);

    surface.Advance(4999);
    EXPECT_EQ(surface.corner.y, 578);
    EXPECT_EQ(popup.Phase(), PopupPhase::kWaiting);
    surface.Advance(1);
    EXPECT_TRUE(surface.Running(kDisappearTimer));
    EXPECT_FALSE(surface.Running(kStayTimer));
    EXPECT_EQ(popup.Phase(), PopupPhase::kWaiting);  // until the first disappear tick
    surface.Advance(33);
    EXPECT_EQ(popup.Phase(), PopupPhase::kDisappearing);
    EXPECT_EQ(surface.corner.y, 588);

    surface.Advance(16 * 33);
    EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);
    EXPECT_FALSE(surface.visible);
    EXPECT_EQ(surface.width, 0);  // hidden at 0 x 0
    EXPECT_TRUE(surface.timers.empty());
}

TEST_F(PopupTest, MotionFromTheSidesAndTheTop) {
    struct Case {
        ScreenRect work;
        ScreenPoint start;
        ScreenPoint afterFirstTick;
        std::uint32_t period;
    };
    const Case cases[] = {
        {{0, 0, 964, 768}, {964, 609}, {954, 609}, 12},      // right: out leftwards
        {{60, 0, 1024, 768}, {-340, 609}, {-330, 609}, 12},  // left: out rightwards
        {{0, 30, 1024, 768}, {624, -129}, {624, -119}, 33},  // top: down
    };
    for (const Case& c : cases) {
        FakeSurface screen;
        NotifierPopupModel model{screen};
        screen.model = &model;
        screen.screen.workArea = c.work;
        model.SetSkinSize(400, 159);
        model.ShowPopup(500, 5000, 500, 10, kModeMotion, 0);
        EXPECT_EQ(screen.corner, c.start);
        EXPECT_EQ(screen.timers.at(kAppearTimer).period, c.period);
        screen.Advance(c.period);
        EXPECT_EQ(screen.corner, c.afterFirstTick);
        screen.Advance(500 + 5000 + 1000);
        EXPECT_EQ(model.Phase(), PopupPhase::kHidden);
        EXPECT_FALSE(screen.visible);
    }
}

// The taskbar moves or the screen changes size while a notice is out: it goes
// to the corner it would take now, as far out of the new edge as it was.
TEST_F(PopupTest, AWorkAreaChangeMovesANoticeInViewToItsNewPlace) {
    struct Case {
        std::int32_t mode;
        std::uint64_t after;  // ms since the show
        ScreenRect work;      // the new work area of the 1024 x 768 screen
        std::int32_t dpi;     // the new scaling of its monitor
        ScreenPoint corner;
        std::int32_t width;
    };
    const ScreenRect same{0, 0, 1024, 738};
    const Case cases[] = {
        {kModeMotion, 0, {0, 0, 1024, 700}, 96, {624, 700}, 400},       // still behind the taskbar
        {kModeMotion, 33 * 5, {0, 0, 1024, 700}, 96, {624, 650}, 400},  // 50 pixels out
        {kModeMotion, 1000, {0, 0, 1024, 700}, 96, {624, 541}, 400},    // fully out
        {kModeMotion, 1000, {0, 0, 964, 768}, 96, {564, 609}, 400},  // the taskbar now on the right
        {kModeTransparency, 100, {0, 30, 1024, 768}, 96, {624, 30}, 400},  // now at the top
        {kModeTransparency, 1000, {0, 0, 1280, 1000}, 96, {880, 841}, 400},
        // The monitor set to 200 % or 150 %: twice the size, twice as far out.
        {kModeMotion, 33 * 5, same, 192, {224, 638}, 800},
        {kModeMotion, 1000, same, 192, {224, 420}, 800},
        {kModeTransparency, 1000, same, 144, {424, 499}, 600},
    };
    for (const Case& c : cases) {
        FakeSurface screen;
        NotifierPopupModel model{screen};
        screen.model = &model;
        model.SetSkinSize(400, 159);
        model.ShowPopup(500, 5000, 500, 10, c.mode, 0);
        screen.Advance(c.after);
        screen.screen.workArea = c.work;
        screen.screen.width = std::max(1024, c.work.right);
        screen.screen.height = std::max(768, c.work.bottom);
        screen.screen.dpi = c.dpi;
        model.OnWorkAreaChanged();
        model.OnWorkAreaChanged();  // told by each window of the program
        EXPECT_EQ(screen.corner, c.corner) << c.mode << " " << c.after << " " << c.dpi;
        EXPECT_EQ(screen.width, c.width) << c.dpi;
        EXPECT_EQ(screen.scales.size(), c.dpi == 96 ? 0u : 1u) << c.dpi;
        // It finishes its show from there and goes back behind the new edge.
        screen.Advance(7000);
        EXPECT_EQ(model.Phase(), PopupPhase::kHidden);
    }
    // A hidden popup stays hidden, at 0 x 0.
    popup.OnWorkAreaChanged();
    EXPECT_FALSE(surface.visible);
    EXPECT_EQ(surface.width, 0);
}

TEST(PopupScale, LayoutAndArtworkAtEveryScaling) {
    struct Case {
        std::int32_t dpi;
        std::int32_t width, height;  // of the 400 x 159 skin
        std::uint32_t skinId;
        ScreenRect title;  // (11, 17)-(250, 40) at 96
        std::int32_t titleFont;
        ScreenRect firstStar;  // (377, 137), 16 x 15 at 96
    };
    const Case cases[] = {
        {96, 400, 159, 296, {11, 17, 250, 40}, -18, {377, 137, 393, 152}},
        {110, 458, 182, 10296, {13, 19, 286, 46}, -21, {432, 157, 450, 174}},
        {120, 500, 199, 10296, {14, 21, 313, 50}, -23, {471, 171, 491, 190}},
        {144, 600, 239, 20296, {17, 26, 375, 60}, -27, {566, 206, 590, 228}},
        {192, 800, 318, 30296, {22, 34, 500, 80}, -36, {754, 274, 786, 304}},
        // Beyond the largest drawing: that one, drawn up.
        {240, 1000, 398, 30296, {28, 43, 625, 100}, -45, {943, 343, 983, 380}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleLength(400, c.dpi), c.width) << c.dpi;
        EXPECT_EQ(ScaleLength(159, c.dpi), c.height) << c.dpi;
        EXPECT_EQ(ArtworkId(296, c.dpi), c.skinId) << c.dpi;
        EXPECT_EQ(ScaleRect({11, 17, 250, 40}, c.dpi), c.title) << c.dpi;
        EXPECT_EQ(ScaleFont(MakeItemFont("Tahoma", 135, kStyleBold, 96), c.dpi).height, c.titleFont)
            << c.dpi;
        EXPECT_EQ(StarRect(0, c.dpi), c.firstStar) << c.dpi;
    }
    // Below 100 % the 100 % drawing is drawn down.
    EXPECT_EQ(ArtworkId(296, 72), 296u);
    EXPECT_EQ(ArtworkId(296, 97), 10296u);
}

// Every length of the program is scaled this one way, the system's MulDiv's:
// to the nearest pixel, halves away from zero on both sides of it.
TEST(PopupScale, LengthsRoundAsTheSystemsMulDiv) {
    struct Case {
        std::int32_t length, dpi, scaled;
    };
    const Case cases[] = {
        {1, 144, 2},     {-1, 144, -2}, {5, 120, 6},     {-5, 120, -6}, {3, 128, 4},
        {1, 48, 1},      {-1, 48, -1},  {0, 192, 0},     {7, 96, 7},    {-7, 96, -7},
        {600, 144, 900}, {22, 110, 25}, {-22, 110, -25},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleLength(c.length, c.dpi), c.scaled) << c.length << " at " << c.dpi;
    }
    EXPECT_EQ(MulDivRounded(135, 144, 720), 27);  // a font of 13.5 points at 150 %
    EXPECT_EQ(ScaleRect({-1, 1, 3, 5}, 144), (ScreenRect{-2, 2, 5, 8}));
}

TEST_F(PopupTest, AtTwiceTheScalingTheNoticeIsTwiceAsLargeAndSlidesAsLong) {
    surface.screen.dpi = 192;
    popup.AddLinkItem(kItemLink, "Show me a stretch", {11, 43, 250, 60}, {}, {}, 0, 0);
    ShowLikeTheScheduler(kModeMotion);
    EXPECT_EQ(surface.scales, std::vector<std::int32_t>{192});
    EXPECT_EQ(surface.width, 800);
    EXPECT_EQ(surface.height, 318);
    EXPECT_EQ(surface.corner, (ScreenPoint{224, 738}));
    // 20-pixel steps every 33 ms: out in the same 16 ticks as at 100 %.
    EXPECT_EQ(popup.AppearStepPeriod(), 33u);
    surface.Advance(33);
    EXPECT_EQ(surface.corner.y, 718);
    surface.Advance(33 * 15);
    EXPECT_EQ(surface.corner.y, 418);
    EXPECT_EQ(popup.Phase(), PopupPhase::kAppearing);
    surface.Advance(33);
    EXPECT_EQ(popup.Phase(), PopupPhase::kWaiting);
    // The pointer is read in the window's pixels: the link is at twice its
    // coordinates.
    popup.OnMouseMove(30, 52);
    EXPECT_FALSE(popup.OverLink());
    popup.OnMouseMove(60, 104);
    EXPECT_TRUE(popup.OverLink());
    // The next show at the same scaling makes nothing again.
    popup.HidePopup();
    ShowLikeTheScheduler(kModeTransparency);
    EXPECT_EQ(surface.scales.size(), 1u);
    EXPECT_EQ(surface.width, 800);
}

TEST_F(PopupTest, TransparencyFadesInPlace) {
    ShowLikeTheScheduler(kModeTransparency);
    EXPECT_EQ(surface.corner, (ScreenPoint{624, 579}));
    EXPECT_EQ(surface.appliedOpacity, 0);
    EXPECT_TRUE(surface.visible);
    EXPECT_EQ(surface.timers.at(kAppearTimer).period, 20u);

    std::vector<std::int32_t> rising;
    while (surface.Running(kAppearTimer)) {
        surface.FireNext(surface.now + 20);
        rising.push_back(*surface.appliedOpacity);
        EXPECT_EQ(surface.corner, (ScreenPoint{624, 579}));
    }
    std::vector<std::int32_t> expected;
    for (std::int32_t o = 10; o <= 250; o += 10) {
        expected.push_back(o);
    }
    expected.push_back(255);
    EXPECT_EQ(rising, expected);
    EXPECT_EQ(popup.Phase(), PopupPhase::kWaiting);

    surface.Advance(5000);
    std::vector<std::int32_t> falling;
    while (surface.Running(kDisappearTimer)) {
        surface.FireNext(surface.now + 20);
        falling.push_back(*surface.appliedOpacity);
    }
    ASSERT_FALSE(falling.empty());
    EXPECT_EQ(falling.front(), 245);
    EXPECT_EQ(falling[falling.size() - 2], 5);
    EXPECT_EQ(falling.back(), 0);
    EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);
    EXPECT_FALSE(surface.visible);
}

TEST_F(PopupTest, ShowWhileWaitingRestartsTheStayInBothModes) {
    for (const std::int32_t mode : {kModeMotion, kModeTransparency}) {
        ShowLikeTheScheduler(mode);
        surface.Advance(600);
        ASSERT_EQ(popup.Phase(), PopupPhase::kWaiting);
        surface.Advance(4000);
        const ScreenPoint shown = surface.corner;
        const int repaints = surface.repaints;
        ShowLikeTheScheduler(mode);
        EXPECT_GT(surface.repaints, repaints);  // the new texts are drawn
        EXPECT_EQ(surface.corner, shown);
        surface.Advance(4999);
        EXPECT_EQ(popup.Phase(), PopupPhase::kWaiting);
        EXPECT_EQ(surface.appliedOpacity, 255);
        surface.Advance(2000);
        EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);
    }
}

TEST_F(PopupTest, ShowWhileDisappearingRestoresTheFullViewAtOnce) {
    ShowLikeTheScheduler(kModeMotion);
    surface.Advance(600 + 5000 + 33 * 5);
    ASSERT_EQ(popup.Phase(), PopupPhase::kDisappearing);
    ASSERT_GT(surface.corner.y, 579);
    ShowLikeTheScheduler(kModeMotion);
    EXPECT_EQ(surface.corner, (ScreenPoint{624, 579}));
    EXPECT_FALSE(surface.Running(kDisappearTimer));
    EXPECT_EQ(surface.timers.at(kStayTimer).period, 5000u);
    EXPECT_EQ(popup.Phase(), PopupPhase::kDisappearing);  // until the next disappear tick
    surface.Advance(4999);
    EXPECT_EQ(surface.corner, (ScreenPoint{624, 579}));
    surface.Advance(1 + 33);
    EXPECT_EQ(surface.corner.y, 589);  // sinking again from the final corner
    surface.Advance(1000);
    EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);

    ShowLikeTheScheduler(kModeTransparency);
    surface.Advance(600 + 5000 + 20 * 5);
    ASSERT_EQ(popup.Phase(), PopupPhase::kDisappearing);
    ASSERT_LT(*surface.appliedOpacity, 255);
    ShowLikeTheScheduler(kModeTransparency);
    EXPECT_EQ(surface.appliedOpacity, 255);
    EXPECT_FALSE(surface.Running(kDisappearTimer));
    surface.Advance(4999);
    EXPECT_EQ(surface.appliedOpacity, 255);
    surface.Advance(1000);
    EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);
}

TEST_F(PopupTest, ShowWhileFadingInStartsTheFadeAgain) {
    ShowLikeTheScheduler(kModeTransparency);
    surface.Advance(100);
    ASSERT_EQ(popup.Opacity(), 50);
    ShowLikeTheScheduler(kModeTransparency);
    EXPECT_EQ(popup.Opacity(), 0);
    EXPECT_EQ(surface.appliedOpacity, 0);
    surface.Advance(20);
    EXPECT_EQ(popup.Opacity(), 10);
}

TEST_F(PopupTest, ShowJustAfterTheStayEndedDoesNotLetTheFadeOutRun) {
    ShowLikeTheScheduler(kModeMotion);
    surface.Advance(17 * 33 + 5000);  // the stay tick has just started the disappear timer
    ASSERT_TRUE(surface.Running(kDisappearTimer));
    ASSERT_EQ(popup.Phase(), PopupPhase::kWaiting);
    ShowLikeTheScheduler(kModeMotion);
    EXPECT_FALSE(surface.Running(kDisappearTimer));
    surface.Advance(4999);
    EXPECT_EQ(surface.corner, (ScreenPoint{624, 578}));  // where the last rise left it
}

TEST_F(PopupTest, HideStopsEveryTimerSoTheHiddenPopupStaysHidden) {
    ShowLikeTheScheduler(kModeMotion);
    surface.Advance(600 + 5000 + 33 * 3);
    ShowLikeTheScheduler(kModeMotion);  // disappearing, with the stay timer running again
    popup.HidePopup();
    EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);
    EXPECT_TRUE(surface.timers.empty());
    EXPECT_EQ(surface.appliedOpacity, 0);
    EXPECT_EQ(popup.Opacity(), 255);  // the stored opacity is kept
    surface.Advance(10000);
    EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);

    // The next show comes out from behind the taskbar as usual.
    ShowLikeTheScheduler(kModeMotion);
    EXPECT_TRUE(surface.visible);
    EXPECT_EQ(surface.corner, (ScreenPoint{624, 738}));
}

TEST_F(PopupTest, AnUnknownModeOnlyResetsTheItems) {
    ASSERT_TRUE(popup.AddLinkItem(3, "Show me a stretch", {11, 43, 250, 60}, {}, {}, 1, 2));
    popup.OnMouseMove(20, 50);
    ASSERT_TRUE(popup.Items()[0].hovered);
    popup.ShowPopup(500, 5000, 500, 10, 2, 4);
    EXPECT_FALSE(surface.visible);
    EXPECT_TRUE(surface.timers.empty());
    EXPECT_FALSE(popup.Items()[0].hovered);
    EXPECT_FALSE(popup.OverLink());
    EXPECT_EQ(popup.StarCount(), 4);
}

TEST_F(PopupTest, ZeroStepStillGetsThePopupOut) {
    popup.ShowPopup(500, 5000, 500, 0, kModeMotion, 0);
    surface.Advance(1000);
    EXPECT_EQ(popup.Phase(), PopupPhase::kWaiting);
    EXPECT_EQ(surface.corner, (ScreenPoint{624, 579}));
    surface.Advance(20000);
    EXPECT_EQ(popup.Phase(), PopupPhase::kHidden);
}

TEST_F(PopupTest, ItemsAreAddedOncePerIdAndEditedInPlace) {
    const ItemFont font = MakeItemFont("Tahoma", 135, kStyleBold, 96);
    EXPECT_TRUE(popup.AddPictureItem(1, 257, 1, 298, 141, 124));
    EXPECT_TRUE(popup.AddTextItem(2, "You should make a pause", {11, 17, 250, 40}, font, 0));
    EXPECT_TRUE(popup.AddLinkItem(3, "Show me a stretch", {11, 43, 250, 60}, font, font, 0x0202C872,
                                  0x0202C872));
    EXPECT_FALSE(popup.AddTextItem(3, "second", {0, 0, 1, 1}, font, 0));
    EXPECT_EQ(popup.Items()[2].text, "Show me a stretch");
    EXPECT_TRUE(popup.Items()[2].clickable);

    const SNotifierItem& picture = popup.Items()[0];
    EXPECT_TRUE(picture.isPicture);
    EXPECT_FALSE(picture.clickable);
    EXPECT_EQ((ScreenRect{picture.left, picture.top, picture.right, picture.bottom}),
              (ScreenRect{257, 1, 398, 125}));

    EXPECT_TRUE(popup.SetItemPictures(1, 302, 302));
    EXPECT_EQ(popup.Items()[0].normalPicture, 302u);
    EXPECT_TRUE(popup.SetItemText(2, "Have a rest!"));
    EXPECT_EQ(popup.Items()[1].text, "Have a rest!");
    EXPECT_TRUE(popup.SetItemClickable(3, false));
    EXPECT_FALSE(popup.SetItemText(9, "x"));
    EXPECT_FALSE(popup.SetItemClickable(9, true));
    EXPECT_FALSE(popup.SetItemPictures(9, 1, 1));
    EXPECT_EQ(surface.repaints, 0);  // none of the edits repaints
}

TEST_F(PopupTest, PointerOverTheLinkAndClicks) {
    popup.AddPictureItem(1, 257, 1, 298, 141, 124);
    popup.AddLinkItem(3, "Show me a stretch", {11, 43, 250, 60}, {}, {}, 1, 2);
    popup.AddTextItem(4, "body", {11, 90, 250, 155}, {}, 3);

    // The border of the rectangle is not part of it.
    popup.OnMouseMove(11, 50);
    popup.OnMouseMove(100, 43);
    popup.OnMouseMove(250, 50);
    popup.OnMouseMove(100, 60);
    EXPECT_FALSE(popup.OverLink());
    EXPECT_EQ(surface.repaints, 0);
    popup.OnMouseMove(300, 50);  // the picture is not clickable
    EXPECT_FALSE(popup.OverLink());

    popup.OnMouseMove(12, 44);
    EXPECT_TRUE(popup.OverLink());
    EXPECT_TRUE(popup.Items()[1].ShowsHoverLook());
    EXPECT_EQ(surface.repaints, 1);
    popup.OnMouseMove(20, 50);  // still on it: nothing to redraw
    EXPECT_EQ(surface.repaints, 1);

    surface.clicks.clear();
    popup.OnRightButtonUp();
    EXPECT_TRUE(surface.clicks.empty());
    popup.OnLeftButtonUp();
    EXPECT_EQ(surface.clicks, (std::vector<std::pair<std::int32_t, std::int32_t>>{{3, 0}}));

    popup.OnMouseMove(100, 120);  // off the link, onto the background
    EXPECT_FALSE(popup.OverLink());
    EXPECT_FALSE(popup.Items()[1].hovered);
    EXPECT_EQ(surface.repaints, 2);
    popup.OnLeftButtonUp();
    popup.OnRightButtonUp();
    EXPECT_EQ(surface.clicks,
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{3, 0}, {0, 0}, {0, 1}}));
}

TEST_F(PopupTest, ANewShowForgetsTheHover) {
    popup.AddLinkItem(3, "Show me a stretch", {11, 43, 250, 60}, {}, {}, 1, 2);
    popup.OnMouseMove(20, 50);
    ShowLikeTheScheduler(kModeTransparency);
    EXPECT_FALSE(popup.OverLink());
    EXPECT_FALSE(popup.Items()[0].hovered);
    surface.clicks.clear();
    popup.OnLeftButtonUp();
    EXPECT_EQ(surface.clicks, (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 0}}));
}

}  // namespace
}  // namespace pausora
