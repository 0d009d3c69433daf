#include "store/settings_change.h"

#include <variant>

namespace pausora {

SettingsChange SettingsChange::Between(const STimeSettings& before, const STimeSettings& edited) {
    SettingsChange change;
    for (const SettingsValue& value : UserValues()) {
        std::visit(
            [&](auto member) {
                if (!(edited.*member == before.*member)) {
                    change.m_edits.push_back(
                        {value.name, [member, now = edited.*member](STimeSettings& live) {
                             live.*member = now;
                         }});
                }
            },
            value.member);
    }
    return change;
}

std::vector<std::string_view> SettingsChange::Names() const {
    std::vector<std::string_view> names;
    for (const Edit& edit : m_edits) {
        names.push_back(edit.name);
    }
    return names;
}

void SettingsChange::ApplyTo(STimeSettings& live, const Refusal& refused) const {
    for (const Edit& edit : m_edits) {
        if (!refused || !refused(edit.name)) {
            edit.write(live);
        }
    }
}

}  // namespace pausora
