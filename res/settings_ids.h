/* The settings window's pages and their controls; included by resource.h.
 * Only #define lines and comments here. Several pages use the same control
 * numbers for the same kind of control. */
#ifndef PAUSORA_SETTINGS_IDS_H
#define PAUSORA_SETTINGS_IDS_H

/* The line a page shows when a policy sets some of its values, made by the
 * program above the template's controls. */
#define IDS_MANAGED_BY_ORGANIZATION 430
#define IDS_SETTINGS_CAPTION 431
#define IDS_WAVE_FILES 432
#define IDS_FORMAT_NOT_SUPPORTED 433
#define IDS_INITIAL_WIZARD_CAPTION 434
#define IDS_WORKPLACE_WIZARD_CAPTION 435
#define IDS_FONT_FAILURE 436
/* The Sounds page's events, in the order of the settings' sound table */
#define IDS_SOUND_EVENT_1 470
#define IDS_SOUND_EVENT_2 471
#define IDS_SOUND_EVENT_3 472
#define IDS_SOUND_EVENT_4 473
#define IDS_SOUND_EVENT_5 474
#define IDS_SOUND_EVENT_6 475
#define IDS_SOUND_EVENT_7 476
#define IDS_SOUND_EVENT_8 477
#define IDC_MANAGED_NOTE 1090
#define IDC_MANAGED_ICON 1091

/* Page templates; each template's caption is the page's place in the tree. */
#define IDD_PAGE_WORKING_TIME 156
#define IDD_PAGE_SHORT_BREAKS 157
#define IDD_PAGE_LONG_BREAKS 158
#define IDD_PAGE_TIME_LIMITS 159
#define IDD_PAGE_STARTUP 168
#define IDD_PAGE_SCHEDULE 169
#define IDD_PAGE_CUSTOMIZE 170
#define IDD_PAGE_SOUNDS 227
#define IDD_PAGE_APPEARANCE 261

/* Controls */
#define IDC_RESTORE_DEFAULTS 1000 /* schedule pages */
#define IDC_SOUND_BROWSE 1000     /* Sounds */
#define IDC_SOUND_PLAY 1004
#define IDC_SOUND_FILE 1005
#define IDC_PAGE_SWITCH 1007 /* the check box of every page but Customize and Appearance */
#define IDC_CHECK_UPDATES 1031
#define IDC_FIRST_TIME 1024
#define IDC_SECOND_TIME 1025
#define IDC_PAGE_TEXT_1044 1044
#define IDC_PAGE_TEXT_1045 1045
#define IDC_PAGE_TEXT_1046 1046
#define IDC_PAGE_TEXT_1047 1047
#define IDC_PAGE_TEXT_1048 1048
#define IDC_SOUND_EVENTS 1051
#define IDC_TRANSPARENCY 1055
#define IDC_MOTION 1056
#define IDC_QUIET_WHEN_BUSY 1057 /* Appearance */
#define IDC_KEEP_HISTORY 1058    /* Startup */
#define IDC_QUIET_PROGRAMS 1059  /* Appearance */
#define IDC_QUIET_PROGRAMS_LABEL 1060
#define IDC_ICON_COUNTDOWN 1061
#define IDC_LANGUAGE 1062 /* Appearance: the language drop-down and its label */
#define IDC_LANGUAGE_LABEL 1063
/* The language list's first entry: "%1" is the language Windows' choice gives. */
#define IDS_WINDOWS_LANGUAGE 437

#endif
