// The wizards in the running program: the workplace wizard from the tray
// menu beside a running schedule, and from the first-run wizard's last page
// before the main window starts.
#include "e2e/fixture.h"
#include "shared/wizard_driver.h"
#include "wizard_ids.h"

#include <gtest/gtest.h>

#include <map>

namespace pausora::test {
namespace {

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

using WizardsTest = ProgramTest;

TEST_F(WizardsTest, FromTheTrayMenuTheWorkplaceWizardLeavesTheScheduleRunningAndSettingsAlone) {
    ShortBreaks(3);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return MainWindowStarted(m_program); }));
    auto before = AllValues(reg::kSettingsKey);

    for (int run = 0; run < 2; ++run) {
        PostCommand(ID_TRAY_WORKPLACE_WIZARD);
        const HWND sheet = WizardDriver::WaitForSheet(m_program.Id(), kTimeoutMs);
        ASSERT_NE(sheet, nullptr);
        const WizardDriver wizard(sheet);
        EXPECT_EQ(WindowText(sheet), "Workplace Setup Wizard");
        // Every run starts at the first page.
        EXPECT_EQ(wizard.PageIndex(), 0);
        EXPECT_EQ(wizard.Text(IDC_WIZARD_TITLE), "Workplace setup wizard");
        EXPECT_TRUE(wizard.WaitForButtons({false, true, false}));
        if (run == 1) {
            // Asked for again while it is open, from other work: the one
            // wizard comes forward.
            const FullScreenWindow elsewhere;
            PostCommand(ID_TRAY_WORKPLACE_WIZARD);
            EXPECT_TRUE(PumpUntil(5000, [&] { return ::GetForegroundWindow() == sheet; }));
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
    PostCommand(ID_TRAY_WORKPLACE_WIZARD);
    ASSERT_NE(WizardDriver::WaitForSheet(m_program.Id(), kTimeoutMs), nullptr);
    EXPECT_TRUE(Exit());
}

TEST_F(WizardsTest, TheFirstRunWizardsBoxShowsTheWorkplaceWizardBeforeTheMainWindow) {
    m_store.Reset();  // a first start
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
