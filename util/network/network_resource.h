// Resource ids of the network windows: the lookup window (form 140, its
// icons and strings) and the network information sheet (pages 231 and 139,
// the Select Current Zone dialog 138). Included by util/resource.h.
#pragma once

// The lookup window's form.
#define IDD_LOOKUP_FORM          140
#define IDC_LOOKUP_ZONE          3001
#define IDC_LOOKUP_CANCEL        1031
#define IDC_LOOKUP_STATUS        1042
#define IDC_LOOKUP_LIST          1041
// (Stop Lookup is IDC_STOP_LOOKUP, 3016, which the accelerators reach.)

// Device icons, in the order of their image index.
#define IDI_DEVICE_NODE          242
#define IDI_DEVICE_FILE_SERVER   233
#define IDI_DEVICE_LASERWRITER   234
#define IDI_DEVICE_OTHER         235

// The lookup window's strings.
#define IDS_PAGE_FORMAT          101
#define IDS_ISOLATED_NETWORK     103
#define IDS_LOOKING_IN_ZONE      123
#define IDS_FOUND_IN_ZONE        124
#define IDS_NONE_FOUND_IN_ZONE   125
#define IDS_LOOKUP_COL_NAME      157
#define IDS_LOOKUP_COL_TYPE      158
#define IDS_LOOKUP_COL_ADDRESS   159

// The network information sheet.
#define IDD_NET_GENERAL_PAGE     231
#define IDC_NET_ADDRESS          3011
#define IDC_NET_RANGE            3014
#define IDC_NET_ZONE             1016
#define IDC_NET_CHANGE_ZONE      1043
#define IDD_ADAPTER_PAGE         139
#define IDC_ADAPTER_ADDRESS      1026
#define IDD_SELECT_ZONE          138
#define IDC_SELECT_ZONE_LIST     3001
#define IDS_NO_ZONES_CAPTION     127
#define IDS_NO_ZONES_FOUND       128
