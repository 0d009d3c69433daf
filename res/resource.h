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

/* The history window */
#define IDS_HISTORY_CAPTION 480
#define IDS_HISTORY_EXPORT 481
#define IDS_HISTORY_CLOSE 482
#define IDS_HISTORY_BREAKS_AXIS 483
#define IDS_HISTORY_LIMIT_AXIS 484
#define IDS_HISTORY_EXPORT_TITLE 485
#define IDS_HISTORY_EXPORT_FILE 486
#define IDS_HISTORY_CSV_FILES 487
#define IDS_HISTORY_ALL_FILES 488
#define IDS_HISTORY_EXPORT_FAILED 489
#define IDS_HISTORY_DELETE_FAILED 490
#define IDS_HISTORY_ASK_DELETE 491

/* The history chart's texts */
#define IDS_CHART_TODAY 501
#define IDS_CHART_NO_TIME 502
#define IDS_CHART_AT_COMPUTER 503
#define IDS_CHART_FROM_TO 504
#define IDS_CHART_SHORT_BREAKS 505
#define IDS_CHART_LONG_BREAKS 506
#define IDS_CHART_POINTS 507
#define IDS_HOURS 508
#define IDS_MINUTES 509
#define IDS_CHART_TOTALS 510
#define IDS_CHART_ONE_DAY 511
#define IDS_CHART_DAYS 512
#define IDS_CHART_PERCENT 513
#define IDS_CHART_TOTAL_POINTS 514
#define IDS_CHART_NO_HISTORY 515
#define IDS_CHART_HISTORY_OFF 516

/* A sound file that cannot be played: IDS_FILE_ERROR plus the cause, in the
 * order of FileErrorCause */
#define IDS_FILE_ERROR 520
#define IDS_OUT_OF_MEMORY 528

/* A range of random numbers given the wrong way round */
#define IDS_BAD_RANGE 529

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
