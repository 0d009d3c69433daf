// The programs the user named: while one of them is in front, notices wait.
// The user types them one to a line (or separated by ";"), with or without
// their ".exe" and, when pasted from Explorer, with their folder and quotes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pausora {

// The names in what the user typed, trimmed, in their order, each once.
std::vector<std::string> ParseProgramList(std::string_view text);
// The names for the edit box, one to a line.
std::string FormatProgramList(const std::vector<std::string>& names);

// Whether the program file at `path` (a full path or a bare file name) is
// one of `names`. Letters compare without regard to case (ASCII only: the
// Windows side folds the rest before asking), and ".exe" is optional on
// either side.
bool IsQuietProgram(std::string_view path, const std::vector<std::string>& names);

}  // namespace pausora
