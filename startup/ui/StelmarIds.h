// Resource and control identifiers of stelmar's dialogs, shared by the resource script, the
// program and the tests that drive its windows.
#pragma once

#define IDI_STELMAR 1

#define IDB_FOLDER 200
#define IDB_FOLDER_OPEN 201
#define IDB_CROSS 202
#define IDB_FOLDER_ERROR 203
#define IDB_TICKED 204
#define IDB_EMPTY 205
#define IDB_BANNER 206

#define IDD_STELMAR 300
#define IDC_BANNER 301
#define IDC_TREE 302
#define IDC_COMMAND_LABEL 303
#define IDC_COMMAND 304
#define IDC_REFRESH 305
#define IDC_HELP_BUTTON 306

#define IDD_ADD_ENTRY 400
#define IDC_NAME 401
#define IDC_PATH 402
#define IDC_BROWSE 403

#define IDD_LOAD_ORDER 500
#define IDC_ORDER_LIST 501
#define IDC_MOVE_DOWN 502
#define IDC_MOVE_UP 503

// The system menu's "&About.." item.
#define IDM_ABOUT 16
