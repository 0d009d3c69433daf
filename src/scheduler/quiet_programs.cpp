#include "scheduler/quiet_programs.h"

#include <algorithm>

namespace pausora {
namespace {

constexpr std::string_view kBlanks = " \t\"";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Fold(x) == Fold(y); });
}

// "C:\Program Files\Zoom\Zoom.exe" and "zoom" both come to "Zoom"/"zoom".
std::string_view Stem(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string_view::npos) {
        path.remove_prefix(slash + 1);
    }
    constexpr std::string_view kExe = ".exe";
    if (path.size() > kExe.size() && SameNoCase(path.substr(path.size() - kExe.size()), kExe)) {
        path.remove_suffix(kExe.size());
    }
    return path;
}

}  // namespace

std::vector<std::string> ParseProgramList(std::string_view text) {
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(";\r\n");
        const std::string_view name = Trim(text.substr(0, end));
        const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
            return SameNoCase(Stem(n), Stem(name));
        });
        if (!Stem(name).empty() && !known) {
            names.emplace_back(name);
        }
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return names;
}

std::string FormatProgramList(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text.append(text.empty() ? "" : "\r\n").append(name);
    }
    return text;
}

bool IsQuietProgram(std::string_view path, const std::vector<std::string>& names) {
    const std::string_view stem = Stem(path);
    return !stem.empty() && std::any_of(names.begin(), names.end(), [&](const std::string& n) {
        return SameNoCase(Stem(Trim(n)), stem);
    });
}

}  // namespace pausora
