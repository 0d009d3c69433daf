// Settings an organisation sets by Group Policy: they win over the user's own
// without touching them, and a policy refresh takes effect without a restart.
#include "e2e/fixture.h"

#include <gtest/gtest.h>

namespace pausora::test {
namespace {

constexpr const wchar_t* kMachinePolicies = L"Software\\Policies\\Pausora\\TimeSettings";

class PolicyTest : public ProgramTest {
  protected:
    void TearDown() override {
        ProgramTest::TearDown();
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pausora");
    }
    static void MachinePolicy(const wchar_t* name, DWORD value) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kMachinePolicies, name, REG_DWORD, &value,
                                    sizeof value),
                  ERROR_SUCCESS);
    }
    // As Windows tells every top-level window after a Group Policy refresh.
    void TellPolicyChanged() const {
        for (const HWND window : m_program.TopLevelWindows()) {
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Policy"),
                                  SMTO_ABORTIFHUNG, 5000, &ignored);
        }
    }
};

TEST_F(PolicyTest, TheMachinesScheduleWinsUntilThePolicyGoes) {
    ShortBreaks(300);
    ASSERT_NO_FATAL_FAILURE(MachinePolicy(L"Micropause", 3));
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(WaitForPopup(15000)) << "no notice on the policy's schedule";
    EXPECT_EQ(Dword("Micropause"), 300u) << "the user's own value was overwritten";

    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pausora");
    TellPolicyChanged();
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return Popup() == nullptr; }));
    EXPECT_FALSE(WaitForPopup(10000)) << "still on the policy's schedule after it went";
}

TEST_F(PolicyTest, ExitIsRefusedWhileAPolicySaysSo) {
    ASSERT_NO_FATAL_FAILURE(MachinePolicy(L"AllowExit", 0));
    ASSERT_NO_FATAL_FAILURE(Start());
    PostCommand(ID_TRAY_EXIT);
    EXPECT_FALSE(m_program.WaitForExit(3000));
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Policies\\Pausora");
    TellPolicyChanged();
    EXPECT_TRUE(Exit());
}

}  // namespace
}  // namespace pausora::test
