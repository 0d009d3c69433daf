#include "app/pausora_dlg.h"
#include "ui/utf.h"

#include "app/about_dlg.h"
#include "app/pause_menu_win.h"
#include "app/pausora_app.h"
#include "exercises/exercise_dlg.h"
#include "notify/tray_model.h"
#include "resource.h"
#include "ui/window.h"
#include "settings/settings_window.h"
#include "store/languages.h"
#include "ui/ui_language.h"
#include "update/update_dlg.h"
#include "wizards/workplace_setup_wizard.h"

#include <wtsapi32.h>

#include <string>
#include <utility>

namespace pausora {

CPausoraDlg::CPausoraDlg(STimeSettings settings, bool saved, std::string_view language)
    : ui::Dialog(IDD_PAUSORA_DIALOG),
      m_sounds(RefusedFormat::kBeep, nullptr, LoadErrors::kReportOncePerPath),
      m_settings(std::move(settings)),
      m_icon(::LoadIcon(ui::ModuleInstance(), MAKEINTRESOURCE(IDI_APP))),
      m_tipsFromFile(m_registry, m_tipsFile, m_tipsStamps, m_random, ProgramFolder()),
      m_tips(m_tipsFromFile),
      m_presenter(m_popup, m_tray, m_sounds),
      m_history(m_presenter),
      m_programFolder(ProgramFolder()),
      m_startupSaved(saved) {
    m_tipsFromFile.SetLanguage(language);
}

CPausoraDlg::~CPausoraDlg() {
    if (m_popup.Handle() != nullptr) {
        ::WTSUnRegisterSessionNotification(m_popup.Handle());
    }
    // The engine goes before the window parts it talks to.
    m_engine.reset();
    m_historyWindow.reset();
    m_history.Flush();  // what changed since the last minute step
    ui::SetAppMainWindow(nullptr);
}

BOOL CPausoraDlg::OnInitDialog() {
    ui::SetAppMainWindow(Handle());
    m_sounds.SetOwner(Handle());
    // Sounds are asked for from inside timer steps; a message box there would
    // run timer messages into the engine while the step is half done.
    m_sounds.Feedback().DeferMessages(WM_SOUND_MESSAGE);
    if (!m_startupSaved) {
        m_presenter.ReportTrouble(Trouble::kSettingsNotSaved);
    }

    if (const HMENU systemMenu = ::GetSystemMenu(Handle(), FALSE)) {
        if (const std::wstring about = ui::ResourceString(IDS_ABOUTBOX); !about.empty()) {
            ::AppendMenu(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenu(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    ::SendMessage(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    ::SendMessage(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    SetUpNoticePopup(m_popup, Handle());

    // What an organisation sets lies over the user's own choices.
    m_policy.Read(m_machineRegistry, m_registry);
    m_policy.Apply(m_settings);

    // Timers, the input watch, the counters and the day's work time.
    m_timers = std::make_unique<WindowTimerHost>(Handle());
    m_engine = std::make_unique<BreakEngine>(
        m_settings,
        BreakEngine::Ports{*m_timers, m_ticks, m_input, m_calendar, m_presenter, m_tips, m_registry,
                           m_wall, m_busy, m_history},
        LoadPauseTexts(), LoadBreakTexts());
    m_history.SetKeeping(m_settings.KeepHistory != 0);
    m_engine->Initialise();
    // A locked session is time away. The system tells only the window that
    // asks, and only a top-level one for certain: the popup's, which lives as
    // long as this window and passes its notices on.
    ::WTSRegisterSessionNotification(m_popup.Handle(), NOTIFY_FOR_THIS_SESSION);
    m_tray.OnPrepareMenu([this](HMENU popup) {
        m_engine->RefreshTray();  // the next break as it is now
        ApplyPauseMenu(popup, m_engine->IsPaused(), m_engine->CanTakeBreakNow());
        ApplyPolicyMenu(popup, m_policy, m_engine->IsStopped(), m_engine->IsPaused());
    });

    // Shared, sized for the notification area at this display's scaling.
    const HICON trayIcon = static_cast<HICON>(
        ::LoadImage(ui::ModuleInstance(), MAKEINTRESOURCE(IDI_TRAY_NORMAL), IMAGE_ICON,
                    ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    m_tray.ShowSwitches(m_settings);
    const bool inTray = m_tray.Create(WM_TRAYICON_NOTIFY, "Pausora", trayIcon, IDR_TRAYMENU);
    m_tray.SetMenuDefaultItem(kStartStopPosition, true);
    m_engine->RefreshTray();
    if (!inTray) {
        // Without an icon there is no other way to reach the program: the
        // small window stays on screen, and closing it ends Pausora. The
        // shell may come up later (a slow logon) and take the icon then; the
        // menu's default and the tooltip wait in the icon's record for that,
        // and the window goes out of sight once the icon is there.
        m_tray.OnIconArrived([this] {
            if (::IsWindowVisible(Handle())) {
                ::ShowWindow(Handle(), SW_HIDE);
                CTrayIcon::MinimiseToTray(Handle(), false);
            }
        });
        ::ShowWindow(Handle(), SW_SHOW);
        return TRUE;
    }
    CTrayIcon::MinimiseToTray(Handle(), false);
    if (m_settings.CheckForUpdates == 1) {
        RunUpdateCheck();
    }
    return TRUE;
}

bool CPausoraDlg::PreTranslateMessage(MSG& msg) {
    // The history window is no dialog, but Tab and Escape work in it as in one.
    if (m_historyWindow && m_historyWindow->Handle() != nullptr &&
        ::IsDialogMessageW(m_historyWindow->Handle(), &msg)) {
        return true;
    }
    // Enter and Escape would end the hidden dialog, and with it the program.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        msg.wParam = 0;
    }
    return false;
}

ui::Handled CPausoraDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(m_icon);
        case WM_NOTIFIER_CLICK:
            OnNotifierClick(wParam, lParam);
            return 0;
        case WM_SOUND_MESSAGE:
            ShowSoundMessages();
            return 0;
        // The system's notices, passed on by our top-level windows: each comes
        // once from every one of them, so each handling is one that a repeat
        // leaves as it is.
        case WM_POWERBROADCAST:
            if ((wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) && m_engine) {
                m_engine->OnResume();
            }
            return TRUE;
        case WM_TIMECHANGE:
            if (m_engine) {
                m_engine->OnClockChanged();
            }
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) {
                m_popup.OnWorkAreaChanged();
            }
            // After a Group Policy refresh Windows says "Policy".
            if (lParam != 0 && ::lstrcmpiW(reinterpret_cast<LPCWSTR>(lParam), L"Policy") == 0) {
                RefreshPolicy();
            }
            return std::nullopt;
        case WM_DISPLAYCHANGE:
            m_popup.OnWorkAreaChanged();
            return std::nullopt;
        case WM_WTSSESSION_CHANGE:
            if ((wParam == WTS_SESSION_LOCK || wParam == WTS_SESSION_UNLOCK) && m_engine) {
                m_engine->OnSessionLocked(wParam == WTS_SESSION_LOCK);
            }
            return 0;
        case WM_UPDATE_ANSWER:
            ShowUpdateAnswer();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;  // nothing to ask: every value is saved as it changes
        case WM_ENDSESSION:
            // The session ends once this returns; the modal run ends with it,
            // so the icon and the windows go the ordinary way.
            if (wParam != FALSE) {
                EndDialog(IDCANCEL);
            }
            return 0;
        default:
            return ui::Dialog::OnMessage(message, wParam, lParam);
    }
}

ui::Handled CPausoraDlg::OnTimer(UINT_PTR id) {
    if (m_engine && m_engine->OnTimer(static_cast<std::uint32_t>(id))) {
        return 0;
    }
    return std::nullopt;
}

ui::Handled CPausoraDlg::OnCommand(UINT id, UINT /*code*/, HWND /*control*/) {
    // The engine is made while the window starts; no command comes before.
    if (!m_engine) {
        return 0;
    }
    switch (id) {
        case ID_TRAY_STARTSTOP:
            // Stop greyed by policy; Start, after a pause, is always there.
            if (m_policy.AllowStop() || m_engine->IsStopped()) {
                m_engine->ToggleStartStop();
            }
            return 0;
        case ID_TRAY_BREAK_NOW:
            m_engine->TakeBreakNow();
            return 0;
        case ID_TRAY_RESUME:
            m_engine->Resume();
            return 0;
        case ID_TRAY_PAUSE_30_MINUTES:
        case ID_TRAY_PAUSE_1_HOUR:
        case ID_TRAY_PAUSE_2_HOURS:
        case ID_TRAY_PAUSE_TOMORROW:
        case ID_TRAY_PAUSE_UNTIL_RESUMED:
            if (m_policy.AllowStop()) {
                m_engine->Pause(*PauseLengthOf(id));
            }
            return 0;
        case ID_TRAY_EXIT:
            if (!m_policy.AllowExit()) {
                return 0;
            }
            ::SendMessage(ui::AppMainWindow() ? ui::AppMainWindow() : Handle(), WM_CLOSE, 0, 0);
            return 0;
        case ID_TRAY_ABOUT:
            ShowAbout();
            return 0;
        case ID_TRAY_SETTINGS:
            ShowSettings();
            return 0;
        case ID_TRAY_WORKPLACE_WIZARD:
            ShowWorkplaceWizard();
            return 0;
        case ID_TRAY_HELP:
        case ID_HELP:  // the help command any window of the program may send
            CPausoraApp::OnHelp();
            return 0;
        case ID_TRAY_FEEDBACK:
            OpenWebPage("/feedback.html");
            return 0;
        case ID_TRAY_EXERCISES:
            ShowExercises();
            return 0;
        case ID_TRAY_HISTORY:
            ShowHistory();
            return 0;
        case ID_TRAY_SHORT_BREAKS:
        case ID_TRAY_LONG_BREAKS:
        case ID_TRAY_END_OF_WORKDAY:
        case ID_TRAY_DAILY_LIMIT:
        case ID_TRAY_PLAY_SOUNDS: {
            STimeSettings flipped = m_settings;
            FlipNotificationSwitch(flipped, id);
            ApplySettings(SettingsChange::Between(m_settings, flipped));
            return 0;
        }
        default:
            // Enter and Escape are neutralised before they get here; nothing
            // else may end the hidden dialog.
            return id == IDOK || id == IDCANCEL ? std::optional<LRESULT>(0) : std::nullopt;
    }
}

void CPausoraDlg::ApplySettings(const SettingsChange& change, HWND owner) {
    // Value by value onto the live record: the points the engine earned and
    // a switch flipped while the settings window was open stay as they are,
    // and a value set by policy is the administrator's.
    const std::string before = m_settings.Language;
    change.ApplyTo(m_settings, [this](std::string_view name) { return m_policy.Sets(name); });
    m_tray.ShowSwitches(m_settings);
    if (m_settings.Language != before) {
        UseLanguage(m_settings.Language);
    }
    // A running schedule starts again with the new values; a stopped or
    // paused one stays so.
    if (!m_settings.SaveSettings(m_registry, m_programFolder, m_policy.Names())) {
        m_presenter.ReportTrouble(Trouble::kSettingsNotSaved);
    }
    m_history.SetKeeping(m_settings.KeepHistory != 0);
    if (m_engine) {
        m_engine->ApplySettings();
    }
    // Last, as it may show a message: the schedule runs on the new values
    // meanwhile.
    if (change.deleteHistory && m_settings.KeepHistory == 0) {
        m_history.Delete(owner);
    }
}

void CPausoraDlg::UseLanguage(std::string_view chosen) {
    // This is the thread of every window of ours: what opens from here on
    // speaks the new language by itself. What is already loaded is loaded
    // again: the sayings, the engine's texts and the tray's tooltip.
    const std::string_view language = ResolveLanguage(chosen, ui::UserDisplayLanguages());
    ui::UseLanguage(language);
    m_tipsFromFile.SetLanguage(language);
    if (m_engine) {
        m_engine->SetTexts(LoadPauseTexts(), LoadBreakTexts());
        m_engine->RefreshTray();
    }
}

void CPausoraDlg::ShowSoundMessages() {
    // One box at a time: the timers go on inside its loop, and whatever they
    // report waits for this loop instead of opening a box on top.
    if (m_showingSoundMessage) {
        return;
    }
    m_showingSoundMessage = true;
    while (!m_closing && m_sounds.Feedback().ShowNextMessage()) {
    }
    m_showingSoundMessage = false;
}

void CPausoraDlg::OnNotifierClick(WPARAM item, LPARAM detail) {
    if (item == 0 && detail == 1) {
        m_popup.HidePopup();  // a right click away from the link
    } else if (item == kItemLink) {
        ShowExercises();
    }
}

ui::Handled CPausoraDlg::OnSysCommand(UINT command, LPARAM /*lParam*/) {
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        ShowAbout();
        return 0;
    }
    return std::nullopt;
}

ui::Handled CPausoraDlg::OnPaint() {
    if (!::IsIconic(Handle())) {
        return std::nullopt;
    }
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Handle(), &paint);
    ::SendMessage(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(Handle(), &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_icon);
    ::EndPaint(Handle(), &paint);
    return 0;
}

ui::Handled CPausoraDlg::OnClose() {
    m_closing = true;
    EndDialog(IDCANCEL);
    // The quit message ends any modal loop the close came from (a message
    // box, the tray menu, a dialog), so that nothing keeps the program alive.
    ::PostQuitMessage(0);
    return 0;
}

namespace {

// Runs one of our modal windows unless it is open already; a second request
// brings the open one forward instead of stacking a copy on top of it.
template <typename Window, typename... Args>
void RunOnce(const Window*& open, Args&&... args) {
    if (open != nullptr) {
        if (open->Handle() != nullptr) {
            ::SetForegroundWindow(open->Handle());
        }
        return;
    }
    Window window(std::forward<Args>(args)...);
    open = &window;
    window.DoModal();
    open = nullptr;
}

}  // namespace

void CPausoraDlg::ShowAbout() {
    RunOnce(m_about);
}

// The exercises dialog, the settings window, the workplace wizard and the
// update check each come with their own windows; these are the one place
// each of them is opened from.
void CPausoraDlg::ShowExercises() {
    // Modal and without a parent; the timers keep firing in its message loop,
    // so a break can still fall due while it is open.
    RunOnce(m_exercises);
}
void CPausoraDlg::ShowHistory() {
    // Modeless: the schedule and the other windows go on beside it.
    if (!m_historyWindow) {
        m_historyWindow = std::make_unique<CHistoryWindow>(m_history.Recorder(), m_settings);
    }
    m_historyWindow->Show();
}
void CPausoraDlg::ShowSettings() {
    ShowSettingsWindow(
        Handle(), m_settings,
        [this](const SettingsChange& change, HWND window) { ApplySettings(change, window); }, 0,
        m_policy);
}
void CPausoraDlg::ShowWorkplaceWizard() {
    // Like the exercises: modal, no parent, and the schedule goes on meanwhile.
    const std::string caption = Narrow(ui::ResourceString(IDS_WORKPLACE_WIZARD_CAPTION));
    RunOnce(m_workplaceWizard, caption.c_str(), nullptr, 0u);
}

// The check runs in the background: a server that is slow or never answers
// must not hold up the breaks, the tray icon or the menu. Its answer, if it
// has one to show, comes back as WM_UPDATE_ANSWER.
void CPausoraDlg::RunUpdateCheck() {
    m_updateCheck.Start(Handle(), WM_UPDATE_ANSWER, ChosenUpdateServer(m_registry),
                        Narrow(ui::ResourceString(IDS_VERSION)));
}

void CPausoraDlg::RefreshPolicy() {
    const SettingsPolicy before = m_policy;
    m_policy.Read(m_machineRegistry, m_registry);
    if (m_policy == before) {
        return;  // told again by another of our windows, or nothing of ours changed
    }
    const STimeSettings was = m_settings;
    RestoreOwnValues(m_registry, before.Names(), m_settings);
    m_policy.Apply(m_settings);
    m_tray.ShowSwitches(m_settings);
    m_history.SetKeeping(m_settings.KeepHistory != 0);
    if (m_engine && !(m_settings == was)) {
        m_engine->ApplySettings();
    }
}

void CPausoraDlg::ShowUpdateAnswer() {
    // An offer that comes after a policy turned the check off is not shown.
    if (m_settings.CheckForUpdates != 1) {
        return;
    }
    if (auto message = m_updateCheck.TakeMessage()) {
        CUpdateDlg offer(*std::move(message), m_updateCheck.InstallerAddress());
        offer.DoModal(ui::AppMainWindow());
    }
}

}  // namespace pausora
