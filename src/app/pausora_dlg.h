// The program's main window: a dialog that is never seen. It owns the break
// engine, the notifier popup, the tray icon and the sounds, and it receives
// every command of the tray menu.
#pragma once

#include "history/history_keeper_win.h"
#include "history/history_window.h"
#include "store/registry_key.h"
#include "store/settings_change.h"
#include "store/settings_policy.h"
#include "store/time_settings.h"
#include "tips/tips_win.h"
#include "notify/notifier_popup.h"
#include "notify/tray_icon.h"
#include "scheduler/break_engine.h"
#include "scheduler/busy_source_win.h"
#include "scheduler/engine_adapters_win.h"
#include "scheduler/presenter_win.h"
#include "scheduler/wall_clock_win.h"
#include "scheduler/tip_source.h"
#include "sound/win_sound.h"
#include "ui/dialog.h"
#include "update/update_check_win.h"

#include <mmsystem.h>

#include <memory>
#include <string>

namespace pausora {

class CAboutDlg;
class CExerciseDlg;
class CWorkPlaceSetupWizard;

class CPausoraDlg final : public ui::Dialog {
  public:
    // `settings` is the record start-up has just saved; the window keeps it
    // instead of reading the registry back. `saved` is false when that save
    // failed: the window reports it once it runs.
    // `language` is the one the program speaks, for the sayings.
    CPausoraDlg(STimeSettings settings, bool saved, std::string_view language);
    ~CPausoraDlg() override;

  protected:
    BOOL OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    // It stays out of sight; only a failed tray icon brings it on screen.
    bool ShowOnModalStart() const override { return false; }
    ui::Handled OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    ui::Handled OnSysCommand(UINT command, LPARAM lParam) override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;
    ui::Handled OnTimer(UINT_PTR id) override;
    ui::Handled OnPaint() override;
    ui::Handled OnClose() override;

  private:
    // Every change of settings, from the settings window or a tray switch:
    // applies the values changed to the record, saves it and restarts the
    // schedule with it. A message about the history shows over `owner`.
    void ApplySettings(const SettingsChange& change, HWND owner = nullptr);
    // Speaks `chosen` (the "Language" setting) from now on.
    void UseLanguage(std::string_view chosen);
    void OnNotifierClick(WPARAM item, LPARAM detail);
    void ShowSoundMessages();
    // The dialogs that open from the tray menu and the popup's link.
    void ShowAbout();
    void ShowExercises();
    void ShowHistory();
    void ShowSettings();
    void ShowWorkplaceWizard();
    void RunUpdateCheck();
    void ShowUpdateAnswer();
    // Reads the policies again (after a Group Policy refresh): the values
    // they set, or no longer set, take effect, and the schedule restarts
    // once if anything it reads changed.
    void RefreshPolicy();

    CWinSoundSet m_sounds;
    CTrayIcon m_tray;
    STimeSettings m_settings;
    HICON m_icon = nullptr;  // a shared resource icon: not destroyed
    CNotifierPopup m_popup;

    WinRegistry m_registry;
    WinRegistry m_machineRegistry{HKEY_LOCAL_MACHINE};  // its policies only
    SettingsPolicy m_policy;
    WinRandomEnvironment m_random;
    CLineFile m_tipsFile;
    WinFileStamps m_tipsStamps;
    TipsFileSource m_tipsFromFile;
    CodePageTipSource m_tips;
    SystemTickClock m_ticks;
    InputWatchIdleSource m_input;
    SystemLocalClock m_calendar;
    SystemWallClock m_wall;
    WindowPresenter m_presenter;
    SystemBusySource m_busy{m_settings};
    std::unique_ptr<WindowTimerHost> m_timers;  // they need the window
    HistoryKeeper m_history;
    std::unique_ptr<BreakEngine> m_engine;
    std::string m_programFolder;  // names the program in the Run value
    bool m_startupSaved;
    bool m_showingSoundMessage = false;
    bool m_closing = false;
    // The windows of ours open at the moment: a second request brings one
    // forward instead of opening another over it.
    const CAboutDlg* m_about = nullptr;
    const CExerciseDlg* m_exercises = nullptr;
    const CWorkPlaceSetupWizard* m_workplaceWizard = nullptr;
    std::unique_ptr<CHistoryWindow> m_historyWindow;  // modeless, once opened
    // Last, so that it is gone first: it stops talking to the window.
    CUpdateCheck m_updateCheck;
};

}  // namespace pausora
