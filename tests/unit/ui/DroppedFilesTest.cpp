// A shell drop on any of the three drop-target controls reaches the
// control's parent as one WM_USER_ADD_DROPPED_FILE per path, in order.
#include "tests/unit/support/UiTestSupport.h"

#include "dialogs/DroppedFiles.h"
#include "dialogs/FileEditCtrl.h"
#include "dialogs/FileListCtrl.h"
#include "dialogs/FileRichEditCtrl.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> received;

LRESULT CALLBACK recordingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER_ADD_DROPPED_FILE) {
        received.push_back((const char*)lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeRecordingParent()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = recordingParent;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "ZqDropRecorder";
        RegisterClassA(&windowClass);
        registered = true;
    }
    return CreateWindowExA(0, "ZqDropRecorder", "", WS_POPUP, 0, 0, 300, 200, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

struct TargetKind {
    const char* windowClass;
    std::unique_ptr<CWnd> (*make)();
};

const TargetKind TARGETS[] = {
    {"EDIT", [] { return std::unique_ptr<CWnd>(new CFileEditCtrl); }},
    {"SysListView32", [] { return std::unique_ptr<CWnd>(new CFileListCtrl); }},
    {"RICHEDIT", [] { return std::unique_ptr<CWnd>(new CFileRichEditCtrl); }},
};

TEST(DroppedFiles, EveryPathReachesTheParentInOrder)
{
    AfxInitRichEdit();
    ScratchFolder scratch;
    std::vector<CString> paths = {scratch.file("one.txt"), scratch.folder("文件夹"), scratch.file("三.txt")};
    std::vector<std::string> expected;
    for (const CString& path : paths) {
        expected.push_back(path.GetString());
    }

    HWND parent = makeRecordingParent();
    for (const TargetKind& target : TARGETS) {
        SCOPED_TRACE(target.windowClass);
        HWND control = CreateWindowExA(WS_EX_ACCEPTFILES, target.windowClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100,
                                       parent, (HMENU)1, GetModuleHandleA(NULL), NULL);
        ASSERT_NE(control, nullptr);
        std::unique_ptr<CWnd> wrapper = target.make();
        ASSERT_TRUE(wrapper->SubclassWindow(control));

        received.clear();
        SendMessageA(control, WM_DROPFILES, (WPARAM)makeDrop(paths), 0);  // the control releases the drop
        EXPECT_EQ(received, expected);

        wrapper->DestroyWindow();
    }
    DestroyWindow(parent);
}

}  // namespace
