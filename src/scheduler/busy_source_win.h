// Whether the user is busy, as Windows can tell: a presentation, a
// full-screen Direct3D program, the shell's busy or quiet time, or a window
// of another program that covers its whole monitor.
#pragma once

#include "scheduler/busy_hold.h"

namespace pausora {

class SystemBusySource final : public IBusySource {
  public:
    Busy Query() override;
};

}  // namespace pausora
