#include "ui/ui_language.h"

#include "ui/utf.h"
#include "ui/window.h"

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

namespace {

// The language each thread of ours asked for; 0 while none was asked.
thread_local LANGID t_language = 0;

}  // namespace

bool UseLanguage(std::string_view language) {
    static const auto set = Kernel32<SetLanguages>("SetThreadPreferredUILanguages");
    std::wstring names = Widen(language);
    names += L'\0';
    names += L"en-US";
    names += L'\0';
    names += L'\0';
    ULONG count = 0;
    const bool preferred = set != nullptr && set(MUI_LANGUAGE_NAME, names.c_str(), &count);
    // The language as the program's resources are marked: with its country
    // ("pt-BR") where they have that, else the language alone ("ja").
    LANGID id = LANGIDFROMLCID(::LocaleNameToLCID(Widen(language).c_str(), 0));
    if (id != 0 && ::FindResourceExW(ModuleInstance(), RT_VERSION,
                                     MAKEINTRESOURCEW(VS_VERSION_INFO), id) == nullptr) {
        id = MAKELANGID(PRIMARYLANGID(id), SUBLANG_NEUTRAL);
    }
    t_language = id;
    return preferred || id != 0;
}

namespace {

HRSRC FindInLanguage(LPCWSTR type, LPCWSTR name) {
    if (t_language != 0) {
        if (const HRSRC found = ::FindResourceExW(ModuleInstance(), type, name, t_language)) {
            return found;
        }
    }
    return ::FindResourceW(ModuleInstance(), name, type);
}

}  // namespace

const void* LoadInLanguage(LPCWSTR type, LPCWSTR name) {
    const HRSRC found = FindInLanguage(type, name);
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(ModuleInstance(), found) : nullptr;
    return loaded != nullptr ? ::LockResource(loaded) : nullptr;
}

HMENU LoadMenuInLanguage(UINT id) {
    const void* menu = LoadInLanguage(RT_MENU, MAKEINTRESOURCEW(id));
    return menu != nullptr ? ::LoadMenuIndirectW(menu) : nullptr;
}

}  // namespace pausora::ui
