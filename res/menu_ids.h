/* The tray menu and its commands; included by the C++ code and by the
 * resource script. Only #define lines and comments here. */
#ifndef PAUSORA_MENU_IDS_H
#define PAUSORA_MENU_IDS_H

/* The tray menu; the tray icon carries the same id. */
#define IDR_TRAYMENU 133

#define ID_TRAY_EXIT 32774
#define ID_TRAY_ABOUT 32779
#define ID_TRAY_STARTSTOP 32780
#define ID_TRAY_SETTINGS 32781
#define ID_TRAY_HELP 32782
#define ID_TRAY_WORKPLACE_WIZARD 32784
#define ID_TRAY_EXERCISES 32788
#define ID_TRAY_SHORT_BREAKS 32808
#define ID_TRAY_LONG_BREAKS 32809
#define ID_TRAY_END_OF_WORKDAY 32810
#define ID_TRAY_DAILY_LIMIT 32811
#define ID_TRAY_PLAY_SOUNDS 32813
#define ID_TRAY_FEEDBACK 32816

#endif
