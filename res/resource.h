/* Resource, command and message ids of the program; included by the C++ code
 * and by the resource script. Only #define lines and comments here. */
#ifndef PAUSORA_RESOURCE_H
#define PAUSORA_RESOURCE_H

/* Dialog templates */
#define IDD_ABOUTBOX 100
#define IDD_PAUSORA_DIALOG 102

/* Strings */
#define IDS_ABOUTBOX 101
#define IDS_VERSION 117

/* The system-menu command that opens the About box */
#define IDM_ABOUTBOX 0x0010

/* The framework's help command, which opens the help page */
#define ID_HELP 0xE146

/* Controls of the About box */
#define IDC_STATIC (-1)
#define IDC_ABOUT_VERSION 1044
#define IDC_ABOUT_TITLE 1045
#define IDC_ABOUT_WATERMARK 1046

/* The exercises dialog */
#define IDD_EXERCISES 260
#define IDC_NEXT_STRETCH 1000
#define IDC_EXERCISE_PICTURE 1054
#define IDC_EXERCISE_TEXT 1065

/* The exercises' instructions: exercise n has string 332 + n */
#define IDS_EXERCISE_1 333
#define IDS_EXERCISE_2 334
#define IDS_EXERCISE_3 335
#define IDS_EXERCISE_4 336
#define IDS_EXERCISE_5 337
#define IDS_EXERCISE_6 338
#define IDS_EXERCISE_7 339
#define IDS_EXERCISE_8 340
#define IDS_EXERCISE_9 341
#define IDS_EXERCISE_10 342
#define IDS_EXERCISE_11 343
#define IDS_EXERCISE_12 344
#define IDS_EXERCISE_13 345
#define IDS_EXERCISE_14 346
#define IDS_EXERCISE_15 347

/* Messages between the program's windows */
#define WM_NOTIFIER_CLICK (WM_USER + 121)
#define WM_TRAYICON_NOTIFY (WM_APP + 10)
/* A sound could not be loaded; the message waits in its sound set until the
 * timer step that asked for it is over. */
#define WM_SOUND_MESSAGE (WM_APP + 11)
/* The update check in the background has an answer to show. */
#define WM_UPDATE_ANSWER (WM_APP + 81)

#if __has_include("artwork_ids.h")
#include "artwork_ids.h"
#endif
#if __has_include("menu_ids.h")
#include "menu_ids.h"
#endif
#if __has_include("update_ids.h")
#include "update_ids.h"
#endif
#if __has_include("settings_ids.h")
#include "settings_ids.h"
#endif
#if __has_include("wizard_ids.h")
#include "wizard_ids.h"
#endif

#endif
