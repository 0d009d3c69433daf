// The nine pages of the settings window. Each shows values of the record the
// window edits, and changes nothing in it until the sheet applies.
#pragma once

#include "store/settings_policy.h"
#include "store/time_settings.h"
#include "sound/win_sound.h"
#include "ui/handles.h"
#include "ui/picker_control.h"
#include "ui/property_sheet.h"

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pausora {

// What every settings page shares: the record it edits and the policies
// that lock some of its values. A page of its own kind (the Customize root
// page) shows only its template and writes nothing.
class CSettingsPage : public ui::PropertyPage {
  public:
    CSettingsPage(UINT templateId, UINT iconId, STimeSettings& settings,
                  const SettingsPolicy& policy)
        : ui::PropertyPage(templateId, iconId), m_settings(&settings), m_policy(&policy) {}

  protected:
    STimeSettings& Settings() { return *m_settings; }
    const SettingsPolicy& Policy() const { return *m_policy; }
    void OnDpiChanged() override;

    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);
    // Enables the controls `ids` while the page's switch is on; a locked one
    // stays grey.
    void EnableWithSwitch(const std::vector<int>& ids);
    // Greys the control `id` for good when a policy sets one of `names`;
    // whether it did.
    bool LockIfSet(int id, std::initializer_list<std::string_view> names);
    void Lock(int id);
    bool IsLocked(int id) const;
    // The line at the top of the page that says some of its values are the
    // organisation's; the page's controls move down to make room, once.
    void ShowManagedNote();
    // The button that stays at the page's foot when the note moves the rest.
    void KeepAtFoot(int id) { m_footButton = id; }

  private:
    STimeSettings* m_settings;
    const SettingsPolicy* m_policy;
    std::vector<int> m_locked;
    int m_footButton = 0;
    ui::IconHandle m_noteIcon;
};

// A page of check boxes, each showing one switch of the record (Schedule,
// Startup, Appearance).
class CBoxesPage final : public CSettingsPage {
  public:
    struct Box {
        int id;
        std::uint32_t STimeSettings::*field;
        // The other button of a pair of radio buttons: checked when the field
        // is 0, and never read back (its partner is).
        bool other = false;
    };
    // A list of names in a multi-line edit, one to a line, greyed (with
    // its label) while the box `enabledBy` is clear.
    struct List {
        int id;
        std::vector<std::string> STimeSettings::*field;
        int enabledBy;
        int label;
    };
    // A drop-down list of texts, each standing for a value of a string
    // setting; a value not among them shows as the first.
    struct Entry {
        std::string value;
        std::wstring text;
    };
    struct Choice {
        int id;
        std::string STimeSettings::*field;
        std::string_view name;  // the value's, for a policy that sets it
        std::vector<Entry> (*entries)();
    };
    struct Layout {
        UINT templateId;
        UINT iconId;
        std::vector<Box> boxes;
        std::vector<List> lists = {};
        std::vector<Choice> choices = {};
    };
    CBoxesPage(Layout layout, STimeSettings& settings, const SettingsPolicy& policy);

  protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void EnableLists();

    Layout m_layout;
    std::vector<std::vector<Entry>> m_entries;  // each choice's, as shown
    bool m_showing = false;                     // the edits' own change notices while filled
};

// A schedule page of time pickers under one switch, with Restore defaults
// (Short breaks, Long breaks, Working time, Time limits).
class CTimesPage final : public CSettingsPage {
  public:
    using Picker = ui::PickerBinding<STimeSettings>;
    struct Layout {
        UINT templateId;
        UINT iconId;
        std::uint32_t STimeSettings::*enabled;
        std::vector<Picker> pickers;
        std::vector<int> dependents;  // enabled with the switch
    };
    CTimesPage(Layout layout, STimeSettings& settings, const SettingsPolicy& policy);

  protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;
    ui::Handled OnNotify(const NMHDR& header) override;

  private:
    void RestoreDefaults();

    Layout m_layout;
};

// What each page shows: Schedule and Appearance are check boxes;
// Short breaks, Long breaks, Working time and Time limits are time pickers.
extern const CBoxesPage::Layout kPageSchedule;
extern const CBoxesPage::Layout kPageAppearance;
extern const CTimesPage::Layout kPageMicropause;
extern const CTimesPage::Layout kPagePause;
extern const CTimesPage::Layout kPageWorkingTime;
extern const CTimesPage::Layout kPageTimeLimits;

// Startup: start with Windows, check for updates, keep the break history.
class CPageTrayAgent final : public CSettingsPage {
  public:
    CPageTrayAgent(STimeSettings& settings, const SettingsPolicy& policy);

    // Whether the user, clearing "Keep a history", chose to delete the file
    // too; once for each Apply.
    bool TakeDeleteHistory() { return std::exchange(m_deleteHistory, false); }

  protected:
    BOOL OnInitDialog() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;

  private:
    bool m_deleteHistory = false;
};

// One WAV file per notification event, with Browse and Play on a player of
// the page's own.
class CPageSounds final : public CSettingsPage {
  public:
    CPageSounds(STimeSettings& settings, const SettingsPolicy& policy);

  protected:
    BOOL OnInitDialog() override;
    void OnDpiChanged() override;
    bool OnApply() override;
    ui::Handled OnCommand(UINT id, UINT code, HWND control) override;

  private:
    int SelectedEvent() const;
    void ShowEvent(int event);
    // Browse is for the selected event's file, unless a policy sets it.
    void EnableBrowse();
    void Browse();

    std::array<std::string, kSoundEventCount> m_paths;
    std::string m_currentPath;
    CWinSoundSet m_sounds{RefusedFormat::kSilence};
};

}  // namespace pausora
