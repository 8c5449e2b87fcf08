// Dialogs from in-memory templates: data exchange both ways, OK and Cancel of
// a modeless dialog, dialog keys through the message loop, and the modal
// loop with PreTranslateMessage.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/AfxWin.h"
#include "tests/unit/classlib/WinDialogTemplate.h"
#include "tests/unit/support/RecordingPrompts.h"

namespace {

const int IDC_NAME = 1001;
const int IDC_AGE = 1002;
const int IDC_FLAG = 1003;

WinDialogTemplate personTemplate()
{
    WinDialogTemplate t(WS_POPUP | DS_MODALFRAME, 200, 100, L"person");
    t.item(WinDialogTemplate::Edit, IDC_NAME, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 5, 5, 100, 12, L"")
        .item(WinDialogTemplate::Edit, IDC_AGE, WS_BORDER | WS_TABSTOP, 5, 20, 40, 12, L"")
        .item(WinDialogTemplate::Button, IDC_FLAG, BS_AUTOCHECKBOX | WS_TABSTOP, 5, 35, 60, 12, L"flag")
        .item(WinDialogTemplate::Button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 80, 40, 14, L"OK")
        .item(WinDialogTemplate::Button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 50, 80, 40, 14, L"Cancel");
    return t;
}

class PersonDialog : public CDialog {
public:
    CString name;
    int age = 0;
    int flag = 0;
    CEdit nameEdit;
    int cancels = 0;
    std::vector<UINT> keysSeen;  // WM_KEYDOWN keys PreTranslateMessage saw
    struct Posting {
        int control;  // 0: the dialog itself
        UINT message;
        WPARAM wParam;
    };
    std::vector<Posting> postOnInit;  // posted when the dialog starts
    BOOL ownerEnabledAtInit = -1;
    HWND ownerAtInit = NULL;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_NAME, nameEdit);
        DDX_Text(pDX, IDC_NAME, name);
        DDX_Text(pDX, IDC_AGE, age);
        DDX_Check(pDX, IDC_FLAG, flag);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ownerAtInit = ::GetWindow(m_hWnd, GW_OWNER);
        CWnd* owner = CWnd::FromHandle(ownerAtInit);
        if (owner)
            ownerEnabledAtInit = owner->IsWindowEnabled();
        for (const Posting& p : postOnInit)
            ::PostMessageA(p.control ? ::GetDlgItem(m_hWnd, p.control) : m_hWnd, p.message, p.wParam, 0);
        return TRUE;
    }
    void OnCancel() override
    {
        ++cancels;
        CDialog::OnCancel();
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            keysSeen.push_back((UINT)pMsg->wParam);
        return CDialog::PreTranslateMessage(pMsg);
    }
    void postWhenShown(int control, UINT message, WPARAM wParam) { postOnInit.push_back({control, message, wParam}); }
};

std::string windowText(HWND hWnd)
{
    char text[256] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

// Runs the thread's messages through the same path as the message loop.
void pumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

class ModelessDialogTest : public ::testing::Test {
protected:
    WinDialogTemplate dialogTemplate = personTemplate();
    PersonDialog dialog;
    RecordingPrompts prompts;

    void SetUp() override
    {
        dialog.name = "张三";
        dialog.age = 42;
        dialog.flag = 1;
        ASSERT_TRUE(dialog.CreateIndirect(dialogTemplate.get()));
        setPromptScript(&prompts);
    }
    void TearDown() override { setPromptScript(NULL); }
    HWND item(int id) { return ::GetDlgItem(dialog.m_hWnd, id); }
    // Only the tests about hiding show the dialog: under Wine without a
    // window manager every hiding of a shown window waits two seconds.
    void show() { dialog.ShowWindow(SW_SHOWNA); }
};

TEST_F(ModelessDialogTest, DataExchangeFillsTheControlsAndReadsThemBack)
{
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.m_hWnd), &dialog);
    EXPECT_EQ(dialog.nameEdit.m_hWnd, item(IDC_NAME)) << "DDX_Control binds the control";
    EXPECT_EQ(windowText(item(IDC_NAME)), "张三");
    EXPECT_EQ(windowText(item(IDC_AGE)), "42");
    EXPECT_EQ(::SendMessageA(item(IDC_FLAG), BM_GETCHECK, 0, 0), BST_CHECKED);

    ::SetWindowTextA(item(IDC_NAME), "李四");
    ::SetWindowTextA(item(IDC_AGE), " -7 ");
    ::SendMessageA(item(IDC_FLAG), BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(std::string(dialog.name), "李四");
    EXPECT_EQ(dialog.age, -7);
    EXPECT_EQ(dialog.flag, 0);
    EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(ModelessDialogTest, AFieldThatIsNoNumberStopsTheExchange)
{
    for (const char* bad : {"12abc", "", "99999999999"}) {
        SCOPED_TRACE(bad);
        prompts.texts.clear();
        dialog.age = 5;
        ::SetWindowTextA(item(IDC_AGE), bad);
        ::SendMessageA(item(IDC_FLAG), BM_SETCHECK, BST_UNCHECKED, 0);
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        EXPECT_EQ(dialog.age, 5);
        EXPECT_EQ(dialog.flag, 1) << "the fields after the bad one are not read";
        EXPECT_EQ(prompts.texts.size(), 1u);
    }
    // OK with a bad field keeps the dialog open.
    show();
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(dialog.IsWindowVisible());
}

TEST_F(ModelessDialogTest, OkSavesAndHidesCancelHidesWithoutSaving)
{
    show();
    ::SetWindowTextA(item(IDC_NAME), "saved");
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)item(IDOK));
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(::IsWindow(dialog.m_hWnd)) << "a modeless dialog is hidden, not destroyed";
    EXPECT_EQ(std::string(dialog.name), "saved");

    show();
    ::SetWindowTextA(item(IDC_NAME), "dropped");
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)item(IDCANCEL));
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_EQ(std::string(dialog.name), "saved");
    EXPECT_EQ(dialog.cancels, 1);
}

TEST_F(ModelessDialogTest, EscapeAndTheCloseBoxCancel)
{
    show();
    ::PostMessageA(item(IDC_AGE), WM_KEYDOWN, VK_ESCAPE, 0);
    pumpMessages();
    EXPECT_EQ(dialog.cancels, 1) << "Esc reaches IsDialogMessage through PreTranslateMessage";
    EXPECT_FALSE(dialog.IsWindowVisible());

    show();
    ::SendMessageA(dialog.m_hWnd, WM_CLOSE, 0, 0);
    pumpMessages();
    EXPECT_EQ(dialog.cancels, 2);
    EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST(ModalDialog, EndsWithWhatEndedItAndSeesKeysFirst)
{
    struct Case {
        const char* what;
        int control;
        UINT message;
        WPARAM wParam;
        INT_PTR result;
        int cancels;
    };
    const Case cases[] = {
        {"posted IDCANCEL", 0, WM_COMMAND, IDCANCEL, IDCANCEL, 1},
        {"posted IDOK", 0, WM_COMMAND, IDOK, IDOK, 0},
        {"Esc in a field", IDC_AGE, WM_KEYDOWN, VK_ESCAPE, IDCANCEL, 1},
        {"Enter in a field (default button)", IDC_AGE, WM_KEYDOWN, VK_RETURN, IDOK, 0},
    };
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WinDialogTemplate t = personTemplate();
        PersonDialog dialog;
        dialog.age = 3;
        ASSERT_TRUE(dialog.InitModalIndirect(t.get(), &owner));
        dialog.postWhenShown(IDC_NAME, WM_KEYDOWN, 'Q');
        dialog.postWhenShown(c.control, c.message, c.wParam);

        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.cancels, c.cancels);
        ASSERT_GE(dialog.keysSeen.size(), 1u);
        EXPECT_EQ(dialog.keysSeen[0], (UINT)'Q') << "PreTranslateMessage runs in the modal loop";
        EXPECT_EQ(dialog.ownerEnabledAtInit, FALSE) << "the owner is disabled while the dialog runs";
        EXPECT_TRUE(owner.IsWindowEnabled());
        EXPECT_EQ(dialog.m_hWnd, nullptr) << "the modal dialog's window is gone";
        EXPECT_EQ(dialog.age, 3);
    }
}

// A chat window eats Esc itself; a posted IDCANCEL still ends it.
class EscapeEatingDialog : public PersonDialog {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
            return TRUE;
        return PersonDialog::PreTranslateMessage(pMsg);
    }
};

TEST(ModalDialog, AnOverrideThatConsumesAKeyKeepsItFromTheDialog)
{
    WinDialogTemplate t = personTemplate();
    EscapeEatingDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(t.get()));
    dialog.postWhenShown(IDC_NAME, WM_KEYDOWN, VK_ESCAPE);
    dialog.postWhenShown(0, WM_COMMAND, IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.cancels, 1);
}

// Without a parent a modal dialog belongs to the window the user works in:
// the main window's last active pop-up, which it disables while it runs.
TEST(ModalDialog, WithoutAParentItIsOwnedByTheMainWindowsLastActivePopup)
{
    CWinApp app;
    CWnd main, popup;
    ASSERT_TRUE(main.CreateEx(0, NULL, "main", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    ASSERT_TRUE(popup.CreateEx(0, NULL, "popup", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, main.m_hWnd, NULL));
    ::SetActiveWindow(popup.m_hWnd);
    ASSERT_EQ(::GetLastActivePopup(main.m_hWnd), popup.m_hWnd);
    app.m_pMainWnd = &main;

    WinDialogTemplate t = personTemplate();
    PersonDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(t.get()));
    dialog.postWhenShown(0, WM_COMMAND, IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.ownerAtInit, popup.m_hWnd);
    EXPECT_EQ(dialog.ownerEnabledAtInit, FALSE);
    EXPECT_TRUE(popup.IsWindowEnabled());
    app.m_pMainWnd = NULL;
}

// The program is asked to end while a modal dialog runs.
class QuittingDialog : public PersonDialog {
public:
    BOOL OnInitDialog() override
    {
        PersonDialog::OnInitDialog();
        ::PostQuitMessage(7);
        return TRUE;
    }
};

TEST(ModalDialog, AQuitMessageEndsItAndIsHandedOnToTheOuterLoop)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL));
    WinDialogTemplate t = personTemplate();
    QuittingDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(t.get(), &owner));
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_TRUE(owner.IsWindowEnabled());
    MSG quit;
    ASSERT_TRUE(::PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

}  // namespace
