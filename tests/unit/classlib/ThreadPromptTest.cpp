#include "classlib/Prompts.h"
#include "classlib/Thread.h"
#include "tests/unit/support/RecordingPrompts.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

namespace {

struct Handoff {
    HANDLE done;
    int received;
};

UINT recordParameter(LPVOID param)
{
    Handoff* handoff = static_cast<Handoff*>(param);
    handoff->received = 42;
    SetEvent(handoff->done);
    return 0;
}

// The size of the address range reserved for the calling thread's stack.
UINT recordStackReservation(LPVOID param)
{
    Handoff* handoff = static_cast<Handoff*>(param);
    MEMORY_BASIC_INFORMATION region;
    VirtualQuery(&region, &region, sizeof region);
    NT_TIB* tib = reinterpret_cast<NT_TIB*>(NtCurrentTeb());
    handoff->received = (int)((char*)tib->StackBase - (char*)region.AllocationBase);
    SetEvent(handoff->done);
    return 0;
}

int stackReservationOf(UINT stackSize, DWORD flags)
{
    Handoff handoff = {CreateEventA(NULL, TRUE, FALSE, NULL), 0};
    if (AfxBeginThread(recordStackReservation, &handoff, THREAD_PRIORITY_NORMAL, stackSize, flags) == NULL ||
        WaitForSingleObject(handoff.done, 30000) != WAIT_OBJECT_0)
        handoff.received = -1;
    CloseHandle(handoff.done);
    return handoff.received;
}

// Installs a script for one test and always takes it out again.
struct ScriptInstalled {
    explicit ScriptInstalled(PromptScript* script) { setPromptScript(script); }
    ~ScriptInstalled() { setPromptScript(NULL); }
};

}  // namespace

TEST(AfxBeginThread, RunsTheProcedureWithItsParameter)
{
    Handoff handoff = {CreateEventA(NULL, TRUE, FALSE, NULL), 0};
    ASSERT_NE(AfxBeginThread(recordParameter, &handoff), (CWinThread*)NULL);
    ASSERT_EQ(WaitForSingleObject(handoff.done, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(handoff.received, 42);
    CloseHandle(handoff.done);
}

// A stack size given as a reservation shrinks the reserved range itself, so
// that many threads fit in the address space; without the flag it is only
// what is committed at first, and the program's default is reserved. (Wine
// reserves at least 1 MiB for any thread; Windows reserves what is asked,
// rounded up to 64 KiB.)
TEST(AfxBeginThread, StackSizeAsAReservationLimitsTheReservedRange)
{
    int small = stackReservationOf(128 * 1024, STACK_SIZE_PARAM_IS_A_RESERVATION);
    int usual = stackReservationOf(128 * 1024, 0);
    EXPECT_GT(small, 0);
    EXPECT_LE(small, 1024 * 1024);
    EXPECT_GT(usual, small);
}

TEST(AfxBeginThread, SuspendedThreadStartsOnResume)
{
    Handoff handoff = {CreateEventA(NULL, TRUE, FALSE, NULL), 0};
    CWinThread* thread = AfxBeginThread(recordParameter, &handoff, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, (CWinThread*)NULL);
    EXPECT_EQ(handoff.received, 0);
    thread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(handoff.done, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(handoff.received, 42);
    CloseHandle(handoff.done);
}

TEST(Prompts, ScriptAnswersMessageBoxesAndFolderPicker)
{
    RecordingPrompts script;
    script.boxAnswer = IDNO;
    script.folder = "C:\\共享";
    script.pickedName = "共享";
    ScriptInstalled installed(&script);

    EXPECT_EQ(AfxMessageBox("删除这个好友吗?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(script.texts.back(), "删除这个好友吗?");
    EXPECT_EQ(script.captions.back(), "ZQ");
    EXPECT_EQ(script.types.back(), UINT(MB_YESNO | MB_ICONQUESTION));

    EXPECT_EQ(promptMessageBox(NULL, "文本", "标题", MB_OK), IDNO);
    EXPECT_EQ(script.captions.back(), "标题");

    CString path, display;
    EXPECT_TRUE(promptBrowseForFolder("选择文件夹", BIF_RETURNONLYFSDIRS, path, &display));
    EXPECT_EQ(script.pickerTitles.back(), "选择文件夹");
    EXPECT_STREQ(path, "C:\\共享");
    EXPECT_STREQ(display, "共享");
}
