// A sound file that cannot be loaded, in the assembled program: the schedule
// goes on, at most one message box is on screen, and Exit still ends it all.
#include "e2e/fixture.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace pausora::test {
namespace {

std::string BoxText(HWND box) {
    char text[512] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's static text
    return text;
}

using SoundErrors = ProgramTest;

TEST_F(SoundErrors, TheScheduleGoesOnUnderOneBoxAtATimeAndExitEndsTheProgram) {
    // A short break every 3 seconds, 2 seconds long; its start and its end
    // each want a file that is not there.
    ShortBreaks(3);
    Set("UseSounds", 1);
    Set("MicropauseSound", "C:\\windows\\missing-start.wav");
    Set("EndMicropauseSound", "C:\\windows\\missing-end.wav");
    ASSERT_NO_FATAL_FAILURE(Start());
    std::vector<HWND> boxes;
    const auto oneBox = [&] {
        return WaitFor(kTimeoutMs, [&] { return !(boxes = m_program.VisibleDialogs()).empty(); }) &&
               boxes.size() == 1;
    };
    ASSERT_TRUE(oneBox());
    EXPECT_EQ(BoxText(boxes[0]), "C:\\windows\\missing-start.wav was not found.");
    PauseForScreenshot("sound-error");

    // With the box left open, breaks keep coming, each earning its two
    // points once, and no second box joins the first.
    const std::uint32_t atFirstBox = Bonus();
    EXPECT_TRUE(HoldsFor(12000, [&] { return m_program.VisibleDialogs().size() == 1; }));
    const std::uint32_t grown = Bonus() - atFirstBox;
    EXPECT_GE(grown, 2u);
    EXPECT_LE(grown, 8u);  // a break per 5 seconds at most, none paid twice
    EXPECT_EQ(grown % 2, 0u);

    // Closing it brings the one report that waited behind it.
    const HWND first = boxes[0];
    ::PostMessageA(first, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !::IsWindow(first); }));
    ASSERT_TRUE(oneBox());
    EXPECT_EQ(BoxText(boxes[0]), "C:\\windows\\missing-end.wav was not found.");

    // Exit from the tray menu while that box is open ends the program.
    EXPECT_TRUE(Exit());
}

// Gives the key the access rights of an SDDL text (its DACL alone).
bool SetKeyAccess(const char* path, const char* sddl) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, READ_CONTROL | WRITE_DAC, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool done = ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                       &descriptor, nullptr) &&
                ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    ::LocalFree(descriptor);
    ::RegCloseKey(key);
    return done;
}

// The settings key made read-only, as a policy would: the schedule goes on
// with the stored settings; start-up's save fails first and is reported once,
// in a box that names what could not be saved, and the points that every
// break then fails to save bring no second box.
using SaveErrors = ProgramTest;

TEST_F(SaveErrors, AReadOnlyKeyIsReportedOnceAndTheScheduleGoesOn) {
    ShortBreaks(3, 1);
    const std::string settingsKey(reg::kSettingsKey);
    ASSERT_TRUE(SetKeyAccess(settingsKey.c_str(), "D:P(A;;KR;;;WD)"));

    ASSERT_NO_FATAL_FAILURE(Start());
    std::vector<HWND> boxes;
    ASSERT_TRUE(WaitFor(kTimeoutMs, [&] { return !(boxes = m_program.VisibleDialogs()).empty(); }));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(BoxText(boxes[0]).rfind("The settings could not be saved", 0), 0u)
        << BoxText(boxes[0]);
    // More breaks end behind it and after it, each failing to save: no
    // second box in this run.
    EXPECT_TRUE(HoldsFor(5000, [&] { return m_program.VisibleDialogs().size() == 1; }));
    ::PostMessageA(boxes[0], WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return m_program.VisibleDialogs().empty(); }));
    bool noticed = false;
    EXPECT_TRUE(HoldsFor(6000, [&] {
        noticed = noticed || Popup() != nullptr;
        return m_program.VisibleDialogs().empty();
    }));
    EXPECT_TRUE(noticed) << "the schedule stopped";
    EXPECT_EQ(Bonus(), 100u);
    m_program.Kill();
    EXPECT_TRUE(SetKeyAccess(settingsKey.c_str(), "D:(A;;KA;;;WD)"));
}

}  // namespace
}  // namespace pausora::test
