#include "classlib/CDialog.h"

#include "classlib/CWinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(NULL),
      m_lpDialogTemplate(NULL),
      m_pParentWnd(NULL),
      m_bModal(FALSE),
      m_bEndModal(FALSE),
      m_nModalResult(-1)
{
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog()
{
    m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
    m_pParentWnd = pParentWnd;
}

CDialog::~CDialog()
{
}

// The procedure of every dialog: it binds the object at WM_INITDIALOG and
// subclasses the window, so that all later messages go through AfxWndProc.
// For everything else it answers "not handled", which leaves the standard
// dialog behaviour to the dialog manager when our map passes a message on.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog || !dialog->SubclassWindow(hWnd))
        return TRUE;
    dialog->m_bOwnsWindow = true;
    return (INT_PTR)afxCallWndProc(dialog, hWnd, message, wParam, lParam);
}

namespace {

BOOL CALLBACK takeFirstIconId(HMODULE, LPCSTR, LPSTR name, LONG_PTR found)
{
    if (!IS_INTRESOURCE(name))
        return TRUE;
    *reinterpret_cast<LPCSTR*>(found) = name;
    return FALSE;
}

// The program's icon as the shell shows it for its file: the first icon
// group of the program's resources, in the two sizes a caption and the task
// bar ask for; NULL where the program has none. Loaded once, by whichever
// thread makes the first dialog.
struct ProgramIcons {
    HICON bigIcon = NULL;
    HICON smallIcon = NULL;

    ProgramIcons()
    {
        HINSTANCE module = AfxGetResourceHandle();
        LPCSTR id = NULL;
        EnumResourceNamesA(module, RT_GROUP_ICON, takeFirstIconId, reinterpret_cast<LONG_PTR>(&id));
        if (id == NULL)
            return;
        bigIcon = load(module, id, SM_CXICON);
        smallIcon = load(module, id, SM_CXSMICON);
    }

    static HICON load(HINSTANCE module, LPCSTR id, int metric)
    {
        int size = GetSystemMetrics(metric);
        return (HICON)LoadImageA(module, id, IMAGE_ICON, size, size, LR_SHARED);
    }
};

}  // namespace

// Every window of the program that stands alone (not a page inside another)
// shows the program's icon in its caption and task-bar button; a dialog may
// set another in OnInitDialog.
LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    if ((GetStyle() & WS_CHILD) == 0) {
        static const ProgramIcons icons;
        if (icons.bigIcon != NULL)
            ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, (LPARAM)icons.bigIcon);
        if (icons.smallIcon != NULL)
            ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, (LPARAM)icons.smallIcon);
    }
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (m_bModal) {
        m_bEndModal = TRUE;
        if (m_hWnd)
            ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wake the modal loop
    } else if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    // A dialog embedded as a page leaves the keys to the dialog around it:
    // Enter and Esc are that dialog's OK and Cancel, not the page's (which
    // would only hide the page), and Tab walks through all of its controls.
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

// ---- making the window -----------------------------------------------------------

LPCDLGTEMPLATE CDialog::findTemplate() const
{
    if (m_lpDialogTemplate)
        return m_lpDialogTemplate;
    if (!m_lpszTemplateName)
        return NULL;
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(instance, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (!resource)
        return NULL;
    HGLOBAL loaded = ::LoadResource(instance, resource);
    return loaded ? (LPCDLGTEMPLATE)::LockResource(loaded) : NULL;
}

BOOL CDialog::createModeless(LPCDLGTEMPLATE lpTemplate, HWND hWndParent)
{
    if (!lpTemplate || m_hWnd)
        return FALSE;
    HWND hWnd = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), lpTemplate, hWndParent, AfxDlgProc, (LPARAM)this);
    return hWnd != NULL && m_hWnd == hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
    m_lpDialogTemplate = NULL;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    return createModeless(findTemplate(), AfxSafeHandle(m_pParentWnd));
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    return createModeless(lpDialogTemplate, AfxSafeHandle(m_pParentWnd));
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return lpDialogTemplate != NULL;
}

// ---- the modal loop ------------------------------------------------------------------

HWND CDialog::modalOwner() const
{
    if (HWND parent = AfxSafeHandle(m_pParentWnd))
        return ::GetAncestor(parent, GA_ROOT);
    // Without a parent the dialog belongs to the window the user works in: the
    // main window's last active pop-up (the main window itself may be hidden).
    CWnd* main = AfxGetMainWnd();
    HWND top = main ? ::GetAncestor(main->m_hWnd, GA_ROOT) : NULL;
    return top ? ::GetLastActivePopup(top) : NULL;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATE lpTemplate = findTemplate();
    if (!lpTemplate || m_hWnd)
        return -1;
    HWND owner = modalOwner();
    bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner)
        ::EnableWindow(owner, FALSE);

    m_bModal = TRUE;
    m_bEndModal = FALSE;
    m_nModalResult = -1;
    if (createModeless(lpTemplate, owner)) {
        if (!m_bEndModal) {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            runModalLoop();
        }
    }

    // The owner comes back before the dialog goes, so it gets the activation.
    if (disabledOwner)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        if (owner && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(owner);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow();
    }
    m_bModal = FALSE;
    return m_nModalResult;
}

void CDialog::runModalLoop()
{
    while (!m_bEndModal && m_hWnd) {
        int exitCode = 0;
        if (!AfxPumpMessage(&exitCode)) {
            // WM_QUIT: hand it on to the outer loop.
            ::PostQuitMessage(exitCode);
            break;
        }
    }
}
