// Window messages that pass between the program's windows. Plain numbers, so
// that the portable code can name them without a system header.
#pragma once

namespace pausora {

inline constexpr unsigned kWmUser = 0x0400;
inline constexpr unsigned kWmApp = 0x8000;

// WM_SETTINGS_CHANGED: sent (never posted) after the live settings record was
// changed in place; both parameters 0.
inline constexpr unsigned kWmSettingsChanged = kWmUser + 1;
// WM_NOTIFIER_CLICK: posted by the popup; first parameter the clicked item's
// id (0 for the popup itself), second 1 for a right click away from any link.
inline constexpr unsigned kWmNotifierClick = kWmUser + 121;
// WM_TRAYICON_NOTIFY: the shell's callback for the notification-area icon.
inline constexpr unsigned kWmTrayIconNotify = kWmApp + 10;
// Posted to the main window when a sound could not be loaded; the message
// waits in its sound set until the timer step that asked for it is over.
inline constexpr unsigned kWmSoundMessage = kWmApp + 11;

}  // namespace pausora
