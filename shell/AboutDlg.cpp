#include "shell/AboutDlg.h"

CAboutDlg::CAboutDlg()
    : CDialog(IDD_ABOUTBOX)
{
}

CAboutDlg::~CAboutDlg()
{
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()
