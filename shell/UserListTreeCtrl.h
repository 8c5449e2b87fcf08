#pragma once

#include "classlib/AfxWin.h"

// The buddy tree control. It has no behaviour of its own: the buddy-list
// window keeps the tree model (see UserListDlg.h).
class CUserListTreeCtrl : public CTreeCtrl {
public:
    CUserListTreeCtrl();
    virtual ~CUserListTreeCtrl();

protected:
    DECLARE_MESSAGE_MAP()
};
