/* Ids of the update check's dialog and its message; included by resource.h. */
#ifndef PAUSORA_UPDATE_IDS_H
#define PAUSORA_UPDATE_IDS_H

#define IDD_UPDATE 226
#define IDC_UPDATE_MESSAGE 1043

/* Posted to the main window when the check in the background has an answer
 * to show. */
#define WM_UPDATE_ANSWER (WM_APP + 81)

#endif
