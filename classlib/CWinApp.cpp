#include "classlib/CWinApp.h"

#include <cstdlib>

#include "classlib/CWnd.h"
#include "classlib/DocTemplate.h"
#include "classlib/TempObjects.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

namespace {
// The one application object, recorded by its constructor.
CWinApp* g_app = NULL;
}  // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_app ? g_app->m_hInstance : ::GetModuleHandleA(NULL);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : NULL;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    return g_app ? g_app->PreTranslateMessage(pMsg) : CWnd::WalkPreTranslateTree(pMsg);
}

BOOL AfxPumpMessage(int* exitCode)
{
    MSG msg;
    BOOL got = ::GetMessageW(&msg, NULL, 0, 0);
    if (got == 0) {
        *exitCode = (int)msg.wParam;
        return FALSE;
    }
    if (got != -1 && !AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

// ---- CCommandLineInfo ------------------------------------------------------------

CCommandLineInfo::CCommandLineInfo()
    : m_nShellCommand(FileNew)
{
}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast)
{
    (void)bLast;
    if (bFlag || !m_strFileName.IsEmpty())
        return;
    m_strFileName = pszParam;
    m_nShellCommand = FileOpen;
}

// ---- CWinApp -----------------------------------------------------------------------

CWinApp::CWinApp()
    : m_pMainWnd(NULL),
      m_hInstance(::GetModuleHandleA(NULL)),
      m_pDocTemplate(NULL),
      m_nExitCode(0)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    delete m_pDocTemplate;
    if (g_app == this)
        g_app = NULL;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

namespace {

// The application's name: the string AFX_IDS_APP_TITLE (0xE000) of the
// program's resources, else the program file's name without its extension.
CString applicationName(HINSTANCE instance)
{
    char text[260] = {0};
    if (::LoadStringA(instance, 0xE000, text, sizeof text) > 0)
        return CString(text);
    ::GetModuleFileNameA(NULL, text, sizeof text - 1);
    CString path(text);
    CString name = path.Mid(path.ReverseFind('\\') + 1);
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

}  // namespace

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    m_strProfileKey.Format("Software\\%s\\%s", lpszRegistryKey, applicationName(m_hInstance).GetString());
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_recentFiles.RemoveAll();
    if (m_strProfileKey.IsEmpty())
        return;
    HKEY key = NULL;
    CString listKey = m_strProfileKey + "\\Recent File List";
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, listKey, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return;
    for (UINT i = 1; i <= nMaxMRU; ++i) {
        CString name;
        name.Format("File%u", i);
        char value[260] = {0};
        DWORD size = sizeof value - 1;
        DWORD type = 0;
        if (::RegQueryValueExA(key, name, NULL, &type, (BYTE*)value, &size) == ERROR_SUCCESS && type == REG_SZ &&
            value[0])
            m_recentFiles.Add(CString(value));
    }
    ::RegCloseKey(key);
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount == 0)
        AfxDeleteTemporaryObjects();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::WalkPreTranslateTree(pMsg);
}

int CWinApp::Run()
{
    MSG msg;
    for (;;) {
        for (LONG idle = 0; !::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE);)
            if (!OnIdle(idle++))
                break;
        int exitCode = 0;
        if (!AfxPumpMessage(&exitCode)) {
            m_nExitCode = exitCode;
            break;
        }
    }
    return ExitInstance();
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate == m_pDocTemplate)
        return;
    delete m_pDocTemplate;
    m_pDocTemplate = pTemplate;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (int i = 1; i < __argc; ++i) {
        const char* param = __argv[i];
        BOOL flag = param[0] == '-' || param[0] == '/';
        rCmdInfo.ParseParam(flag ? param + 1 : param, flag, i + 1 == __argc);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
    case CCommandLineInfo::FileOpen:
        OnFileNew();
        return m_pMainWnd != NULL;
    default:
        return TRUE;
    }
}

void CWinApp::OnFileNew()
{
    if (m_pDocTemplate)
        m_pDocTemplate->OpenDocumentFile(NULL);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}
