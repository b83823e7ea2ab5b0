#pragma once
// Resource and control IDs of the uninstaller's own resource script.

#define IDI_UNINSTALL 128
#define IDD_UNINSTALL 200
#define IDC_UN_TITLE 1201
#define IDC_UN_DESC2 1202
#define IDC_UN_STATUS 1203
#define IDC_UN_PROGRESS 1204
#define IDC_UN_REMOVE 1205
#define IDC_UN_CLOSE 1206
#define IDC_UN_UPPER_LINE 1207
#define IDC_UN_LOWER_LINE 1208
