#pragma once
// Resource and control IDs shared by the resource script and the dialogs.

#define IDI_SETUP 128

#define IDD_LOADING 132
#define IDC_LOADING_TEXT 1005

#define IDD_INSERT_MEDIA 141
#define IDC_MEDIA_LOCATION 1013
#define IDC_MEDIA_OK 1020
#define IDC_MEDIA_REQUEST 1021
#define IDC_MEDIA_CANCEL 1022
#define IDC_MEDIA_BROWSE 1023
#define IDC_MEDIA_LOCATION_LABEL 1024

#define IDD_AD_PICTURE 142
