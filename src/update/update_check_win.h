// The update check over WinInet. The request is bounded: every network step
// has a time-out of a few seconds and the whole check a limit of its own,
// after which it is abandoned. The main window runs it in the background so
// that a slow or silent server never holds up the timers, the tray icon or
// the notices; the answer comes back as a posted message.
#pragma once

#include "ui/handles.h"
#include "update/update_answer.h"

#include <memory>
#include <optional>
#include <string>

namespace pausora {

struct UpdateLimits {
    DWORD connectMs = 3000;
    DWORD sendMs = 3000;
    DWORD receiveMs = 3000;
    // The whole check, from opening the Internet handle to the end of the read.
    DWORD totalMs = 8000;
};

// Asks `server` for the answer to `version` and waits at most
// `limits.totalMs`, or until `abort` (an event, may be null) is signalled.
// The request runs on a thread of its own that owns everything it uses; a
// check given up on is cancelled by closing its Internet handle.
UpdateReply FetchUpdateReply(const UpdateServer& server, std::string_view version,
                             const UpdateLimits& limits, HANDLE abort = nullptr);

// The check as the main window runs it.
class CUpdateCheck {
  public:
    // Gives up a check still running; the window hears nothing more of it.
    ~CUpdateCheck();

    // Starts the check; when the answer has something to show, `message` is
    // posted to `window`. One check per object.
    bool Start(HWND window, UINT message, UpdateServer server, std::string version,
               const UpdateLimits& limits = {});
    // On that message: the text to show, once.
    std::optional<std::string> TakeMessage();
    // The installer's address on the server asked.
    const std::string& InstallerAddress() const { return m_installer; }

  private:
    struct Shared;
    static DWORD WINAPI Run(void* parameter);
    std::shared_ptr<Shared> m_shared;
    ui::KernelHandle m_thread;
    std::string m_installer;
};

}  // namespace pausora
