// The main window as the user reaches it: through the notification icon, its
// menu and the popup, with real clicks on Wine's desktop; and a shell that
// comes up after the program.
#include "e2e/fixture.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace pausora::test {
namespace {

class TrayMenuTest : public ProgramTest {
  protected:
    // A double click on the icon sends the menu's default command.
    void ExpectDoubleClickToStopAndStart() {
        ClickAt(FirstTrayIcon(), false, 2);
        // Nothing shows that the clicks have arrived, and a break that was
        // ending may still pay its points meanwhile.
        ::Sleep(500);
        const std::uint32_t stopped = Bonus();
        EXPECT_TRUE(HoldsFor(7000, [&] { return Bonus() == stopped; }))
            << "the schedule kept running: Bonus " << stopped << " -> " << Bonus();
        ClickAt(FirstTrayIcon(), false, 2);
        EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() > stopped; }))
            << "the schedule did not start again";
    }
};

// Stands in for a shell that is not up yet: a taskbar window that refuses
// every icon, on a thread of its own so that it answers while the test waits.
class RefusingTaskbar {
  public:
    RefusingTaskbar() {
        m_thread = std::thread([this] { Run(); });
        WaitFor(kTimeoutMs, [this] { return m_window != nullptr || m_failed; });
    }
    ~RefusingTaskbar() { Close(); }
    bool Up() const { return m_window != nullptr; }
    void Close() {
        if (m_thread.joinable()) {
            ::PostMessageA(m_window, WM_CLOSE, 0, 0);
            m_thread.join();
        }
    }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COPYDATA) {
            return FALSE;  // the icon is not taken
        }
        if (message == WM_DESTROY) {
            ::PostQuitMessage(0);
            return 0;
        }
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    void Run() {
        WNDCLASSA cls{};
        cls.lpfnWndProc = &Proc;
        cls.hInstance = ::GetModuleHandleA(nullptr);
        cls.lpszClassName = "Shell_TrayWnd";
        ::RegisterClassA(&cls);
        // In front of the real one, which is looked up by its class.
        const HWND window = ::CreateWindowExA(WS_EX_TOPMOST, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 0,
                                              0, nullptr, nullptr, cls.hInstance, nullptr);
        if (window == nullptr) {
            m_failed = true;
            return;
        }
        m_window = window;
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            ::DispatchMessageA(&msg);
        }
    }

    std::thread m_thread;
    volatile HWND m_window = nullptr;
    volatile bool m_failed = false;
};

TEST_F(TrayMenuTest, AnIconTakenOnlyAfterStartFinishesTheStart) {
    RefusingTaskbar lateShell;
    ASSERT_TRUE(lateShell.Up());
    ShortBreaks(3);
    ASSERT_NO_FATAL_FAILURE(Start());
    // No icon: the small window is the only way to the program.
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return ::IsWindowVisible(m_main) != FALSE; }));
    EXPECT_FALSE(WineTrayShown());

    // The shell comes up and says so.
    lateShell.Close();
    const HWND trayWindow = ::FindWindowA("PausoraTrayIcon", nullptr);
    ASSERT_NE(trayWindow, nullptr);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(trayWindow, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                          SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
    ASSERT_TRUE(WaitForTrayIcon(kTimeoutMs));
    EXPECT_TRUE(WaitFor(5000, [&] { return ::IsWindowVisible(m_main) == FALSE; }))
        << "the small window stayed on screen";
    ExpectDoubleClickToStopAndStart();
}

TEST_F(TrayMenuTest, TheDefaultItemOfTheMenuIsStartStop) {
    ShortBreaks(3);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    ExpectDoubleClickToStopAndStart();
}

TEST_F(TrayMenuTest, ASwitchFromTheMenuRestartsTheSchedule) {
    // The first break comes after 6 s; a switch flipped during it ends it
    // without points and starts the interval again, so the next points come
    // a whole interval later, not when the running break would have ended.
    ShortBreaks(6);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    ASSERT_TRUE(WaitForPopup());
    ASSERT_EQ(Bonus(), 100u);

    ASSERT_TRUE(OpenTrayMenu()) << "no tray menu";
    // Notifications > Daily time limit: the second item, then the fourth of
    // its submenu.
    Keys({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(WaitFor(5000, [&] { return Dword("UseDailyTimeLimit") == 0u; }))
        << "the menu command did not arrive";
    EXPECT_EQ(Bonus(), 100u);

    // The break would have ended about 3 s after the last input; after the
    // restart the next one starts 6 s on and ends 2 s later.
    EXPECT_TRUE(HoldsFor(5500, [&] { return Bonus() == 100u; }))
        << "the running break went on to its end";
    EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() == 102u; })) << "Bonus " << Bonus();
}

TEST_F(TrayMenuTest, TheIconsFirstTipShowsTheStateAndTheExperience) {
    ShortBreaks(600);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    EXPECT_EQ(ShownTrayTip(kTimeoutMs),
              "Pausora (Normal)\nNext break in 10 min\nYour experience: 2");
}

TEST_F(TrayMenuTest, OnlyTheNotificationSwitchesSaveAndRestart) {
    ShortBreaks(600);
    ASSERT_NO_FATAL_FAILURE(StartWithIcon());
    // A value changed behind the program's back shows whether it saved its
    // own record since.
    Set("Micropause", 7);
    // The id after the last switch's, a separator's in the submenu.
    Command(ID_TRAY_DAILY_LIMIT + 1);
    EXPECT_EQ(Dword("Micropause"), 7u);
    Command(ID_TRAY_PLAY_SOUNDS);
    EXPECT_EQ(Dword("Micropause"), 600u);
}

TEST_F(TrayMenuTest, ARightClickOnThePopupHidesIt) {
    Set("AppearanceType", 0);  // sliding: no fade to wait for
    ShortBreaks(3);
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND popup = SettledPopup();
    ASSERT_NE(popup, nullptr);
    RECT shown{};
    ::GetWindowRect(popup, &shown);
    // Between the link and the saying, left of the picture: no item there.
    ClickAt({shown.left + 120, shown.top + 75}, true);
    // The notice stays five seconds by itself.
    EXPECT_TRUE(WaitFor(1500, [&] { return !::IsWindowVisible(popup); }))
        << "the popup stayed after a right click";
}

// The break asks for its sound file. The file is a named pipe of the test's,
// so the request shows as the pipe's connection, with or without a sound
// device; the refused read that follows is the sound code's own business.
TEST_F(TrayMenuTest, AShortBreakOpensItsSoundFile) {
    const std::string pipeName =
        "\\\\.\\pipe\\pausora-sound-" + std::to_string(::GetCurrentProcessId());
    const HANDLE pipe =
        ::CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED,
                           PIPE_TYPE_BYTE, PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    OVERLAPPED connection{};
    connection.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const bool connectedAlready =
        !::ConnectNamedPipe(pipe, &connection) && ::GetLastError() == ERROR_PIPE_CONNECTED;
    Set("UseSounds", 1);
    for (const char* event :
         {"MicropauseSound", "RepeatMicropauseSound", "EndMicropauseSound", "PauseSound",
          "RepeatPauseSound", "EndPauseSound", "WorkTimeSound", "TimeLimitSound"}) {
        Set(event, pipeName);
    }

    ShortBreaks(3);
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_FALSE(connectedAlready);
    EXPECT_EQ(::WaitForSingleObject(connection.hEvent, kTimeoutMs), WAIT_OBJECT_0)
        << "the break asked for no sound";
    EXPECT_NE(Popup(), nullptr);
    m_program.Kill();
    ::CloseHandle(connection.hEvent);
    ::CloseHandle(pipe);
}

// Opening a web page goes through the shell's handler for https; the test
// puts one there that writes down the address it was given.
TEST_F(TrayMenuTest, TheHelpCommandsOpenTheHelpPage) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string record = std::string(temp) + "pausora-opened.txt";
    ::DeleteFileA(record.c_str());
    const std::string command = "C:\\windows\\system32\\cmd.exe /c echo %1>" + record;
    HKEY key = nullptr;
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "https\\shell\\open\\ddeexec");
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
    ::RegCloseKey(key);
    auto opened = [&] {
        std::ifstream in(record);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };

    ShortBreaks(3600);
    ASSERT_NO_FATAL_FAILURE(Start());
    // ID_HELP is what F1 sends.
    for (const int id : {ID_HELP, ID_TRAY_HELP}) {
        PostCommand(id);
        EXPECT_TRUE(WaitFor(kTimeoutMs,
                            [&] {
                                return opened().find("https://www.pausora.com/help.html") !=
                                       std::string::npos;
                            }))
            << "command " << id << " opened \"" << opened() << "\"";
        ::DeleteFileA(record.c_str());
    }
}

}  // namespace
}  // namespace pausora::test
