// The tray icon's presence in the notification area, its menu model, and the
// small rules of animation and tray area.
#include "notify/tray_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pausora {
namespace {

class FakeShell : public ITrayShell {
  public:
    struct Call {
        Op op;
        std::uint32_t flags;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    bool succeed = true;
    bool Notify(Op op, std::uint32_t flags) override {
        calls.push_back({op, flags});
        return succeed;
    }
};

using Op = ITrayShell::Op;
constexpr std::uint32_t kCreateFlags = kNifMessage | kNifIcon | kNifTip;

using Calls = std::vector<FakeShell::Call>;

TEST(TrayPresence, NothingReachesTheShellBeforeCreationOrAfterRemoval) {
    FakeShell shell;
    TrayPresence tray(shell);
    EXPECT_FALSE(tray.Change(kNifIcon));
    EXPECT_FALSE(tray.AddAgain());
    EXPECT_FALSE(tray.Remove());
    EXPECT_TRUE(shell.calls.empty());

    ASSERT_TRUE(tray.Create());
    EXPECT_TRUE(tray.Shown());
    EXPECT_TRUE(tray.Change(kNifIcon));
    EXPECT_TRUE(tray.Remove());
    EXPECT_TRUE(tray.Remove());         // nothing left to do
    EXPECT_TRUE(tray.AddAgain());       // a removed icon is not brought back
    EXPECT_TRUE(tray.Change(kNifTip));  // kept in the record only
    EXPECT_EQ(shell.calls,
              (Calls{{Op::kAdd, kCreateFlags}, {Op::kModify, kNifIcon}, {Op::kDelete, 0}}));
}

TEST(TrayPresence, AFailedAddIsRepeatedWhenTheShellComesBack) {
    FakeShell shell;
    TrayPresence tray(shell);
    shell.succeed = false;
    EXPECT_FALSE(tray.Create());
    EXPECT_TRUE(tray.AddPending());
    EXPECT_FALSE(tray.Shown());
    // While not shown, changes stay in the record.
    shell.calls.clear();
    EXPECT_TRUE(tray.Change(kNifTip));
    EXPECT_TRUE(shell.calls.empty());

    // The shell comes up later (as at logon): the icon is added then.
    shell.succeed = true;
    EXPECT_TRUE(tray.AddAgain());
    EXPECT_EQ(shell.calls, (Calls{{Op::kAdd, kCreateFlags}}));
    EXPECT_TRUE(tray.Shown());
    EXPECT_FALSE(tray.AddPending());

    // Removing drops an add that is still owed.
    shell.succeed = false;
    tray.AddAgain();
    ASSERT_TRUE(tray.AddPending());
    shell.succeed = true;
    tray.Remove();
    shell.calls.clear();
    EXPECT_TRUE(tray.AddAgain());
    EXPECT_TRUE(shell.calls.empty());
}

TEST(TrayPresence, TaskbarRestartAddsTheShownIconAgain) {
    FakeShell shell;
    TrayPresence tray(shell);
    tray.Create();
    shell.calls.clear();
    EXPECT_TRUE(tray.AddAgain());
    EXPECT_EQ(shell.calls, (Calls{{Op::kAdd, kCreateFlags}}));
    // A failing add (the icon is still there) leaves it shown and changeable.
    shell.succeed = false;
    EXPECT_FALSE(tray.AddAgain());
    EXPECT_TRUE(tray.AddPending());
    EXPECT_TRUE(tray.Shown());
    shell.succeed = true;
    shell.calls.clear();
    EXPECT_TRUE(tray.Change(kNifTip));
    EXPECT_EQ(shell.calls, (Calls{{Op::kModify, kNifTip}}));
}

TEST(TrayMenuModel, CheckMarksFollowTheSettings) {
    STimeSettings settings;
    settings.UseMicropauses = 1;
    settings.UsePauses = 0;
    settings.UseWorkingTime = 1;
    settings.UseDailyTimeLimit = 0;
    settings.UseSounds = 2;  // only exactly 1 counts as on
    TrayMenuModel menu;
    menu.ShowSwitches(settings);
    EXPECT_EQ(menu.CheckMarks(),
              (std::array<std::uint32_t, kSwitchCount>{kMenuChecked, 0, kMenuChecked, 0, 0}));
    EXPECT_EQ(menu.StartStopCaption(), "Stop");
    EXPECT_EQ(menu.DefaultItem(), 0u);
    EXPECT_TRUE(menu.DefaultByPosition());
    EXPECT_TRUE(menu.SetDefaultItem(kStartStopPosition, true));
    EXPECT_FALSE(menu.SetDefaultItem(kStartStopPosition, true));
}

TEST(TrayMenuModel, EachSwitchFlipsItsOwnFieldAndNothingElse) {
    for (const NotificationSwitch& s : NotificationSwitches()) {
        STimeSettings settings;
        EXPECT_TRUE(FlipNotificationSwitch(settings, s.command));
        EXPECT_EQ(settings.*s.field, 0u) << s.command;
        EXPECT_TRUE(FlipNotificationSwitch(settings, s.command));
        EXPECT_EQ(settings, STimeSettings{}) << s.command;
        settings.*s.field = 2;  // not on, as the menu shows it: on once flipped
        FlipNotificationSwitch(settings, s.command);
        EXPECT_EQ(settings.*s.field, 1u) << s.command;
    }
    STimeSettings settings;
    EXPECT_FALSE(FlipNotificationSwitch(settings, 32812));
    EXPECT_FALSE(FlipNotificationSwitch(settings, ID_TRAY_STARTSTOP));
    EXPECT_EQ(settings, STimeSettings{});
}

TEST(TrayRules, AnimationAndTrayArea) {
    EXPECT_FALSE(AnimationOver(100000499, 100000));
    EXPECT_TRUE(AnimationOver(100000500, 100000));  // rounds to 100001 s
    EXPECT_FALSE(AnimationOver(999999999, 0));      // no end
    EXPECT_EQ(NextFrame(0, 2), 1u);
    EXPECT_EQ(NextFrame(1, 2), 0u);
    EXPECT_EQ(NextFrame(0, 0), 0u);

    const ScreenRect taskbar{0, 738, 1024, 768};
    const std::vector<TaskbarChild> horizontal{
        {"Start", {0, 738, 60, 768}},
        {"TrayNotifyWnd", {900, 740, 1022, 766}},
        {"TrayClockWClass", {960, 740, 1022, 766}},
        {"TrayNotifyWnd", {0, 0, 1, 1}},  // after the clock: not looked at
    };
    EXPECT_EQ(TrayAreaFromTaskbar(taskbar, horizontal), (ScreenRect{900, 740, 960, 766}));
    const std::vector<TaskbarChild> vertical{
        {"TrayNotifyWnd", {0, 600, 60, 768}},
        {"TrayClockWClass", {0, 600, 60, 630}},
    };
    EXPECT_EQ(TrayAreaFromTaskbar({0, 0, 60, 768}, vertical), (ScreenRect{0, 630, 60, 768}));
    EXPECT_EQ(TrayAreaFromTaskbar(taskbar, {}), taskbar);

    EXPECT_EQ(TrayAreaFromAppBar(3, taskbar), (ScreenRect{924, 738, 1008, 768}));
    EXPECT_EQ(TrayAreaFromAppBar(0, {0, 0, 60, 768}), (ScreenRect{0, 668, 60, 752}));
    EXPECT_EQ(TrayAreaFromAppBar(7, taskbar), ScreenRect{});
    EXPECT_EQ(TrayAreaFromWorkArea({0, 0, 1024, 738}), (ScreenRect{874, 708, 1024, 738}));
}

}  // namespace
}  // namespace pausora
