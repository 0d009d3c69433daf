#include "store/locale_formats_win.h"

#include "ui/utf.h"

#include <windows.h>

#include <string>

namespace pausora {

namespace {

SYSTEMTIME Day(std::int32_t year, std::uint32_t month, std::uint32_t day) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    return time;
}

std::wstring LocaleText(LCTYPE type) {
    wchar_t text[16] = {};
    return ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 16) > 0 ? text : L"";
}

// "3;0" is groups of three, "3;2;0" three then twos (India): NUMBERFMT's
// Grouping writes these as 3 and 32.
UINT Grouping(std::wstring text) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, L";0") == 0) {
        text.resize(text.size() - 2);
    }
    UINT grouping = 0;
    for (const wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            grouping = grouping * 10 + static_cast<UINT>(c - L'0');
        }
    }
    return grouping;
}

}  // namespace

LocaleFormats UserLocaleFormats() {
    LocaleFormats formats;
    const LocaleFormats ours;
    formats.timeOfDay = [ours](std::uint32_t hour, std::uint32_t minute) {
        SYSTEMTIME time{};
        time.wHour = static_cast<WORD>(hour);
        time.wMinute = static_cast<WORD>(minute);
        wchar_t text[80] = {};
        return ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, text,
                                 80) > 0
                   ? Narrow(text)
                   : ours.timeOfDay(hour, minute);
    };
    const auto dateIn = [ours](DWORD flags) {
        return [ours, flags](std::int32_t year, std::uint32_t month, std::uint32_t day) {
            const SYSTEMTIME time = Day(year, month, day);
            wchar_t text[80] = {};
            return ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &time, nullptr, text, 80,
                                     nullptr) > 0
                       ? Narrow(text)
                       : ours.date(year, month, day);
        };
    };
    formats.date = dateIn(DATE_SHORTDATE);
    formats.longDate = dateIn(DATE_LONGDATE);
    // Whole numbers with the locale's digit grouping; no decimals.
    const std::wstring decimal = LocaleText(LOCALE_SDECIMAL);
    const std::wstring thousand = LocaleText(LOCALE_STHOUSAND);
    const UINT grouping = Grouping(LocaleText(LOCALE_SGROUPING));
    formats.number = [ours, decimal, thousand, grouping](std::uint64_t value) {
        NUMBERFMTW format{};
        format.Grouping = grouping;
        format.lpDecimalSep = const_cast<wchar_t*>(decimal.empty() ? L"." : decimal.c_str());
        format.lpThousandSep = const_cast<wchar_t*>(thousand.c_str());
        format.NegativeOrder = 1;
        wchar_t text[64] = {};
        return ::GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, std::to_wstring(value).c_str(),
                                   &format, text, 64) > 0
                   ? Narrow(text)
                   : ours.number(value);
    };
    return formats;
}

}  // namespace pausora
