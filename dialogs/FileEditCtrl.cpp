#include "dialogs/FileEditCtrl.h"

#include "dialogs/DroppedFiles.h"

CFileEditCtrl::CFileEditCtrl()
{
}

CFileEditCtrl::~CFileEditCtrl()
{
}

BEGIN_MESSAGE_MAP(CFileEditCtrl, CEdit)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

void CFileEditCtrl::OnDropFiles(HDROP drop)
{
    forwardDroppedFiles(m_hWnd, drop);
}
