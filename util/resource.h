// Resource ids of VestrelUtil. Shared by the resource script and the code;
// #defines only. The framework's own ids are in fx/fx_ids.h.
#pragma once

#include "fx/fx_ids.h"
#include "tables/table_ids.h"
#include "util/devtype/devtype_resource.h"
#include "util/network/network_resource.h"

// Document types and the main frame: menu, accelerators, icon, strings.
#define IDR_MAINFRAME            112
#define IDR_VESTRELTYPE          113
#define IDR_LOOKUPTYPE           156
#define IDR_DEVTYPETYPE          160

// Dialogs and their controls.
#define IDD_ABOUTBOX             100
#define IDC_ABOUT_PRODUCT        1006
#define IDC_ABOUT_VERSION_LINE   1008
#define IDC_ABOUT_NOTICE         1009
#define IDC_ABOUT_APP_VERSION    1025

// Icons of the About box.
#define IDI_ABOUT_MAC            182
#define IDI_ABOUT_PC             183
#define IDI_ABOUT_LINK           142

// Strings.
#define IDP_OLE_INIT_FAILED      111
#define IDS_TYPE_COUNT           135
#define IDS_VERSION_LABEL        155

// Commands.
#define ID_PRINTER_CHOOSE        42001
#define ID_PRINTER_STATUS        42002
#define ID_FILE_DOWNLOAD         42006
#define ID_PRINTER_CHANGE_NAME   42008
#define ID_NETWORK_INFORMATION   42011
#define ID_NETWORK_LOOKUP        42012
#define ID_HELP_TROUBLESHOOTING  42013
#define ID_HELP_UTILITIES        42015
#define ID_PRINTER_TYPE_ENTRY    42036
#define ID_EDIT_NEW_ENTRY        42037
#define ID_EDIT_ACCEPT           42038
#define ID_EDIT_DELETE           42039
#define ID_FILE_REVERT           42040
#define ID_FILE_MERGE            32776

// Dialog buttons reached through the accelerator table.
#define IDC_ACCEPT_BUTTON        1033
#define IDC_ALT_E_BUTTON         1034
#define IDC_STOP_LOOKUP          3016

// Status-bar panes.
#define ID_INDICATOR_MOD         59143
#define ID_INDICATOR_TYPE_COUNT  59144

// Help contexts.
#define HIDC_HELP_UTILITIES      1050
#define HIDC_TROUBLESHOOTING     1040
