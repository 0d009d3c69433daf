// The language of the program's own windows, chosen once per thread that
// makes windows. It becomes the thread's preferred UI language, for what the
// system loads itself; and the program asks for each of its own resources (a
// dialog, a menu, a string) in it. Windows would pick the same by itself, but
// not every system does (Wine 8 takes no thread's choice into account); a
// resource the language lacks comes as the system picks it, in English at
// worst.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace pausora::ui {

// The user's display languages as Windows lists them, most wanted first
// ("de-CH", "en-US"); empty where the system cannot say.
std::vector<std::string> UserDisplayLanguages();

// Makes `language` ("de-DE") the calling thread's first choice for resources,
// with the program's own English behind it; false where it is no language the
// system knows.
bool UseLanguage(std::string_view language);

// The bytes of the program's resource `name` of `type` in the thread's
// language, or where it has none, as the system picks it; null where there is
// none at all. They live as long as the program.
const void* LoadInLanguage(LPCWSTR type, LPCWSTR name);
// A menu of the program's in the thread's language; the caller destroys it.
HMENU LoadMenuInLanguage(UINT id);

}  // namespace pausora::ui
