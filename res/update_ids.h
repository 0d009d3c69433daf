/* Ids of the update check's dialog; included by resource.h. */
#ifndef PAUSORA_UPDATE_IDS_H
#define PAUSORA_UPDATE_IDS_H

#define IDD_UPDATE 226
#define IDC_UPDATE_MESSAGE 1043

#endif
