#include "app/pausora_app.h"

#include "store/languages.h"
#include "store/product.h"
#include "store/registry_key.h"
#include "ui/ui_language.h"
#include "resource.h"
#include "ui/utf.h"
#include "ui/window.h"
#include "app/pausora_dlg.h"
#include "wizards/initial_setup_wizard.h"
#include "wizards/workplace_setup_wizard.h"

#include <objbase.h>
#include <shellapi.h>

#include <utility>

namespace pausora {

std::string SystemRootPath() {
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD length = ::GetEnvironmentVariable(L"SYSTEMROOT", buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        // Without the variable, ask the system where Windows is, so that the
        // default sounds still name real files.
        length = ::GetWindowsDirectory(buffer, MAX_PATH + 1);
        if (length == 0 || length > MAX_PATH) {
            return "C:\\Windows";
        }
    }
    return Narrow(std::wstring_view(buffer, length));
}

std::string ProgramFolder() {
    // A folder under a long profile path can be longer than MAX_PATH; the
    // buffer grows until the whole name fits.
    std::wstring path(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileName(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) {
            return {};  // cut short: better no folder than a wrong one
        }
        path.resize(path.size() * 2);
    }
    const std::size_t separator = path.find_last_of(L"\\/");
    path.resize(separator == std::wstring::npos ? 0 : separator + 1);
    return Narrow(path);
}

void OpenWebPage(std::string_view path) {
    ::ShellExecute(nullptr, nullptr, Widen(WebPage(path)).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CPausoraApp::OnHelp() {
    OpenWebPage("/help.html");
}

SettingsPolicy ReadPolicy(IRegistry& user) {
    WinRegistry machine(HKEY_LOCAL_MACHINE);
    SettingsPolicy policy;
    policy.Read(machine, user);
    return policy;
}

bool WizardsAtStartup::RunInitialSetup(STimeSettings& settings, const SettingsPolicy& policy) {
    int startWorkplace = 0;
    CInitialSetupWizard_Page1 welcome;
    CScheduleWizardPage workingTime(kWizardWorkingTime, &settings, policy);
    CScheduleWizardPage timeLimit(kWizardTimeLimits, &settings, policy);
    CScheduleWizardPage shortBreaks(kWizardShortBreaks, &settings, policy);
    CScheduleWizardPage longBreaks(kWizardLongBreaks, &settings, policy);
    CInitialSetupWizard_Page6 finish(&startWorkplace);
    const std::string caption = Narrow(ui::ResourceString(IDS_INITIAL_WIZARD_CAPTION));
    CInitialSetupWizard wizard(caption.c_str(), nullptr, 0, &settings);
    wizard.AddPage(welcome);
    wizard.AddPage(workingTime);
    wizard.AddPage(timeLimit);
    wizard.AddPage(shortBreaks);
    wizard.AddPage(longBreaks);
    wizard.AddPage(finish);
    wizard.DoModal();  // finished or cancelled, the pages have stored what they hold
    return startWorkplace != 0;
}

void WizardsAtStartup::RunWorkplaceSetup() {
    const std::string caption = Narrow(ui::ResourceString(IDS_WORKPLACE_WIZARD_CAPTION));
    CWorkPlaceSetupWizard wizard(caption.c_str(), nullptr, 0);
    wizard.DoModal();
}

bool CPausoraApp::InitInstance() {
    // One copy per user session. The handle stays open for the life of the
    // process, which is what keeps the name taken; made unowned, it has
    // nothing to release.
    m_instanceMutex.reset(::CreateMutex(nullptr, FALSE, L"PausoraApp"));
    if (m_instanceMutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        return false;
    }

    // The busy source asks Core Audio and Media Foundation from this thread,
    // the one of every window of ours; closed again after the main window
    // (and its COM objects) have gone.
    struct ComApartment {
        HRESULT result =
            ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        ~ComApartment() {
            if (SUCCEEDED(result)) {
                ::CoUninitialize();
            }
        }
    } const com;

    // The first-run wizard runs before any setting is read: it speaks
    // Windows' choice, where we have it.
    const std::vector<std::string> displayLanguages = ui::UserDisplayLanguages();
    ui::UseLanguage(ResolveLanguage({}, displayLanguages));

    WinRegistry registry;
    WizardsAtStartup wizards;
    const SettingsPolicy policy = ReadPolicy(registry);
    StartupResult startup =
        PrepareSettings(registry, SystemRootPath(), ProgramFolder(), wizards, policy);

    // Every window from here on speaks the chosen language; the main window
    // lays a policy over the settings as well, and so does this.
    STimeSettings obeyed = startup.settings;
    policy.Apply(obeyed);
    const std::string_view language = ResolveLanguage(obeyed.Language, displayLanguages);
    ui::UseLanguage(language);

    CPausoraDlg mainWindow(std::move(startup.settings), startup.saved, language);
    mainWindow.DoModal();
    return false;
}

}  // namespace pausora
