#include "dialogs/DroppedFiles.h"

void forwardDroppedFiles(HWND control, HDROP drop)
{
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = {0};
        // A path that does not fit is skipped rather than sent cut short.
        UINT length = DragQueryFileA(drop, i, NULL, 0);
        if (length == 0 || length >= sizeof(path)) {
            continue;
        }
        DragQueryFileA(drop, i, path, sizeof(path));
        SendMessageA(GetParent(control), WM_USER_ADD_DROPPED_FILE, 0, (LPARAM)path);
    }
    DragFinish(drop);
}
