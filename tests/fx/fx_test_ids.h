// Ids of the framework tests' resources.
#pragma once

#include "fx/fx_ids.h"

#define IDR_TEST_MAIN     200
#define IDR_TEST_DOC      201

// One command per level of the route: the first is handled at every level,
// each next one a level later.
#define ID_ROUTE_VIEW     40100
#define ID_ROUTE_DOC      40101
#define ID_ROUTE_TEMPLATE 40102
#define ID_ROUTE_CHILD    40103
#define ID_ROUTE_MAIN     40104
#define ID_ROUTE_APP      40105
#define ID_ROUTE_NOBODY   40106
// Handled by the main frame, enabled only while the gate is open.
#define ID_GATED          40107
#define ID_INDICATOR_GATE 40108
// Like ID_GATED, but reached only by its key (no menu item).
#define ID_GATED_KEY_ONLY 40109

#define IDD_TEST_FORM     300
#define IDC_TEST_NAME     1001
#define IDC_TEST_COUNT    1002
#define IDC_TEST_FLAG     1003

#define IDD_TEST_FORM_VIEW 301
#define IDC_FORM_NAME      1101
#define IDC_FORM_ACCEPT    1102
#define IDC_FORM_LIST      1103
#define IDR_FORM_DOC       202

#define IDD_TEST_PAGE      302
#define IDC_PAGE_VALUE     1201
