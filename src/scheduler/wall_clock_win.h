// The wall clock of Windows: the system time in UTC and the computer's time
// zone, daylight saving included.
#pragma once

#include "scheduler/pause_clock.h"

namespace pausora {

class SystemWallClock final : public IWallClock {
  public:
    UtcTime UtcNow() override;
    std::optional<LocalTime> ToLocal(UtcTime utc) override;
    std::optional<UtcTime> FromLocal(const LocalTime& local) override;
};

}  // namespace pausora
