#include "wizards/initial_setup_wizard.h"

#include "resource.h"
#include "ui/picker_control.h"

#include <algorithm>
#include <string>
#include <utility>

namespace pausora {

CInitialSetupWizard::CInitialSetupWizard(std::string caption, HWND parent, UINT startPage,
                                         STimeSettings* settings)
    : ui::WizardSheet(std::move(caption), parent, startPage), m_settings(settings) {
    // The welcome page draws the same picture over it, at the monitor's
    // scaling: the sheet keeps the watermark at 164 pixels wide everywhere.
    SetWatermark(IDB_WATERMARK);
    SetHeaderBitmap(IDB_WIZARD_HEADER);
}

CInitialSetupWizard_Page1::CInitialSetupWizard_Page1()
    : CPicturePage(IDD_INITIAL_WIZARD_WELCOME, IDB_WATERMARK, PSWIZB_NEXT) {}

CScheduleWizardPage::CScheduleWizardPage(const Layout& layout, STimeSettings* settings,
                                         const SettingsPolicy& policy)
    : ui::PropertyPage(layout.templateId),
      m_settings(settings),
      m_pickers(layout.pickers),
      m_policy(policy) {
    SetHeaderTexts(layout.title, layout.subtitle);
}

bool CScheduleWizardPage::Locked(const Picker& picker) const {
    return m_policy.Sets(STimeSettings::NameOf(picker.value)) ||
           (picker.minutes != nullptr && m_policy.Sets(STimeSettings::NameOf(picker.minutes)));
}

BOOL CScheduleWizardPage::OnInitDialog() {
    ui::ShowPickers(Handle(), m_pickers, *m_settings);
    for (const Picker& picker : m_pickers) {
        if (Locked(picker)) {
            ::EnableWindow(Item(picker.control), FALSE);
        }
    }
    return TRUE;
}

void CScheduleWizardPage::OnSetActive() {
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
}

void CScheduleWizardPage::OnKillActive() {
    ui::ReadPickers(Handle(), m_pickers, *m_settings);
}

ui::Handled CScheduleWizardPage::OnNotify(const NMHDR& header) {
    // -1 sends the wizard on to the next page the way it was going, Next or
    // Back: the organisation has answered every question of this one.
    if (header.code == PSN_SETACTIVE &&
        std::all_of(m_pickers.begin(), m_pickers.end(),
                    [this](const Picker& picker) { return Locked(picker); })) {
        return -1;
    }
    if (header.code == DTN_DATETIMECHANGE) {
        SetModified();
        return 0;
    }
    return std::nullopt;
}

namespace {
using S = STimeSettings;
constexpr auto kHoursMinutes = PickerFormat::kHoursMinutes;
constexpr auto kMinutesSeconds = PickerFormat::kMinutesSeconds;
}  // namespace

const CScheduleWizardPage::Layout kWizardWorkingTime{
    IDD_INITIAL_WIZARD_WORKING_TIME,
    IDS_WIZARD_WORKING_TIME,
    IDS_WIZARD_WORKING_TIME_LINE,
    {{IDC_WIZARD_PICKER_1, kHoursMinutes, &S::StartWorkTime_hours, &S::StartWorkTime_minutes},
     {IDC_WIZARD_PICKER_2, kHoursMinutes, &S::EndWorkTime_hours, &S::EndWorkTime_minutes}}};
const CScheduleWizardPage::Layout kWizardTimeLimits{
    IDD_INITIAL_WIZARD_TIME_LIMIT,
    IDS_WIZARD_TIME_LIMITS,
    IDS_WIZARD_TIME_LIMITS_LINE,
    {{IDC_WIZARD_PICKER_1, kHoursMinutes, &S::DailyTimeLimit}}};
const CScheduleWizardPage::Layout kWizardShortBreaks{
    IDD_INITIAL_WIZARD_SHORT_BREAKS,
    IDS_WIZARD_SHORT_BREAKS,
    IDS_WIZARD_SHORT_BREAKS_LINE,
    {{IDC_WIZARD_PICKER_1, kMinutesSeconds, &S::Micropause},
     {IDC_WIZARD_PICKER_2, kMinutesSeconds, &S::Micropause_length}}};
const CScheduleWizardPage::Layout kWizardLongBreaks{
    IDD_INITIAL_WIZARD_LONG_BREAKS,
    IDS_WIZARD_LONG_BREAKS,
    IDS_WIZARD_LONG_BREAKS_LINE,
    {{IDC_WIZARD_PICKER_1, kHoursMinutes, &S::Pause},
     {IDC_WIZARD_PICKER_2, kHoursMinutes, &S::Pause_length}}};

CInitialSetupWizard_Page6::CInitialSetupWizard_Page6(int* startWorkplace)
    : ui::PropertyPage(IDD_INITIAL_WIZARD_FINISH), m_startWorkplace(startWorkplace) {
    SetHeaderTexts(IDS_WIZARD_FINISH, IDS_WIZARD_FINISH_LINE);
}

BOOL CInitialSetupWizard_Page6::OnInitDialog() {
    ::CheckDlgButton(Handle(), IDC_WIZARD_START_WORKPLACE, BST_CHECKED);
    return TRUE;
}

void CInitialSetupWizard_Page6::OnSetActive() {
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH);
}

void CInitialSetupWizard_Page6::OnWizardFinish() {
    *m_startWorkplace =
        ::IsDlgButtonChecked(Handle(), IDC_WIZARD_START_WORKPLACE) == BST_CHECKED ? 1 : 0;
}

}  // namespace pausora
