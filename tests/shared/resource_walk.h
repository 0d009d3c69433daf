// The resources linked into the running program, walked by type, name and
// language as Windows finds them, and dialogs created from their templates:
// what the tests of the translated resources read them with.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "shared/common_controls_fixture.h"

#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace pausora::test {

inline HMODULE Self() {
    return ::GetModuleHandleW(nullptr);
}

namespace resource_walk {

inline BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<WORD>*>(names)->push_back(
            static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
}

inline BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::set<LANGID>*>(languages)->insert(language);
    return TRUE;
}

inline INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

}  // namespace resource_walk

// The numbered resources of `type` (the program names none by string).
inline std::vector<WORD> Names(LPCWSTR type) {
    std::vector<WORD> names;
    ::EnumResourceNamesW(Self(), type, resource_walk::AddName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

inline std::set<LANGID> Languages(LPCWSTR type, WORD name) {
    std::set<LANGID> languages;
    ::EnumResourceLanguagesW(Self(), type, MAKEINTRESOURCEW(name), resource_walk::AddLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

// The resource in exactly `language` (no fallback), or null.
inline const void* Resource(LPCWSTR type, WORD name, LANGID language) {
    const HRSRC found = ::FindResourceExW(Self(), type, MAKEINTRESOURCEW(name), language);
    return found == nullptr ? nullptr : ::LockResource(::LoadResource(Self(), found));
}

// "de-DE" and the like, for failure messages.
inline std::string LanguageName(LANGID language) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (::LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) > 0) {
        return std::string(name, name + ::wcslen(name));
    }
    return "language " + std::to_string(language);
}

// Creates dialog `name` in `language` from its template, under a hidden
// parent and with a procedure that does nothing, hands each of its controls
// to `visit`, and destroys it again; false when it cannot be created.
inline bool VisitDialogControls(WORD name, LANGID language, WNDENUMPROC visit, LPARAM data) {
    const auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(Resource(RT_DIALOG, name, language));
    if (dialogTemplate == nullptr) {
        return false;
    }
    const HWND parent = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, Self(), nullptr);
    const HWND dialog =
        ::CreateDialogIndirectParamW(Self(), dialogTemplate, parent, resource_walk::QuietDialog, 0);
    if (dialog != nullptr) {
        ::EnumChildWindows(dialog, visit, data);
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(parent);
    return dialog != nullptr;
}

}  // namespace pausora::test
