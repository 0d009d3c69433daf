/* The two wizards: the first-run schedule wizard and the workplace advice
 * wizard. Included by the C++ code and by the resource script; only #define
 * lines and comments here. */
#ifndef PAUSORA_WIZARD_IDS_H
#define PAUSORA_WIZARD_IDS_H

/* First-run schedule wizard pages, in order */
#define IDD_INITIAL_WIZARD_WELCOME 143
#define IDD_INITIAL_WIZARD_WORKING_TIME 144
#define IDD_INITIAL_WIZARD_TIME_LIMIT 145
#define IDD_INITIAL_WIZARD_SHORT_BREAKS 191
#define IDD_INITIAL_WIZARD_LONG_BREAKS 192
#define IDD_INITIAL_WIZARD_FINISH 193

/* Workplace wizard pages, in order */
#define IDD_WORKPLACE_WIZARD_1 135
#define IDD_WORKPLACE_WIZARD_2 136
#define IDD_WORKPLACE_WIZARD_3 137
#define IDD_WORKPLACE_WIZARD_4 151
#define IDD_WORKPLACE_WIZARD_5 152
#define IDD_WORKPLACE_WIZARD_6 153
#define IDD_WORKPLACE_WIZARD_7 195
#define IDD_WORKPLACE_WIZARD_8 196

/* Controls of the wizard pages */
#define IDC_WIZARD_PICKER_1 1024        /* the first time picker of a schedule page */
#define IDC_WIZARD_PICKER_2 1025        /* the second one */
#define IDC_WIZARD_START_WORKPLACE 1031 /* "Start workplace setup wizard now" */
#define IDC_WIZARD_TITLE 1043           /* a page's title */
#define IDC_WIZARD_TITLE_2 1044         /* the second title of the last workplace page */

/* The first-run wizard's page headers: a title and the line under it */
#define IDS_WIZARD_WORKING_TIME 540
#define IDS_WIZARD_WORKING_TIME_LINE 541
#define IDS_WIZARD_TIME_LIMITS 542
#define IDS_WIZARD_TIME_LIMITS_LINE 543
#define IDS_WIZARD_SHORT_BREAKS 544
#define IDS_WIZARD_SHORT_BREAKS_LINE 545
#define IDS_WIZARD_LONG_BREAKS 546
#define IDS_WIZARD_LONG_BREAKS_LINE 547
#define IDS_WIZARD_FINISH 548
#define IDS_WIZARD_FINISH_LINE 549

#endif
