// The notification-area icon under a real shell: creation, the tray menu as
// it is shown, the default command, the switches, the blinking, the return
// after the shell restarts, and hiding a window into the tray.
#include "notify/tray_icon.h"
#include "resource.h"
#include "shared/dpi_checks.h"
#include "win/popup_setup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace pausora {
namespace {

using test::PumpUntil;

// The pixels of an icon's image, 32-bit, row by row; its side is their
// count's square root.
std::vector<DWORD> IconPixels(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) {
        return {};
    }
    const ui::BitmapHandle colour(info.hbmColor);
    const ui::BitmapHandle mask(info.hbmMask);
    BITMAP size{};
    ::GetObjectA(colour.get(), sizeof size, &size);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size.bmWidth;
    format.bmiHeader.biHeight = -size.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(static_cast<std::size_t>(size.bmWidth * size.bmHeight));
    const HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, colour.get(), 0, static_cast<UINT>(size.bmHeight), pixels.data(), &format,
                DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// Stands in for the main window: records commands.
class TargetWindow : public ui::Window {
  public:
    TargetWindow() { CreateEx(0, L"TrayTestTarget", L"", WS_POPUP, 0, 0, 10, 10, nullptr); }
    std::vector<UINT> commands;

  protected:
    ui::Handled OnCommand(UINT id, UINT /*code*/, HWND /*control*/) override {
        commands.push_back(id);
        return 0;
    }
};

// What the shown menu looked like, read from inside its modal loop.
struct ShownMenu {
    bool seen = false;
    int count = 0;
    std::string lastText;
    UINT lastId = 0;
    UINT defaultPosition = static_cast<UINT>(-1);
    bool lastIsDefault = false;
    std::vector<bool> checked;  // the five switches, in menu order
};
ShownMenu g_shownMenu;

void CALLBACK ReadShownMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND menuWindow = ::FindWindowA("#32768", nullptr);
    if (menuWindow == nullptr || !::IsWindowVisible(menuWindow)) {
        return;  // not up yet; the timer comes again
    }
    ::KillTimer(nullptr, timer);
    const auto menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    ShownMenu& shown = g_shownMenu;
    shown.seen = true;
    shown.count = ::GetMenuItemCount(menu);
    char text[64] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(shown.count - 1), text, sizeof text, MF_BYPOSITION);
    shown.lastText = text;
    shown.lastId = ::GetMenuItemID(menu, shown.count - 1);
    shown.defaultPosition = ::GetMenuDefaultItem(menu, TRUE, 0);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    ::GetMenuItemInfoA(menu, static_cast<UINT>(shown.count - 1), TRUE, &info);
    shown.lastIsDefault = (info.fState & MFS_DEFAULT) != 0;
    const HMENU notifications = ::GetSubMenu(menu, 1);
    shown.checked.clear();
    for (const UINT command : std::initializer_list<UINT>{
             ID_TRAY_SHORT_BREAKS, ID_TRAY_LONG_BREAKS, ID_TRAY_END_OF_WORKDAY, ID_TRAY_DAILY_LIMIT,
             ID_TRAY_PLAY_SOUNDS}) {
        shown.checked.push_back(
            (::GetMenuState(notifications, command, MF_BYCOMMAND) & MF_CHECKED) != 0);
    }
    if (const char* shot = std::getenv("PAUSORA_TRAY_MENU_PAUSE_MS")) {
        // The screenshot script looks at the menu meanwhile.
        ::Sleep(static_cast<DWORD>(std::atoi(shot)));
    }
    ::EndMenu();
}

class TrayIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::SetAppMainWindow(target.Handle());
        icon.reset(
            static_cast<HICON>(::LoadImageA(ui::ModuleInstance(), MAKEINTRESOURCEA(IDI_TRAY_NORMAL),
                                            IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
        ASSERT_TRUE(icon);
        ASSERT_TRUE(tray.Create(WM_TRAYICON_NOTIFY, "Pausora", icon.get(), IDR_TRAYMENU));
    }
    void TearDown() override { ui::SetAppMainWindow(nullptr); }

    LRESULT ShellSays(UINT mouseMessage, UINT iconId = IDR_TRAYMENU) {
        return ::SendMessageA(tray.Handle(), WM_TRAYICON_NOTIFY, iconId, mouseMessage);
    }
    ShownMenu RightClick() {
        g_shownMenu = {};
        ::SetTimer(nullptr, 0, 50, &ReadShownMenu);
        EXPECT_EQ(ShellSays(WM_RBUTTONUP), 1);
        test::Pump();
        return g_shownMenu;
    }
    std::vector<UINT> PostedCommands() {
        target.commands.clear();
        test::Pump();
        return target.commands;
    }
    // Asks the shell itself whether it still knows the icon.
    bool ShellKnowsTheIcon() {
        NOTIFYICONDATAA probe{};
        probe.cbSize = NOTIFYICONDATAA_V2_SIZE;
        probe.hWnd = tray.Handle();
        probe.uID = IDR_TRAYMENU;
        probe.uFlags = 0;
        return ::Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
    }

    TargetWindow target;
    STimeSettings settings;
    ui::IconHandle icon;
    CTrayIcon tray;
};

TEST_F(TrayIconTest, CreatedShownWithIconAndTooltip) {
    EXPECT_TRUE(tray.Presence().Shown());
    EXPECT_TRUE(ShellKnowsTheIcon());
    EXPECT_EQ(tray.GetIconHandle(), icon.get());
    EXPECT_EQ(tray.GetTooltipText(), "Pausora");
    EXPECT_EQ(tray.GetCommandTarget(), target.Handle());

    const std::string longTip(200, 'x');
    EXPECT_TRUE(tray.SetTooltipText(longTip.c_str()));
    EXPECT_EQ(tray.GetTooltipText(), std::string(127, 'x'));
    EXPECT_TRUE(tray.SetIcon(IDI_TRAY_BREAK));
    EXPECT_NE(tray.GetIconHandle(), icon.get());
    EXPECT_FALSE(tray.SetIcon(9999u));
}

TEST_F(TrayIconTest, RightClickShowsTheMenuWithSwitchesAndBoldStartStop) {
    ASSERT_TRUE(tray.SetMenuDefaultItem(kStartStopPosition, true));
    settings.UseMicropauses = 1;
    settings.UsePauses = 0;
    settings.UseWorkingTime = 1;
    settings.UseDailyTimeLimit = 0;
    settings.UseSounds = 1;
    tray.ShowSwitches(settings);
    ShownMenu shown = RightClick();
    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.count, static_cast<int>(kStartStopPosition) + 1);  // start/stop comes last
    EXPECT_EQ(shown.lastText, "Stop");
    EXPECT_EQ(shown.lastId, static_cast<UINT>(ID_TRAY_STARTSTOP));
    EXPECT_EQ(shown.defaultPosition, static_cast<UINT>(kStartStopPosition));
    EXPECT_TRUE(shown.lastIsDefault);
    EXPECT_EQ(shown.checked, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_TRUE(PostedCommands().empty());  // the menu was closed without a choice

    // The scheduler stopped; sounds switched off.
    tray.SetStartStopCaption("Start");
    settings.UseSounds = 0;
    tray.ShowSwitches(settings);
    shown = RightClick();
    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.lastText, "Start");
    EXPECT_EQ(shown.checked, (std::vector<bool>{true, false, true, false, false}));
}

TEST_F(TrayIconTest, DoubleClickPostsTheDefaultCommand) {
    EXPECT_EQ(ShellSays(WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(PostedCommands(), std::vector<UINT>{ID_TRAY_SETTINGS});  // position 0 at first

    tray.SetMenuDefaultItem(kStartStopPosition, true);
    EXPECT_EQ(ShellSays(WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(PostedCommands(), std::vector<UINT>{ID_TRAY_STARTSTOP});

    // A single click, another icon's message: nothing.
    EXPECT_EQ(ShellSays(WM_LBUTTONUP), 1);
    EXPECT_EQ(ShellSays(WM_LBUTTONDBLCLK, 7), 0);
    EXPECT_TRUE(PostedCommands().empty());
}

TEST_F(TrayIconTest, TheIconComesBackWhenTheShellRestarts) {
    // The shell forgets every icon when it restarts.
    NOTIFYICONDATAA gone{};
    gone.cbSize = NOTIFYICONDATAA_V2_SIZE;
    gone.hWnd = tray.Handle();
    gone.uID = IDR_TRAYMENU;
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &gone));
    ASSERT_FALSE(ShellKnowsTheIcon());
    tray.SetTooltipText("Pausora (Long break)");

    ::SendMessageA(tray.Handle(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellKnowsTheIcon());
    EXPECT_FALSE(tray.Presence().AddPending());
    EXPECT_EQ(tray.GetTooltipText(), "Pausora (Long break)");
    EXPECT_TRUE(tray.SetIcon(IDI_TRAY_STOPPED));
    EXPECT_TRUE(tray.SetTooltipText("Pausora (Stopped)"));

    // A work-area change leaves the icon shown and changeable.
    ::SendMessageA(tray.Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_TRUE(ShellKnowsTheIcon());
    EXPECT_TRUE(tray.Presence().Shown());
    EXPECT_TRUE(tray.SetIcon(IDI_TRAY_NORMAL));

    EXPECT_TRUE(tray.RemoveFromTray());
    EXPECT_FALSE(ShellKnowsTheIcon());
}

TEST_F(TrayIconTest, ReminderBlinksBetweenTwoIconsAndPutsTheOldOneBack) {
    ASSERT_TRUE(tray.SetIcon(IDI_TRAY_BREAK));
    const HICON before = tray.GetIconHandle();
    EXPECT_FALSE(tray.SetIconList(300, 224));
    EXPECT_FALSE(tray.Animate(500, 100000));  // no frames yet
    ASSERT_TRUE(tray.SetIconList(IDI_TRAY_REMIND_1, IDI_TRAY_REMIND_2));
    EXPECT_FALSE(tray.SetIconList(300, 224));  // frames kept
    // The frames are the small images of the two icons.
    const auto small = [](UINT id) {
        const ui::IconHandle image(static_cast<HICON>(
            ::LoadImageA(ui::ModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON,
                         ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
        return IconPixels(image.get());
    };
    const std::vector<DWORD> first = small(IDI_TRAY_REMIND_1);
    const std::vector<DWORD> second = small(IDI_TRAY_REMIND_2);
    ASSERT_EQ(first.size(), static_cast<std::size_t>(::GetSystemMetrics(SM_CXSMICON) *
                                                     ::GetSystemMetrics(SM_CYSMICON)));
    ASSERT_NE(first, second);

    ASSERT_TRUE(tray.Animate(500, 100000));
    EXPECT_TRUE(tray.Animating());
    std::vector<std::vector<DWORD>> shown;
    std::vector<HICON> handles;
    for (int i = 0; i < 4; ++i) {
        ::SendMessageA(tray.Handle(), WM_TIMER, CTrayIcon::kAnimationTimerId, 0);
        shown.push_back(IconPixels(tray.GetIconHandle()));
        handles.push_back(tray.GetIconHandle());
    }
    EXPECT_EQ(shown, (std::vector<std::vector<DWORD>>{second, first, second, first}));
    ::SendMessageA(tray.Handle(), WM_TIMER, 99, 0);  // not the animation's
    EXPECT_EQ(tray.GetIconHandle(), handles[1]);

    // On the real timer, every half second.
    const bool changed = PumpUntil(2000, [&] { return tray.GetIconHandle() == handles[0]; });
    EXPECT_TRUE(changed);

    tray.StopAnimation();
    EXPECT_FALSE(tray.Animating());
    EXPECT_EQ(tray.GetIconHandle(), before);
    EXPECT_FALSE(PumpUntil(700, [&] { return tray.GetIconHandle() != before; }));
}

// The minutes drawn on the icon: drawn again only for another number, put
// aside by an icon set or a blink and back after them, gone at 0.
TEST_F(TrayIconTest, CountdownDrawsTheMinutesAndGivesWayToTheIcon) {
    ASSERT_TRUE(tray.SetIcon(IDI_TRAY_BREAK));
    const HICON normal = tray.GetIconHandle();
    ASSERT_TRUE(tray.SetCountdown(7));
    const HICON seven = tray.GetIconHandle();
    const std::vector<DWORD> pixels = IconPixels(seven);
    ASSERT_NE(seven, normal);
    ASSERT_EQ(pixels, IconPixels(seven));
    // Clear at the rounded corners, the green plate and white digits inside.
    EXPECT_EQ(pixels.front() >> 24, 0u);
    const auto has = [&](DWORD colour) {
        return std::count(pixels.begin(), pixels.end(), colour | 0xFF000000) > 4;
    };
    EXPECT_TRUE(has(0x4F9400));
    EXPECT_TRUE(has(0xFFFFFF));
    ASSERT_TRUE(tray.SetCountdown(7));
    EXPECT_EQ(tray.GetIconHandle(), seven);
    ASSERT_TRUE(tray.SetCountdown(12));
    const HICON twelve = tray.GetIconHandle();
    EXPECT_NE(IconPixels(twelve), pixels);

    ASSERT_TRUE(tray.SetIconList(IDI_TRAY_REMIND_1, IDI_TRAY_REMIND_2));
    ASSERT_TRUE(tray.Animate(500, 100000));
    ::SendMessageA(tray.Handle(), WM_TIMER, CTrayIcon::kAnimationTimerId, 0);
    EXPECT_NE(tray.GetIconHandle(), twelve);
    tray.StopAnimation();
    EXPECT_EQ(tray.GetIconHandle(), twelve);

    ASSERT_TRUE(tray.SetIcon(IDI_TRAY_NORMAL));
    const HICON set = tray.GetIconHandle();
    EXPECT_NE(set, twelve);
    ASSERT_TRUE(tray.SetCountdown(12));
    EXPECT_EQ(tray.GetIconHandle(), twelve);
    ASSERT_TRUE(tray.SetCountdown(0));
    EXPECT_EQ(tray.GetIconHandle(), set);
}

TEST_F(TrayIconTest, AnimationWithALengthEndsByItself) {
    ASSERT_TRUE(tray.SetIconList(IDI_TRAY_REMIND_1, IDI_TRAY_REMIND_2));
    const HICON before = tray.GetIconHandle();
    ASSERT_TRUE(tray.Animate(100, 1));
    EXPECT_TRUE(PumpUntil(4000, [&] { return !tray.Animating(); }));
    EXPECT_EQ(tray.GetIconHandle(), before);
}

// Run at 96, 144 and 192 dots per inch: the icon and the blink's frames are
// the images drawn for the notification area's size there.
TEST_F(TrayIconTest, IconsInTheSizeOfTheScaling) {
    const int dpi = test::ScreenDpi();
    const int side = dpi == 192 ? 32 : dpi == 144 ? 24 : dpi == 120 ? 20 : 16;
    ASSERT_TRUE(tray.SetIcon(IDI_TRAY_BREAK));
    EXPECT_EQ(IconPixels(tray.GetIconHandle()).size(), static_cast<std::size_t>(side * side))
        << dpi;
    ASSERT_TRUE(tray.SetIconList(IDI_TRAY_REMIND_1, IDI_TRAY_REMIND_2));
    ASSERT_TRUE(tray.Animate(500, 100000));
    ::SendMessageA(tray.Handle(), WM_TIMER, CTrayIcon::kAnimationTimerId, 0);
    EXPECT_EQ(IconPixels(tray.GetIconHandle()).size(), static_cast<std::size_t>(side * side))
        << dpi;
    tray.StopAnimation();
    ASSERT_TRUE(tray.SetCountdown(42));
    EXPECT_EQ(IconPixels(tray.GetIconHandle()).size(), static_cast<std::size_t>(side * side))
        << dpi;
}

TEST(TrayWindows, MinimiseToTrayHidesWithoutATaskbarButton) {
    ui::Window window;
    ASSERT_TRUE(window.CreateEx(0, L"TrayTestMainWindow", L"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                100, 100, 200, 100, nullptr));
    ASSERT_TRUE(::IsWindowVisible(window.Handle()));
    CTrayIcon::MinimiseToTray(window.Handle(), true);
    EXPECT_FALSE(::IsWindowVisible(window.Handle()));
    const HWND owner = ::GetAncestor(window.Handle(), GA_PARENT);
    ASSERT_NE(owner, nullptr);
    EXPECT_NE(owner, ::GetDesktopWindow());
    EXPECT_FALSE(::IsWindowVisible(owner));

    // A second window shares the one invisible owner.
    ui::Window other;
    ASSERT_TRUE(other.CreateEx(0, L"TrayTestMainWindow", L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               0, 0, 50, 50, nullptr));
    CTrayIcon::MinimiseToTray(other.Handle(), false);
    EXPECT_EQ(::GetAncestor(other.Handle(), GA_PARENT), owner);
}

}  // namespace
}  // namespace pausora
