// Ids shared by the program and localization.rc. Plain #defines: windres reads this file too.
#ifndef ORVANE_RESOURCE_IDS_H
#define ORVANE_RESOURCE_IDS_H

// Main window: title string, class icon and accelerator table share one id.
#define IDR_MAINFRAME_RES        101
#define IDD_ABOUT                102
#define IDR_MENUBAR              103
#define IDD_ABOUT_LANDSCAPE      104
#define IDD_PORTSCAN             105
#define IDD_PORTSCAN_LANDSCAPE   106
#define IDD_PING                 107
#define IDD_PING_LANDSCAPE       108
#define IDD_FINGER               109
#define IDD_FINGER_LANDSCAPE     110
#define IDD_NSLOOKUP             111
#define IDD_NSLOOKUP_LANDSCAPE   112
#define IDD_TRACERT              113
#define IDD_TRACERT_LANDSCAPE    114
#define IDD_WHOIS                115
#define IDD_WHOIS_LANDSCAPE      116
#define IDD_SUMMARY              117
#define IDD_NETSTAT              118
#define IDD_IPCONFIG             119

// Controls the program addresses.
#define IDC_VERSION              1002
#define IDC_HOST                 1006
#define IDC_RANGE_TO_LABEL       1008
#define IDC_RANGE_FROM_LABEL     1010
#define IDC_PORT_LIST            1011
#define IDC_PORT_MODE            1013
#define IDC_WELL_KNOWN           1014
#define IDC_RANGE_TO             1018
#define IDC_RANGE_FROM           1019
#define IDC_TABS                 1053
#define IDC_TEXT                 1054
#define IDC_LOGO                 1055
#define IDC_HEADLINE             1056

// Controls only the templates use: every static has an id of its own, since
// the relayout matches by id and all unnamed items would land on one control.
#define IDC_ABOUT_LOGO           1001
#define IDC_ABOUT_TITLE          1003
#define IDC_VERSION_LABEL        1004
#define IDC_HOST_LABEL           1005
#define IDC_START                1007
#define IDC_PORT_MODE_LABEL      1012
#define IDC_PORTS_LABEL          1015
#define IDC_OPTION1_LABEL        1020
#define IDC_OPTION1              1021
#define IDC_OPTION2_LABEL        1022
#define IDC_OPTION2              1023
#define IDC_OPTION3_LABEL        1024
#define IDC_OPTION3              1025
#define IDC_CHECK1               1026
#define IDC_RESULTS_LABEL        1030
#define IDC_RESULTS              1031

// Menu commands.
#define ID_VIEW_PING             40007
#define ID_VIEW_TRACERT          40008
#define ID_VIEW_SUMMARY          40009
#define ID_VIEW_UNBOUND          40010
#define ID_VIEW_NETSTAT          40011
#define ID_VIEW_NSLOOKUP         40013
#define ID_VIEW_PORTSCAN         40014
#define ID_VIEW_WHOIS            40015
#define ID_VIEW_FINGER           40016
#define ID_ABOUT                 40017
#define ID_VIEW_IPCONFIG         40018
#define ID_REFRESH               40020

#endif
