#include "scheduler/engine_adapters_win.h"

#include "inputwatch/inputwatch.h"
#include "ui/code_page.h"
#include "ui/utf.h"

namespace pausora {

bool WindowTimerHost::Arm(std::uint32_t id, std::uint32_t periodMs) {
    // Same id, same window: Windows replaces the running timer, which restarts
    // its period. (It would turn a period of 0 into 10 ms; the engine never
    // asks for one.)
    return ::SetTimer(m_window, id, periodMs, nullptr) != 0;
}

void WindowTimerHost::Kill(std::uint32_t id) {
    ::KillTimer(m_window, id);
}

std::uint32_t SystemTickClock::TickCount() {
    return ::GetTickCount();
}

void InputWatchIdleSource::Start() {
    ::InputWatchStart();
}

std::uint32_t InputWatchIdleSource::LastTick() {
    return ::InputWatchLastTick();
}

void InputWatchIdleSource::Stop() {
    ::InputWatchStop();
}

std::string CodePageTipSource::PickTip() {
    std::string tip = m_file.PickTip();
    return m_file.LastTranslated() ? tip : Narrow(WidenFromCodePage(tip));
}

LocalTime SystemLocalClock::Now() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace pausora
