// The nine pages of the settings window. Each shows values of the live
// settings record, changes nothing in it until the sheet applies, then
// writes its fields and tells the main window.
#pragma once

#include "store/time_settings.h"
#include "sound/win_sound.h"
#include "ui/picker_time.h"
#include "ui/property_sheet.h"

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

namespace pausora {

// What every settings page shares: the record it edits and the way back
// to the main window.
class CSettingsPage : public ui::PropertyPage {
  public:
    CSettingsPage(UINT templateId, UINT iconId, STimeSettings& settings)
        : ui::PropertyPage(templateId, iconId), m_settings(&settings) {}

  protected:
    STimeSettings& Settings() { return *m_settings; }
    // WM_SETTINGS_CHANGED, sent: the main window saves and restarts the
    // schedule before this returns.
    void NotifySettingsChanged() const;

    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    void EnableItems(std::initializer_list<int> ids, bool enable);

  private:
    STimeSettings* m_settings;
};

// The Schedule root page: skipping breaks that are not needed.
class CPageSchedule final : public CSettingsPage {
  public:
    explicit CPageSchedule(STimeSettings& settings);

  protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;
};

// A schedule page of time pickers under one switch, with Restore defaults.
class CTimesPage : public CSettingsPage {
  public:
    // One picker and the field (or, for a clock time, the hour and minute
    // fields) it shows.
    struct Picker {
        int id;
        PickerFormat format;
        std::uint32_t STimeSettings::*value;
        std::uint32_t STimeSettings::*minutes = nullptr;  // a clock time only
    };
    struct Layout {
        UINT templateId;
        UINT iconId;
        std::uint32_t STimeSettings::*enabled;
        std::vector<Picker> pickers;
        std::vector<int> dependents;  // enabled with the switch
    };
    CTimesPage(Layout layout, STimeSettings& settings);

  protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;
    ui::Handled OnNotify(const NMHDR& header) override;

  private:
    void ShowPickers(const STimeSettings& from);
    void UpdateEnabledStates();
    void RestoreDefaults();

    Layout m_layout;
};

class CPageMicropause final : public CTimesPage {
  public:
    explicit CPageMicropause(STimeSettings& settings);
};
class CPagePause final : public CTimesPage {
  public:
    explicit CPagePause(STimeSettings& settings);
};
class CPageWorkingTime final : public CTimesPage {
  public:
    explicit CPageWorkingTime(STimeSettings& settings);
};
class CPageTimeLimits final : public CTimesPage {
  public:
    explicit CPageTimeLimits(STimeSettings& settings);
};

// The Customize root page: an introduction; it writes nothing.
class CPageCustomize final : public CSettingsPage {
  public:
    explicit CPageCustomize(STimeSettings& settings);
};

// Startup: start with Windows, check for updates, keep the break history.
class CPageTrayAgent final : public CSettingsPage {
  public:
    explicit CPageTrayAgent(STimeSettings& settings);

  protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;

  private:
    // Clearing "Keep a history" asked, and the user chose to delete the file.
    bool m_deleteHistory = false;
};

// One WAV file per notification event, with Browse and Play on a player of
// the page's own.
class CPageSounds final : public CSettingsPage {
  public:
    explicit CPageSounds(STimeSettings& settings);

  protected:
    BOOL OnInitDialog() override;
    void OnDpiChanged() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void UpdateEnabledStates();
    int SelectedEvent() const;
    void ShowEvent(int event);
    void Browse();

    std::array<std::string, kSoundEventCount> m_paths;
    std::string m_currentPath;
    CWinSoundSet m_sounds{RefusedFormat::kSilence};
};

// How notices appear: fading in or sliding out, and whether they wait while
// the user is busy.
class CPageAppearance final : public CSettingsPage {
  public:
    explicit CPageAppearance(STimeSettings& settings);

  protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;
};

}  // namespace pausora
