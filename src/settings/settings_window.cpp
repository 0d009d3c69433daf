#include "settings/settings_window.h"

#include "settings/settings_pages.h"
#include "settings/tree_sheet.h"

namespace pausora {

void ShowSettingsWindow(HWND parent, STimeSettings& settings, UINT startPage) {
    TreeSheet::CTreeSettingsSheet sheet("Pausora - Settings", parent, startPage);
    sheet.SetTreeViewMode(true, true, true);

    CPageSchedule schedule(settings);
    CPageMicropause shortBreaks(settings);
    CPagePause longBreaks(settings);
    CPageWorkingTime workingTime(settings);
    CPageTimeLimits timeLimits(settings);
    CPageCustomize customize(settings);
    CPageTrayAgent startup(settings);
    CPageSounds sounds(settings);
    CPageAppearance appearance(settings);
    for (ui::PropertyPage* page : std::initializer_list<ui::PropertyPage*>{
             &schedule, &shortBreaks, &longBreaks, &workingTime, &timeLimits, &customize, &startup,
             &sounds, &appearance}) {
        sheet.AddPage(*page);
    }
    sheet.SetTreeWidth(150);
    // Whatever was applied has reached the record and the main window
    // already; the result has nothing more to say.
    sheet.DoModal();
}

}  // namespace pausora
