#include "ui/ui_language.h"

#include "ui/utf.h"

#include <windows.h>

namespace pausora::ui {
namespace {

using GetLanguages = BOOL(WINAPI*)(DWORD, PULONG, PZZWSTR, PULONG);
using SetLanguages = BOOL(WINAPI*)(DWORD, PCZZWSTR, PULONG);

// Looked up rather than linked: Windows 7 has them, but a system without
// them must still start.
template <typename Function>
Function Kernel32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

std::vector<std::string> UserDisplayLanguages() {
    static const auto get = Kernel32<GetLanguages>("GetUserPreferredUILanguages");
    std::vector<std::string> languages;
    ULONG count = 0;
    ULONG length = 0;
    if (get == nullptr || !get(MUI_LANGUAGE_NAME, &count, nullptr, &length) || length == 0) {
        return languages;
    }
    std::wstring names(length, L'\0');
    if (!get(MUI_LANGUAGE_NAME, &count, names.data(), &length)) {
        return languages;
    }
    // A list of names, each ending in a zero, the list in a second one.
    for (std::size_t start = 0; start < names.size() && names[start] != L'\0';) {
        const std::size_t end = names.find(L'\0', start);
        languages.push_back(Narrow(std::wstring_view(names).substr(start, end - start)));
        start = end == std::wstring::npos ? names.size() : end + 1;
    }
    return languages;
}

bool UseLanguage(std::string_view language) {
    static const auto set = Kernel32<SetLanguages>("SetThreadPreferredUILanguages");
    if (set == nullptr) {
        return false;
    }
    std::wstring names = Widen(language);
    names += L'\0';
    names += L"en-US";
    names += L'\0';
    names += L'\0';
    ULONG count = 0;
    return set(MUI_LANGUAGE_NAME, names.c_str(), &count) != FALSE;
}

}  // namespace pausora::ui
