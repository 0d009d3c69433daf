#include "tips/line_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pausora {

std::string CLineFile::FullPath(std::string_view path) {
    std::string full(path);
    const std::size_t nameStart = full.find_last_of("\\/:");
    const std::size_t dot = full.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    if (!hasExtension && !full.empty() && full.back() != '\\' && full.back() != '/') {
        full += ".txt";
    }
    return full;
}

void CLineFile::SplitLines(std::string_view contents, std::string_view lineEnd,
                           std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < contents.size()) {
        const std::size_t end = contents.find(lineEnd, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(contents.substr(start));
            break;
        }
        lines.emplace_back(contents.substr(start, end - start));
        start = end + lineEnd.size();
    }
}

bool CLineFile::ReadLines(std::string_view path, std::vector<std::string>& lines) {
    lines.clear();
    // Binary, so that a file reads the same on every system: the line end is
    // split off here rather than translated by the runtime.
    errno = 0;
    // The path is UTF-8; opened through a path object, it reaches the system
    // whole, in its own form, and a folder named in any language opens.
    const std::string full = FullPath(path);
    const std::filesystem::path name(std::u8string(full.begin(), full.end()));
    std::ifstream file(name, std::ios::in | std::ios::binary);
    if (!file) {
        m_lastError = errno != 0 ? errno : ENOENT;
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        m_lastError = errno != 0 ? errno : EIO;
        return false;
    }
    m_lastError = 0;
    SplitLines(contents.view(), "\r\n", lines);
    return true;
}

}  // namespace pausora
