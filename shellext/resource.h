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
// The Change Password dialog of the context-menu command.
#define IDD_CHANGE_PASSWORD      148

// The built-in printer information query (resource type "PSFILE").
#define IDR_PRINTER_QUERY        144

// Controls of the pages.
#define IDC_AFP_VERSIONS         1004
#define IDC_TIME_CONNECTED       1005
#define IDC_UAMS                 1006
#define IDC_SERVER_VOLUMES       1007
#define IDC_SUPPORTS_TCPIP       1008
#define IDC_READ_ONLY            1009
#define IDC_SYSTEM               1014
#define IDC_LOGON_NAME           1016
#define IDC_OBJECT_NAME          1017
#define IDC_OBJECT_ZONE          1018
#define IDC_ALLOWS_CHANGE_PWD    1019
#define IDC_MACHINE_TYPE         1020
#define IDC_CONNECTED_AT         1021
#define IDC_VOLUME_NAME          1022
#define IDC_CREATED_DATE         1023
#define IDC_MODIFIED_DATE        1024
#define IDC_ZONE_NAME            1025
#define IDC_BACKUP_DATE          1026
#define IDC_VOLUME_SHORT_NAME    1027
#define IDC_HAS_PASSWORD         1028
#define IDC_BYTES_TOTAL          1029
#define IDC_BYTES_FREE           1030
#define IDC_SERVER_TIME          1031
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
#define IDC_PRINTER_DESCRIPTION  1047
#define IDC_OWNER_MAKE_CHANGES   1048
#define IDC_NETWORK_PATH         1049
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
#define IDC_ADDITIONAL_INFO      1060
#define IDC_PRINTER_INFO_TEXT    1061
#define IDC_PRINTER_TYPE         1062
#define IDC_BACKUP_DATE_LABEL    1063
#define IDC_MODIFIED_DATE_LABEL  1064
#define IDC_FOLDER_SEPARATOR     1065
// The Change Password dialog.
#define IDC_OLD_PASSWORD         1066
#define IDC_NEW_PASSWORD         1067
#define IDC_PASSWORD_CANCEL      1068
#define IDC_PASSWORD_OK          1069
#define IDC_VERIFY_PASSWORD      1070

// Strings.
#define IDS_DATE_FORMAT          2
#define IDS_NUMBER_FORMAT        3
#define IDS_ELAPSED_FORMAT       5
#define IDS_NOT_CONNECTED        6
#define IDS_NO_DATE              7
#define IDS_CHANGE_PASSWORD_ITEM 8
#define IDS_STRIKE_THREE_TEXT    9
#define IDS_STRIKE_THREE         10
#define IDS_REENTER_OLD_PASSWORD 11
#define IDS_OLD_PASSWORD_WRONG   12
#define IDS_VERIFY_MISMATCH      15
#define IDS_VERIFY_FAILURE       16
#define IDS_OPENING_PRINTER      17
#define IDS_PRINTER_NOT_FOUND    18
#define IDS_WAITING_FOR_REPLY    19
#define IDS_SENDING_CUSTOM_QUERY 20
#define IDS_WRITE_FAILED         21
#define IDS_SENDING_STOCK_QUERY  22
#define IDS_PASSWORD_CHANGED     23
#define IDS_PASSWORD_CHANGE_FAILED 24
#define IDS_NO_PASSWORD_CHANGE   25
#define IDS_CHANGE_PASSWORD_HELP 26
#define IDS_OWNER_ID             27
#define IDS_GROUP_ID             28
#define IDS_PRINTER_ON_NETWORK   29
#define IDS_ACCESS_PRIVILEGES    30
#define IDS_PRODUCT_CAPTION      31
#define IDS_REPLY_FAILED         32
