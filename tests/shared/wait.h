// Waiting for something another process or window does, in tests under Wine.
#pragma once

#include <windows.h>

namespace pausora::test {

// How long what a test waits for may take to come: a limit for a failing
// test, never a wait for a passing one.
inline constexpr DWORD kTimeoutMs = 30000;

// Polls `done` every 50 ms until it holds or `ms` have passed; true if it held.
template <typename Done>
bool WaitFor(DWORD ms, Done done) {
    const DWORD until = ::GetTickCount() + ms;
    while (!done()) {
        if (static_cast<int>(until - ::GetTickCount()) <= 0) {
            return false;
        }
        ::Sleep(50);
    }
    return true;
}

// Whether `holds` stays true for the whole of `ms`: how a test sees that
// nothing happens. It fails as soon as it does.
template <typename Holds>
bool HoldsFor(DWORD ms, Holds holds) {
    return !WaitFor(ms, [&] { return !holds(); });
}

// Dispatches this thread's waiting messages.
inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// WaitFor for a thread with windows of its own, which keep answering
// meanwhile.
template <typename Done>
bool PumpUntil(DWORD ms, Done done) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    while (::GetTickCount64() < end) {
        Pump();
        if (done()) {
            return true;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    Pump();
    return done();
}

inline void PumpFor(DWORD ms) {
    PumpUntil(ms, [] { return false; });
}

}  // namespace pausora::test
