// The language of the program's own windows: Windows picks each resource (a
// dialog, a menu, a string) in the thread's preferred UI language, so the
// language is chosen once per thread that makes windows, and the system does
// the rest.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pausora::ui {

// The user's display languages as Windows lists them, most wanted first
// ("de-CH", "en-US"); empty where the system cannot say.
std::vector<std::string> UserDisplayLanguages();

// Makes `language` ("de-DE") the calling thread's first choice for resources,
// with the program's own English behind it; false where the system has no such
// choice (it then speaks the user's language of its own accord).
bool UseLanguage(std::string_view language);

}  // namespace pausora::ui
