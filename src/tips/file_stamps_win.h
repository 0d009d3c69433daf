// The size and last-write time of a file, as Windows keeps them.
#pragma once

#include "tips/line_file.h"

namespace pausora {

class WinFileStamps final : public IFileStamps {
  public:
    std::optional<FileStamp> Stamp(std::string_view path) override;
};

}  // namespace pausora
