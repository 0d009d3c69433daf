// The tips file's stamps as Windows keeps them: the picker must take up a file
// rewritten in place, even one of the same size.
#include "tips/tips_win.h"
#include "tips/tips.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

namespace pausora {
namespace {

std::string Stored(const std::string& text) {
    std::string stored = text;
    for (char& c : stored) {
        c = static_cast<char>(static_cast<unsigned char>(c) + kTipsShift);
    }
    return stored;
}

void Write(const std::string& path, const std::string& lines) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << lines;
}

TEST(TipsFileStamps, TellARewrittenFileFromTheOneReadBefore) {
    char folder[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathA(MAX_PATH, folder), 0u);
    const std::string path = std::string(folder) + "pausora-stamps.txt";
    Write(path, Stored("[A]") + "\r\n" + Stored("One.") + "\r\n");

    WinFileStamps stamps;
    CLineFile files;
    CTipsFile tips(files, stamps);
    const std::optional<FileStamp> first = stamps.Stamp(path);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size, 11u);
    EXPECT_EQ(tips.Lines(path), (std::vector<std::string>{"[A]", "One."}));

    // Same size, written a second later, as an editor saving it would.
    Write(path, Stored("[B]") + "\r\n" + Stored("Two.") + "\r\n");
    const HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ULARGE_INTEGER later{};
    later.QuadPart = static_cast<std::uint64_t>(first->lastWrite) + 10'000'000;
    const FILETIME written{later.LowPart, later.HighPart};
    EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &written));
    ::CloseHandle(file);
    EXPECT_EQ(stamps.Stamp(path)->lastWrite, static_cast<std::int64_t>(later.QuadPart));
    EXPECT_EQ(tips.Lines(path), (std::vector<std::string>{"[B]", "Two."}));

    ::DeleteFileA(path.c_str());
    EXPECT_FALSE(stamps.Stamp(path).has_value());
    EXPECT_TRUE(tips.Lines(path).empty());
    EXPECT_FALSE(stamps.Stamp(folder).has_value());  // a folder is no tips file
}

}  // namespace
}  // namespace pausora
