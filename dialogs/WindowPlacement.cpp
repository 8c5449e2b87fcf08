#include "dialogs/WindowPlacement.h"

#include <windows.h>

namespace {

// Between a window and the one it opens beside, so that their frames do not touch.
const int GAP = 8;

int clamp(int value, int low, int high)
{
    return value > high ? (high < low ? low : high) : (value < low ? low : value);
}

}  // namespace

void placeBeside(HWND window, HWND anchor)
{
    RECT own;
    RECT by;
    if (!GetWindowRect(window, &own) || !GetWindowRect(anchor, &by))
        return;
    MONITORINFO monitor = {sizeof monitor};
    if (!GetMonitorInfoA(MonitorFromWindow(anchor, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    int width = own.right - own.left;
    int height = own.bottom - own.top;

    // Each side: where the window goes, and the room it has there.
    int y = clamp(by.top, work.top, work.bottom - height);
    int x = clamp(by.left, work.left, work.right - width);
    struct Side {
        int left, top, room, need;
    } sides[] = {
        {by.right + GAP, y, work.right - by.right - GAP, width},
        {by.left - GAP - width, y, by.left - GAP - work.left, width},
        {x, by.bottom + GAP, work.bottom - by.bottom - GAP, height},
        {x, by.top - GAP - height, by.top - GAP - work.top, height},
    };
    const Side* chosen = &sides[0];
    for (const Side& side : sides) {
        if (side.room >= side.need) {
            chosen = &side;
            break;
        }
        if (side.room - side.need > chosen->room - chosen->need)
            chosen = &side;
    }
    int left = clamp(chosen->left, work.left, work.right - width);
    int top = clamp(chosen->top, work.top, work.bottom - height);
    SetWindowPos(window, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
