#include "dialogs/FileRichEditCtrl.h"

#include "dialogs/DroppedFiles.h"

CFileRichEditCtrl::CFileRichEditCtrl()
{
}

CFileRichEditCtrl::~CFileRichEditCtrl()
{
}

BEGIN_MESSAGE_MAP(CFileRichEditCtrl, CRichEditCtrl)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

void CFileRichEditCtrl::OnDropFiles(HDROP drop)
{
    forwardDroppedFiles(m_hWnd, drop);
}
