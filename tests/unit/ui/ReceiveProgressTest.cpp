// The receive-progress window driven by the download threads' messages in
// scripted order, on a clock the test moves: its rows, the size and speed
// texts, the once-a-second rule, the end texts and payloads it must ignore.
#include "tests/unit/support/UiTestSupport.h"

#include "core/Globals.h"
#include "core/User.h"
#include "dialogs/ReceiveProgressDlg.h"
#include "dialogs/TransferTexts.h"
#include "engine/WindowLinks.h"
#include "shell/UserListDlg.h"

#include <gtest/gtest.h>

#include <string>

namespace {

typedef CReceiveProgressDlg Dlg;

DWORD fakeNow = 0;
DWORD fakeTicks()
{
    return fakeNow;
}

class ReceiveProgress : public testing::Test {
protected:
    void SetUp() override
    {
        fakeNow = 5000;
        dialog.setTickSource(fakeTicks);
        ASSERT_TRUE(dialog.Create(IDD_RECEIVE_PROGRESS_DLG, NULL));
    }

    void TearDown() override
    {
        dialog.DestroyWindow();
        removeAllUsers();
    }

    // The download parameter stays the sender's: it is on the stack here.
    void start(const char* parameter)
    {
        CString text = parameter;
        dialog.SendMessage(WM_USER_RECEIVE_START, 0, (LPARAM)&text);
    }
    void startFile(const char* ip, const char* fileId, const char* size, const char* name = "a.txt")
    {
        CString parameter;
        parameter.Format("7:%s:2425:%s:%s:%s:1:C：\\in", ip, fileId, name, size);
        start(parameter);
    }
    // Posted like the download threads do; the window frees the payloads.
    void post(UINT message, const char* payload)
    {
        dialog.PostMessage(message, 0, (LPARAM) new CString(payload));
        pumpMessages();
    }
    void progress(const char* payload) { post(WM_USER_RECEIVE_PROGRESS, payload); }
    void finish(const char* payload) { post(WM_USER_RECEIVE_FINISH, payload); }
    void error(const char* payload) { post(WM_USER_RECEIVE_ERROR, payload); }

    std::string cell(int row, int column) { return (const char*)dialog.receiveList.GetItemText(row, column); }
    std::string text(int row) { return cell(row, Dlg::COLUMN_PROGRESS); }
    int rows() { return dialog.receiveList.GetItemCount(); }

    Dlg dialog;
};

TEST(TransferTexts, SizesAndSpeedsStepUpOnlyAboveEachBound)
{
    using namespace TransferTexts;
    struct {
        LONGLONG bytes;
        const char* text;
    } sizes[] = {
        {0, "0B"},         {1024, "1024B"},         {1025, "1.0K"},        {1048576, "1024.0K"},
        {1048577, "1.0M"}, {1073741824, "1024.0M"}, {1073741825, "1.00G"}, {3000000000LL, "2.79G"},
    };
    for (const auto& c : sizes) {
        EXPECT_EQ(std::string(sizeText(c.bytes)), c.text) << c.bytes;
    }
    struct {
        double speed;
        const char* running;
        const char* average;
    } speeds[] = {
        {0, "0.0B/s", "0B/s"},      {512.75, "512.8B/s", "512B/s"},      {1024, "1024.0B/s", "1024B/s"},
        {1025, "1.0K/s", "1.0K/s"}, {1048576, "1024.0K/s", "1024.0K/s"}, {1048577, "1.0M/s", "1.0M/s"},
    };
    for (const auto& c : speeds) {
        EXPECT_EQ(std::string(speedText(c.speed)), c.running) << c.speed;
        EXPECT_EQ(std::string(averageSpeedText(c.speed)), c.average) << c.speed;
    }
}

TEST_F(ReceiveProgress, ListsTwelveColumnsWithTheirHeadersAndHidesTheStorageOnes)
{
    const char* headers[] = {"用户名",
                             "IP",
                             "文件ID",
                             "类型",
                             "文件名",
                             "文件大小",
                             "已接收",
                             "进度",
                             "最后一次更新进度文本信息时系统时间",
                             "最后一次更新进度文本信息时接收的字节数",
                             "开始接收的系统时间",
                             "结束接收的系统时间"};
    const int widths[] = {60, 85, 0, 40, 200, 0, 0, 400, 0, 0, 0, 0};
    HWND header = (HWND)dialog.receiveList.SendMessage(LVM_GETHEADER);
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), Dlg::COLUMN_COUNT);
    for (int column = 0; column < Dlg::COLUMN_COUNT; ++column) {
        char buffer[128] = {0};
        LVCOLUMNA info = {};
        info.mask = LVCF_TEXT;
        info.pszText = buffer;
        info.cchTextMax = sizeof(buffer);
        dialog.receiveList.SendMessage(LVM_GETCOLUMNA, column, (LPARAM)&info);
        EXPECT_STREQ(buffer, headers[column]);
        EXPECT_EQ(dialog.receiveList.SendMessage(LVM_GETCOLUMNWIDTH, column), widths[column]) << column;
    }
    EXPECT_EQ(dialog.receiveList.GetStyle() & LVS_TYPEMASK, (DWORD)LVS_REPORT);
    EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST_F(ReceiveProgress, AStartFillsTheRowFromTheParameterAndTheSendersNickname)
{
    {
        SharedStateLock lock;
        User* user = new User();
        user->nickname = "老王";
        userMap.SetAt("10.0.0.5", user);
    }
    start("7:10.0.0.5:2425:3:报告.doc:1025:1:C：\\收件");
    start("7:10.0.0.6:2425:4:photos:0:2:C：\\收件");
    start("7:10.0.0.6:2425:5:odd:0:9:C：\\收件");
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(cell(0, Dlg::COLUMN_NICKNAME), "老王");
    EXPECT_EQ(cell(0, Dlg::COLUMN_IP), "10.0.0.5");
    EXPECT_EQ(cell(0, Dlg::COLUMN_FILE_ID), "3");
    EXPECT_EQ(cell(0, Dlg::COLUMN_KIND), "文件");
    EXPECT_EQ(cell(0, Dlg::COLUMN_NAME), "报告.doc");
    EXPECT_EQ(cell(0, Dlg::COLUMN_SIZE), "1025");
    EXPECT_EQ(cell(0, Dlg::COLUMN_RECEIVED), "0");
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(cell(0, Dlg::COLUMN_TEXT_TICK), "5000");
    EXPECT_EQ(cell(0, Dlg::COLUMN_TEXT_RECEIVED), "0");
    EXPECT_EQ(cell(0, Dlg::COLUMN_START_TICK), "5000");
    EXPECT_EQ(cell(0, Dlg::COLUMN_END_TICK), "");
    EXPECT_EQ(cell(1, Dlg::COLUMN_NICKNAME), "") << "a sender the buddy list does not know";
    EXPECT_EQ(cell(1, Dlg::COLUMN_KIND), "目录");
    EXPECT_EQ(cell(2, Dlg::COLUMN_KIND), "");
}

TEST_F(ReceiveProgress, PayloadsWithWrongFieldCountsChangeNoRowOfADownload)
{
    startFile("10.0.0.5", "3", "4096");
    start("7:10.0.0.5:2425:3:a.txt:4096:1");  // 7 fields
    start("7:10.0.0.5:2425:3:a.txt:4096:1:C：\\in:x");  // 9 fields
    ASSERT_EQ(rows(), 3);
    for (int row = 1; row < 3; ++row) {
        EXPECT_EQ(cell(row, Dlg::COLUMN_START_TICK), "5000") << "such a row keeps only its start time";
        EXPECT_EQ(cell(row, Dlg::COLUMN_IP), "");
        EXPECT_EQ(cell(row, Dlg::COLUMN_RECEIVED), "");
    }
    fakeNow += 2000;
    progress("10.0.0.5:3");
    progress("10.0.0.5:3:100:9");
    progress("10.0.0.5:3:-100");
    progress("10.0.0.5:3:nothing");
    EXPECT_EQ(cell(0, Dlg::COLUMN_RECEIVED), "0");
    EXPECT_EQ(text(0), "");
    finish("10.0.0.5:3:1");
    error("10.0.0.5");
    EXPECT_EQ(text(0), "") << "an end payload without two fields names no download";
}

TEST_F(ReceiveProgress, TheProgressTextChangesOnlyMoreThanASecondAfterItsLastChange)
{
    startFile("10.0.0.5", "3", "10240");
    fakeNow += 1000;  // exactly a second after the start: only the count
    progress("10.0.0.5:3:1024");
    EXPECT_EQ(cell(0, Dlg::COLUMN_RECEIVED), "1024");
    EXPECT_EQ(text(0), "");

    fakeNow += 1;
    progress("10.0.0.5:3:1024");
    EXPECT_EQ(text(0), "10.0K/2.0K,完成20.0%,速度2.0K/s") << "2048 bytes in 1001 ms";
    EXPECT_EQ(cell(0, Dlg::COLUMN_TEXT_TICK), "6001");
    EXPECT_EQ(cell(0, Dlg::COLUMN_TEXT_RECEIVED), "2048");

    fakeNow += 1000;
    progress("10.0.0.5:3:4096");
    EXPECT_EQ(text(0), "10.0K/2.0K,完成20.0%,速度2.0K/s");
    EXPECT_EQ(cell(0, Dlg::COLUMN_RECEIVED), "6144");

    fakeNow += 1000;  // the speed counts the bytes since the last text
    progress("10.0.0.5:3:1024");
    EXPECT_EQ(text(0), "10.0K/7.0K,完成70.0%,速度2.5K/s");
}

TEST_F(ReceiveProgress, TheSpeedOfOneMebibyteASecondReadsInKibibytes)
{
    startFile("10.0.0.5", "3", "4194304");
    fakeNow += 2000;
    progress("10.0.0.5:3:2097152");
    EXPECT_EQ(text(0), "4.0M/2.0M,完成50.0%,速度1024.0K/s");
}

TEST_F(ReceiveProgress, TickCountsThatWrapStillMeasureTheSecond)
{
    fakeNow = 0xFFFFFE00;
    startFile("10.0.0.5", "3", "2048");
    EXPECT_EQ(cell(0, Dlg::COLUMN_START_TICK), "-512");
    fakeNow = 600;  // 1112 ms later
    progress("10.0.0.5:3:1024");
    EXPECT_EQ(text(0), "2.0K/1024B,完成50.0%,速度920.9B/s");
    fakeNow = 1112;
    finish("10.0.0.5:3");
    EXPECT_EQ(text(0), "2.0K/2.0K,完成100%,平均速度1.2K/s");
}

TEST_F(ReceiveProgress, ASmallFileShowsNothingUntilItsFinishThenTheAverage)
{
    startFile("10.0.0.5", "3", "1024");
    fakeNow += 200;
    progress("10.0.0.5:3:1024");
    EXPECT_EQ(text(0), "");
    fakeNow += 300;
    finish("10.0.0.5:3");
    EXPECT_EQ(text(0), "1024B/1024B,完成100%,平均速度2.0K/s");
    EXPECT_EQ(cell(0, Dlg::COLUMN_END_TICK), "5500");
    EXPECT_EQ(cell(0, Dlg::COLUMN_RECEIVED), "1024");
}

TEST_F(ReceiveProgress, AFinishAtTheStartTickDividesByOneMillisecond)
{
    startFile("10.0.0.5", "3", "1000");
    finish("10.0.0.5:3");
    EXPECT_EQ(text(0), "1000B/1000B,完成100%,平均速度976.6K/s");
}

TEST_F(ReceiveProgress, TwoRowsOfOneIpAndFileIdBothTakeEveryMessage)
{
    startFile("10.0.0.5", "3", "4096");
    startFile("10.0.0.6", "3", "4096");  // another sender, same file id
    startFile("10.0.0.5", "3", "4096");
    fakeNow += 1500;
    progress("10.0.0.5:3:2048");
    progress("10.0.0.5:3:1024");
    EXPECT_EQ(cell(0, Dlg::COLUMN_RECEIVED), "3072");
    EXPECT_EQ(cell(2, Dlg::COLUMN_RECEIVED), "3072");
    EXPECT_EQ(cell(1, Dlg::COLUMN_RECEIVED), "0");
    EXPECT_EQ(text(0), text(2));
    EXPECT_EQ(text(1), "");
    error("10.0.0.5:3");
    EXPECT_EQ(text(0), "接收异常！");
    EXPECT_EQ(text(2), "接收异常！");
    EXPECT_EQ(text(1), "");
}

TEST_F(ReceiveProgress, AnErrorReplacesAFinishAndAShortTransferNeverSaysComplete)
{
    startFile("10.0.0.5", "3", "4096");
    startFile("10.0.0.5", "4", "4096");
    fakeNow += 1500;
    progress("10.0.0.5:3:4096");
    finish("10.0.0.5:3");
    EXPECT_NE(text(0).find("完成100%"), std::string::npos);
    error("10.0.0.5:3");
    EXPECT_EQ(text(0), "接收异常！");

    // The peer closed after half of the file: the download reports an error.
    progress("10.0.0.5:4:2048");
    fakeNow += 1;
    error("10.0.0.5:4");
    EXPECT_EQ(text(1), "接收异常！");
    EXPECT_EQ(cell(1, Dlg::COLUMN_RECEIVED), "2048");
    EXPECT_EQ(cell(1, Dlg::COLUMN_END_TICK), "") << "an error is not an end time";
}

TEST_F(ReceiveProgress, AnItemOfUnknownSizeEndsWithWhatArrived)
{
    start("7:10.0.0.5:2425:3:photos:0:2:C：\\in");
    fakeNow += 2000;
    progress("10.0.0.5:3:1048576");
    EXPECT_EQ(text(0), "0B/1024.0K,完成 0.0%,速度512.0K/s") << "no percentage of nothing";
    finish("10.0.0.5:3");
    EXPECT_EQ(text(0), "1024.0K/1024.0K,完成100%,平均速度512.0K/s");
}

TEST_F(ReceiveProgress, SizesOfTwoGibibytesAndMoreAreShownAsTheyAre)
{
    startFile("10.0.0.5", "3", "3000000000");
    startFile("10.0.0.5", "4", "-1294967296");  // the same 32 bits, read signed by a sender
    fakeNow += 2000;
    progress("10.0.0.5:3:1500000000");
    progress("10.0.0.5:4:1500000000");
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(text(row), "2.79G/1.40G,完成50.0%,速度715.3M/s") << row;
    }
    progress("10.0.0.5:3:1500000000");
    EXPECT_EQ(cell(0, Dlg::COLUMN_RECEIVED), "3000000000") << "the count does not wrap at 2^31";
}

// The buddy list makes the window hidden when it starts (the main frame asks
// for it right after the entry broadcast); "收发状态" shows it, and the
// download threads find it through the window links.
class TransferStatusButton : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(buddyList.Create(IDD_USER_LIST_DLG, NULL));
        buddyList.createHiddenWindows();
    }
    void TearDown() override
    {
        userListDlg = NULL;
        buddyList.DestroyWindow();
    }
    CUserListDlg buddyList;
};

TEST_F(TransferStatusButton, ShowsTheHiddenProgressWindowThatTheDownloadsReach)
{
    HWND window = buddyList.receiveProgressDlg.GetSafeHwnd();
    ASSERT_NE(window, (HWND)NULL);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetParent(window), (HWND)NULL);
    EXPECT_EQ(receiveProgressWindow(), (HWND)NULL) << "no buddy list registered yet";
    userListDlg = &buddyList;
    EXPECT_EQ(receiveProgressWindow(), window);

    HWND button = ::GetDlgItem(buddyList.m_hWnd, IDC_BUTTON_TRANSFER_STATUS);
    buddyList.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_TRANSFER_STATUS, BN_CLICKED), (LPARAM)button);
    EXPECT_TRUE(IsWindowVisible(window));
    char caption[64] = {0};
    GetWindowTextA(window, caption, sizeof(caption));
    EXPECT_STREQ(caption, "文件接收进度");

    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(window)) << "closing only hides it";
    EXPECT_TRUE(IsWindow(window));
}

}  // namespace
