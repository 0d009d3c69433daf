// RandomRange's view of Windows: the clock, the local calendar, the
// performance counter and a message box.
#pragma once

#include "tips/random_range.h"

namespace pausora {

class WinRandomEnvironment final : public IRandomEnvironment {
  public:
    std::int64_t NowSeconds() override;
    LocalDate LocalCalendar(std::int64_t nowSeconds) override;
    std::int64_t PerformanceCounter() override;
    void ShowMessage(std::string_view text) override;
};

}  // namespace pausora
