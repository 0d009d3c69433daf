// The first-run schedule wizard: six pages over the working day, the daily
// limit and the two kinds of break, editing a settings record in place. It
// writes nothing to the registry; whoever runs it saves the record.
#pragma once

#include "store/settings_policy.h"
#include "store/time_settings.h"
#include "ui/handles.h"
#include "ui/picker_control.h"
#include "ui/property_sheet.h"
#include "wizards/picture_page.h"

#include <string>
#include <vector>

namespace pausora {

class CInitialSetupWizard final : public ui::WizardSheet {
  public:
    // The pages are the caller's: it adds them in order and keeps them until
    // the run is over.
    CInitialSetupWizard(std::string caption, HWND parent, UINT startPage, STimeSettings* settings);

  private:
    STimeSettings* m_settings;  // the record the pages edit; the sheet only keeps it
};

// Welcome.
class CInitialSetupWizard_Page1 final : public CPicturePage {
  public:
    CInitialSetupWizard_Page1();
};

// A page of time pickers, each showing one time of the record. A field is
// written when the user leaves the page by Next or Back. A picker whose value
// a policy sets is greyed; a page of nothing else is passed over.
class CScheduleWizardPage final : public ui::PropertyPage {
  public:
    using Picker = ui::PickerBinding<STimeSettings>;
    struct Layout {
        UINT templateId;
        UINT title;  // string-table ids
        UINT subtitle;
        std::vector<Picker> pickers;
    };
    CScheduleWizardPage(const Layout& layout, STimeSettings* settings,
                        const SettingsPolicy& policy);

  protected:
    BOOL OnInitDialog() override;
    void OnSetActive() override;
    void OnKillActive() override;
    ui::Handled OnNotify(const NMHDR& header) override;

  private:
    bool Locked(const Picker& picker) const;

    STimeSettings* m_settings;
    const std::vector<Picker>& m_pickers;
    const SettingsPolicy& m_policy;
};

// The four pages between welcome and finish: working time (start and end of
// the working day), time limits (the daily limit), short breaks (interval and
// duration in minutes and seconds) and long breaks (in hours and minutes).
extern const CScheduleWizardPage::Layout kWizardWorkingTime;
extern const CScheduleWizardPage::Layout kWizardTimeLimits;
extern const CScheduleWizardPage::Layout kWizardShortBreaks;
extern const CScheduleWizardPage::Layout kWizardLongBreaks;

// Finish, with the offer to start the workplace wizard. The flag is written
// on Finish only: 1 when the box is ticked, else 0.
class CInitialSetupWizard_Page6 final : public ui::PropertyPage {
  public:
    explicit CInitialSetupWizard_Page6(int* startWorkplace);

  protected:
    BOOL OnInitDialog() override;
    void OnSetActive() override;
    void OnWizardFinish() override;

  private:
    int* m_startWorkplace;
};

}  // namespace pausora
