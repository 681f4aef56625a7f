// Resource ids of the table editor that are not the forms': the merge
// dialogs of both tables (each program includes its table's dialogs) and
// the strings both programs hold for merging and printing.
#pragma once

// Shared by both tables' merge dialogs: the merge file's name.
#define IDC_MERGE_FILE_NAME          1099

// The printer type table (VestrelUtil).
#define IDD_DEVTYPE_MERGE_FILE       178
#define IDC_DEVTYPE_MERGE_REPLACE_TABLE 1050  // the four guidelines: 1050-1053
#define IDC_DEVTYPE_MERGE_RETAIN     1051
#define IDC_DEVTYPE_MERGE_REPLACE    1052
#define IDC_DEVTYPE_MERGE_CASE       1053
#define IDD_DEVTYPE_DUPLICATE        144
#define IDC_DEVTYPE_DUP_OLD_TYPE     1005
#define IDC_DEVTYPE_DUP_NEW_TYPE     1007
#define IDC_DEVTYPE_DUP_OLD_PS       1046
#define IDC_DEVTYPE_DUP_NEW_PS       1047
#define IDC_DEVTYPE_DUP_OLD_REMARK   1010
#define IDC_DEVTYPE_DUP_NEW_REMARK   1011
#define IDC_DEVTYPE_DUP_STOP         1012

// The extension map (Korvel).
#define IDD_KORVEL_MERGE_FILE        138
#define IDC_KORVEL_MERGE_REPLACE_TABLE 1011  // the four guidelines: 1011-1014
#define IDC_KORVEL_MERGE_RETAIN      1012
#define IDC_KORVEL_MERGE_REPLACE     1013
#define IDC_KORVEL_MERGE_CASE        1014
#define IDD_KORVEL_DUPLICATE         139
#define IDC_KORVEL_DUP_OLD_EXTENSION 1012
#define IDC_KORVEL_DUP_NEW_EXTENSION 1013
#define IDC_KORVEL_DUP_OLD_TYPE      1016
#define IDC_KORVEL_DUP_NEW_TYPE      1015
#define IDC_KORVEL_DUP_OLD_CREATOR   1017
#define IDC_KORVEL_DUP_NEW_CREATOR   1018
#define IDC_KORVEL_DUP_OLD_REMARK    1019
#define IDC_KORVEL_DUP_NEW_REMARK    1020
#define IDC_KORVEL_DUP_STOP          1021

// Strings both programs hold (table_strings.rc).
#define IDS_MERGE_DIALOG_TITLE       7700
#define IDS_MERGE_PROBLEM_CAPTION    7701
#define IDS_MERGE_CANNOT_OPEN        7702
#define IDS_MERGE_FORMAT_CAPTION     7703
#define IDS_MERGE_FORMAT_TEXT        7704
#define IDS_MERGE_DONE_CAPTION       7705
#define IDS_MERGE_DONE_TEXT          7706
#define IDS_MERGE_FILTER_TEXT        7707  // label, then its pattern at the next id
#define IDS_MERGE_FILTER_TEXT_PATTERN 7708
#define IDS_MERGE_FILTER_ALL         7709
#define IDS_MERGE_FILTER_ALL_PATTERN 7710
#define IDS_TABLE_PAGE_FORMAT        7715  // the page number of a printed table
// Each table's own file type in the merge's file dialog: label, then pattern.
#define IDS_DEVTYPE_MERGE_FILTER     7711
#define IDS_DEVTYPE_MERGE_FILTER_PATTERN 7712
#define IDS_KORVEL_MERGE_FILTER      7713
#define IDS_KORVEL_MERGE_FILTER_PATTERN 7714
