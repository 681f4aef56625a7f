// Resource ids of the extension map's form (template 130): its controls,
// its Edit menu commands and its strings.
#pragma once

#define IDD_KORVEL_FORM          130
#define IDC_KORVEL_LIST          1000
#define IDC_KORVEL_EXTENSION     1005
#define IDC_KORVEL_TYPE          1006
#define IDC_KORVEL_CREATOR       1007
#define IDC_KORVEL_REMARK        1008
#define IDC_KORVEL_NEW           1001
#define IDC_KORVEL_ACCEPT        1002
#define IDC_KORVEL_DELETE        1003

#define ID_KORVEL_NEW_ENTRY      32771
#define ID_KORVEL_ACCEPT         32772
#define ID_KORVEL_DELETE         32773

#define IDS_KORVEL_COL_EXTENSION 140
#define IDS_KORVEL_COL_TYPE      141
#define IDS_KORVEL_COL_CREATOR   143
#define IDS_KORVEL_COL_REMARK    144
#define IDS_ITEM_COUNT           101
