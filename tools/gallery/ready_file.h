// A gallery's side of the screenshot scripts' handshake (scripts/gallery-shots.sh):
// once its window is on screen it writes the window's rectangle ("WxH+X+Y")
// to the ready file, and it ends when the script makes "<ready file>.done".
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace pausora::gallery {

inline void TellReady(const std::string& ready, HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    if (std::FILE* file = std::fopen(ready.c_str(), "wb")) {
        std::fprintf(file, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        std::fclose(file);
    }
}

inline bool ScriptIsDone(const std::string& ready) {
    return ::GetFileAttributesA((ready + ".done").c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace pausora::gallery
