// A sound file that cannot be loaded, in the assembled program: the schedule
// goes on, at most one message box is on screen, and Exit still ends it all.
#include "store/time_settings.h"
#include "e2e/program.h"
#include "shared/wait.h"
#include "shared/win_backdoor.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 20000;

// The program's message boxes on screen (the hidden main window is a dialog
// too, but never visible).
std::vector<HWND> VisibleBoxes(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            char name[64] = {};
            ::GetClassNameA(hwnd, name, sizeof name);
            if (owner == s->pid && ::IsWindowVisible(hwnd) && std::string(name) == "#32770") {
                s->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string BoxText(HWND box) {
    char text[512] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's static text
    return text;
}

TEST(SoundErrors, TheScheduleGoesOnUnderOneBoxAtATimeAndExitEndsTheProgram) {
    WinBackdoor store;
    store.Reset();
    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    store.SetString(reg::kAppKey, reg::kInstallDir, Program::Folder());
    // A short break every 3 seconds, 2 seconds long; its start and its end
    // each want a file that is not there.
    store.SetDword(reg::kSettingsKey, "Micropause", 3);
    store.SetDword(reg::kSettingsKey, "Micropause_length", 2);
    store.SetDword(reg::kSettingsKey, "UseSounds", 1);
    store.SetDword(reg::kSettingsKey, "CheckForUpdates", 0);
    store.SetDword(reg::kSettingsKey, "Bonus", 100);
    store.SetString(reg::kSettingsKey, "MicropauseSound", "C:\\windows\\missing-start.wav");
    store.SetString(reg::kSettingsKey, "EndMicropauseSound", "C:\\windows\\missing-end.wav");
    auto bonus = [&] { return store.Dword(reg::kSettingsKey, "Bonus").value_or(0); };

    Program program;
    ASSERT_TRUE(program.Start());
    const HWND main = program.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(main, nullptr);
    const DWORD pid = program.Id();
    std::vector<HWND> boxes;
    const auto waitForBox = [&] {
        const DWORD until = ::GetTickCount() + kTimeoutMs;
        while ((boxes = VisibleBoxes(pid)).empty() &&
               static_cast<int>(until - ::GetTickCount()) > 0) {
            ::Sleep(50);
        }
        return boxes.size() == 1;
    };
    ASSERT_TRUE(waitForBox());
    EXPECT_EQ(BoxText(boxes[0]), "C:\\windows\\missing-start.wav was not found.");
    PauseForScreenshot("sound-error");

    // With the box left open, breaks keep coming, each earning its two
    // points once, and no second box joins the first.
    const std::uint32_t atFirstBox = bonus();
    std::size_t most = 0;
    const DWORD watchUntil = ::GetTickCount() + 12000;
    while (static_cast<int>(watchUntil - ::GetTickCount()) > 0) {
        most = std::max(most, VisibleBoxes(pid).size());
        ::Sleep(100);
    }
    EXPECT_EQ(most, 1u);
    const std::uint32_t grown = bonus() - atFirstBox;
    EXPECT_GE(grown, 2u);
    EXPECT_LE(grown, 8u);  // a break per 5 seconds at most, none paid twice
    EXPECT_EQ(grown % 2, 0u);

    // Closing it brings the one report that waited behind it.
    ::PostMessageA(boxes[0], WM_COMMAND, IDOK, 0);
    ::Sleep(500);
    ASSERT_TRUE(waitForBox());
    EXPECT_EQ(BoxText(boxes[0]), "C:\\windows\\missing-end.wav was not found.");

    // Exit from the tray menu while that box is open ends the program.
    ::PostMessageA(main, WM_COMMAND, 32774, 0);
    EXPECT_TRUE(program.WaitForExit(kTimeoutMs));
    store.Reset();
}

// Gives the key the access rights of an SDDL text (its DACL alone).
bool SetKeyAccess(const char* path, const char* sddl) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, READ_CONTROL | WRITE_DAC, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool done = ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                       &descriptor, nullptr) &&
                ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    ::LocalFree(descriptor);
    ::RegCloseKey(key);
    return done;
}

// The settings key made read-only, as a policy would: the schedule goes on
// with the stored settings; start-up's save fails first and is reported once,
// in a box that names what could not be saved, and the points that every
// break then fails to save bring no second box.
TEST(SaveErrors, AReadOnlyKeyIsReportedOnceAndTheScheduleGoesOn) {
    WinBackdoor store;
    store.Reset();
    store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    store.SetString(reg::kAppKey, reg::kInstallDir, Program::Folder());
    store.SetDword(reg::kSettingsKey, "Micropause", 3);
    store.SetDword(reg::kSettingsKey, "Micropause_length", 1);
    store.SetDword(reg::kSettingsKey, "UseSounds", 0);
    store.SetDword(reg::kSettingsKey, "CheckForUpdates", 0);
    store.SetDword(reg::kSettingsKey, "Bonus", 100);
    const std::string settingsKey(reg::kSettingsKey);
    ASSERT_TRUE(SetKeyAccess(settingsKey.c_str(), "D:P(A;;KR;;;WD)"));

    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(kTimeoutMs), nullptr);
    std::vector<HWND> boxes;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return !(boxes = VisibleBoxes(program.Id())).empty(); }));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(BoxText(boxes[0]).rfind("The settings could not be saved", 0), 0u)
        << BoxText(boxes[0]);
    // More breaks end behind it and after it, each failing to save: no
    // second box in this run.
    ::Sleep(5000);
    EXPECT_EQ(VisibleBoxes(program.Id()).size(), 1u);
    ::PostMessageA(boxes[0], WM_COMMAND, IDOK, 0);
    ::Sleep(6000);
    EXPECT_TRUE(VisibleBoxes(program.Id()).empty());
    EXPECT_EQ(store.Dword(reg::kSettingsKey, "Bonus"), 100u);
    program.Kill();
    EXPECT_TRUE(SetKeyAccess(settingsKey.c_str(), "D:(A;;KA;;;WD)"));
    store.Reset();
}

}  // namespace
}  // namespace pausora::test
