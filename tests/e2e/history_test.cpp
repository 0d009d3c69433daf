// The break history of the whole program: history.csv in the profile's local
// application data, written at the minute step and at exit, safe from a
// kill, and the window the tray menu opens.
#include "history/history_file.h"
#include "store/time_settings.h"
#include "e2e/desktop.h"
#include "e2e/program.h"
#include "menu_ids.h"
#include "settings_ids.h"
#include "shared/win_backdoor.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace pausora::test {
namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr char kCaption[] = "Pausora - History";

std::wstring HistoryPath() {
    wchar_t local[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    return std::wstring(local) + L"\\Pausora\\history.csv";
}

std::string ReadHistory() {
    std::ifstream in(std::filesystem::path(HistoryPath()), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Date Today() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return Date{now.wYear, now.wMonth, now.wDay};
}

DayRecord TodaysLine() {
    const HistoryFile file = HistoryFile::Parse(ReadHistory());
    const DayRecord* today = file.Find(Today());
    return today != nullptr ? *today : DayRecord{};
}

void MoveMouse() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    ::SendInput(1, &input, sizeof input);
}

class HistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_store.Reset();
        ::DeleteFileW(HistoryPath().c_str());
        m_store.SetString(reg::kAppKey, reg::kFirstUse, "1");
        m_store.SetString(reg::kAppKey, reg::kInstallDir, Program::Folder());
        // A short break every 3 seconds, 2 seconds long.
        m_store.SetDword(reg::kSettingsKey, "Micropause", 3);
        m_store.SetDword(reg::kSettingsKey, "Micropause_length", 2);
        m_store.SetDword(reg::kSettingsKey, "UseSounds", 0);
        m_store.SetDword(reg::kSettingsKey, "CheckForUpdates", 0);
        m_store.SetDword(reg::kSettingsKey, "Bonus", 100);
    }
    void Start() {
        ASSERT_TRUE(m_program.Start());
        m_main = m_program.WaitForMainWindow(kTimeoutMs);
        ASSERT_NE(m_main, nullptr);
    }
    void TearDown() override {
        m_program.Kill();
        m_store.Reset();
        ::DeleteFileW(HistoryPath().c_str());
    }
    std::uint32_t Bonus() { return m_store.Dword(reg::kSettingsKey, "Bonus").value_or(0); }
    int HistoryWindows() const { return m_program.ShownWindowsTitled(kCaption); }

    WinBackdoor m_store;
    Program m_program;
    HWND m_main = nullptr;
};

TEST_F(HistoryTest, AfterThreeShortBreaksTodaysLineSaysThreeDueThreeTaken) {
    Start();
    // Each break taken earns two points; Exit right after the third, well
    // before the next one falls due.
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() == 106; })) << "Bonus " << Bonus();
    ::PostMessageA(m_main, WM_COMMAND, 32774, 0);  // Exit
    ASSERT_TRUE(m_program.WaitForExit(kTimeoutMs));
    const std::string text = ReadHistory();
    ASSERT_TRUE(text.starts_with(kHistoryHeader)) << text;
    const DayRecord today = TodaysLine();
    EXPECT_EQ(today.shortBreaks.due, 3u) << text;
    EXPECT_EQ(today.shortBreaks.taken, 3u) << text;
    EXPECT_EQ(today.shortBreaks.workedThrough, 0u) << text;
    EXPECT_EQ(today.pointsEarned, 6u) << text;
}

TEST_F(HistoryTest, AKillKeepsEarlierDaysAndTodayAtMostAMinuteBehind) {
    const std::int64_t today = DayNumber(Today());
    const std::string earlier =
        std::string(kHistoryHeader) + "\r\n" + IsoDate(DateOfDayNumber(today - 9)) +
        ",300,40,36,2,6,5,1,122,7,485,1032\r\n"
        "a line of someone else's,\xC3\xA4\r\n" +
        IsoDate(DateOfDayNumber(today - 1)) + ",280,38,30,3,5,5,0,110,8,490,1000\r\n";
    ::CreateDirectoryW((HistoryPath().substr(0, HistoryPath().rfind(L'\\'))).c_str(), nullptr);
    {
        std::ofstream out(std::filesystem::path(HistoryPath()), std::ios::binary);
        out << earlier;
    }
    Start();
    // At the keyboard until the first minute step has written today's line
    // with a counted minute.
    const bool written = WaitFor(150000, [&] {
        MoveMouse();
        return TodaysLine().minutes >= 1;
    });
    ASSERT_TRUE(written) << ReadHistory();
    ::Sleep(1500);  // somewhere in the next minute
    m_program.Kill();
    const std::string text = ReadHistory();
    EXPECT_TRUE(text.starts_with(earlier)) << text;
    const std::uint32_t counted = m_store.Dword(reg::kAppKey, reg::kFullWorkTime).value_or(0);
    EXPECT_GE(TodaysLine().minutes + 1, counted) << text;
    EXPECT_GT(TodaysLine().shortBreaks.due, 0u) << text;
}

TEST_F(HistoryTest, TheTrayMenuOpensOneHistoryWindow) {
    Start();
    ASSERT_TRUE(WaitForTrayIcon(kTimeoutMs));
    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    ::Sleep(300);
    // Settings..., Notifications, Exercises..., History...
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] {
        window = ::FindWindowA(nullptr, kCaption);
        return window != nullptr && ::IsWindowVisible(window);
    }));
    EXPECT_NE(::GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0);  // resizable
    PauseForScreenshot("history");
    ::PostMessageA(m_main, WM_COMMAND, 32817, 0);  // History... again
    EXPECT_FALSE(WaitFor(2000, [&] { return HistoryWindows() > 1; }));
    EXPECT_EQ(HistoryWindows(), 1);
    // Bigger and smaller: it still paints and stays one window.
    ::SetWindowPos(window, nullptr, 0, 0, 900, 500, SWP_NOMOVE | SWP_NOZORDER);
    ::UpdateWindow(window);
    // Tab goes from button to button, Escape closes it.
    const auto focused = [&] {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &gui);
        return gui.hwndFocus;
    };
    const HWND exportButton = ::FindWindowExA(window, nullptr, "Button", "Export...");
    const HWND closeButton = ::FindWindowExA(window, nullptr, "Button", "Close");
    Keys({VK_TAB});
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return focused() == exportButton; }));
    Keys({VK_TAB});
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return focused() == closeButton; }));
    Keys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return !::IsWindow(window); }));
    EXPECT_FALSE(m_program.WaitForExit(0));
    ::PostMessageA(m_main, WM_COMMAND, 32817, 0);  // and again after closing it
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return HistoryWindows() == 1; }));
}

TEST_F(HistoryTest, ExportSavesTheHistoryWhereTheUserChooses) {
    const std::string earlier = std::string(kHistoryHeader) + "\r\n" +
                                IsoDate(DateOfDayNumber(DayNumber(Today()) - 1)) +
                                ",280,38,30,3,5,5,0,110,8,490,1000\r\n";
    ::CreateDirectoryW((HistoryPath().substr(0, HistoryPath().rfind(L'\\'))).c_str(), nullptr);
    {
        std::ofstream out(std::filesystem::path(HistoryPath()), std::ios::binary);
        out << earlier;
    }
    Start();
    ::PostMessageA(m_main, WM_COMMAND, 32817, 0);  // History...
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] {
        window = ::FindWindowA(nullptr, kCaption);
        return window != nullptr && ::IsWindowVisible(window);
    }));
    const HWND exportButton = ::FindWindowExA(window, nullptr, "Button", "Export...");
    ASSERT_NE(exportButton, nullptr);
    ASSERT_TRUE(::IsWindowEnabled(exportButton));
    ::PostMessageA(exportButton, BM_CLICK, 0, 0);
    HWND save = nullptr;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] {
        save = ::FindWindowA("#32770", "Export the history");
        return save != nullptr && ::IsWindowVisible(save);
    }));
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring target = std::wstring(temp) + L"exported history.csv";
    ::DeleteFileW(target.c_str());
    ::SetDlgItemTextW(save, 1148, target.c_str());  // the file name box
    ::PostMessageA(save, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] {
        return ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    }));
    std::ifstream in(std::filesystem::path(target), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(text.str().starts_with(earlier)) << text.str();
    ::DeleteFileW(target.c_str());
}

// Clearing "Keep a history" in the settings and answering Yes: once OK has
// applied it, the file is gone and the program keeps nothing more.
TEST_F(HistoryTest, ClearingKeepAHistoryAndAnsweringYesDeletesTheFileAtOk) {
    constexpr int kStartupPage = 6;
    ::CreateDirectoryW((HistoryPath().substr(0, HistoryPath().rfind(L'\\'))).c_str(), nullptr);
    std::ofstream(std::filesystem::path(HistoryPath()), std::ios::binary)
        << kHistoryHeader << "\r\n";
    Start();
    ::PostMessageA(m_main, WM_COMMAND, ID_TRAY_SETTINGS, 0);
    const HWND sheet = WaitForWindowTitled("Pausora - Settings", kTimeoutMs);
    ASSERT_NE(sheet, nullptr);
    ::SendMessageA(sheet, PSM_SETCURSEL, kStartupPage, 0);
    const HWND box = ::GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), IDC_KEEP_HISTORY);
    ASSERT_NE(box, nullptr);
    ::PostMessageA(box, BM_CLICK, 0, 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] {
        question = ::FindWindowA("#32770", "Pausora");
        return question != nullptr && ::IsWindowVisible(question);
    })) << "no question";
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return !::IsWindow(question); }));
    EXPECT_NE(::GetFileAttributesW(HistoryPath().c_str()), INVALID_FILE_ATTRIBUTES)
        << "deleted before OK";

    ::PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return !::IsWindow(sheet); }));
    EXPECT_EQ(m_store.Dword(reg::kSettingsKey, "KeepHistory"), 0u);
    EXPECT_EQ(::GetFileAttributesW(HistoryPath().c_str()), INVALID_FILE_ATTRIBUTES);
    // Exit writes whatever is owed; nothing is.
    ::PostMessageA(m_main, WM_COMMAND, ID_TRAY_EXIT, 0);
    ASSERT_TRUE(m_program.WaitForExit(kTimeoutMs));
    EXPECT_EQ(::GetFileAttributesW(HistoryPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace pausora::test
