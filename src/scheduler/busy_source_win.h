// Whether the user is busy, as Windows can tell: a presentation, a
// full-screen Direct3D program, the shell's busy or quiet time, a call (a
// microphone or a camera in use by another program), a program the user
// named in front, or a window of another program that covers its whole
// monitor.
#pragma once

#include "scheduler/busy_hold.h"
#include "scheduler/call_activity_win.h"
#include "store/time_settings.h"

#include <string>
#include <vector>

namespace pausora {

class SystemBusySource final : public IBusySource {
  public:
    // Reads the live record's list of quiet programs at every query.
    explicit SystemBusySource(const STimeSettings& settings) : m_settings(settings) {}
    Busy Query() override;

  private:
    bool QuietProgramInFront();

    const STimeSettings& m_settings;
    MicrophoneWatch m_microphones;
    CameraWatch m_cameras;
    // The program in front, looked up again only when another window comes
    // to the front.
    HWND m_front = nullptr;
    DWORD m_frontProcess = 0;
    std::string m_frontPath;  // folded to lower case
    // The user's list as last seen, and folded to lower case.
    std::vector<std::string> m_names;
    std::vector<std::string> m_foldedNames;
};

}  // namespace pausora
