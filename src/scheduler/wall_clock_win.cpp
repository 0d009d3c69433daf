#include "scheduler/wall_clock_win.h"

#include <windows.h>

namespace pausora {
namespace {

UtcTime FromFileTime(const FILETIME& file) {
    return (UtcTime{file.dwHighDateTime} << 32) | file.dwLowDateTime;
}

}  // namespace

UtcTime SystemWallClock::UtcNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return FromFileTime(now);
}

std::optional<LocalTime> SystemWallClock::ToLocal(UtcTime utc) {
    if (utc > kLastUtcTime) {
        return std::nullopt;
    }
    const FILETIME file{static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)};
    SYSTEMTIME system{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&file, &system) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &system, &local)) {
        return std::nullopt;
    }
    return LocalTime{local.wYear, local.wMonth,  local.wDay,
                     local.wHour, local.wMinute, local.wSecond};
}

std::optional<UtcTime> SystemWallClock::FromLocal(const LocalTime& local) {
    SYSTEMTIME wanted{};
    wanted.wYear = static_cast<WORD>(local.year);
    wanted.wMonth = static_cast<WORD>(local.month);
    wanted.wDay = static_cast<WORD>(local.day);
    wanted.wHour = static_cast<WORD>(local.hour);
    wanted.wMinute = static_cast<WORD>(local.minute);
    wanted.wSecond = static_cast<WORD>(local.second);
    SYSTEMTIME system{};
    FILETIME file{};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &wanted, &system) ||
        !::SystemTimeToFileTime(&system, &file)) {
        return std::nullopt;
    }
    return FromFileTime(file);
}

}  // namespace pausora
