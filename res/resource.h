// Resource ids of ZQ: dialogs, controls, commands, icons, bitmaps and strings.
// Plain #defines so that both C++ sources and res/ZQ.rc can include this file.
// Control ids are unique per dialog only; a few numbers repeat across dialogs.
#ifndef ZQ_RES_RESOURCE_H
#define ZQ_RES_RESOURCE_H

// ---------------------------------------------------------------------------
// Ids that belong to the class library (the framework's standard commands,
// bars, indicators and strings). Guarded, so that a class-library header that
// defines the same names first wins without a redefinition warning. The ones
// the class library itself uses live in its own header.
// ---------------------------------------------------------------------------
#include "../classlib/StandardIds.h"
#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

// File menu
#ifndef ID_FILE_CLOSE
#define ID_FILE_CLOSE                   0xE102
#endif
#ifndef ID_FILE_SAVE
#define ID_FILE_SAVE                    0xE103
#endif
#ifndef ID_FILE_SAVE_AS
#define ID_FILE_SAVE_AS                 0xE104
#endif
#ifndef ID_FILE_PAGE_SETUP
#define ID_FILE_PAGE_SETUP              0xE105
#endif
#ifndef ID_FILE_PRINT_DIRECT
#define ID_FILE_PRINT_DIRECT            0xE108
#endif
#ifndef ID_FILE_MRU_FILE1
#define ID_FILE_MRU_FILE1               0xE110
#endif

// Edit menu
#ifndef ID_EDIT_CLEAR
#define ID_EDIT_CLEAR                   0xE120
#endif
#ifndef ID_EDIT_CLEAR_ALL
#define ID_EDIT_CLEAR_ALL               0xE121
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY                    0xE122
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT                     0xE123
#endif
#ifndef ID_EDIT_FIND
#define ID_EDIT_FIND                    0xE124
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE                   0xE125
#endif
#ifndef ID_EDIT_REPEAT
#define ID_EDIT_REPEAT                  0xE128
#endif
#ifndef ID_EDIT_REPLACE
#define ID_EDIT_REPLACE                 0xE129
#endif
#ifndef ID_EDIT_SELECT_ALL
#define ID_EDIT_SELECT_ALL              0xE12A
#endif
#ifndef ID_EDIT_UNDO
#define ID_EDIT_UNDO                    0xE12B
#endif
#ifndef ID_EDIT_REDO
#define ID_EDIT_REDO                    0xE12C
#endif

// Application commands (ID_APP_ABOUT = 57664, ID_APP_EXIT = 57665)
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT                    0xE140
#endif

// Pane switching (accelerators F6 / Shift+F6)
#ifndef ID_NEXT_PANE
#define ID_NEXT_PANE                    0xE150
#endif
#ifndef ID_PREV_PANE
#define ID_PREV_PANE                    0xE151
#endif

// Status-bar indicators
#ifndef ID_INDICATOR_EXT
#define ID_INDICATOR_EXT                0xE700
#endif
#ifndef ID_INDICATOR_OVR
#define ID_INDICATOR_OVR                0xE704
#endif
#ifndef ID_INDICATOR_REC
#define ID_INDICATOR_REC                0xE705
#endif

// View menu commands share their numbers with the bars they toggle
#ifndef ID_VIEW_TOOLBAR
#define ID_VIEW_TOOLBAR                 0xE800
#endif
#ifndef ID_VIEW_STATUS_BAR
#define ID_VIEW_STATUS_BAR              0xE801
#endif

// Framework strings
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE               0xE000
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE             0xE001
#endif

// ---------------------------------------------------------------------------
// The application's own resources
// ---------------------------------------------------------------------------

// Dialog templates
#define IDD_ABOUTBOX                    100
#define IDD_USER_LIST_DLG               102
#define IDD_SHOW_MSG_DLG                135
#define IDD_CHART_DLG                   144
#define IDD_CHART_ALL_DLG               145
#define IDD_SETTING_DLG                 149
#define IDD_SETTING_USER_DLG            163
#define IDD_SETTING_SYSTEM_DLG          164
#define IDD_SHARE_FLODER_DLG            174
#define IDD_SHARE_FLODER_ALL_SHARE_PAGE 175
#define IDD_SHARE_FLODER_MY_SHARE_PAGE  176
#define IDD_RECEIVE_PROGRESS_DLG        179
#define IDD_SETTING_PRINT_SCREEN_DLG    180

// Menu, tool bar, accelerators, document string and application icon
#define IDR_MAINFRAME                   128

// Sub-menus of the IDR_MAINFRAME menu (positions, for GetSubMenu)
#define ZQ_SUBMENU_FILE                 0
#define ZQ_SUBMENU_EDIT                 1
#define ZQ_SUBMENU_VIEW                 2
#define ZQ_SUBMENU_HELP                 3
#define ZQ_SUBMENU_TRAY                 4
#define ZQ_SUBMENU_TEST                 5
#define ZQ_SUBMENU_USER_TREE            6

// Icons
#define IDI_TRAY_NORMAL                 132
#define IDI_TRAY_NEW_MESSAGE            133

// Bitmaps
#define IDB_MSGWND_BACKGROUND           131
#define IDB_TREE_GROUP_OPEN             155
#define IDB_TREE_GROUP_CLOSED           156
#define IDB_USER_LIST_BACKGROUND        165
#define IDB_TREE_HASH_CLIENT            170
#define IDB_TREE_OTHER_CLIENT           171
#define IDB_TREE_OWN_CLIENT             172

// Controls
#define IDC_BUTTON_SEND                 3
#define IDC_RICHEDIT_MESSAGE_LIST       1025
#define IDC_EDIT_MESSAGE                1016
#define IDC_EDIT_USER_NAME              1017
#define IDC_EDIT_IMAGE_SAVE_PATH        1017
#define IDC_EDIT_OWN_NAME               1018
#define IDC_EDIT_OWN_GROUP              1019
#define IDC_BUTTON_CLEAR                1020
#define IDC_TREE_USERS                  1026
#define IDC_RICHEDIT_HISTORY            1027
#define IDC_LIST_FILES                  1029
#define IDC_PROGRESS_FILE               1030
#define IDC_GROUP_FILE_SEND             1038
#define IDC_LIST_USERS                  1042
#define IDC_LIST_SETTING_PAGES          1043
#define IDC_COMBO_GROUP_NAME            1044
#define IDC_CHECK_AUTO_START            1045
#define IDC_BUTTON_SHARE                1046
#define IDC_TAB_SHARE                   1047
#define IDC_LIST_MY_SHARES              1048
#define IDC_BUTTON_ADD_SHARE            1050
#define IDC_BUTTON_REMOVE_SHARE         1051
#define IDC_LIST_ALL_SHARES             1051
#define IDC_BUTTON_DOWNLOAD             1052
#define IDC_BUTTON_REFRESH              1053
#define IDC_LIST_RECEIVE                1053
#define IDC_CHECK_PRINT_SCREEN          1054
#define IDC_BUTTON_TRANSFER_STATUS      1056

// Hot key of the buddy-list window (Ctrl+P screen capture)
#define ID_HOTKEY_PRINT_SCREEN          2024

// Menu commands
#define ID_TEST_NOTICE_MESSAGE          32771
#define ID_TEST_SHOW_MESSAGE            32773
#define ID_TEST_REGISTER_USER           32774
#define ID_TEST_CHANGE_PASSWORD         32776
#define ID_TEST_DELETE_USER             32777
#define ID_TEST_TRAY_NO_MESSAGE         32778
#define ID_TEST_TRAY_HAS_MESSAGE        32779
#define ID_TEST_SEND_MESSAGE_EVENT      32780
#define ID_SYSTEM_SETTINGS              32783
#define ID_BUDDY_LIST                   32785
#define ID_SEND_MESSAGE                 32787
#define ID_AUTO_START                   32789
#define ID_REFRESH_LIST                 32792
#define ID_TRAY_ABOUT                   32795
#define ID_SEND_MESSAGE_WITH_SUBGROUPS  32797

#endif // ZQ_RES_RESOURCE_H
