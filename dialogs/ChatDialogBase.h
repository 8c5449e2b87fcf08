#pragma once

#include "classlib/AfxWin.h"
#include "dialogs/FileListCtrl.h"

// What the one-to-one and the group chat window do alike, over the dialog
// class each is built on: the list of files to send with the text, the rows
// it gets from the drop targets, and the keys Esc and Delete.
//
// Instantiated in ChatDialogBase.cpp for CDialog and CDialogEx only.
template <class Base> class CChatDialogBase : public Base {
public:
    CFileListCtrl fileList;  // column 0 name, column 1 full path

    // Esc puts the focus on the dialog instead of closing it; Delete removes
    // the selected file rows and goes on to the control.
    virtual BOOL PreTranslateMessage(MSG* msg);

protected:
    CChatDialogBase(UINT templateId, CWnd* parent)
        : Base(templateId, parent)
    {
    }

    // lParam: the full path of a file or folder dropped on a drop target.
    LRESULT OnAddDroppedFile(WPARAM wParam, LPARAM lParam);
    void OnDropFiles(HDROP drop);
    DECLARE_MESSAGE_MAP()
};

extern template class CChatDialogBase<CDialog>;
extern template class CChatDialogBase<CDialogEx>;
