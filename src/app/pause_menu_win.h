// The tray menu's pause items as the schedule wants them shown, and the
// pause's texts from the string table.
#pragma once

#include "scheduler/pause_clock.h"
#include "scheduler/scheduler_ids.h"
#include "store/settings_policy.h"

#include <windows.h>

#include <optional>

namespace pausora {

PauseTexts LoadPauseTexts();
// The notices' and the tooltip's texts of the break engine.
BreakTexts LoadBreakTexts();

// While paused, "Resume" takes the place of the Pause submenu; "Take a break
// now" is greyed unless a break can be taken.
void ApplyPauseMenu(HMENU popup, bool paused, bool breakNowAllowed);

// What an organisation's policies lock is greyed: Exit, Stop (not Start) and
// the Pause submenu (not Resume), and each notification switch a policy sets
// (its check mark shows the policy's value).
void ApplyPolicyMenu(HMENU popup, const SettingsPolicy& policy, bool stopped, bool paused);

// The length a Pause submenu command asks for; nullopt for any other command.
std::optional<PauseLength> PauseLengthOf(UINT command);

}  // namespace pausora
