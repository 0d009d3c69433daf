// The update check of the whole program, against the stand-in servers that
// tests/win/update_servers.py runs: the offer and its two buttons, a server
// that never answers, and the check switched off.
#include "e2e/fixture.h"
#include "shared/update_servers.h"
#include "update_ids.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pausora::test {
namespace {

// The visible offer of a newer version, if one is shown.
HWND FindOffer() {
    HWND found = nullptr;
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            char title[32] = {};
            ::GetWindowTextA(hwnd, title, sizeof title);
            if (std::string(title) == "Pausora" && ::IsWindowVisible(hwnd) &&
                ::GetDlgItem(hwnd, IDC_UPDATE_MESSAGE) != nullptr) {
                *reinterpret_cast<HWND*>(param) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class UpdateTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        m_servers = UpdateServerAddresses();
        ASSERT_EQ(m_servers.count("multi"), 1u) << "run through tests/win/update_servers.py";
        Set("CheckForUpdates", 1);
        // The browser is a command that writes down the address it was given.
        m_browserFile = UpdateLogFile("browser.txt");
        ::DeleteFileA(m_browserFile.c_str());
        SetHttpHandler("C:\\windows\\system32\\cmd.exe /c echo %1>\"" + m_browserFile + "\"");
    }
    static void SetHttpHandler(const std::string& command) {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            ::RegSetValueExA(key, nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(command.c_str()),
                             static_cast<DWORD>(command.size() + 1));
            ::RegCloseKey(key);
        }
    }

    void StartWithServer(const std::string& server) {
        m_store.SetString(reg::kAppKey, "TestUpdateServer", m_servers.at(server));
        ASSERT_NO_FATAL_FAILURE(Start());
    }

    std::map<std::string, std::string> m_servers;
    std::string m_browserFile;
};

TEST_F(UpdateTest, AnAnswerIsOfferedWithItsLineBreaksAndDownloadOpensTheInstaller) {
    ASSERT_NO_FATAL_FAILURE(StartWithServer("multi"));
    HWND offer = nullptr;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return (offer = FindOffer()) != nullptr; }));
    char text[512] = {};
    ::GetDlgItemTextA(offer, IDC_UPDATE_MESSAGE, text, sizeof text);
    EXPECT_STREQ(text, kMultiLineMessage);
    ASSERT_EQ(RequestsTo("multi").size(), 1u);
    PauseForScreenshot("update-offer");

    ::PostMessageA(offer, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return !FileText(m_browserFile).empty(); }));
    EXPECT_EQ(FileText(m_browserFile).substr(0, FileText(m_browserFile).find_first_of(" \r\n")),
              "http://" + m_servers.at("multi") + "/pausora.exe");
    EXPECT_TRUE(WaitFor(5000, [&] { return !::IsWindow(offer); }));
    EXPECT_FALSE(m_program.WaitForExit(0));
    ::PostMessageA(m_main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_program.WaitForExit(kTimeoutMs));
}

TEST_F(UpdateTest, CancelOnlyClosesTheOffer) {
    ASSERT_NO_FATAL_FAILURE(StartWithServer("trailing"));
    HWND offer = nullptr;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return (offer = FindOffer()) != nullptr; }));
    ::PostMessageA(offer, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor(5000, [&] { return !::IsWindow(offer); }));
    EXPECT_TRUE(HoldsFor(1000, [&] { return FileText(m_browserFile).empty(); }))
        << "the browser opened " << FileText(m_browserFile);
    EXPECT_FALSE(m_program.WaitForExit(0));
}

TEST_F(UpdateTest, AServerThatNeverFinishesHoldsUpNeitherTheBreaksNorTheExit) {
    // A short break every 3 seconds; the server drips its head for as long
    // as the check waits (8 seconds).
    ShortBreaks(3);
    ASSERT_NO_FATAL_FAILURE(StartWithServer("drip_head"));
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(WaitForPopup());
    const DWORD noticeMs = ::GetTickCount() - start;
    EXPECT_EQ(RequestsTo("drip_head").size(), 1u);
    EXPECT_LT(noticeMs, 5000u);

    // Exit while the check still waits.
    const DWORD closing = ::GetTickCount();
    ::PostMessageA(m_main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_program.WaitForExit(kTimeoutMs));
    const DWORD exitMs = ::GetTickCount() - closing;
    std::printf("notice after %lu ms; exit took %lu ms\n", noticeMs, exitMs);
    // The program's own exit takes about 2 seconds under Wine; the check's
    // thread adds nothing to it (were it waited for, 5 more).
    EXPECT_LT(exitMs, 3500u);
}

// Switched off, the check asks nothing in twice the time it takes to ask
// when on.
TEST_F(UpdateTest, NoRequestIsMadeWhenTheCheckIsOff) {
    ASSERT_NO_FATAL_FAILURE(StartWithServer("none"));
    const DWORD started = ::GetTickCount();
    ASSERT_TRUE(WaitFor(kTimeoutMs, [] { return RequestsTo("none").size() == 1; }));
    const DWORD askedAfter = ::GetTickCount() - started;
    ASSERT_TRUE(Exit());
    Set("CheckForUpdates", 0);
    ASSERT_NO_FATAL_FAILURE(StartWithServer("unused"));
    EXPECT_TRUE(HoldsFor(2 * askedAfter + 1000, [] { return RequestsTo("unused").empty(); }))
        << "asked with the check off (on, it asked after " << askedAfter << " ms)";
}

}  // namespace
}  // namespace pausora::test
