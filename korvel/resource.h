// Resource ids of Korvel. Shared by the resource scripts and the code;
// #defines only. The framework's own ids are in fx/fx_ids.h, the extension
// map form's in tables/korvel_form_ids.h.
#pragma once

#include "fx/fx_ids.h"
#include "tables/korvel_form_ids.h"
#include "tables/table_ids.h"

// The document type and the main frame: menu, accelerators, toolbar, icon
// and document strings.
#define IDR_MAINFRAME             128
// Menus, accelerators and toolbars of the server: active in place, and
// opened in its own window from a container.
#define IDR_SRVR_INPLACE          4
#define IDR_SRVR_EMBEDDED         5
// The document's icon (the program's second: containers show it).
#define IDI_KORVEL_DOC            129

// The About box and its controls.
#define IDD_ABOUTBOX              100
#define IDC_ABOUT_PRODUCT         1013
#define IDC_ABOUT_VERSION_LINE    1014
#define IDC_ABOUT_NOTICE          1015
#define IDC_ABOUT_APP_VERSION     2015

// Strings.
#define IDP_OLE_INIT_FAILED       100
#define IDS_VERSION_LABEL         155

// Commands.
#define ID_CANCEL_EDIT_SRVR       32769
#define ID_FILE_MERGE             32776
#define ID_HELP_TROUBLESHOOTING   32781
#define ID_HELP_EXTENSION_MAPPER  32783

// Status-bar panes.
#define ID_INDICATOR_MOD          59143
#define ID_INDICATOR_ITEM_COUNT   59144

// Help contexts.
#define HIDC_EXTENSION_MAPPER     1060
#define HIDC_TROUBLESHOOTING      1040
