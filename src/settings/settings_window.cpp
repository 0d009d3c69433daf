#include "settings/settings_window.h"

#include "settings/settings_pages.h"
#include "settings/tree_sheet.h"

#include "resource.h"
#include "ui/utf.h"
#include "ui/window.h"

#include <initializer_list>

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

void ShowSettingsWindow(HWND parent, const STimeSettings& current, const SettingsApplied& applied,
                        UINT startPage, const SettingsPolicy& policy) {
    if (t_openSheet != nullptr) {
        if (t_openSheet->Handle() != nullptr) {
            ::SetForegroundWindow(t_openSheet->Handle());
        }
        return;
    }
    const std::string caption = Narrow(ui::ResourceString(IDS_SETTINGS_CAPTION));
    TreeSheet::CTreeSettingsSheet sheet(caption.c_str(), parent, startPage);
    sheet.SetTreeViewMode(true, true, true);

    // What the pages showed (or the last Apply took), against which their
    // values are compared: only what differs is the user's change.
    STimeSettings shown = current;
    STimeSettings edited = current;
    CBoxesPage schedule(kPageSchedule, edited, policy);
    CTimesPage shortBreaks(kPageMicropause, edited, policy);
    CTimesPage longBreaks(kPagePause, edited, policy);
    CTimesPage workingTime(kPageWorkingTime, edited, policy);
    CTimesPage timeLimits(kPageTimeLimits, edited, policy);
    CSettingsPage customize(IDD_PAGE_CUSTOMIZE, IDI_PAGE_CUSTOMIZE, edited, policy);
    CPageTrayAgent startup(edited, policy);
    CPageSounds sounds(edited, policy);
    CBoxesPage appearance(kPageAppearance, edited, policy);
    for (ui::PropertyPage* page : std::initializer_list<ui::PropertyPage*>{
             &schedule, &shortBreaks, &longBreaks, &workingTime, &timeLimits, &customize, &startup,
             &sounds, &appearance}) {
        sheet.AddPage(*page);
    }
    sheet.SetTreeWidth(150);
    // Whatever was applied has reached the owner already; the result has
    // nothing more to say.
    sheet.OnApplied([&] {
        SettingsChange change = SettingsChange::Between(shown, edited);
        change.deleteHistory = startup.TakeDeleteHistory() && edited.KeepHistory == 0;
        shown = edited;
        applied(change, sheet.Handle());
    });
    const MarkOpen open(sheet);
    sheet.DoModal();
}

}  // namespace pausora
