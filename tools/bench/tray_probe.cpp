// The benchmark's hands and eyes inside Wine (run by scripts/bench.sh):
//
//   tray_probe start PROGRAM.exe [TIMEOUT_MS]
//       launches the program and waits for a new icon in the notification area;
//       prints "start_to_tray_ms=<ms> cpu_ms=<processor time so far>
//       pid=<process id>" and leaves it running.
//   tray_probe close PID
//       asks the process's windows to close (as taskkill does) and waits for it
//       to end; ends it by force after 10 s and says so.
//   tray_probe kill PID
//       ends the process at once (TerminateProcess) and waits for it.
//   tray_probe objects PID
//       prints the process's USER and GDI object counts, handle count and
//       private bytes as the system reports them ("n/a" where it does not), its
//       entries in the system's handle table and its windows.
//
// Notification icons are counted as the child windows of Wine's own tray window
// (Wine draws each icon in a window of its own there).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int CountTrayIcons() {
    const HWND tray = ::FindWindowA("__winex11_standalone_tray", nullptr);
    if (tray == nullptr || !::IsWindowVisible(tray)) {
        return 0;
    }
    int count = 0;
    ::EnumChildWindows(
        tray,
        [](HWND child, LPARAM param) -> BOOL {
            if (::IsWindowVisible(child)) {
                ++*reinterpret_cast<int*>(param);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

int Start(const char* program, DWORD timeoutMs) {
    const int before = CountTrayIcons();
    std::string command = std::string("\"") + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER launched;
    ::QueryPerformanceCounter(&launched);
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        std::printf("error=cannot start %s (%lu)\n", program, ::GetLastError());
        return 1;
    }
    ::CloseHandle(process.hThread);
    LARGE_INTEGER now = launched;
    while (CountTrayIcons() <= before) {
        ::QueryPerformanceCounter(&now);
        if (Milliseconds(launched, now) > timeoutMs ||
            ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            std::printf("error=no tray icon pid=%lu\n", process.dwProcessId);
            ::CloseHandle(process.hProcess);
            return 1;
        }
        ::Sleep(1);
    }
    ::QueryPerformanceCounter(&now);
    // The processor time it took as well: on a busy machine the wall time swings
    // with the neighbours, the program's own work much less.
    FILETIME created, exited, kernel, user;
    double cpuMs = -1;
    if (::GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user)) {
        auto ticks = [](FILETIME t) {
            return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                       t.dwLowDateTime);
        };
        cpuMs = (ticks(kernel) + ticks(user)) / 10000.0;
    }
    std::printf("start_to_tray_ms=%.1f cpu_ms=%.1f pid=%lu\n", Milliseconds(launched, now), cpuMs,
                process.dwProcessId);
    ::CloseHandle(process.hProcess);
    return 0;
}

// As a crash or a power cut would: no message, no clean-up of its own.
int Kill(DWORD pid) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    if (process == nullptr) {
        std::printf("error=no process %lu\n", pid);
        return 1;
    }
    ::TerminateProcess(process, 9);
    const bool ended = ::WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    if (!ended) {
        std::printf("error=process %lu did not end\n", pid);
    }
    return ended ? 0 : 1;
}

int Close(DWORD pid) {
    const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    if (process == nullptr) {
        std::printf("error=no process %lu\n", pid);
        return 1;
    }
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == static_cast<DWORD>(param)) {
                ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        static_cast<LPARAM>(pid));
    int status = 0;
    if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        std::printf("error=process %lu did not end on WM_CLOSE; ended by force\n", pid);
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, 5000);
        status = 1;
    }
    ::CloseHandle(process);
    return status;
}

// The system's handle table, read the way process explorers read it; Wine keeps
// one (in its server) even where GetProcessHandleCount says nothing.
struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct SystemHandleTable {
    ULONG count;
    SystemHandleEntry entries[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

long CountHandlesOf(DWORD pid) {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQuerySystemInformation")));
    if (query == nullptr) {
        return -1;
    }
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::string buffer(1 << 16, '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.assign(std::max<size_t>(buffer.size() * 2, needed + 4096), '\0');
            continue;
        }
        if (status < 0) {
            return -1;
        }
        const auto* table = reinterpret_cast<const SystemHandleTable*>(buffer.data());
        long count = 0;
        for (ULONG i = 0; i < table->count; ++i) {
            count += table->entries[i].ownerPid == pid ? 1 : 0;
        }
        return count;
    }
    return -1;
}

// Windows of the process, top-level and child: the USER objects Wine lets us see.
long CountWindowsOf(DWORD pid) {
    struct Count {
        DWORD pid;
        long windows;
    } count{pid, 0};
    auto visit = [](HWND hwnd, LPARAM param) -> BOOL {
        auto* c = reinterpret_cast<Count*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        c->windows += owner == c->pid ? 1 : 0;
        return TRUE;
    };
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Count*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == c->pid) {
                ++c->windows;
                ::EnumChildWindows(
                    hwnd,
                    [](HWND, LPARAM inner) -> BOOL {
                        ++reinterpret_cast<Count*>(inner)->windows;
                        return TRUE;
                    },
                    param);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    // Message-only windows are not top-level windows; look for them by name too.
    HWND child = nullptr;
    while ((child = ::FindWindowExA(HWND_MESSAGE, child, nullptr, nullptr)) != nullptr) {
        visit(child, reinterpret_cast<LPARAM>(&count));
    }
    return count.windows;
}

int Objects(DWORD pid) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) {
        std::printf("error=no process %lu\n", pid);
        return 1;
    }
    // GetGuiResources and GetProcessHandleCount say 0 or fail where Wine keeps no
    // count; a count of 0 for a process that owns windows is no count at all.
    const DWORD user = ::GetGuiResources(process, GR_USEROBJECTS);
    const DWORD gdi = ::GetGuiResources(process, GR_GDIOBJECTS);
    DWORD handles = 0;
    const BOOL haveHandles = ::GetProcessHandleCount(process, &handles);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    const BOOL haveMemory = ::GetProcessMemoryInfo(
        process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    auto show = [](bool known, unsigned long long value) {
        return known ? std::to_string(value) : std::string("n/a");
    };
    const long tableHandles = CountHandlesOf(pid);
    const long windows = CountWindowsOf(pid);
    std::printf(
        "user_objects=%s gdi_objects=%s handles=%s private_kb=%s table_handles=%s windows=%ld\n",
        show(user != 0, user).c_str(), show(gdi != 0, gdi).c_str(),
        show(haveHandles && handles != 0, handles).c_str(),
        show(haveMemory && memory.PrivateUsage != 0, memory.PrivateUsage / 1024).c_str(),
        show(tableHandles > 0, static_cast<unsigned long long>(tableHandles)).c_str(), windows);
    ::CloseHandle(process);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "start" && argc >= 3) {
        return Start(argv[2],
                     argc > 3 ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)) : 30000);
    }
    if (mode == "kill" && argc == 3) {
        return Kill(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    }
    if (mode == "close" && argc == 3) {
        return Close(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    }
    if (mode == "objects" && argc == 3) {
        return Objects(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    }
    std::fprintf(
        stderr,
        "usage: tray_probe start PROGRAM [TIMEOUT_MS] | close PID | kill PID | objects PID\n");
    return 2;
}
