// Resource ids of the launcher.
#pragma once

#define IDD_ABOUTBOX        100
#define IDD_TVRL_DIALOG     102
#define IDD_NEW_WINDOW      130
#define IDD_UPDATE          132
#define IDD_WEB_VIEW        141
#define IDI_TAVREL          169
#define IDR_LOGIN_SWF       173
#define IDR_CONFIG_INI      174

#define IDC_WEB_BROWSER     1000
#define IDC_UPDATE_PROGRESS 1003
#define IDC_GAME_BROWSER    2000
