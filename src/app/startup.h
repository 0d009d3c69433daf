// What start-up does with the registry before the main window runs: the
// first-use marker, loading or creating the settings, and the first-run
// wizards with the save that follows them.
#pragma once

#include "store/registry_store.h"
#include "store/settings_policy.h"
#include "store/time_settings.h"

#include <string_view>

namespace pausora {

// The two wizards start-up may show. They run modally and edit the record
// they are given.
class IStartupWizards {
  public:
    virtual ~IStartupWizards() = default;
    // The first-run schedule wizard; true when its last page asks for the
    // workplace wizard. Finishing and cancelling are not told apart. The
    // values `policy` sets are in `settings` already, not the user's to set.
    virtual bool RunInitialSetup(STimeSettings& settings, const SettingsPolicy& policy) = 0;
    virtual void RunWorkplaceSetup() = 0;
};

struct StartupResult {
    bool firstUse = false;
    STimeSettings settings;  // as saved, after the wizards
    bool saved = true;       // false when a save of them failed
};

// `systemRoot` is the Windows folder (for the default sounds), `programFolder`
// the running program's (for the Run value). The wizard shows the values
// `policy` sets as the policy has them, and their save leaves them alone.
StartupResult PrepareSettings(IRegistry& registry, std::string_view systemRoot,
                              std::string_view programFolder, IStartupWizards& wizards,
                              const SettingsPolicy& policy = SettingsPolicy{});

}  // namespace pausora
