// Resource ids of VSXPROPS. Shared by the resource script and the code;
// #defines only. The numbers are fixed: the pages are made by template
// number and the texts are loaded by string number.
#pragma once

// Page templates.
#define IDD_PRINTER_PAGE         129
#define IDD_SERVER_PAGE          131
#define IDD_SERVER_ADVANCED_PAGE 132
#define IDD_VOLUME_PAGE          133
#define IDD_ZONE_PAGE            134
#define IDD_FOLDER_PAGE          142
#define IDD_FILE_PAGE            143
#define IDD_MULTIPLE_PAGE        149

// Controls of the pages.
#define IDC_READ_ONLY            1009
#define IDC_SYSTEM               1014
#define IDC_MODIFIED_DATE        1024
#define IDC_ZONE_NAME            1025
#define IDC_BACKUP_DATE          1026
#define IDC_DIRECTORY_NAME       1032
#define IDC_DIRECTORY_SHORT_NAME 1033
#define IDC_FILE_TYPE            1034
#define IDC_FILE_CREATOR         1035
#define IDC_RENAME_INHIBIT       1036
#define IDC_DELETE_INHIBIT       1037
#define IDC_OWNER_NAME           1038
#define IDC_GROUP_NAME           1039
#define IDC_COPY_PROTECT         1040
#define IDC_FILE_NAME            1041
#define IDC_FILE_SHORT_NAME      1042
#define IDC_DATA_FORK_LENGTH     1043
#define IDC_RESOURCE_FORK_LENGTH 1044
// The access grid: see folders, see files, make changes for each row.
#define IDC_OWNER_SEE_FOLDERS    1045
#define IDC_OWNER_SEE_FILES      1046
#define IDC_OWNER_MAKE_CHANGES   1048
#define IDC_GROUP_SEE_FOLDERS    1050
#define IDC_GROUP_SEE_FILES      1051
#define IDC_GROUP_MAKE_CHANGES   1052
#define IDC_EVERYONE_SEE_FOLDERS 1053
#define IDC_EVERYONE_SEE_FILES   1054
#define IDC_EVERYONE_MAKE_CHANGES 1055
#define IDC_USER_SEE_FOLDERS     1056
#define IDC_USER_SEE_FILES       1057
#define IDC_USER_MAKE_CHANGES    1058
#define IDC_PAGE_ICON            1059
#define IDC_BACKUP_DATE_LABEL    1063
#define IDC_MODIFIED_DATE_LABEL  1064
#define IDC_FOLDER_SEPARATOR     1065

// Strings.
#define IDS_DATE_FORMAT          2
#define IDS_NUMBER_FORMAT        3
#define IDS_NO_DATE              7
#define IDS_OWNER_ID             27
#define IDS_GROUP_ID             28
#define IDS_PRINTER_ON_NETWORK   29
#define IDS_ACCESS_PRIVILEGES    30
