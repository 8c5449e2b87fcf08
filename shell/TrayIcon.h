#pragma once

#include "classlib/AfxWin.h"

#include <shellapi.h>

// The program's icon in the notification area. An icon is shown exactly
// while iconData holds an icon handle. While the balloon is enabled every
// icon call also shows the balloon (and leaves the tooltip alone).
class CTrayIcon {
public:
    CTrayIcon();
    ~CTrayIcon();

    void setNotificationWnd(CWnd* wnd, UINT message);
    // TRUE for the two mouse actions the owner reacts to: right button
    // released and left double click on this icon.
    virtual BOOL onTrayNotification(WPARAM wParam, LPARAM lParam);
    // Adds, changes or (icon NULL) removes the icon; the shell's result.
    BOOL setIcon(HICON icon, const char* tip);
    void setBalloon(CString title, CString text, UINT timeout);
    void setBalloonEnabled(BOOL enabled);
    BOOL removeIcon();

    NOTIFYICONDATAA iconData;
    BOOL balloonEnabled;
    CString balloonTitle;
    CString balloonText;
    UINT balloonTimeout;
};
