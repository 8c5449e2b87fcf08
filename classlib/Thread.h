#pragma once
// Worker threads. The thread object deletes itself (and closes its handle)
// when the procedure returns; nobody waits for it. The pointer AfxBeginThread
// returns is therefore only good for a NULL test, unless the thread was
// started with CREATE_SUSPENDED and has not been resumed yet.

#include "classlib/Types.h"

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread {
public:
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    ~CWinThread();  // closes the handle; called by the thread itself
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    DWORD ResumeThread();

    HANDLE m_hThread;
    DWORD m_nThreadID;
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
};

// NULL when the thread cannot be created. flags: CREATE_SUSPENDED, and
// STACK_SIZE_PARAM_IS_A_RESERVATION to reserve only stackSize for the stack.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                           DWORD flags = 0, LPSECURITY_ATTRIBUTES sa = NULL);
