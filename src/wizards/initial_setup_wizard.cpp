#include "wizards/initial_setup_wizard.h"

#include "resource.h"
#include "wizards/wizard_title.h"

#include <optional>
#include <string>
#include <utility>

namespace pausora {

namespace {

// A picker holds a full date; ours is always 1 January 1990 (a Monday), of
// which only the time of day counts.
void SetPicker(HWND picker, PickerFormat format, PickerTime time) {
    const std::string pattern(FormatText(format));
    ::SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(pattern.c_str()));
    SYSTEMTIME value{};
    value.wYear = 1990;
    value.wMonth = 1;
    value.wDay = 1;
    value.wDayOfWeek = 1;
    value.wHour = static_cast<WORD>(time.hour);
    value.wMinute = static_cast<WORD>(time.minute);
    value.wSecond = static_cast<WORD>(time.second);
    ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
}

std::optional<PickerTime> ReadPicker(HWND picker) {
    SYSTEMTIME value{};
    if (::SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) !=
        GDT_VALID) {
        return std::nullopt;
    }
    return PickerTime{value.wHour, value.wMinute, value.wSecond};
}

}  // namespace

CInitialSetupWizard::CInitialSetupWizard(std::string caption, HWND parent, UINT startPage,
                                         STimeSettings* settings)
    : ui::WizardSheet(std::move(caption), parent, startPage), m_settings(settings) {
    SetWatermark(IDB_WATERMARK);
    SetHeaderBitmap(IDB_WIZARD_HEADER);
}

CInitialSetupWizard_Page1::CInitialSetupWizard_Page1()
    : ui::WizardPage(IDD_INITIAL_WIZARD_WELCOME) {
    HideHeader();
}

void CInitialSetupWizard_Page1::OnSetActive() {
    SetWizardButtons(PSWIZB_NEXT);
    if (!m_titleFont) {
        m_titleFont = CreateWizardTitleFont();
    }
    ::SendDlgItemMessageA(Handle(), IDC_WIZARD_TITLE, WM_SETFONT,
                          reinterpret_cast<WPARAM>(m_titleFont.get()), TRUE);
}

CScheduleWizardPage::CScheduleWizardPage(UINT templateId, const char* title, const char* subtitle,
                                         STimeSettings* settings, std::vector<Picker> pickers)
    : ui::WizardPage(templateId), m_settings(settings), m_pickers(std::move(pickers)) {
    SetHeaderTexts(title, subtitle);
}

BOOL CScheduleWizardPage::OnInitDialog() {
    for (const Picker& picker : m_pickers) {
        const HWND control = ::GetDlgItem(Handle(), picker.control);
        if (picker.minutes != nullptr) {
            SetPicker(control, picker.format,
                      ShowClock(m_settings->*picker.first, m_settings->*picker.minutes));
        } else {
            SetPicker(control, picker.format,
                      ShowSeconds(picker.format, m_settings->*picker.first));
        }
    }
    return TRUE;
}

void CScheduleWizardPage::OnSetActive() {
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
}

void CScheduleWizardPage::OnKillActive() {
    for (const Picker& picker : m_pickers) {
        const std::optional<PickerTime> shown = ReadPicker(::GetDlgItem(Handle(), picker.control));
        if (!shown) {
            continue;
        }
        std::uint32_t& first = m_settings->*picker.first;
        if (picker.minutes != nullptr) {
            ReadClock(*shown, first, m_settings->*picker.minutes);
        } else {
            first = ReadSeconds(picker.format, *shown, first);
        }
    }
}

ui::Handled CScheduleWizardPage::OnNotify(const NMHDR& header) {
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

CInitialSetupWizard_Page2::CInitialSetupWizard_Page2(STimeSettings* settings)
    : CScheduleWizardPage(
          IDD_INITIAL_WIZARD_WORKING_TIME, "Working time",
          "Specify start and end of daily working time here", settings,
          {{IDC_WIZARD_PICKER_1, kHoursMinutes, &S::StartWorkTime_hours, &S::StartWorkTime_minutes},
           {IDC_WIZARD_PICKER_2, kHoursMinutes, &S::EndWorkTime_hours, &S::EndWorkTime_minutes}}) {}

CInitialSetupWizard_Page3::CInitialSetupWizard_Page3(STimeSettings* settings)
    : CScheduleWizardPage(IDD_INITIAL_WIZARD_TIME_LIMIT, "Time limits",
                          "Specify daily working time limits here", settings,
                          {{IDC_WIZARD_PICKER_1, kHoursMinutes, &S::DailyTimeLimit}}) {}

CInitialSetupWizard_Page4::CInitialSetupWizard_Page4(STimeSettings* settings)
    : CScheduleWizardPage(IDD_INITIAL_WIZARD_SHORT_BREAKS, "Short breaks schedule",
                          "Specify short breaks schedule here", settings,
                          {{IDC_WIZARD_PICKER_1, kMinutesSeconds, &S::Micropause},
                           {IDC_WIZARD_PICKER_2, kMinutesSeconds, &S::Micropause_length}}) {}

CInitialSetupWizard_Page5::CInitialSetupWizard_Page5(STimeSettings* settings)
    : CScheduleWizardPage(IDD_INITIAL_WIZARD_LONG_BREAKS, "Breaks schedule",
                          "Specify work breaks schedule here", settings,
                          {{IDC_WIZARD_PICKER_1, kHoursMinutes, &S::Pause},
                           {IDC_WIZARD_PICKER_2, kHoursMinutes, &S::Pause_length}}) {}

CInitialSetupWizard_Page6::CInitialSetupWizard_Page6(int* startWorkplace)
    : ui::WizardPage(IDD_INITIAL_WIZARD_FINISH), m_startWorkplace(startWorkplace) {
    SetHeaderTexts("Finish", "Schedule setup successfully finished");
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
