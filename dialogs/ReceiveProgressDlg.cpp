#include "dialogs/ReceiveProgressDlg.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/NumberField.h"
#include "engine/WindowLinks.h"
#include "dialogs/ReportView.h"
#include "dialogs/TransferTexts.h"
#include "dialogs/WindowPlacement.h"

#include <stdlib.h>

using namespace TransferTexts;

namespace {

struct ColumnSpec {
    const char* header;
    int width;
};

// In column order.
const ColumnSpec COLUMNS[CReceiveProgressDlg::COLUMN_COUNT] = {
    {"用户名", 60},
    {"IP", 85},
    {"文件ID", 0},
    {"类型", 40},
    {"文件名", 200},
    {"文件大小", 0},
    {"已接收", 0},
    {"进度", 400},
    {"最后一次更新进度文本信息时系统时间", 0},
    {"最后一次更新进度文本信息时接收的字节数", 0},
    {"开始接收的系统时间", 0},
    {"结束接收的系统时间", 0},
};

const int START_FIELDS = 8;  // packetNo:ip:port:fileId:name:size:attr:saveDir
const int PROGRESS_FIELDS = 3;  // ip:fileId:n
const int END_FIELDS = 2;  // ip:fileId
const DWORD TEXT_INTERVAL = 1000;

// Tick counts are stored as "%d": from 2^31 on they read as negative numbers.
CString tickText(DWORD ticks)
{
    CString text;
    text.Format("%d", (int)ticks);
    return text;
}

DWORD systemTicks()
{
    return GetTickCount();
}

// Takes a posted payload; the window owns it from here.
CString takePayload(LPARAM lParam)
{
    CString* payload = (CString*)lParam;
    if (payload == NULL) {
        return CString();
    }
    CString text = *payload;
    delete payload;
    return text;
}

void splitFields(const CString& text, CStringArray& fields)
{
    CUtils::splitToArray(text, ":", &fields);
}

}  // namespace

IMPLEMENT_DYNAMIC(CReceiveProgressDlg, CDialogEx)

CReceiveProgressDlg::CReceiveProgressDlg(CWnd* parent)
    : CDialogEx(IDD_RECEIVE_PROGRESS_DLG, parent),
      tickSource(systemTicks)
{
}

CReceiveProgressDlg::~CReceiveProgressDlg()
{
}

void CReceiveProgressDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST_RECEIVE, receiveList);
}

BEGIN_MESSAGE_MAP(CReceiveProgressDlg, CDialogEx)
    ON_MESSAGE(WM_USER_RECEIVE_START, &CReceiveProgressDlg::OnReceiveStart)
    ON_MESSAGE(WM_USER_RECEIVE_PROGRESS, &CReceiveProgressDlg::OnReceiveProgress)
    ON_MESSAGE(WM_USER_RECEIVE_FINISH, &CReceiveProgressDlg::OnReceiveFinish)
    ON_MESSAGE(WM_USER_RECEIVE_ERROR, &CReceiveProgressDlg::OnReceiveError)
    ON_MESSAGE(WM_SHOWWINDOW, &CReceiveProgressDlg::OnShowWindowMessage)
END_MESSAGE_MAP()

// Placed once, when first shown, whoever shows it (the buddy list's button, a
// download that starts): later it stays where the user put it.
LRESULT CReceiveProgressDlg::OnShowWindowMessage(WPARAM shown, LPARAM)
{
    if (shown && !placed && openBeside != NULL) {
        placed = true;
        placeBeside(m_hWnd, openBeside);
    }
    return Default();
}

BOOL CReceiveProgressDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    setUpReportView(receiveList);
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        receiveList.InsertColumn(column, COLUMNS[column].header);
    }
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        receiveList.SetColumnWidth(column, COLUMNS[column].width);
    }
    return TRUE;
}

// lParam: the download parameter, which stays the sender's.
LRESULT CReceiveProgressDlg::OnReceiveStart(WPARAM, LPARAM lParam)
{
    int row = receiveList.InsertItem(receiveList.GetItemCount(), "");
    receiveList.SetItemText(row, COLUMN_START_TICK, tickText(tickSource()));

    const CString* parameter = (const CString*)lParam;
    CStringArray fields;
    if (parameter != NULL) {
        splitFields(*parameter, fields);
    }
    if (fields.GetSize() != START_FIELDS) {
        return 0;
    }
    CString ip = fields[1];
    receiveList.SetItemText(row, COLUMN_IP, ip);
    receiveList.SetItemText(row, COLUMN_FILE_ID, fields[3]);
    if (fields[6] == "1") {
        receiveList.SetItemText(row, COLUMN_KIND, "文件");
    } else if (fields[6] == "2") {
        receiveList.SetItemText(row, COLUMN_KIND, "目录");
    }
    receiveList.SetItemText(row, COLUMN_NAME, fields[4]);
    receiveList.SetItemText(row, COLUMN_SIZE, fields[5]);
    receiveList.SetItemText(row, COLUMN_RECEIVED, "0");
    receiveList.SetItemText(row, COLUMN_TEXT_TICK, tickText(tickSource()));
    receiveList.SetItemText(row, COLUMN_TEXT_RECEIVED, "0");

    CString nickname;
    lookUpNickname(ip, &nickname);
    receiveList.SetItemText(row, COLUMN_NICKNAME, nickname);
    return 0;
}

// lParam: a progress payload "ip:fileId:n", freed here.
LRESULT CReceiveProgressDlg::OnReceiveProgress(WPARAM, LPARAM lParam)
{
    CStringArray fields;
    splitFields(takePayload(lParam), fields);
    if (fields.GetSize() != PROGRESS_FIELDS) {
        return 0;
    }
    // A download reports only bytes it wrote; anything else is no progress.
    LONGLONG bytes = strtoll(fields[2], NULL, 10);
    if (bytes <= 0) {
        return 0;
    }
    for (int row = 0; row < receiveList.GetItemCount(); ++row) {
        if (rowMatches(row, fields[0], fields[1])) {
            addReceived(row, bytes);
        }
    }
    return 0;
}

// lParam: an end payload "ip:fileId", freed here.
LRESULT CReceiveProgressDlg::OnReceiveFinish(WPARAM, LPARAM lParam)
{
    std::vector<int> rows = rowsOfEndPayload(lParam);
    for (int row : rows) {
        showFinished(row);
    }
    return 0;
}

// lParam: an end payload "ip:fileId", freed here. Also replaces a finish text.
LRESULT CReceiveProgressDlg::OnReceiveError(WPARAM, LPARAM lParam)
{
    std::vector<int> rows = rowsOfEndPayload(lParam);
    for (int row : rows) {
        receiveList.SetItemText(row, COLUMN_PROGRESS, "接收异常！");
    }
    return 0;
}

// The rows of an end payload's IP and file id; both are empty when it has not
// exactly two fields.
std::vector<int> CReceiveProgressDlg::rowsOfEndPayload(LPARAM lParam)
{
    CStringArray fields;
    splitFields(takePayload(lParam), fields);
    CString ip;
    CString fileId;
    if (fields.GetSize() == END_FIELDS) {
        ip = fields[0];
        fileId = fields[1];
    }
    std::vector<int> rows;
    for (int row = 0; row < receiveList.GetItemCount(); ++row) {
        if (rowMatches(row, ip, fileId)) {
            rows.push_back(row);
        }
    }
    return rows;
}

bool CReceiveProgressDlg::rowMatches(int row, const CString& ip, const CString& fileId)
{
    return receiveList.GetItemText(row, COLUMN_IP) == ip && receiveList.GetItemText(row, COLUMN_FILE_ID) == fileId;
}

LONGLONG CReceiveProgressDlg::cellNumber(int row, int column)
{
    return strtoll(receiveList.GetItemText(row, column), NULL, 10);
}

void CReceiveProgressDlg::setCellNumber(int row, int column, LONGLONG value)
{
    CString text;
    text.Format("%lld", value);
    receiveList.SetItemText(row, column, text);
}

void CReceiveProgressDlg::addReceived(int row, LONGLONG bytes)
{
    LONGLONG received = cellNumber(row, COLUMN_RECEIVED) + bytes;
    setCellNumber(row, COLUMN_RECEIVED, received);

    DWORD now = tickSource();
    // Tick counts wrap: their difference is taken in 32 bits.
    DWORD elapsed = now - (DWORD)cellNumber(row, COLUMN_TEXT_TICK);
    if (elapsed <= TEXT_INTERVAL) {
        return;
    }
    LONGLONG size = announcedSize(receiveList.GetItemText(row, COLUMN_SIZE));
    double percent = size > 0 ? received * 100.0 / size : 0.0;
    double speed = (received - cellNumber(row, COLUMN_TEXT_RECEIVED)) * 1000.0 / elapsed;

    CString text;
    text.Format("%s/%s,完成%4.1f%%,速度%s", (const char*)sizeText(size), (const char*)sizeText(received), percent,
                (const char*)speedText(speed));
    receiveList.SetItemText(row, COLUMN_PROGRESS, text);
    receiveList.SetItemText(row, COLUMN_TEXT_TICK, tickText(now));
    setCellNumber(row, COLUMN_TEXT_RECEIVED, received);
}

void CReceiveProgressDlg::showFinished(int row)
{
    DWORD now = tickSource();
    receiveList.SetItemText(row, COLUMN_END_TICK, tickText(now));
    DWORD elapsed = now - (DWORD)cellNumber(row, COLUMN_START_TICK);
    if (elapsed == 0) {
        elapsed = 1;
    }
    LONGLONG size = announcedSize(receiveList.GetItemText(row, COLUMN_SIZE));
    if (size == 0) {
        size = cellNumber(row, COLUMN_RECEIVED);
    }
    CString text;
    text.Format("%s/%s,完成100%%,平均速度%s", (const char*)sizeText(size), (const char*)sizeText(size),
                (const char*)averageSpeedText(size * 1000.0 / elapsed));
    receiveList.SetItemText(row, COLUMN_PROGRESS, text);
}
