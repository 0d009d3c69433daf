#include "e2e/fixture.h"
#include "store/time_settings.h"
#include "shared/wizard_driver.h"
#include "wizard_ids.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

// Each test writes the profile it starts from, from nothing.
class StartupTest : public ProgramTest {
  protected:
    void SetUp() override { m_store.Reset(); }

    std::string Sound(std::string_view name) {
        return m_store.String(reg::kSettingsKey, name).value_or("<missing>");
    }
};

TEST_F(StartupTest, FirstStartWritesDefaultsAndASecondCopyEndsAtOnce) {
    Program first;
    ASSERT_TRUE(first.Start());
    // The first use opens with the schedule wizard, the defaults already
    // written and the copy already the only one.
    const HWND wizard = WizardDriver::WaitForSheet(first.Id(), kTimeoutMs);
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(WindowText(wizard), "Initial Setup Wizard");
    EXPECT_EQ(m_store.ValueCount(reg::kSettingsKey), kSettingsValueCount);
    {
        Program second;
        ASSERT_TRUE(second.Start());
        EXPECT_TRUE(second.WaitForExit(kTimeoutMs));
    }
    WizardDriver(wizard).Cancel();
    ASSERT_TRUE(WizardDriver(wizard).WaitForClose());

    const HWND mainWindow = first.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_FALSE(::IsWindowVisible(mainWindow));

    EXPECT_EQ(m_store.String(reg::kAppKey, reg::kFirstUse), "1");
    EXPECT_EQ(m_store.ValueCount(reg::kSettingsKey), kSettingsValueCount);
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "AppearanceType"), 1u);
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "Micropause"), 420u);
    char root[MAX_PATH] = {};
    ::GetEnvironmentVariableA("SYSTEMROOT", root, MAX_PATH);
    EXPECT_EQ(Sound("MicropauseSound"), std::string(root) + "\\Media\\ding.wav");
    EXPECT_EQ(Sound("WorkTimeSound"), std::string(root) + "\\Media\\tada.wav");
    // No "InstallDir": the program is named where it runs from.
    EXPECT_EQ(m_store.String(reg::kRunKey, reg::kRunValue), "\"" + Program::ExePath() + "\"");

    Program second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.WaitForExit(kTimeoutMs));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_FALSE(first.WaitForExit(0));

    // Enter and Escape reach the hidden dialog without ending it.
    ::PostMessageA(mainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageA(mainWindow, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(first.WaitForExit(1000));

    ::PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitForExit(kTimeoutMs));
}

// The wizard's values are saved even when it is cancelled, the program then
// starts as usual, and the next start goes straight to work.
TEST_F(StartupTest, ACancelledFirstRunWizardStillSavesItsPagesAndIsNotShownAgain) {
    {
        Program program;
        ASSERT_TRUE(program.Start());
        const HWND sheet = WizardDriver::WaitForSheet(program.Id(), kTimeoutMs);
        ASSERT_NE(sheet, nullptr);
        const WizardDriver wizard(sheet);
        EXPECT_EQ(WindowText(sheet), "Initial Setup Wizard");
        for (int page = 1; page <= 3; ++page) {
            ASSERT_TRUE(wizard.WaitForButtons({page > 1, true, false}));
            ASSERT_TRUE(wizard.Next());
            ASSERT_TRUE(wizard.WaitForPage(page));
        }
        // The short breaks' interval, one minute up from 07:00: a click on
        // its minutes and the Up key, as a hand would.
        const HWND interval = wizard.Control(IDC_WIZARD_PICKER_1);
        RECT field{};
        ::GetWindowRect(interval, &field);
        ClickAt({field.left + 8, (field.top + field.bottom) / 2}, false);
        Keys({VK_UP});
        EXPECT_TRUE(WaitFor(3000, [&] { return WindowText(interval) == "08:00"; }))
            << WindowText(interval);
        ASSERT_TRUE(wizard.WaitForButtons({true, true, false}));
        ASSERT_TRUE(wizard.Next());
        ASSERT_TRUE(wizard.WaitForPage(4));
        // Nothing but the wizard runs yet.
        EXPECT_FALSE(MainWindowStarted(program));
        wizard.Cancel();

        ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return MainWindowStarted(program); }));
        EXPECT_TRUE(WaitFor(kTimeoutMs, WineTrayShown));
        EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "Micropause"), 480u);
        EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "Micropause_length"), 11u);
        program.Kill();
    }
    Program again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return MainWindowStarted(again); }));
    EXPECT_EQ(WizardDriver::WaitForSheet(again.Id(), 1000), nullptr);
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "Micropause"), 480u);
}

TEST_F(StartupTest, MissingValuesOfAnExistingKeyGetTheirFallbackOnly) {
    m_store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    // Written by hand, without its closing separator.
    m_store.SetString(reg::kAppKey, reg::kInstallDir, "C:\\Program Files\\Pausora");
    m_store.SetDword(reg::kSettingsKey, "Micropause", 600);
    m_store.SetDword(reg::kSettingsKey, "UseSounds", 0);
    m_store.SetString(reg::kSettingsKey, "PauseSound", "C:\\mine.wav");

    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(kTimeoutMs), nullptr);

    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "Micropause"), 600u);
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "UseSounds"), 0u);
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "AppearanceType"), 0u);
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "Pause"), 3600u);
    EXPECT_EQ(Sound("PauseSound"), "C:\\mine.wav");
    EXPECT_NE(Sound("MicropauseSound").find("\\Media\\chimes.wav"), std::string::npos);
    EXPECT_EQ(m_store.ValueCount(reg::kSettingsKey), kSettingsValueCount);
    EXPECT_EQ(m_store.String(reg::kRunKey, reg::kRunValue),
              "\"C:\\Program Files\\Pausora\\Pausora.exe\"");
}

TEST_F(StartupTest, GarbageInTheRegistryNeitherCrashesNorSurvives) {
    m_store.SetRaw(reg::kAppKey, reg::kFirstUse, RawType::kDword, {1, 0, 0, 0});
    m_store.SetRaw(reg::kAppKey, reg::kInstallDir, RawType::kBinary,
                   std::vector<std::uint8_t>(4 << 20, 'A'));
    m_store.SetRaw(reg::kSettingsKey, "Pause", RawType::kString, {'1', '2'});
    m_store.SetRaw(reg::kSettingsKey, "Micropause", RawType::kBinary,
                   std::vector<std::uint8_t>(4096, 0xEE));
    m_store.SetRaw(reg::kSettingsKey, "WorkTimeSound", RawType::kBinary,
                   std::vector<std::uint8_t>(3 << 20, 0x01));
    m_store.SetRaw(reg::kSettingsKey, "TimeLimitSound", RawType::kDword, {9, 9, 9, 9});

    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(kTimeoutMs), nullptr);
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "Micropause"), 420u);
    EXPECT_TRUE(m_store.Dword(reg::kSettingsKey, "Pause").has_value());
    EXPECT_NE(Sound("WorkTimeSound").find("\\Media\\chimes.wav"), std::string::npos);
    EXPECT_EQ(m_store.ValueCount(reg::kSettingsKey), kSettingsValueCount);
    // A 4 MB installation folder is no folder: the Run value names the
    // program where it runs from.
    EXPECT_EQ(m_store.String(reg::kRunKey, reg::kRunValue), "\"" + Program::ExePath() + "\"");
}

// The libraries of the windows a run may never open (the settings window, the
// file dialog and the printing stack behind it) and of sound are loaded when
// first used: a program that waits in the tray carries none of them.
TEST_F(StartupTest, WaitingInTheTrayLoadsNoLibraryOfTheWindowsOrOfSound) {
    m_store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(kTimeoutMs), nullptr);
    EXPECT_FALSE(program.WaitForExit(1500));

    std::vector<std::string> loaded;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, program.Id());
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = ::Module32FirstW(snapshot, &module); more;
         more = ::Module32NextW(snapshot, &module)) {
        std::string name;
        for (const wchar_t c : std::wstring_view(module.szModule)) {
            name += static_cast<char>(c < 0x80 ? c : L'?');
        }
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        loaded.push_back(name);
    }
    ::CloseHandle(snapshot);
    ASSERT_NE(std::find(loaded.begin(), loaded.end(), "user32.dll"), loaded.end());
    for (const char* later : {"comctl32.dll", "comdlg32.dll", "winspool.drv", "winmm.dll"}) {
        EXPECT_EQ(std::find(loaded.begin(), loaded.end(), later), loaded.end()) << later;
    }
}

}  // namespace
}  // namespace pausora::test
