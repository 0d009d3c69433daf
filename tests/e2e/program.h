// Starts the built Pausora.exe (which lies beside the test program) and finds
// its windows, for tests of the whole program under Wine.
#pragma once

#include "shared/wait.h"
#include "ui/utf.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace pausora::test {

// Every top-level window of process `pid`, shown or not.
inline std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid) {
                s->found.push_back(hwnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Program {
  public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() { Kill(); }

    // The folder of the test program, which is Pausora's too, with its
    // closing separator: what the installer writes as "InstallDir".
    static std::string Folder() {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string dir(path);
        dir.resize(dir.find_last_of("\\/") + 1);
        return dir;
    }
    static std::string ExePath() { return Folder() + "Pausora.exe"; }

    // The program beside the tests, or a copy of it elsewhere (a UTF-8 path).
    bool Start(const std::string& exePath = ExePath()) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + Widen(exePath) + L"\"";
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &m_process)) {
            return false;
        }
        ::CloseHandle(m_process.hThread);
        m_process.hThread = nullptr;
        return true;
    }

    // Waits up to `ms` for the process to end; true if it did.
    bool WaitForExit(DWORD ms) {
        return m_process.hProcess != nullptr &&
               ::WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0;
    }

    DWORD Id() const { return m_process.dwProcessId; }

    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

    // The program's hidden main window (a dialog), once it exists.
    HWND WaitForMainWindow(DWORD ms) {
        HWND found = nullptr;
        WaitFor(ms, [&] { return (found = FindDialog()) != nullptr || WaitForExit(0); });
        return found;
    }

    void Kill() {
        if (m_process.hProcess != nullptr) {
            if (!WaitForExit(0)) {
                ::TerminateProcess(m_process.hProcess, 1);
                WaitForExit(5000);
            }
            ::CloseHandle(m_process.hProcess);
            m_process.hProcess = nullptr;
        }
    }

    // A visible window of the program with the given size, if one is shown.
    HWND FindVisibleWindowSized(int width, int height) const {
        struct Search {
            DWORD pid;
            int width;
            int height;
            HWND found;
        } search{m_process.dwProcessId, width, height, nullptr};
        ::EnumWindows(
            [](HWND hwnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hwnd, &pid);
                RECT r{};
                ::GetWindowRect(hwnd, &r);
                if (pid == s->pid && ::IsWindowVisible(hwnd) && r.right - r.left == s->width &&
                    r.bottom - r.top == s->height) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // The standard dialogs the program shows (its message boxes, for one);
    // the hidden main window is a dialog too, but never visible.
    std::vector<HWND> VisibleDialogs() const {
        std::vector<HWND> dialogs;
        for (const HWND window : TopLevelWindows()) {
            char name[64] = {};
            ::GetClassNameA(window, name, sizeof name);
            if (::IsWindowVisible(window) && std::string(name) == "#32770") {
                dialogs.push_back(window);
            }
        }
        return dialogs;
    }
    bool ShowsADialog() const { return !VisibleDialogs().empty(); }
    // How many of its shown top-level windows bear `title`.
    int ShownWindowsTitled(const std::string& title) const {
        int shown = 0;
        for (const HWND window : TopLevelWindows()) {
            char text[64] = {};
            ::GetWindowTextA(window, text, sizeof text);
            shown += ::IsWindowVisible(window) && title == text ? 1 : 0;
        }
        return shown;
    }

    // Every top-level window of the program, shown or not: what the system
    // closes when it ends the program or the session.
    std::vector<HWND> TopLevelWindows() const { return TopLevelWindowsOf(m_process.dwProcessId); }

    // Delivers a system notice as Windows does: to every top-level window of
    // the program (never to the hidden main window, which is a child), each
    // getting it sent and posted, in the order asked for.
    enum class Delivery { kSendThenPost, kPostThenSend };
    void Broadcast(UINT message, WPARAM wParam, LPARAM lParam, Delivery delivery) const {
        for (const HWND window : TopLevelWindows()) {
            if (delivery == Delivery::kPostThenSend) {
                ::PostMessageW(window, message, wParam, lParam);
            }
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                                  &ignored);
            if (delivery == Delivery::kSendThenPost) {
                ::PostMessageW(window, message, wParam, lParam);
            }
        }
    }

  private:
    // The main window hides by becoming the child of an invisible window of
    // its own, so it is searched for among children too.
    HWND FindDialog() const {
        struct Search {
            DWORD pid;
            HWND found;
        } search{m_process.dwProcessId, nullptr};
        ::EnumWindows(
            [](HWND hwnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hwnd, &pid);
                if (pid != s->pid) {
                    return TRUE;
                }
                char name[64] = {};
                ::GetClassNameA(hwnd, name, sizeof name);
                if (std::string(name) == "#32770") {
                    s->found = hwnd;
                    return FALSE;
                }
                ::EnumChildWindows(
                    hwnd,
                    [](HWND child, LPARAM inner) -> BOOL {
                        char childName[64] = {};
                        ::GetClassNameA(child, childName, sizeof childName);
                        if (std::string(childName) == "#32770") {
                            reinterpret_cast<Search*>(inner)->found = child;
                            return FALSE;
                        }
                        return TRUE;
                    },
                    param);
                return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION m_process{};
};

}  // namespace pausora::test

namespace pausora::test {

// A top-level window of any process, by its exact title.
inline HWND WaitForWindowTitled(const char* title, DWORD ms) {
    HWND found = nullptr;
    WaitFor(ms, [&] { return (found = ::FindWindowA(nullptr, title)) != nullptr; });
    return found;
}

// The screenshot script asks tests to hold still at the moments worth seeing.
inline void PauseForScreenshot(const char* moment) {
    char value[16] = {};
    if (::GetEnvironmentVariableA("PAUSORA_SCREENSHOT_PAUSE_MS", value, sizeof value) == 0) {
        return;
    }
    std::printf("SCREENSHOT %s\n", moment);
    std::fflush(stdout);
    ::Sleep(static_cast<DWORD>(std::strtoul(value, nullptr, 10)));
}

// Whether the program's main window has started: it makes the tray icon's
// window and the popup as it does.
inline bool MainWindowStarted(const Program& program) {
    for (const HWND window : program.TopLevelWindows()) {
        char name[64] = {};
        ::GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "PausoraTrayIcon" || std::string(name) == "PausoraNotifierPopup") {
            return true;
        }
    }
    return false;
}

}  // namespace pausora::test
