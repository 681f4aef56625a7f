// Resource ids of the printer type table window: its form, the form's
// controls and its strings. Included by util/resource.h.
#pragma once

// The form of the printer type window.
#define IDD_DEVTYPE_FORM         143
#define IDC_DEVTYPE_LIST         1045
#define IDC_DEVTYPE_TYPE         1003
#define IDC_DEVTYPE_POSTSCRIPT   1048
#define IDC_DEVTYPE_REMARK       1004
#define IDC_DEVTYPE_NEW          1001
#define IDC_DEVTYPE_ACCEPT       1033
#define IDC_DEVTYPE_DELETE       1002

// Column headings of the list.
#define IDS_DEVTYPE_COL_TYPE     161
#define IDS_DEVTYPE_COL_PS       162
#define IDS_DEVTYPE_COL_REMARK   163
