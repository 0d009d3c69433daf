#include "tips/file_stamps_win.h"
#include "ui/utf.h"

#include <windows.h>

#include <string>

namespace pausora {

std::optional<FileStamp> WinFileStamps::Stamp(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesEx(Widen(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    FileStamp stamp;
    stamp.size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    stamp.lastWrite = static_cast<std::int64_t>(
        static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
        data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

}  // namespace pausora
