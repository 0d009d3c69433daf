// The program in a German Windows (this program runs with the locale
// de_DE.UTF-8, which is Wine's display language): the first start, the tray
// and a notice speak German, with a German saying, as long as the "Language"
// setting names no language the program has.
#include "e2e/fixture.h"
#include "shared/wizard_driver.h"
#include "tips/tips.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace pausora::test {
namespace {

using LanguageTest = ProgramTest;

// The sayings of the German file, as the program reads them.
std::vector<std::string> GermanSayings() {
    std::ifstream file(Program::Folder() + "all.de-DE.txt", std::ios::binary);
    std::vector<std::string> sayings;
    for (std::string line; std::getline(file, line);) {
        DecodeTipLine(line);
        if (line.size() > 20 && line[0] != '[') {
            sayings.push_back(line.substr(0, 20));
        }
    }
    return sayings;
}

TEST_F(LanguageTest, AGermanWindowsGetsTheFirstStartTheTrayAndTheNoticesInGerman) {
    m_store.Reset();  // a first start: no settings at all
    Set("CheckForUpdates", 0);
    Set("Language", "xx-YY");  // no language of ours: Windows' language
    {
        ASSERT_TRUE(m_program.Start());
        const HWND sheet = WizardDriver::WaitForSheet(m_program.Id(), kTimeoutMs);
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(Utf8Text(sheet), "Assistent für die Ersteinrichtung");
        WizardDriver(sheet).Cancel();
        m_main = m_program.WaitForMainWindow(kTimeoutMs);
        ASSERT_TRUE(WaitForTrayIcon(kTimeoutMs));
        EXPECT_EQ(ShownTrayTip(kTimeoutMs).rfind("Pausora (Normal)\nNächste Pause in ", 0), 0u);
        m_program.Kill();
    }
    ShortBreaks(3);
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND popup = SettledPopup();
    ASSERT_NE(popup, nullptr);
    // The notice's words are its window's name: title, saying, link.
    const std::string words = Utf8Text(popup);
    EXPECT_EQ(words.rfind("Zeit für eine kurze Pause\n", 0), 0u) << words;
    EXPECT_NE(words.find("\nÜbung anzeigen"), std::string::npos) << words;
    const std::vector<std::string> sayings = GermanSayings();
    ASSERT_GT(sayings.size(), 1000u);
    EXPECT_TRUE(std::any_of(
        sayings.begin(), sayings.end(),
        [&](const std::string& saying) { return words.find("\n" + saying) != std::string::npos; }))
        << "no German saying in " << words;
}

}  // namespace
}  // namespace pausora::test
