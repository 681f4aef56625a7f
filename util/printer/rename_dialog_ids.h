// Resource ids of the Change Printer Name dialog and the rename's strings.
// #defines only: shared with the resource script.
#pragma once

#define IDD_RENAME_PRINTER       132
#define IDC_REN_ZONE             1030
#define IDC_REN_STOP_LOOKUP      3016
#define IDC_REN_OLD_NAME         1036
#define IDC_REN_NEW_NAME         1037
#define IDC_REN_PRINTERS         1035
#define IDC_REN_STATUS           3009

#define IDS_REN_LOG_LINE         102
#define IDS_REN_NO_ZONES         103
#define IDS_REN_JOB              104
#define IDS_REN_STARTING         105
#define IDS_REN_IN_PROGRESS      106
#define IDS_REN_NO_PRINTERS      129
#define IDS_REN_SEARCH_CAPTION   130
