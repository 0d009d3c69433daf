// The application: one copy per user, the first-use and settings set-up, then
// the hidden main window until the user chooses Exit.
#pragma once

#include "app/startup.h"
#include "ui/handles.h"

#include <string>
#include <string_view>

namespace pausora {

class CPausoraApp {
  public:
    // Runs the whole program; returns false always, as the process then ends.
    bool InitInstance();
    // Opens the help page in the default browser.
    static void OnHelp();

  private:
    ui::KernelHandle m_instanceMutex;
};

// Opens a page of the product's web site in the default browser.
void OpenWebPage(std::string_view path);

// The Windows folder, for the default sound paths; never empty.
std::string SystemRootPath();

// The folder of the running program with its closing separator; empty when
// it cannot be told.
std::string ProgramFolder();

// The policies of the machine and of the user (`user`, the user's registry).
SettingsPolicy ReadPolicy(IRegistry& user);

// The wizards of the first start, on their own windows: nothing else of the
// program runs until they are closed.
class WizardsAtStartup final : public IStartupWizards {
  public:
    bool RunInitialSetup(STimeSettings& settings, const SettingsPolicy& policy) override;
    void RunWorkplaceSetup() override;
};

}  // namespace pausora
