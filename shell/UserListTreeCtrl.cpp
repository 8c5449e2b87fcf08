#include "shell/UserListTreeCtrl.h"

CUserListTreeCtrl::CUserListTreeCtrl()
{
}

CUserListTreeCtrl::~CUserListTreeCtrl()
{
}

BEGIN_MESSAGE_MAP(CUserListTreeCtrl, CTreeCtrl)
END_MESSAGE_MAP()
