// The programs the user named, as typed in the settings and as matched
// against the program in front.
#include "scheduler/quiet_programs.h"

#include <gtest/gtest.h>

namespace pausora {
namespace {

using Names = std::vector<std::string>;

TEST(QuietProgramsTest, TypedTextBecomesTrimmedNamesEachOnce) {
    const struct {
        std::string_view typed;
        Names names;
    } cases[] = {
        {"", {}},
        {" \r\n;;\r\n ", {}},
        {"zoom.exe\r\nTeams.exe", {"zoom.exe", "Teams.exe"}},
        {"zoom; teams ;obs64.exe", {"zoom", "teams", "obs64.exe"}},
        {"  \"C:\\Program Files\\Zoom\\Zoom.exe\"  \n", {"C:\\Program Files\\Zoom\\Zoom.exe"}},
        {"zoom\nZOOM.EXE\nzoom.exe", {"zoom"}},
        {"unicode\xc3\xa9.exe", {"unicode\xc3\xa9.exe"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseProgramList(c.typed), c.names) << c.typed;
    }
    const Names names = {"zoom.exe", "Teams"};
    EXPECT_EQ(FormatProgramList(names), "zoom.exe\r\nTeams");
    EXPECT_EQ(ParseProgramList(FormatProgramList(names)), names);
}

TEST(QuietProgramsTest, TheFileNameMatchesWithoutCaseOrExe) {
    const Names names = {"zoom", "Teams.EXE", "C:\\Tools\\obs64.exe", " slides.exe "};
    const struct {
        std::string_view path;
        bool quiet;
    } cases[] = {
        {"C:\\Program Files\\Zoom\\bin\\Zoom.exe", true},
        {"zoom.exe", true},
        {"C:\\Users\\me\\AppData\\Local\\Microsoft\\Teams\\current\\teams.exe", true},
        {"D:\\elsewhere\\OBS64.exe", true},
        {"C:\\x\\slides.exe", true},
        {"C:\\x\\zoomit.exe", false},
        {"C:\\x\\ms-teams.exe", false},
        {"C:\\zoom\\notepad.exe", false},
        {"C:\\x\\zoom.exe.bak", false},
        {"", false},
        {"C:\\x\\", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsQuietProgram(c.path, names), c.quiet) << c.path;
    }
    EXPECT_FALSE(IsQuietProgram("C:\\x\\zoom.exe", {}));
}

}  // namespace
}  // namespace pausora
