// Resource ids of the Download Options and Download Progress dialogs and
// the download's strings. #defines only: shared with the resource script.
#pragma once

#define IDD_DOWNLOAD_OPTIONS     134
#define IDC_OPT_STRIP_CTRL       1019
#define IDC_OPT_WAIT_EOF         1018
#define IDC_OPT_APPEND_SHOWPAGE  1021
#define IDC_OPT_FILE_LIST        1044
#define IDC_OPT_PRINTER_BOX      3010

#define IDD_DOWNLOAD_PROGRESS    136
#define IDC_PROG_FILE_NAME       1020
#define IDC_PROG_PRINTER_NAME    1022
#define IDC_PROG_PERCENT_BAR     1023
#define IDC_PROG_BYTES_SENT      1038
#define IDC_PROG_FILE_SIZE       1039
#define IDC_PROG_STATUS          3009

#define IDS_DL_FILE_NOT_ACCESSIBLE 114
#define IDS_DL_STATUS_OPENING      116
#define IDS_DL_STATUS_OPEN         117
#define IDS_DL_STATUS_CLOSING      119
#define IDS_DL_NO_JOB              120
#define IDS_DL_PRINTER_NOT_FOUND   121
