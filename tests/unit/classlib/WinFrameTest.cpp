// The application object, the single-document template with its hidden
// frame, view and bars, command routing view -> frame -> application, and
// the message loop.

#include <gtest/gtest.h>

#include "classlib/AfxWin.h"

namespace {

const UINT IDR_TEST_FRAME = 7001;  // no resources of this id: title, icon, menu, tool bar are absent
const UINT ID_VIEW_COMMAND = 41001;
const UINT ID_FRAME_COMMAND = 41002;
const UINT ID_APP_COMMAND = 41003;

int g_viewCommands, g_frameCommands, g_appCommands, g_initialUpdates, g_newDocuments;

class TestDocument : public CDocument {
    DECLARE_DYNCREATE(TestDocument)
public:
    BOOL OnNewDocument() override
    {
        ++g_newDocuments;
        return CDocument::OnNewDocument();
    }
};
IMPLEMENT_DYNCREATE(TestDocument, CDocument)

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++g_initialUpdates; }
    afx_msg void OnViewCommand() { ++g_viewCommands; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
    ON_COMMAND(ID_VIEW_COMMAND, &TestView::OnViewCommand)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(TestFrame)
public:
    CToolBar toolBar;
    CStatusBar statusBar;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
        if (!toolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS) ||
            !toolBar.LoadToolBar(IDR_TEST_FRAME))
            return -1;
        if (!statusBar.Create(this) || !statusBar.SetIndicators(indicators, 3))
            return -1;
        toolBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&toolBar);
        return 0;
    }
    afx_msg void OnFrameCommand() { ++g_frameCommands; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_FRAME_COMMAND, &TestFrame::OnFrameCommand)
END_MESSAGE_MAP()

class TestApp : public CWinApp {
public:
    afx_msg void OnAppCommand() { ++g_appCommands; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(ID_APP_COMMAND, &TestApp::OnAppCommand)
END_MESSAGE_MAP()

// Takes away the WM_QUIT that destroying the main window posts.
void dropQuitMessage()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST(DocumentTemplate, MakesAHiddenFrameWithBarsAndAViewAndRoutesCommands)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    g_viewCommands = g_frameCommands = g_appCommands = g_initialUpdates = g_newDocuments = 0;
    {
        TestApp app;
        ASSERT_EQ(AfxGetApp(), &app);
        app.AddDocTemplate(new CSingleDocTemplate(IDR_TEST_FRAME, RUNTIME_CLASS(TestDocument), RUNTIME_CLASS(TestFrame),
                                                  RUNTIME_CLASS(TestView)));
        CCommandLineInfo commandLine;
        ASSERT_TRUE(app.ProcessShellCommand(commandLine));

        TestFrame* frame = dynamic_cast<TestFrame*>(AfxGetMainWnd());
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->GetRuntimeClass()->IsDerivedFrom(RUNTIME_CLASS(CFrameWnd)));
        EXPECT_STREQ(frame->GetRuntimeClass()->m_lpszClassName, "TestFrame");
        EXPECT_FALSE(frame->IsWindowVisible());
        EXPECT_EQ(::GetDlgItem(frame->m_hWnd, AFX_IDW_TOOLBAR), frame->toolBar.m_hWnd);
        EXPECT_EQ(::GetDlgItem(frame->m_hWnd, AFX_IDW_STATUS_BAR), frame->statusBar.m_hWnd);

        TestView* view = dynamic_cast<TestView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->GetParent(), frame);
        EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
        ASSERT_NE(dynamic_cast<TestDocument*>(view->GetDocument()), nullptr);
        EXPECT_EQ(g_newDocuments, 1);
        EXPECT_EQ(g_initialUpdates, 1);

        for (UINT id : {ID_VIEW_COMMAND, ID_FRAME_COMMAND, ID_APP_COMMAND, ID_APP_COMMAND})
            frame->SendMessage(WM_COMMAND, id);
        EXPECT_EQ(g_viewCommands, 1);
        EXPECT_EQ(g_frameCommands, 1);
        EXPECT_EQ(g_appCommands, 2);

        frame->DestroyWindow();  // the frame and the view delete themselves
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        dropQuitMessage();
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

class KeyRecordingWindow : public CWnd {
public:
    UINT keysSeen = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            ++keysSeen;
        return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_DELETE;  // Delete is eaten
    }
};

class KeyCountingEdit : public CEdit {
public:
    int keysReceived = 0;
    afx_msg LRESULT OnKeyDown(WPARAM, LPARAM)
    {
        ++keysReceived;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(KeyCountingEdit, CEdit)
    ON_MESSAGE(WM_KEYDOWN, &KeyCountingEdit::OnKeyDown)
END_MESSAGE_MAP()

TEST(Application, RunOffersMessagesToTheWindowChainUntilQuit)
{
    TestApp app;
    KeyRecordingWindow parent;
    KeyCountingEdit edit;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL));
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD, CRect(0, 0, 50, 20), &parent, 1));
    edit.PostMessage(WM_KEYDOWN, 'A');
    edit.PostMessage(WM_KEYDOWN, VK_DELETE);
    ::PostQuitMessage(3);
    EXPECT_EQ(app.Run(), 3);
    EXPECT_EQ(parent.keysSeen, 2u) << "the parent sees its child's keys first";
    EXPECT_EQ(edit.keysReceived, 1) << "a key the chain consumed is not dispatched";
}

}  // namespace
