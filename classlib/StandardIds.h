#pragma once
// The standard command, bar and pane ids the class library itself uses.
// res/resource.h includes this header, so the resource script and the code
// share one definition of each.

#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif
#ifndef ID_FILE_NEW
#define ID_FILE_NEW 0xE100
#endif
#ifndef ID_FILE_OPEN
#define ID_FILE_OPEN 0xE101
#endif
#ifndef ID_FILE_PRINT_SETUP
#define ID_FILE_PRINT_SETUP 0xE106
#endif
#ifndef ID_FILE_PRINT
#define ID_FILE_PRINT 0xE107
#endif
#ifndef ID_FILE_PRINT_PREVIEW
#define ID_FILE_PRINT_PREVIEW 0xE109
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141
#endif
#ifndef AFX_IDW_TOOLBAR
#define AFX_IDW_TOOLBAR 0xE800
#endif
#ifndef AFX_IDW_STATUS_BAR
#define AFX_IDW_STATUS_BAR 0xE801
#endif
#ifndef AFX_IDW_PANE_FIRST
#define AFX_IDW_PANE_FIRST 0xE900
#endif
#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS 0xE701
#endif
#ifndef ID_INDICATOR_NUM
#define ID_INDICATOR_NUM 0xE702
#endif
#ifndef ID_INDICATOR_SCRL
#define ID_INDICATOR_SCRL 0xE703
#endif
