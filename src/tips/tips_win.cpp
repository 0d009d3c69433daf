#include "tips/tips_win.h"

#include "resource.h"
#include "tips/random_range.h"
#include "ui/utf.h"
#include "ui/window.h"

#include <windows.h>

#include <ctime>
#include <string>

namespace pausora {

std::int64_t WinRandomEnvironment::NowSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

IRandomEnvironment::LocalDate WinRandomEnvironment::LocalCalendar(std::int64_t nowSeconds) {
    const std::time_t t = static_cast<std::time_t>(nowSeconds);
    std::tm local{};
    if (localtime_s(&local, &t) != 0) {
        return {1970, 1, 1};
    }
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::int64_t WinRandomEnvironment::PerformanceCounter() {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

void WinRandomEnvironment::ShowMessage(std::string_view text) {
    std::string shown(text);
    if (text == RandomRange::kBadRangeMessage) {
        ui::LoadText(shown, IDS_BAD_RANGE);  // the same words in the user's language
    }
    ::MessageBox(nullptr, Widen(shown).c_str(), L"Pausora", MB_OK | MB_ICONEXCLAMATION);
}

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
