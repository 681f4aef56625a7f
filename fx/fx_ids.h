// Command, window, string and resource ids the framework fixes. Resource
// scripts include this file, so it holds #defines only.
#pragma once

// Standard commands.
#define ID_FILE_NEW             57600
#define ID_FILE_OPEN            57601
#define ID_FILE_CLOSE           57602
#define ID_FILE_SAVE            57603
#define ID_FILE_SAVE_AS         57604
#define ID_FILE_PAGE_SETUP      57605
#define ID_FILE_PRINT_SETUP     57606
#define ID_FILE_PRINT           57607
#define ID_FILE_PRINT_DIRECT    57608
#define ID_FILE_PRINT_PREVIEW   57609
#define ID_FILE_UPDATE          57610
#define ID_FILE_SAVE_COPY_AS    57611
#define ID_FILE_MRU_FILE1       57616
#define ID_FILE_MRU_FILE4       57619
#define ID_EDIT_CLEAR           57632
#define ID_EDIT_COPY            57634
#define ID_EDIT_CUT             57635
#define ID_EDIT_PASTE           57637
#define ID_EDIT_UNDO            57643
#define ID_WINDOW_NEW           57648
#define ID_WINDOW_ARRANGE       57649
#define ID_WINDOW_CASCADE       57650
#define ID_WINDOW_TILE_HORZ     57651
#define ID_APP_ABOUT            57664
#define ID_APP_EXIT             57665
#define ID_HELP_INDEX           57666
#define ID_HELP_FINDER          57667
#define ID_HELP_USING           57668
#define ID_CONTEXT_HELP         57669
#define ID_HELP                 57670
#define ID_DEFAULT_HELP         57671
#define ID_NEXT_PANE            57680
#define ID_PREV_PANE            57681

// Status-bar panes.
#define ID_SEPARATOR            0
#define ID_INDICATOR_CAPS       59137
#define ID_INDICATOR_NUM        59138

// Bars and panes.
#define ID_VIEW_TOOLBAR         59392
#define ID_VIEW_STATUS_BAR      59393
#define AFX_IDW_TOOLBAR         59392
#define AFX_IDW_STATUS_BAR      59393
#define AFX_IDW_RESIZE_BAR      59395
#define AFX_IDW_PANE_FIRST      59648

// Strings the framework loads.
#define AFX_IDS_APP_TITLE       57344
#define AFX_IDS_IDLEMESSAGE     57345
#define AFX_IDS_UNTITLED        61440
#define AFX_IDS_ALLFILTER       61446
#define AFX_IDP_ASK_TO_SAVE     61442
#define AFX_IDP_FAILED_TO_OPEN_DOC   61443
#define AFX_IDP_FAILED_TO_CREATE_DOC 61444
#define AFX_IDP_FAILED_TO_SAVE_DOC   61445
#define AFX_IDP_FAILED_TO_START_PRINTING 61448
// ... of servers of embedded documents.
#define AFX_IDS_OBJ_TITLE_INPLACE 61712
#define AFX_IDP_ASK_TO_UPDATE   61713
#define AFX_IDS_VERB_EDIT       61714
#define AFX_IDS_VERB_OPEN       61715

// The framework's own dialog: the document type chooser of File New.
#define AFX_IDD_NEWTYPEDLG      30721
#define AFX_IDC_LISTBOX         100

// Message the framework sends to frames and bars at idle time.
#define WM_IDLEUPDATECMDUI      0x0363
#define WM_INITIALUPDATE        0x0364

// Help commands (WinHelp).
#define AFX_HELP_CONTEXT_ID     0x20000
