#include "dialogs/ChatDialogBase.h"

#include "dialogs/DroppedFiles.h"

namespace {

// The name the file system reports for the path; for a path that is gone
// already or a drive root, the path's last part, or the whole path.
CString nameShownFor(const CString& fullPath)
{
    CString name;
    CFileFind finder;
    if (finder.FindFile(fullPath)) {
        finder.FindNextFile();
        name = finder.GetFileName();
    }
    if (name.IsEmpty()) {
        CString trimmed = fullPath;
        trimmed.TrimRight('\\');
        name = trimmed.Mid(trimmed.ReverseFind('\\') + 1);
        if (name.IsEmpty()) {
            name = fullPath;
        }
    }
    return name;
}

}  // namespace

BEGIN_TEMPLATE_MESSAGE_MAP(CChatDialogBase, Base, Base)
    ON_MESSAGE(WM_USER_ADD_DROPPED_FILE, &CChatDialogBase::OnAddDroppedFile)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

template <class Base> BOOL CChatDialogBase<Base>::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        if (msg->wParam == VK_ESCAPE) {
            this->SetFocus();
            return TRUE;
        }
        if (msg->wParam == VK_DELETE) {
            fileList.deleteSelectedRows();
        }
    }
    return Base::PreTranslateMessage(msg);
}

template <class Base> LRESULT CChatDialogBase<Base>::OnAddDroppedFile(WPARAM, LPARAM lParam)
{
    if (lParam != 0) {
        CString fullPath((const char*)lParam);
        int row = fileList.InsertItem(fileList.GetItemCount(), nameShownFor(fullPath));
        fileList.SetItemText(row, 1, fullPath);
    }
    return 0;
}

// The dialog accepts files itself, so the shell hands it whatever is dropped
// beside its drop-target controls (a button, the frame). Only those controls
// take files: such a drop is let go.
template <class Base> void CChatDialogBase<Base>::OnDropFiles(HDROP drop)
{
    DragFinish(drop);
}

template class CChatDialogBase<CDialog>;
template class CChatDialogBase<CDialogEx>;
