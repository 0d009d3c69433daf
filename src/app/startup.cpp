#include "app/startup.h"

namespace pausora {

StartupResult PrepareSettings(IRegistry& registry, std::string_view systemRoot,
                              std::string_view programFolder, IStartupWizards& wizards,
                              const SettingsPolicy& policy) {
    StartupResult result;

    // The marker goes in before any wizard runs, so a wizard that crashes or
    // is killed is not shown again on every start.
    auto app = registry.NewKey();
    if (!app->Open(reg::kAppKey)) {
        app->Create(reg::kAppKey);
    }
    std::string marker;
    if (!app->ReadString(reg::kFirstUse, marker)) {
        app->WriteString(reg::kFirstUse, "1");
        result.firstUse = true;
    }
    app->Close();

    STimeSettings& settings = result.settings;
    auto key = registry.NewKey();
    if (key->Open(reg::kSettingsKey)) {
        key->Close();
        result.saved = settings.LoadSettings(registry, systemRoot, programFolder);
    } else {
        key->Create(reg::kSettingsKey);
        key->Close();
        settings.RestoreDefaults(systemRoot);
        result.saved = settings.SaveSettings(registry, programFolder);
        settings.ReloadSettings(registry);
    }

    // Loading (or creating) has just written this very record; only the
    // wizard can have changed it since, so an ordinary start saves it once.
    // Each write is a trip to the registry, and start-up pays for every one.
    if (result.firstUse) {
        policy.Apply(settings);
        const bool startWorkplaceWizard = wizards.RunInitialSetup(settings, policy);
        result.saved =
            settings.SaveSettings(registry, programFolder, policy.Names()) && result.saved;
        if (startWorkplaceWizard) {
            wizards.RunWorkplaceSetup();
        }
    }
    return result;
}

}  // namespace pausora
