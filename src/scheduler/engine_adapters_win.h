// The break engine's view of Windows: window timers on the main window, the
// system tick count, the input-watch library and the local clock.
#pragma once

#include "scheduler/engine_ports.h"
#include "scheduler/tip_source.h"

#include <windows.h>

namespace pausora {

// Timers of one window; their WM_TIMER messages go to that window, whose
// handler passes the id on to the engine.
class WindowTimerHost final : public ITimerHost {
  public:
    explicit WindowTimerHost(HWND window) : m_window(window) {}
    bool Arm(std::uint32_t id, std::uint32_t periodMs) override;
    void Kill(std::uint32_t id) override;

  private:
    HWND m_window;
};

class SystemTickClock final : public ITickClock {
  public:
    std::uint32_t TickCount() override;
};

// InputWatch.dll, linked by name with the program.
class InputWatchIdleSource final : public IIdleSource {
  public:
    void Start() override;
    std::uint32_t LastTick() override;
    void Stop() override;
};

class SystemLocalClock final : public ILocalClock {
  public:
    LocalTime Now() override;
};

// The English tips file is 8-bit text in the system's code page (an older
// version's may hold more than ASCII); translations and the rest of the
// program speak UTF-8.
class CodePageTipSource final : public ITipSource {
  public:
    explicit CodePageTipSource(TipsFileSource& file) : m_file(file) {}
    std::string PickTip() override;

  private:
    TipsFileSource& m_file;
};

}  // namespace pausora
