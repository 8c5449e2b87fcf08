#include "classlib/Thread.h"

#include <process.h>

namespace {

unsigned __stdcall runWinThread(void* arg)
{
    CWinThread* thread = static_cast<CWinThread*>(arg);
    UINT result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    delete thread;
    return result;
}

}  // namespace

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param)
    : m_hThread(NULL),
      m_nThreadID(0),
      m_pfnThreadProc(proc),
      m_pThreadParams(param)
{
}

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES sa)
{
    if (!proc)
        return NULL;
    CWinThread* thread = new CWinThread(proc, param);
    // Start suspended so the object is complete before the procedure can end
    // and delete it.
    unsigned id = 0;
    // STACK_SIZE_PARAM_IS_A_RESERVATION makes stackSize the reserved size
    // rather than the committed one, so a small size shrinks the reservation.
    unsigned startFlags = CREATE_SUSPENDED | (flags & STACK_SIZE_PARAM_IS_A_RESERVATION);
    uintptr_t handle = _beginthreadex(sa, stackSize, runWinThread, thread, startFlags, &id);
    if (handle == 0) {
        delete thread;
        return NULL;
    }
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = id;
    if (priority != THREAD_PRIORITY_NORMAL)
        SetThreadPriority(thread->m_hThread, priority);
    if (!(flags & CREATE_SUSPENDED))
        ::ResumeThread(thread->m_hThread);
    return thread;
}
