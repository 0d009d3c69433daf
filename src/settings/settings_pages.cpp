#include "settings/settings_pages.h"
#include "ui/utf.h"

#include "history/history_keeper_win.h"
#include "resource.h"
#include "ui/window.h"
#include "scheduler/quiet_programs.h"
#include "settings/page_path.h"
#include "store/languages.h"
#include "ui/picker_control.h"
#include "ui/ui_language.h"

#include <commdlg.h>

#include <algorithm>
#include <iterator>
#include <new>

namespace pausora {

namespace {

constexpr wchar_t kMessageTitle[] = L"Pausora";

// What the Sounds page's switch enables.
const std::vector<int> kSoundControls{IDC_SOUND_FILE, IDC_SOUND_BROWSE, IDC_SOUND_PLAY,
                                      IDC_SOUND_EVENTS};

}  // namespace

// --- shared ---

bool CSettingsPage::IsChecked(int id) const {
    return ::SendMessage(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CSettingsPage::SetChecked(int id, bool checked) {
    ::SendMessage(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CSettingsPage::EnableWithSwitch(const std::vector<int>& ids) {
    const bool on = IsChecked(IDC_PAGE_SWITCH);
    for (const int id : ids) {
        ::EnableWindow(Item(id), on && !IsLocked(id) ? TRUE : FALSE);
    }
}

bool CSettingsPage::LockIfSet(int id, std::initializer_list<std::string_view> names) {
    if (std::none_of(names.begin(), names.end(), [this](std::string_view name) {
            return !name.empty() && Policy().Sets(name);
        })) {
        return false;
    }
    Lock(id);
    return true;
}

void CSettingsPage::Lock(int id) {
    m_locked.push_back(id);
    ::EnableWindow(Item(id), FALSE);
    ShowManagedNote();
}

bool CSettingsPage::IsLocked(int id) const {
    return std::find(m_locked.begin(), m_locked.end(), id) != m_locked.end();
}

void CSettingsPage::ShowManagedNote() {
    if (Item(IDC_MANAGED_NOTE) != nullptr) {
        return;
    }
    // In the templates' margins: 7 dialog units from the edges, 236 wide,
    // and the gap the pages leave between their rows.
    RECT area{7, 7, 243, 11};
    ::MapDialogRect(Handle(), &area);
    const int gap = area.bottom - area.top;
    const int icon = Dpi().Scale(16);
    const std::wstring text = ui::ResourceString(IDS_MANAGED_BY_ORGANIZATION);
    const auto font = reinterpret_cast<HFONT>(::SendMessage(Handle(), WM_GETFONT, 0, 0));
    RECT line{0, 0, area.right - area.left - icon - gap, 0};
    if (const ui::WindowDc dc(Handle()); dc) {
        const ui::SelectedObject selected(dc.get(), font);
        ::DrawText(dc.get(), text.c_str(), -1, &line, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    const int height = std::max<int>(icon, line.bottom);

    // Everything moves down but a button at the page's foot, where there is
    // room above it.
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (m_footButton != 0 && ::GetDlgCtrlID(child) == m_footButton) {
            continue;
        }
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        ::SetWindowPos(child, nullptr, rect.left, rect.top + height + gap, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // First among the children, so that a screen reader says it first.
    const HINSTANCE instance = ui::ModuleInstance();
    const HWND picture = ::CreateWindowEx(
        0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, area.left, area.top, icon, icon,
        Handle(), reinterpret_cast<HMENU>(IDC_MANAGED_ICON), instance, nullptr);
    const HWND note = ::CreateWindowEx(
        0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
        area.left + icon + gap, area.top + std::max(0, (icon - static_cast<int>(line.bottom)) / 2),
        line.right, line.bottom, Handle(), reinterpret_cast<HMENU>(IDC_MANAGED_NOTE), instance,
        nullptr);
    ::SendMessage(note, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SetWindowPos(note, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(picture, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    OnDpiChanged();
}

void CSettingsPage::OnDpiChanged() {
    const HWND picture = Item(IDC_MANAGED_ICON);
    if (picture == nullptr) {
        return;
    }
    // The system's information icon at the small size of this scaling.
    const int size = Dpi().Scale(16);
    m_noteIcon.reset(static_cast<HICON>(::CopyImage(::LoadIcon(nullptr, IDI_INFORMATION),
                                                    IMAGE_ICON, size, size, LR_COPYFROMRESOURCE)));
    ::SendMessage(picture, STM_SETICON, reinterpret_cast<WPARAM>(m_noteIcon.get()), 0);
}

// --- check boxes ---

CBoxesPage::CBoxesPage(Layout layout, STimeSettings& settings, const SettingsPolicy& policy)
    : CSettingsPage(layout.templateId, layout.iconId, settings, policy),
      m_layout(std::move(layout)) {}

BOOL CBoxesPage::OnInitDialog() {
    for (const Box& box : m_layout.boxes) {
        SetChecked(box.id, (Settings().*box.field == 1) != box.other);
        LockIfSet(box.id, {STimeSettings::NameOf(box.field)});
    }
    m_showing = true;
    for (const List& list : m_layout.lists) {
        ::SetWindowTextW(Item(list.id), Widen(FormatProgramList(Settings().*list.field)).c_str());
    }
    m_showing = false;
    m_entries.clear();
    for (const Choice& choice : m_layout.choices) {
        const HWND list = Item(choice.id);
        std::vector<Entry> entries = choice.entries();
        LRESULT shown = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ::SendMessage(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries[i].text.c_str()));
            if (entries[i].value == Settings().*choice.field) {
                shown = static_cast<LRESULT>(i);
            }
        }
        ::SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
        LockIfSet(choice.id, {choice.name});
        m_entries.push_back(std::move(entries));
    }
    EnableLists();
    return TRUE;
}

void CBoxesPage::EnableLists() {
    for (const List& list : m_layout.lists) {
        const BOOL on = IsChecked(list.enabledBy) ? TRUE : FALSE;
        ::EnableWindow(Item(list.id), on);
        ::EnableWindow(Item(list.label), on);
    }
}

bool CBoxesPage::OnApply() {
    for (const Box& box : m_layout.boxes) {
        if (!box.other) {
            Settings().*box.field = IsChecked(box.id) ? 1 : 0;
        }
    }
    for (const List& list : m_layout.lists) {
        const HWND edit = Item(list.id);
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        Settings().*list.field = ParseProgramList(Narrow(text));
    }
    for (std::size_t i = 0; i < m_layout.choices.size() && i < m_entries.size(); ++i) {
        const LRESULT picked = ::SendMessage(Item(m_layout.choices[i].id), CB_GETCURSEL, 0, 0);
        if (picked >= 0 && static_cast<std::size_t>(picked) < m_entries[i].size()) {
            Settings().*m_layout.choices[i].field =
                m_entries[i][static_cast<std::size_t>(picked)].value;
        }
    }
    return true;
}

ui::Handled CBoxesPage::OnCommand(UINT id, UINT code, HWND /*control*/) {
    const auto& boxes = m_layout.boxes;
    const auto& lists = m_layout.lists;
    if (code == BN_CLICKED && std::any_of(boxes.begin(), boxes.end(), [id](const Box& box) {
            return box.id == static_cast<int>(id);
        })) {
        SetModified();
        EnableLists();
        return 0;
    }
    if (code == EN_CHANGE && !m_showing &&
        std::any_of(lists.begin(), lists.end(),
                    [id](const List& list) { return list.id == static_cast<int>(id); })) {
        SetModified();
        return 0;
    }
    const auto& choices = m_layout.choices;
    if (code == CBN_SELCHANGE && std::any_of(choices.begin(), choices.end(), [id](const Choice& c) {
            return c.id == static_cast<int>(id);
        })) {
        SetModified();
        return 0;
    }
    return std::nullopt;
}

namespace {

// Windows' choice first, named by the language it gives today; then each
// language in its own name, so that a user can find theirs in any.
std::vector<CBoxesPage::Entry> LanguageEntries() {
    const std::string_view windows = ResolveLanguage({}, ui::UserDisplayLanguages());
    std::vector<CBoxesPage::Entry> entries{{"", ui::ResourceString(IDS_WINDOWS_LANGUAGE)}};
    for (const Language& language : Languages()) {
        if (language.name == windows) {
            std::wstring& text = entries.front().text;
            if (const std::size_t at = text.find(L"%1"); at != std::wstring::npos) {
                text.replace(at, 2, Widen(language.nativeName));
            }
        }
    }
    for (const Language& language : Languages()) {
        entries.push_back({std::string(language.name), Widen(language.nativeName)});
    }
    return entries;
}

}  // namespace

const CBoxesPage::Layout kPageSchedule{
    IDD_PAGE_SCHEDULE, IDI_PAGE_SCHEDULE, {{IDC_PAGE_SWITCH, &STimeSettings::UseTimeReset}}};
// "Transparency" fades the notices in; "Motion" slides them.
const CBoxesPage::Layout kPageAppearance{
    IDD_PAGE_APPEARANCE,
    IDI_PAGE_APPEARANCE,
    {{IDC_TRANSPARENCY, &STimeSettings::AppearanceType},
     {IDC_MOTION, &STimeSettings::AppearanceType, true},
     {IDC_QUIET_WHEN_BUSY, &STimeSettings::QuietWhenBusy},
     {IDC_ICON_COUNTDOWN, &STimeSettings::IconCountdown}},
    {{IDC_QUIET_PROGRAMS, &STimeSettings::QuietPrograms, IDC_QUIET_WHEN_BUSY,
      IDC_QUIET_PROGRAMS_LABEL}},
    {{IDC_LANGUAGE, &STimeSettings::Language, "Language", &LanguageEntries}}};

// --- the pages of time pickers ---

CTimesPage::CTimesPage(Layout layout, STimeSettings& settings, const SettingsPolicy& policy)
    : CSettingsPage(layout.templateId, layout.iconId, settings, policy),
      m_layout(std::move(layout)) {}

BOOL CTimesPage::OnInitDialog() {
    KeepAtFoot(IDC_RESTORE_DEFAULTS);
    ui::ShowPickers(Handle(), m_layout.pickers, Settings());
    SetChecked(IDC_PAGE_SWITCH, Settings().*m_layout.enabled == 1);
    LockIfSet(IDC_PAGE_SWITCH, {STimeSettings::NameOf(m_layout.enabled)});
    bool allLocked = true;
    for (const Picker& picker : m_layout.pickers) {
        const std::string_view minutes =
            picker.minutes != nullptr ? STimeSettings::NameOf(picker.minutes) : "";
        allLocked =
            LockIfSet(picker.control, {STimeSettings::NameOf(picker.value), minutes}) && allLocked;
    }
    // Restore defaults has nothing left to restore.
    if (allLocked) {
        Lock(IDC_RESTORE_DEFAULTS);
    }
    EnableWithSwitch(m_layout.dependents);
    return TRUE;
}

bool CTimesPage::OnApply() {
    // A switched-off picker still holds a value, and it is kept.
    ui::ReadPickers(Handle(), m_layout.pickers, Settings());
    Settings().*m_layout.enabled = IsChecked(IDC_PAGE_SWITCH) ? 1 : 0;
    return true;
}

void CTimesPage::RestoreDefaults() {
    // Only the pickers, and only on screen: the record changes when the
    // sheet applies.
    STimeSettings defaults = Settings();
    defaults.RestoreDefaults({});
    std::vector<Picker> free;
    std::copy_if(m_layout.pickers.begin(), m_layout.pickers.end(), std::back_inserter(free),
                 [this](const Picker& picker) { return !IsLocked(picker.control); });
    ui::ShowPickers(Handle(), free, defaults);
    SetModified();
}

ui::Handled CTimesPage::OnCommand(UINT id, UINT code, HWND /*control*/) {
    if (code != BN_CLICKED) {
        return std::nullopt;
    }
    if (id == IDC_PAGE_SWITCH) {
        SetModified();
        EnableWithSwitch(m_layout.dependents);
        return 0;
    }
    if (id == IDC_RESTORE_DEFAULTS) {
        RestoreDefaults();
        return 0;
    }
    return std::nullopt;
}

ui::Handled CTimesPage::OnNotify(const NMHDR& header) {
    if (header.code != DTN_DATETIMECHANGE) {
        return std::nullopt;
    }
    for (const Picker& picker : m_layout.pickers) {
        if (static_cast<int>(header.idFrom) == picker.control) {
            SetModified();
            return 0;
        }
    }
    return std::nullopt;
}

const CTimesPage::Layout kPageMicropause{
    IDD_PAGE_SHORT_BREAKS,
    IDI_PAGE_SHORT_BREAKS,
    &STimeSettings::UseMicropauses,
    {{IDC_FIRST_TIME, PickerFormat::kMinutesSeconds, &STimeSettings::Micropause},
     {IDC_SECOND_TIME, PickerFormat::kMinutesSeconds, &STimeSettings::Micropause_length}},
    {IDC_FIRST_TIME, IDC_SECOND_TIME, IDC_RESTORE_DEFAULTS, IDC_PAGE_TEXT_1044, IDC_PAGE_TEXT_1048,
     IDC_PAGE_TEXT_1046, IDC_PAGE_TEXT_1047}};
const CTimesPage::Layout kPagePause{
    IDD_PAGE_LONG_BREAKS,
    IDI_PAGE_LONG_BREAKS,
    &STimeSettings::UsePauses,
    {{IDC_FIRST_TIME, PickerFormat::kHoursMinutes, &STimeSettings::Pause},
     {IDC_SECOND_TIME, PickerFormat::kHoursMinutes, &STimeSettings::Pause_length}},
    {IDC_FIRST_TIME, IDC_SECOND_TIME, IDC_RESTORE_DEFAULTS, IDC_PAGE_TEXT_1045, IDC_PAGE_TEXT_1048,
     IDC_PAGE_TEXT_1046, IDC_PAGE_TEXT_1047}};
const CTimesPage::Layout kPageWorkingTime{
    IDD_PAGE_WORKING_TIME,
    IDI_PAGE_WORKING_TIME,
    &STimeSettings::UseWorkingTime,
    {{IDC_FIRST_TIME, PickerFormat::kHoursMinutes, &STimeSettings::StartWorkTime_hours,
      &STimeSettings::StartWorkTime_minutes},
     {IDC_SECOND_TIME, PickerFormat::kHoursMinutes, &STimeSettings::EndWorkTime_hours,
      &STimeSettings::EndWorkTime_minutes}},
    {IDC_FIRST_TIME, IDC_SECOND_TIME, IDC_RESTORE_DEFAULTS, IDC_PAGE_TEXT_1045, IDC_PAGE_TEXT_1048,
     IDC_PAGE_TEXT_1046, IDC_PAGE_TEXT_1047}};
const CTimesPage::Layout kPageTimeLimits{
    IDD_PAGE_TIME_LIMITS,
    IDI_PAGE_TIME_LIMITS,
    &STimeSettings::UseDailyTimeLimit,
    {{IDC_FIRST_TIME, PickerFormat::kHoursMinutes, &STimeSettings::DailyTimeLimit}},
    {IDC_FIRST_TIME, IDC_RESTORE_DEFAULTS, IDC_PAGE_TEXT_1045, IDC_PAGE_TEXT_1048}};

// --- Startup ---

CPageTrayAgent::CPageTrayAgent(STimeSettings& settings, const SettingsPolicy& policy)
    : CSettingsPage(IDD_PAGE_STARTUP, IDI_PAGE_STARTUP, settings, policy) {}

BOOL CPageTrayAgent::OnInitDialog() {
    // Starting with Windows is the user's own, whatever a policy says.
    SetChecked(IDC_PAGE_SWITCH, Settings().RunAtStartup == 1);
    SetChecked(IDC_CHECK_UPDATES, Settings().CheckForUpdates == 1);
    SetChecked(IDC_KEEP_HISTORY, Settings().KeepHistory != 0);
    LockIfSet(IDC_CHECK_UPDATES, {"CheckForUpdates"});
    LockIfSet(IDC_KEEP_HISTORY, {"KeepHistory"});
    return TRUE;
}

bool CPageTrayAgent::OnApply() {
    Settings().RunAtStartup = IsChecked(IDC_PAGE_SWITCH) ? 1 : 0;
    Settings().CheckForUpdates = IsChecked(IDC_CHECK_UPDATES) ? 1 : 0;
    Settings().KeepHistory = IsChecked(IDC_KEEP_HISTORY) ? 1 : 0;
    return true;
}

ui::Handled CPageTrayAgent::OnCommand(UINT id, UINT code, HWND /*control*/) {
    if (code != BN_CLICKED) {
        return std::nullopt;
    }
    if (id == IDC_KEEP_HISTORY) {
        m_deleteHistory = false;
        if (!IsChecked(IDC_KEEP_HISTORY) && Settings().KeepHistory != 0) {
            m_deleteHistory = HistoryKeeper::AskToDelete(Sheet());
        }
    } else if (id != IDC_PAGE_SWITCH && id != IDC_CHECK_UPDATES) {
        return std::nullopt;
    }
    SetModified();
    return 0;
}

// --- Sounds ---

CPageSounds::CPageSounds(STimeSettings& settings, const SettingsPolicy& policy)
    : CSettingsPage(IDD_PAGE_SOUNDS, IDI_PAGE_SOUNDS, settings, policy) {}

BOOL CPageSounds::OnInitDialog() {
    m_sounds.SetOwner(Sheet());
    const HWND list = Item(IDC_SOUND_EVENTS);
    // The table's English names the events in the registry; the page shows
    // the string table's.
    UINT id = IDS_SOUND_EVENT_1;
    for (const SoundEventInfo& event : SoundEvents()) {
        std::wstring label = ui::ResourceString(id++);
        if (label.empty()) {
            label = Widen(event.label);
        }
        ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    }
    OnDpiChanged();
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        m_paths[i] = Settings().SoundPath(static_cast<SoundEvent>(i));
    }
    SetChecked(IDC_PAGE_SWITCH, Settings().UseSounds == 1);
    LockIfSet(IDC_PAGE_SWITCH, {"UseSounds"});
    for (const SoundEventInfo& event : SoundEvents()) {
        if (Policy().Sets(event.valueName)) {
            ShowManagedNote();
        }
    }
    EnableWithSwitch(kSoundControls);
    ::SendMessage(list, LB_SETCURSEL, 0, 0);
    ShowEvent(0);
    return TRUE;
}

void CPageSounds::EnableBrowse() {
    const int event = SelectedEvent();
    const bool locked =
        event >= 0 && Policy().Sets(SoundEvents()[static_cast<std::size_t>(event)].valueName);
    ::EnableWindow(Item(IDC_SOUND_BROWSE), IsChecked(IDC_PAGE_SWITCH) && !locked ? TRUE : FALSE);
}

void CPageSounds::OnDpiChanged() {
    CSettingsPage::OnDpiChanged();
    // Sixteen pixels at 96 dots per inch; more when the text is larger, so
    // that the lines do not run into each other, and never fewer.
    const int height = std::max(16, Dpi().Scale(16));
    ::SendMessage(Item(IDC_SOUND_EVENTS), LB_SETITEMHEIGHT, 0, height);
    ::InvalidateRect(Item(IDC_SOUND_EVENTS), nullptr, TRUE);
}

bool CPageSounds::OnApply() {
    for (std::size_t i = 0; i < kSoundEventCount; ++i) {
        Settings().SoundPath(static_cast<SoundEvent>(i)) = m_paths[i];
    }
    Settings().UseSounds = IsChecked(IDC_PAGE_SWITCH) ? 1 : 0;
    return true;
}

int CPageSounds::SelectedEvent() const {
    const auto selected =
        static_cast<int>(::SendMessage(Item(IDC_SOUND_EVENTS), LB_GETCURSEL, 0, 0));
    return selected >= 0 && selected < static_cast<int>(kSoundEventCount) ? selected : -1;
}

void CPageSounds::ShowEvent(int event) {
    if (event < 0) {
        return;
    }
    m_currentPath = m_paths[static_cast<std::size_t>(event)];
    ::SetWindowText(Item(IDC_SOUND_FILE), Widen(FileNameOf(m_currentPath)).c_str());
    EnableBrowse();
}

void CPageSounds::Browse() {
    std::array<wchar_t, MAX_PATH * 4> file{};
    OPENFILENAME dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Sheet();
    // A name and its pattern, each ended by a null, and one more.
    std::wstring filter = ui::ResourceString(IDS_WAVE_FILES);
    filter += L'\0';
    filter += L"*.wav";
    filter += L'\0';
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = L"wav";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    if (!::GetOpenFileName(&dialog)) {
        SetModified();
        return;
    }
    const std::string path = Narrow(file.data());

    // The file is read and its format offered to the device before it is
    // taken. A file that is no wave at all is as unplayable as one the
    // device refuses; a file that cannot be opened says why.
    CSoundSet& set = m_sounds.Set();
    bool playable = false;
    try {
        set.Wave().LoadFile(path, m_sounds.Files());
        playable = set.Device().CanPlayFormat(set.Wave(), m_sounds.Out());
    } catch (const CFileError& error) {
        if (error.Cause() != FileErrorCause::kNotWave) {
            m_sounds.Feedback().ShowMessage(FileErrorText(error), SoundMessageStyle::kFileError);
            return;
        }
    } catch (const std::bad_alloc&) {
        m_sounds.Feedback().ShowMessage(kOutOfMemoryText, SoundMessageStyle::kOutOfMemory);
        return;
    }
    if (!playable) {
        ::MessageBox(Sheet(), ui::ResourceString(IDS_FORMAT_NOT_SUPPORTED).c_str(), kMessageTitle,
                     MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (const int event = SelectedEvent(); event >= 0) {
        m_paths[static_cast<std::size_t>(event)] = path;
        ShowEvent(event);
    }
    SetModified();
}

ui::Handled CPageSounds::OnCommand(UINT id, UINT code, HWND /*control*/) {
    if (id == IDC_SOUND_EVENTS && code == LBN_SELCHANGE) {
        ShowEvent(SelectedEvent());
        return 0;
    }
    if (code != BN_CLICKED) {
        return std::nullopt;
    }
    switch (id) {
        case IDC_PAGE_SWITCH:
            EnableWithSwitch(kSoundControls);
            EnableBrowse();
            SetModified();
            return 0;
        case IDC_SOUND_BROWSE:
            Browse();
            return 0;
        case IDC_SOUND_PLAY:
            m_sounds.PlaySoundFile(m_currentPath);
            return 0;
        default:
            return std::nullopt;
    }
}

}  // namespace pausora
