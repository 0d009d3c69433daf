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
#define ID_TRAY_HISTORY 32817

/* The pause and the break taken on request */
#define ID_TRAY_BREAK_NOW 32820
#define ID_TRAY_PAUSE_30_MINUTES 32821
#define ID_TRAY_PAUSE_1_HOUR 32822
#define ID_TRAY_PAUSE_2_HOURS 32823
#define ID_TRAY_PAUSE_TOMORROW 32824
#define ID_TRAY_PAUSE_UNTIL_RESUMED 32825
#define ID_TRAY_RESUME 32826
/* Their texts that the program puts together as it runs */
#define IDS_TRAY_RESUME 420
#define IDS_PAUSED_UNTIL 421
#define IDS_PAUSED_UNTIL_TOMORROW 422
#define IDS_PAUSED_UNTIL_DATE 423
#define IDS_PAUSED 424
#define IDS_NEXT_BREAK_IN 425
#define IDS_NEXT_BREAK_SOON 426

/* The break engine's notices and tooltip. */
#define IDS_SHORT_BREAK_TITLE 440
#define IDS_LONG_BREAK_TITLE 441
#define IDS_REPEAT_TITLE 442
#define IDS_STRETCH_LINK 443
#define IDS_EVENING_LINE 444
#define IDS_REST_LINE 445
#define IDS_WORKDAY_END_TITLE 446
#define IDS_TIME_LIMIT_TITLE 447
#define IDS_DAY_TIME_START 448
#define IDS_DAY_TIME_END 449
#define IDS_TIP_NORMAL 450
#define IDS_TIP_STOPPED 451
#define IDS_TIP_SHORT_BREAK 452
#define IDS_TIP_LONG_BREAK 453
#define IDS_TIP_HELD 454
#define IDS_EXPERIENCE_LINE 455
#define IDS_CAPTION_START 456
#define IDS_CAPTION_STOP 457

/* What could not be done, told once */
#define IDS_TROUBLE_NOT_SAVED 460
#define IDS_TROUBLE_POINTS 461
#define IDS_TROUBLE_WORK_TIME 462
#define IDS_TROUBLE_SETTINGS 463
#define IDS_TROUBLE_HISTORY 464
#define IDS_TROUBLE_TIMER 465

#endif
