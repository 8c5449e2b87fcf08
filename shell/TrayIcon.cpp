#include "shell/TrayIcon.h"

#include "core/TextCut.h"

#include <cstring>

namespace {

// Copies text into a fixed field, cut at a character boundary so that no
// half of a double-byte character is left at its end.
void copyField(char* field, size_t fieldSize, const char* text)
{
    int length = characterBoundaryLength(text, (int)strlen(text), (int)fieldSize - 1);
    memcpy(field, text, length);
    field[length] = '\0';
}

}  // namespace

CTrayIcon::CTrayIcon()
    : balloonEnabled(TRUE),
      balloonTitle("Welcome"),
      balloonText("Welcome to VURaruvada！"),
      balloonTimeout(1)
{
    memset(&iconData, 0, sizeof(iconData));
    // The record as the shell of Windows XP and later reads it, without the
    // balloon icon handle.
    iconData.cbSize = NOTIFYICONDATAA_V3_SIZE;
}

CTrayIcon::~CTrayIcon()
{
    removeIcon();
}

void CTrayIcon::setNotificationWnd(CWnd* wnd, UINT message)
{
    iconData.hWnd = wnd != NULL ? wnd->GetSafeHwnd() : NULL;
    iconData.uCallbackMessage = message;
}

BOOL CTrayIcon::onTrayNotification(WPARAM wParam, LPARAM lParam)
{
    return wParam == iconData.uID && (lParam == WM_RBUTTONUP || lParam == WM_LBUTTONDBLCLK);
}

BOOL CTrayIcon::setIcon(HICON icon, const char* tip)
{
    UINT flags = NIF_ICON | NIF_TIP;
    DWORD operation;
    if (icon != NULL) {
        operation = iconData.hIcon != NULL ? NIM_MODIFY : NIM_ADD;
        iconData.hIcon = icon;
    } else {
        if (iconData.hIcon == NULL) {
            return TRUE;
        }
        operation = NIM_DELETE;
    }
    if (tip != NULL) {
        copyField(iconData.szTip, sizeof(iconData.szTip), tip);
    }
    if (iconData.uCallbackMessage != 0 && iconData.hWnd != NULL) {
        flags |= NIF_MESSAGE;
    }
    if (balloonEnabled) {
        flags = NIF_MESSAGE | NIF_ICON | NIF_INFO;
        iconData.dwInfoFlags = NIIF_INFO;
        copyField(iconData.szInfoTitle, sizeof(iconData.szInfoTitle), balloonTitle);
        copyField(iconData.szInfo, sizeof(iconData.szInfo), balloonText);
        iconData.uTimeout = balloonTimeout;
    }
    iconData.uFlags = flags;
    BOOL result = Shell_NotifyIconA(operation, &iconData);
    if (operation == NIM_DELETE || !result) {
        iconData.hIcon = NULL;
    }
    return result;
}

void CTrayIcon::setBalloon(CString title, CString text, UINT timeout)
{
    balloonTitle = title;
    balloonText = text;
    balloonTimeout = timeout;
}

void CTrayIcon::setBalloonEnabled(BOOL enabled)
{
    balloonEnabled = enabled;
}

BOOL CTrayIcon::removeIcon()
{
    if (iconData.hIcon == NULL) {
        return 0;
    }
    iconData.uFlags = 0;
    BOOL result = Shell_NotifyIconA(NIM_DELETE, &iconData);
    iconData.hIcon = NULL;
    return result;
}
