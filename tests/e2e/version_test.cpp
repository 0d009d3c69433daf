// The built program file as Explorer and the installer see it: its version
// resource and manifest agree with the version string the program shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/program.h"
#include "resource.h"

namespace {

struct ModuleData {
    HMODULE module = ::LoadLibraryExA(pausora::test::Program::ExePath().c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ModuleData() = default;
    ModuleData(const ModuleData&) = delete;
    ModuleData& operator=(const ModuleData&) = delete;
    ~ModuleData() {
        if (module != nullptr) {
            ::FreeLibrary(module);
        }
    }
};

std::string VersionString(HMODULE module) {
    char text[64] = {};
    const int length = ::LoadStringA(module, IDS_VERSION, text, sizeof text);
    return std::string(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::vector<char> VersionInfo(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !::GetFileVersionInfoA(path.c_str(), 0, size, data.data())) {
        data.clear();
    }
    return data;
}

std::string StringValue(std::vector<char>& info, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!::VerQueryValueA(info.data(), query.c_str(), &value, &length) || length == 0) {
        return "(missing)";
    }
    return std::string(static_cast<const char*>(value));
}

}  // namespace

TEST(ProgramFile, VersionResourceMatchesTheVersionString) {
    ModuleData exe;
    ASSERT_NE(exe.module, nullptr);
    const std::string version = VersionString(exe.module);
    ASSERT_EQ(version, "1.1");

    std::vector<char> info = VersionInfo(pausora::test::Program::ExePath());
    ASSERT_FALSE(info.empty());
    void* fixedData = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", &fixedData, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(fixedData);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    // "1.1" is major 1, minor 1.
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));
    EXPECT_EQ(fixed->dwFileFlags & VS_FF_DEBUG, 0u);

    EXPECT_EQ(StringValue(info, "FileVersion"), version);
    EXPECT_EQ(StringValue(info, "ProductVersion"), version);
    EXPECT_EQ(StringValue(info, "ProductName"), "Pausora");
    EXPECT_EQ(StringValue(info, "OriginalFilename"), "Pausora.exe");
}

TEST(ProgramFile, ManifestAsksForPerMonitorScalingAndCommonControls6) {
    ModuleData exe;
    ASSERT_NE(exe.module, nullptr);
    const HRSRC found = ::FindResourceW(exe.module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const HGLOBAL loaded = ::LoadResource(exe.module, found);
    ASSERT_NE(loaded, nullptr);
    const std::string manifest(static_cast<const char*>(::LockResource(loaded)),
                               ::SizeofResource(exe.module, found));

    // Per-monitor v2 where the system knows it, per-monitor where it does not,
    // and the older element for systems before Windows 10.
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    // The assembly's own version is the program's, with two zeros after it.
    EXPECT_NE(manifest.find("name=\"Pausora\" version=\"" + VersionString(exe.module) + ".0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}
