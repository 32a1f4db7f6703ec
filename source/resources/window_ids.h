/* Resource and control numbers of the scanning window, its pages and dialogs. Plain defines:
   the resource compiler reads this file as well as the C++ views. */
#ifndef KV_WINDOW_IDS_H
#define KV_WINDOW_IDS_H

/* Main dialog "SCANNER" */
#define IDC_SCAN 1001
#define IDC_PRESCAN 1002
#define IDC_CLOSE 1003
#define IDC_TABSTRIP 1004
#define IDC_INFO 1005
#define IDC_LOAD 1006
#define IDC_SAVE 1007
#define IDC_PREVIOUS 1008
#define IDC_RESET 1009
#define IDC_QUICKHELP 1010

/* Pages */
#define IDD_MAIN_PAGE 501
#define IDD_ABOUT_PAGE 504
#define IDD_TONE_PAGE 505
#define IDD_FILTERS_PAGE 506
#define IDD_COLOUR_PAGE 508

/* Main page */
#define IDC_MODE_LABEL 1001
#define IDC_MODE 1002
#define IDC_SOURCE_LABEL 1003
#define IDC_SOURCE 1004
#define IDC_RES_LABEL 1005
#define IDC_RES_BOX 1006
#define IDC_RES_UNIT 1007
#define IDC_DEST_LABEL 1008
#define IDC_DEST 1009
#define IDC_QUALITY_LABEL 1010
#define IDC_QUALITY 1011
#define IDC_DESCREEN_LABEL 1012
#define IDC_DESCREEN 1013
#define IDC_OUTPUT_MATCH 1014
#define IDC_CALIBRATOR 1015
#define IDC_WIDTH_LABEL 1017
#define IDC_WIDTH 1018
#define IDC_LENGTH_LABEL 1019
#define IDC_LENGTH 1020
#define IDC_UNITS 1021
#define IDC_SCALING_LABEL 1022
#define IDC_SCALING 1023
#define IDC_IMAGE_SIZE_LABEL 1025
#define IDC_IMAGE_SIZE 1026
#define IDC_IMAGE_SIZE_UNIT 1027
#define IDC_LANGUAGE 1028
#define IDC_SAVER 1030

/* About page */
#define IDC_ABOUT_MODEL 4001
#define IDC_ABOUT_VERSION 4003
#define IDC_ABOUT_FIRMWARE 4004
#define IDC_ABOUT_MAKER 4005
#define IDC_ABOUT_PICTURE 4006

/* "LANGUAGEDLG" */
#define IDC_LANGUAGE_OK 71
#define IDC_LANGUAGE_CANCEL 72
#define IDC_LANGUAGE_LIST 73

/* Scanning status window */
#define IDD_PROGRESS 800
#define IDC_PROGRESS_TEXT 801
#define IDC_PROGRESS_BAR 802
#define IDC_PROGRESS_ESCAPE 803

/* "CUSTOM" and "CUSTOMSCAL" */
#define IDC_CUSTOM_SLIDER 1201
#define IDC_CUSTOM_EDIT 1202
#define IDC_CUSTOM_LABEL 1203
#define IDC_CUSTOM_UNIT 1204
#define IDC_SCALING_EDIT 1001

#endif
