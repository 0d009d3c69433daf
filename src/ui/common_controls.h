// The common controls (property sheets, tree view, date-time picker) come from
// a library that is loaded at the first window that needs them, not at start-up:
// most runs of the program never open one.
#pragma once

namespace pausora::ui {

// Registers the common control classes our windows use. Cheap after the first
// call; call it before creating a window whose template holds one of them.
void LoadCommonControls();

}  // namespace pausora::ui
