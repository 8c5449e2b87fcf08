#pragma once
// The application object. The program defines one global object of a class
// derived from CWinApp; the class library's WinMain finds it (the constructor
// records it), runs InitInstance and then the message loop Run.

#include "classlib/CCmdTarget.h"
#include "classlib/CString.h"
#include "classlib/CStringArray.h"
#include "classlib/Types.h"

class CDocTemplate;
class CWnd;

class CCommandLineInfo : public CObject {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };
    int m_nShellCommand;
    CString m_strFileName;

    CCommandLineInfo();
    virtual ~CCommandLineInfo() {}
    // One argument: bFlag when it began with '-' or '/' (which is removed).
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);
};

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    CWnd* m_pMainWnd;
    HINSTANCE m_hInstance;

    CWinApp();
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    // The message loop: idle processing while the queue is empty, then
    // AfxPumpMessage; ends at WM_QUIT with ExitInstance().
    virtual int Run();
    virtual int ExitInstance();
    // Called when the queue is empty; deletes temporary wrappers. Return TRUE
    // for more idle calls.
    virtual BOOL OnIdle(LONG lCount);
    // Walks the window chain of the message (CWnd::WalkPreTranslateTree).
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // The profile lives under HKEY_CURRENT_USER\Software\<key>\<application
    // name>; the name is the string AFX_IDS_APP_TITLE, else the program file's.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    CString GetProfileKeyPath() const { return m_strProfileKey; }
    // Opens (creating when missing) the profile key and reads the recent-file
    // list, at most nMaxMRU entries "File1".."FileN" of "Recent File List".
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    CStringArray m_recentFiles;
    void AddDocTemplate(CDocTemplate* pTemplate);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FileNew and FileOpen both make the (empty) document, its frame and view;
    // FALSE when that fails.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    HICON LoadIcon(UINT nIDResource) const;

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen() {}
    afx_msg void OnFilePrintSetup() {}

protected:
    CDocTemplate* m_pDocTemplate;
    int m_nExitCode;
    CString m_strProfileKey;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
CWnd* AfxGetMainWnd();
inline void AfxEnableControlContainer()
{
}
// Loads RICHED32.DLL, which provides the rich edit 1.0 class "RICHEDIT".
BOOL AfxInitRichEdit();
// The application's PreTranslateMessage, or the window walk without one.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// Waits for the thread's next message and hands it on: to
// AfxPreTranslateMessage first, else translated and dispatched. FALSE at
// WM_QUIT, with its exit code in *exitCode.
//
// The loop is a wide one while every window and text stays code page 936:
// a character typed with a keyboard layout or an input method reaches an
// ANSI window as its code-page bytes only when it went through a wide
// GetMessage/IsDialogMessage/DispatchMessage (with the ANSI ones Wine hands
// every typed CJK character to an edit as "??"); the system converts the
// messages for the ANSI window procedures.
BOOL AfxPumpMessage(int* exitCode);
// What WinMain does: InitInstance, then Run.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
