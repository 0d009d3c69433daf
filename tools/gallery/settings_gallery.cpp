// Shows the settings window on one of its pages, for a person to look at:
// scripts/screenshots-settings.sh runs it once per page.
//
//   settings_gallery <page 0..8> <ready-file>
//
// Policies in the prefix's registry lock their controls as in the program.
// Once the page is on screen it writes the window's rectangle ("WxH+X+Y")
// to <ready-file> and keeps the window open until <ready-file>.done appears.
#include "gallery/ready_file.h"
#include "settings/settings_window.h"
#include "settings_ids.h"
#include "store/registry_key.h"
#include "ui/window.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

namespace {

using namespace pausora;

std::string g_ready;
int g_settled = 0;
bool g_told = false;

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    // In the language the program speaks, as the window takes it.
    const HWND sheet =
        ::FindWindowW(nullptr, pausora::ui::ResourceString(IDS_SETTINGS_CAPTION).c_str());
    if (sheet == nullptr || !::IsWindowVisible(sheet)) {
        return;
    }
    if (!g_told) {
        if (++g_settled < 4) {
            return;  // a few ticks for the painting to reach the screen
        }
        ::RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gallery::TellReady(g_ready, sheet);
        g_told = true;
        return;
    }
    if (gallery::ScriptIsDone(g_ready)) {
        ::PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);
    g_ready = argv[2];
    STimeSettings settings;
    settings.RestoreDefaults("C:\\windows");
    WinRegistry machine(HKEY_LOCAL_MACHINE);
    WinRegistry user;
    SettingsPolicy policy;
    policy.Read(machine, user);
    policy.Apply(settings);
    ::SetTimer(nullptr, 0, 100, &Watch);
    ShowSettingsWindow(
        nullptr, settings, [](const SettingsChange&, HWND) {},
        static_cast<UINT>(std::strtoul(argv[1], nullptr, 10)), policy);
    return 0;
}
