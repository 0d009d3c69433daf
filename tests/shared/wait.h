// Waiting for something another process does, in tests under Wine.
#pragma once

#include <windows.h>

namespace pausora::test {

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

}  // namespace pausora::test
