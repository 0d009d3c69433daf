// The wizards in the running program: the workplace wizard from the tray
// menu beside a running schedule, and from the first-run wizard's last page
// before the main window starts.
#include "e2e/desktop.h"
#include "e2e/program.h"
#include "resource.h"
#include "shared/win_backdoor.h"
#include "shared/wizard_driver.h"

#include <gtest/gtest.h>

#include <map>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 20000;

// Every value of a key, as stored.
std::map<std::string, std::vector<BYTE>> AllValues(std::string_view path) {
    std::map<std::string, std::vector<BYTE>> values;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, std::string(path).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        char name[256] = {};
        DWORD nameSize = sizeof name;
        std::vector<BYTE> data(64 * 1024);
        DWORD dataSize = static_cast<DWORD>(data.size());
        if (::RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, data.data(),
                            &dataSize) != ERROR_SUCCESS) {
            break;
        }
        data.resize(dataSize);
        values[name] = data;
    }
    ::RegCloseKey(key);
    return values;
}

class WizardsTest : public ::testing::Test {
  protected:
    void SetUp() override { m_store.Reset(); }
    void TearDown() override {
        m_program.Kill();
        m_store.Reset();
    }
    std::uint32_t Bonus() { return m_store.Dword(reg::kSettingsKey, "Bonus").value_or(0); }

    WinBackdoor m_store;
    Program m_program;
};

TEST_F(WizardsTest, FromTheTrayMenuTheWorkplaceWizardLeavesTheScheduleRunningAndSettingsAlone) {
    m_store.SetString(reg::kAppKey, reg::kFirstUse, "1");
    m_store.SetDword(reg::kSettingsKey, "Micropause", 3);
    m_store.SetDword(reg::kSettingsKey, "Micropause_length", 2);
    m_store.SetDword(reg::kSettingsKey, "UseSounds", 0);
    m_store.SetDword(reg::kSettingsKey, "CheckForUpdates", 0);
    m_store.SetDword(reg::kSettingsKey, "Bonus", 100);
    ASSERT_TRUE(m_program.Start());
    const HWND main = m_program.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return MainWindowStarted(m_program); }));
    auto before = AllValues(reg::kSettingsKey);

    for (int run = 0; run < 2; ++run) {
        ::PostMessageA(main, WM_COMMAND, ID_TRAY_WORKPLACE_WIZARD, 0);
        const HWND sheet = WizardDriver::WaitForSheet(m_program.Id(), kTimeoutMs);
        ASSERT_NE(sheet, nullptr);
        const WizardDriver wizard(sheet);
        EXPECT_EQ(WindowText(sheet), "Workplace Setup Wizard");
        // Every run starts at the first page.
        EXPECT_EQ(wizard.PageIndex(), 0);
        EXPECT_EQ(wizard.Text(IDC_WIZARD_TITLE), "Workplace setup wizard");
        EXPECT_TRUE(wizard.WaitForButtons({false, true, false}));
        if (run == 1) {
            // Asked for again while it is open: the one wizard comes forward.
            ::PostMessageA(main, WM_COMMAND, ID_TRAY_WORKPLACE_WIZARD, 0);
            const auto shown = [&] {
                int count = 0;
                for (const HWND window : m_program.TopLevelWindows()) {
                    count +=
                        ::IsWindowVisible(window) && WindowText(window) == "Workplace Setup Wizard";
                }
                return count;
            };
            EXPECT_FALSE(WaitFor(2000, [&] { return shown() > 1; })) << shown() << " wizards";
            wizard.Cancel();
            ASSERT_TRUE(wizard.WaitForClose());
            break;
        }
        // A whole short break passes while the wizard is open.
        const std::uint32_t points = Bonus();
        EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() >= points + 2; }))
            << "Bonus stayed at " << Bonus();
        for (int page = 1; page < 8; ++page) {
            ASSERT_TRUE(wizard.WaitForButtons({page > 1, true, false}));
            ASSERT_TRUE(wizard.Next());
            ASSERT_TRUE(wizard.WaitForPage(page));
        }
        EXPECT_TRUE(wizard.WaitForButtons({true, false, true}));
        EXPECT_EQ(wizard.Text(IDC_WIZARD_TITLE_2), "Noise");
        ASSERT_TRUE(wizard.Finish());
        ASSERT_TRUE(wizard.WaitForClose());
    }
    EXPECT_FALSE(m_program.WaitForExit(500));
    auto after = AllValues(reg::kSettingsKey);
    before.erase("Bonus");
    after.erase("Bonus");
    EXPECT_TRUE(before == after) << "a setting changed";

    // Exit while the wizard is open still ends the program.
    ::PostMessageA(main, WM_COMMAND, ID_TRAY_WORKPLACE_WIZARD, 0);
    ASSERT_NE(WizardDriver::WaitForSheet(m_program.Id(), kTimeoutMs), nullptr);
    ::PostMessageA(main, WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_TRUE(m_program.WaitForExit(kTimeoutMs));
}

TEST_F(WizardsTest, TheFirstRunWizardsBoxShowsTheWorkplaceWizardBeforeTheMainWindow) {
    ASSERT_TRUE(m_program.Start());
    const HWND first = WizardDriver::WaitForSheet(m_program.Id(), kTimeoutMs);
    ASSERT_NE(first, nullptr);
    const WizardDriver schedule(first);
    for (int page = 1; page <= 5; ++page) {
        ASSERT_TRUE(schedule.WaitForButtons({page > 1, true, false}));
        ASSERT_TRUE(schedule.Next());
        ASSERT_TRUE(schedule.WaitForPage(page));
    }
    ASSERT_TRUE(schedule.WaitForButtons({true, false, true}));
    ASSERT_TRUE(schedule.Finish());
    ASSERT_TRUE(schedule.WaitForClose());

    const HWND second = WizardDriver::WaitForSheet(m_program.Id(), kTimeoutMs);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WindowText(second), "Workplace Setup Wizard");
    EXPECT_FALSE(MainWindowStarted(m_program));
    WizardDriver(second).Cancel();
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return MainWindowStarted(m_program); }));
}

}  // namespace
}  // namespace pausora::test
