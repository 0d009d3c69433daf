/* Pausora artwork resource ids: the numeric ids of every icon and
 * bitmap resource. Included by C++ and by windres (res/artwork.rc): keep to #define
 * lines and comments. The artwork is drawn in res/art/ (SVG) and rendered into
 * res/icons and res/bitmaps by scripts/render-art.sh. */

#ifndef PAUSORA_ARTWORK_IDS_H
#define PAUSORA_ARTWORK_IDS_H

/* Icons (16x16 and 32x32, 32-bit with alpha) */
#define IDI_APP 178               /* window icon (title bar, About) */
#define IDI_TRAY_NORMAL 196       /* tray: scheduler running (STATE_NORMAL, 7, 8) */
#define IDI_TRAY_BREAK 202        /* tray: short or long break (states 3, 5) */
#define IDI_TRAY_STOPPED 301      /* tray: scheduler stopped (STATE_STOPPED) */
#define IDI_TRAY_REMIND_1 336     /* tray: reminder blink, first frame (states 4, 6) */
#define IDI_TRAY_REMIND_2 337     /* tray: reminder blink, second frame */
#define IDI_PAGE_SCHEDULE 190     /* settings tree: "Schedule" */
#define IDI_PAGE_SHORT_BREAKS 199 /* settings tree: "Schedule::Short breaks" */
#define IDI_PAGE_LONG_BREAKS 181  /* settings tree: "Schedule::Long breaks" */
#define IDI_PAGE_WORKING_TIME 186 /* settings tree: "Schedule::Working time" */
#define IDI_PAGE_TIME_LIMITS 187  /* settings tree: "Schedule::Time limits" */
#define IDI_PAGE_CUSTOMIZE 180    /* settings tree: "Customize" */
#define IDI_PAGE_STARTUP 185      /* settings tree: "Customize::Startup" */
#define IDI_PAGE_SOUNDS 227       /* settings tree: "Customize::Sounds" */
#define IDI_PAGE_APPEARANCE 334   /* settings tree: "Customize::Appearance" */

/* Bitmaps (Windows BMP v3, 24-bit unless noted) */
#define IDB_SKIN 296          /* popup skin, IDB_SKIN_WIDTH x IDB_SKIN_HEIGHT */
#define IDB_STAR 297          /* popup experience star, 16x15 */
#define IDB_LONG_BREAK 298    /* popup picture: long break (states 5, 6), 141x124 */
#define IDB_SHORT_BREAK 302   /* popup picture: short break (states 3, 4), 141x125 */
#define IDB_TIME_LIMIT 303    /* popup picture: daily time limit (state 8), 141x124 */
#define IDB_WORKDAY_END 304   /* popup picture: end of working day (state 7), 141x124 */
#define IDB_WATERMARK 242     /* initial wizard watermark and About picture, 164x314, 32-bit */
#define IDB_WIZARD_HEADER 176 /* wizard header, 49x49 */
#define IDB_WP_WELCOME 234    /* workplace wizard page 1 "Workplace setup wizard", 164x314 */
#define IDB_WP_DESK_CHAIR \
    233                   /* workplace wizard pages 2 "Desk and Chair" and 3 "Sitting correctly" */
#define IDB_WP_SCREEN 237 /* workplace wizard page 4 "Screen" */
#define IDB_WP_KEYBOARD_MOUSE 241 /* workplace wizard page 5 "Keyboard and Mouse" */
#define IDB_WP_NOTEBOOK 239       /* workplace wizard page 6 "Notebook computers" */
#define IDB_WP_LIGHTING 236       /* workplace wizard page 7 "Lighting" */
#define IDB_WP_CLIMATE_NOISE 238  /* workplace wizard page 8 "Climate" / "Noise" */
#define IDB_EX01_ARM_ACROSS 308   /* exercise 1 (also the dialog's initial picture) */
#define IDB_EX02_SHRUG 321        /* exercise 2 */
#define IDB_EX03_ROLL_A 322       /* exercise 3, frame 1 */
#define IDB_EX03_ROLL_B 323       /* exercise 3, frame 2 */
#define IDB_EX03_ROLL_A_COPY 335  /* exercise 3, list end (same picture as 322) */
#define IDB_EX04_ARMS_FORWARD 324 /* exercise 4 */
#define IDB_EX05_LEAN_FORWARD 326 /* exercise 5 */
#define IDB_EX06_FOCUS 325        /* exercise 6 */
#define IDB_EX06_FOCUS_COPY 327   /* exercise 6, list end (same picture as 325) */
#define IDB_EX07_BLINK_OPEN 328   /* exercise 7, frame 1 */
#define IDB_EX07_BLINK_CLOSED 329 /* exercise 7, frame 2 */
#define IDB_EX08_WRISTS 330       /* exercise 8 */
#define IDB_EX09_FINGERS_WIDE 331 /* exercise 9, frame 1 */
#define IDB_EX09_FINGERS_BENT 332 /* exercise 9, frame 2 */
#define IDB_EX_REST_FRONT \
    333 /* not in the exercise table: the person at rest, front (fills the range 308-335) */
#define IDB_EX_REST_SIDE \
    334 /* not in the exercise table: the person at rest, side (fills the range 308-335) */
#define IDB_EX10_TURN_LEFT 309   /* exercise 10, frame 1 */
#define IDB_EX10_TURN_RIGHT 310  /* exercise 10, frame 2 */
#define IDB_EX11_TILT_LEFT 311   /* exercise 11, frame 1 */
#define IDB_EX11_TILT_RIGHT 312  /* exercise 11, frame 2 */
#define IDB_EX12_HEAD_DOWN 313   /* exercise 12, frame 1 */
#define IDB_EX12_HEAD_BACK 314   /* exercise 12, frame 2 */
#define IDB_EX13_ELBOWS_BACK 315 /* exercise 13 */
#define IDB_EX14_BACK_BEND 316   /* exercise 14 */
#define IDB_EX15_EYES_UP 317     /* exercise 15, frame 1 */
#define IDB_EX15_EYES_DOWN 318   /* exercise 15, frame 2 */
#define IDB_EX15_EYES_LEFT 319   /* exercise 15, frame 3 */
#define IDB_EX15_EYES_RIGHT 320  /* exercise 15, frame 4 */

/* The popup skin's size at 100 %, and so the notice's. */
#define IDB_SKIN_WIDTH 400
#define IDB_SKIN_HEIGHT 159

/* The popup's bitmaps drawn for scaled displays, at 125, 150 and 200 %: the
 * id at 100 % plus 10000, 20000 or 30000. */
#define IDB_SKIN_125 10296
#define IDB_STAR_125 10297
#define IDB_LONG_BREAK_125 10298
#define IDB_SHORT_BREAK_125 10302
#define IDB_TIME_LIMIT_125 10303
#define IDB_WORKDAY_END_125 10304
#define IDB_SKIN_150 20296
#define IDB_STAR_150 20297
#define IDB_LONG_BREAK_150 20298
#define IDB_SHORT_BREAK_150 20302
#define IDB_TIME_LIMIT_150 20303
#define IDB_WORKDAY_END_150 20304
#define IDB_SKIN_200 30296
#define IDB_STAR_200 30297
#define IDB_LONG_BREAK_200 30298
#define IDB_SHORT_BREAK_200 30302
#define IDB_TIME_LIMIT_200 30303
#define IDB_WORKDAY_END_200 30304

#endif /* PAUSORA_ARTWORK_IDS_H */
