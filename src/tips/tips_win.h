// What the tips and RandomRange need from Windows: the clock, the local
// calendar, the performance counter, a message box and file stamps.
#pragma once

#include "tips/line_file.h"
#include "tips/random_range.h"

namespace pausora {

class WinRandomEnvironment final : public IRandomEnvironment {
  public:
    std::int64_t NowSeconds() override;
    LocalDate LocalCalendar(std::int64_t nowSeconds) override;
    std::int64_t PerformanceCounter() override;
    void ShowMessage(std::string_view text) override;
};

// The size and last-write time of a file, as Windows keeps them.
class WinFileStamps final : public IFileStamps {
  public:
    std::optional<FileStamp> Stamp(std::string_view path) override;
};

}  // namespace pausora
