#include "store/settings_policy.h"

#include <algorithm>
#include <optional>

namespace pausora {
namespace {

// A switch of policy: a DWORD of 0 or 1, or nothing.
std::optional<bool> ReadSwitch(IRegistryKey& key, std::string_view name) {
    std::uint32_t number = 0;
    if (key.TypeOf(name) == RegistryType::kDword && key.ReadDword(name, number) && number <= 1) {
        return number == 1;
    }
    return std::nullopt;
}

}  // namespace

void SettingsPolicy::Read(IRegistry& machine, IRegistry& user) {
    *this = SettingsPolicy{};
    std::optional<bool> allowExit;
    std::optional<bool> allowStop;
    std::optional<bool> updateCheck;
    // The machine's first: what it sets, the user's policy cannot change.
    for (IRegistry* registry : {&machine, &user}) {
        auto key = registry->NewKey();
        if (!key->Open(reg::kPolicyKey)) {
            continue;
        }
        STimeSettings read;
        for (const std::string_view name : read.ReadValid(*key)) {
            if (!Sets(name)) {
                m_names.push_back(name);
                m_values.CopyValues(read, {name});
            }
        }
        allowExit = allowExit ? allowExit : ReadSwitch(*key, reg::kAllowExit);
        allowStop = allowStop ? allowStop : ReadSwitch(*key, reg::kAllowStop);
        updateCheck = updateCheck ? updateCheck : ReadSwitch(*key, reg::kUpdateCheck);
        key->Close();
    }
    m_allowExit = allowExit.value_or(true);
    m_allowStop = allowStop.value_or(true);
    // No update check is the user's box cleared and locked, whatever a
    // "CheckForUpdates" of policy says.
    if (!updateCheck.value_or(true)) {
        m_values.CheckForUpdates = 0;
        if (!Sets("CheckForUpdates")) {
            m_names.push_back("CheckForUpdates");
        }
    }
}

bool SettingsPolicy::Sets(std::string_view valueName) const {
    return std::find(m_names.begin(), m_names.end(), valueName) != m_names.end();
}

void RestoreOwnValues(IRegistry& registry, const std::vector<std::string_view>& names,
                      STimeSettings& settings) {
    STimeSettings own = settings;
    auto key = registry.NewKey();
    if (key->Open(reg::kSettingsKey)) {
        own.ReadValid(*key);
    }
    key->Close();
    settings.CopyValues(own, names);
}

}  // namespace pausora
