#include "settings/settings_window.h"

#include "settings/settings_pages.h"
#include "settings/tree_sheet.h"

namespace pausora {

namespace {
// The tray menu stays usable while the window is open; a second window
// over the same record would only confuse, so the first comes forward.
thread_local const ui::PropertySheet* t_openSheet = nullptr;

struct MarkOpen {
    explicit MarkOpen(const ui::PropertySheet& sheet) { t_openSheet = &sheet; }
    ~MarkOpen() { t_openSheet = nullptr; }
    MarkOpen(const MarkOpen&) = delete;
    MarkOpen& operator=(const MarkOpen&) = delete;
};
}  // namespace

void ShowSettingsWindow(HWND parent, STimeSettings& settings, UINT startPage) {
    if (t_openSheet != nullptr) {
        if (t_openSheet->Handle() != nullptr) {
            ::SetForegroundWindow(t_openSheet->Handle());
        }
        return;
    }
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
    const MarkOpen open(sheet);
    sheet.DoModal();
}

}  // namespace pausora
