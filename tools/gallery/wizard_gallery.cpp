// Shows one page of a wizard, for a person to look at:
// scripts/screenshots-wizards.sh runs it once per page.
//
//   wizard_gallery <initial|workplace> <page 1..> <ready-file>
//
// It pages forward with Next as a user would. Once the page is on screen it
// writes the wizard's window rectangle ("WxH+X+Y") to <ready-file> and keeps
// the wizard open until <ready-file>.done appears.
#include "app/pausora_app.h"
#include "gallery/ready_file.h"
#include "shared/wizard_driver.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <thread>

using namespace pausora;
using namespace pausora::test;

int main(int argc, char** argv) {
    if (argc < 4) {
        return 2;
    }
    const std::string wizard = argv[1];
    const int page = std::atoi(argv[2]);
    const std::string ready = argv[3];

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);

    std::thread user([&] {
        const HWND sheet = WizardDriver::WaitForSheet(::GetCurrentProcessId(), 20000);
        if (sheet == nullptr) {
            return;
        }
        const WizardDriver driver(sheet);
        for (int i = 1; i < page; ++i) {
            driver.WaitForButtons(driver.Buttons());  // let the page settle
            ::Sleep(100);
            if (!driver.Next() || !driver.WaitForPage(i)) {
                break;
            }
        }
        ::Sleep(700);  // the buttons and the painting reach the screen
        gallery::TellReady(ready, sheet);
        while (!gallery::ScriptIsDone(ready)) {
            ::Sleep(50);
        }
        driver.Cancel();
    });

    WizardsAtStartup wizards;
    if (wizard == "workplace") {
        wizards.RunWorkplaceSetup();
    } else {
        STimeSettings settings;
        wizards.RunInitialSetup(settings, SettingsPolicy{});
    }
    user.join();
    return 0;
}
