// Resource ids of VSXAU20's own dialogs.
#pragma once

#define IDD_DEVICE_CHOOSER     200
#define IDC_CHOOSER_ZONES      2001
#define IDC_CHOOSER_PRINTERS   2002
#define IDC_CHOOSER_MESSAGE    2003

#define IDD_PRINTER_STATUS     201
#define IDC_STATUS_PRINTER     2011
#define IDC_STATUS_TEXT        2012
