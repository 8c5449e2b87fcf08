#include "dialogs/FileListCtrl.h"

#include "dialogs/DroppedFiles.h"

CFileListCtrl::CFileListCtrl()
{
}

CFileListCtrl::~CFileListCtrl()
{
}

BEGIN_MESSAGE_MAP(CFileListCtrl, CListCtrl)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

void CFileListCtrl::deleteSelectedRows()
{
    for (int row = GetItemCount() - 1; row >= 0; --row) {
        if (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) {
            DeleteItem(row);
        }
    }
}

void CFileListCtrl::OnDropFiles(HDROP drop)
{
    forwardDroppedFiles(m_hWnd, drop);
}
