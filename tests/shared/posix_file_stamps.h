// File stamps on the build machine, for the native tests and benchmarks.
#pragma once

#include "tips/line_file.h"

#include <string>
#include <sys/stat.h>

namespace pausora {

class PosixFileStamps final : public IFileStamps {
  public:
    std::optional<FileStamp> Stamp(std::string_view path) override {
        struct stat info {};
        if (::stat(std::string(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            return std::nullopt;
        }
        return FileStamp{
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
    }
};

}  // namespace pausora
