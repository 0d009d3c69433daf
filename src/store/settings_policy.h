// Settings an organisation sets for its users by Group Policy: the values of
// "TimeSettings" under the policy keys of the machine and of the user, which
// lie over the user's own. A policy value is read by the settings table's own
// rows (their types and ranges), so one the user could not set either is not
// obeyed; the user's own value stays in the registry and comes back when the
// policy goes.
#pragma once

#include "store/registry_store.h"
#include "store/time_settings.h"

#include <string_view>
#include <vector>

namespace pausora {

namespace reg {
inline constexpr std::string_view kPolicyKey = "Software\\Policies\\Pausora\\TimeSettings";
// Policies with no setting of the user's behind them.
inline constexpr std::string_view kAllowExit = "AllowExit";
inline constexpr std::string_view kAllowStop = "AllowStop";
inline constexpr std::string_view kUpdateCheck = "UpdateCheck";
}  // namespace reg

class SettingsPolicy {
  public:
    // Reads the policies afresh: `machine`'s key beats `user`'s.
    void Read(IRegistry& machine, IRegistry& user);

    // Lays the values set by policy over `settings`.
    void Apply(STimeSettings& settings) const { settings.CopyValues(m_values, m_names); }
    // Whether a policy sets the value of this name.
    bool Sets(std::string_view valueName) const;
    // The names of the values set, for the save to leave alone.
    const std::vector<std::string_view>& Names() const { return m_names; }

    bool AllowExit() const { return m_allowExit; }
    bool AllowStop() const { return m_allowStop; }

    bool operator==(const SettingsPolicy&) const = default;

  private:
    STimeSettings m_values;
    std::vector<std::string_view> m_names;
    bool m_allowExit = true;
    bool m_allowStop = true;
};

// What the user's own registry holds for the named values: after a policy
// went, the settings it set return to these.
void RestoreOwnValues(IRegistry& registry, const std::vector<std::string_view>& names,
                      STimeSettings& settings);

}  // namespace pausora
