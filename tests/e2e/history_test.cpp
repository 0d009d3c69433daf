// The break history of the whole program: history.csv in the profile's local
// application data, written at the minute step and at exit, safe from a
// kill, and the window the tray menu opens.
#include "e2e/fixture.h"
#include "settings_ids.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace pausora::test {
namespace {

constexpr char kCaption[] = "Pausora - History";

std::string ReadHistory(const std::filesystem::path& path = HistoryPath()) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteHistory(const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(HistoryPath()).parent_path());
    std::ofstream(std::filesystem::path(HistoryPath()), std::ios::binary) << text;
}

DayRecord TodaysLine() {
    const HistoryFile file = HistoryFile::Parse(ReadHistory());
    const DayRecord* today = file.Find(Today());
    return today != nullptr ? *today : DayRecord{};
}

class HistoryTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ::DeleteFileW(HistoryPath().c_str());
        ShortBreaks(3);
    }
    void TearDown() override {
        ProgramTest::TearDown();
        ::DeleteFileW(HistoryPath().c_str());
    }
    int HistoryWindows() const { return m_program.ShownWindowsTitled(kCaption); }
    HWND WaitForHistoryWindow() const {
        HWND window = nullptr;
        WaitFor(kTimeoutMs, [&] {
            window = ::FindWindowA(nullptr, kCaption);
            return window != nullptr && ::IsWindowVisible(window);
        });
        return window != nullptr && ::IsWindowVisible(window) ? window : nullptr;
    }
};

TEST_F(HistoryTest, AfterThreeShortBreaksTodaysLineSaysThreeDueThreeTaken) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // Each break taken earns two points; Exit right after the third, well
    // before the next one falls due.
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() == 106; })) << "Bonus " << Bonus();
    ASSERT_TRUE(Exit());
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
    WriteHistory(earlier);
    ASSERT_NO_FATAL_FAILURE(Start());
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
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    ::Sleep(300);
    // Settings..., Notifications, Exercises..., History...
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    const HWND window = WaitForHistoryWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(::GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0);  // resizable
    PauseForScreenshot("history");
    {
        const FullScreenWindow elsewhere;  // the user went on with other work
        PostCommand(ID_TRAY_HISTORY);      // and asks again: the open one comes forward
        EXPECT_TRUE(PumpUntil(5000, [&] { return ::GetForegroundWindow() == window; }));
    }
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
    PostCommand(ID_TRAY_HISTORY);  // and again after closing it
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return HistoryWindows() == 1; }));
}

TEST_F(HistoryTest, ExportSavesTheHistoryWhereTheUserChooses) {
    const std::string earlier = std::string(kHistoryHeader) + "\r\n" +
                                IsoDate(DateOfDayNumber(DayNumber(Today()) - 1)) +
                                ",280,38,30,3,5,5,0,110,8,490,1000\r\n";
    WriteHistory(earlier);
    ASSERT_NO_FATAL_FAILURE(Start());
    PostCommand(ID_TRAY_HISTORY);
    const HWND window = WaitForHistoryWindow();
    ASSERT_NE(window, nullptr);
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
    const std::string exported = ReadHistory(target);
    EXPECT_TRUE(exported.starts_with(earlier)) << exported;
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
