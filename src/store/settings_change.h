// A change of settings as the user made it: the values edited, by their names
// in the settings table, and nothing else. The main window applies it to its
// live record, so that what changed there meanwhile (a tray switch, the
// points) is not taken back by an older copy.
#pragma once

#include "store/time_settings.h"

#include <functional>
#include <string_view>
#include <vector>

namespace pausora {

class SettingsChange {
  public:
    // Says, by the table's name, whether a value may not be applied: the one
    // place where a value an administrator locked is to be turned away.
    using Refusal = std::function<bool(std::string_view name)>;

    // The values in which `edited` differs from `before`; never Bonus, which
    // the engine earns while the window is open.
    static SettingsChange Between(const STimeSettings& before, const STimeSettings& edited);

    // The names of the values, in the table's order.
    std::vector<std::string_view> Names() const;

    // Writes each value into `live` unless `refused` says no to it.
    void ApplyTo(STimeSettings& live, const Refusal& refused = {}) const;

    // "Keep a history" cleared, and the user chose to delete the file kept
    // so far; it goes once keeping has stopped.
    bool deleteHistory = false;

  private:
    struct Edit {
        std::string_view name;
        std::function<void(STimeSettings&)> write;
    };
    std::vector<Edit> m_edits;
};

}  // namespace pausora
