#pragma once

#include "classlib/AfxWin.h"
#include "res/resource.h"

#include <vector>

// The receive-progress window: one row for every file or folder downloaded
// during the run, kept until the program ends. Its rows change only through
// the download threads' four messages; all its state lives in the list's
// cells, four hidden columns holding tick and byte counts.
//
// A row is found by its IP and file id; several rows with the same pair
// (the same shared folder fetched twice) all take every update. The
// progress text changes at most once a second per row; the received count
// changes with every progress message.
//
// Sizes are read as the unsigned 32 bits that an offer carries, so an item
// of 2 GiB or more is shown by its real size. An item whose size is 0 (a
// folder, or a file announced empty that brings data) has no percentage
// while it runs: it shows 0.0%; its end text takes the received count as
// its size, so it tells how much arrived and the true average speed.
class CReceiveProgressDlg : public CDialogEx {
    DECLARE_DYNAMIC(CReceiveProgressDlg)
public:
    enum { IDD = IDD_RECEIVE_PROGRESS_DLG };

    // Columns of receiveList; those of width 0 are storage.
    enum Column {
        COLUMN_NICKNAME = 0,
        COLUMN_IP,
        COLUMN_FILE_ID,
        COLUMN_KIND,
        COLUMN_NAME,
        COLUMN_SIZE,
        COLUMN_RECEIVED,
        COLUMN_PROGRESS,
        COLUMN_TEXT_TICK,  // tick count at the last change of the progress text
        COLUMN_TEXT_RECEIVED,  // bytes received at that moment
        COLUMN_START_TICK,
        COLUMN_END_TICK,
        COLUMN_COUNT
    };

    // Where the window reads the time in milliseconds; GetTickCount unless a
    // test drives the clock.
    typedef DWORD (*TickSource)();

    explicit CReceiveProgressDlg(CWnd* parent = NULL);
    virtual ~CReceiveProgressDlg();

    void setTickSource(TickSource source) { tickSource = source; }

    // The window the progress window first opens beside (the buddy list);
    // NULL: where the system puts it.
    HWND openBeside = NULL;

    CListCtrl receiveList;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();

    LRESULT OnReceiveStart(WPARAM wParam, LPARAM lParam);
    LRESULT OnReceiveProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnReceiveFinish(WPARAM wParam, LPARAM lParam);
    LRESULT OnReceiveError(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindowMessage(WPARAM shown, LPARAM status);
    DECLARE_MESSAGE_MAP()

private:
    TickSource tickSource;
    bool placed = false;

    bool rowMatches(int row, const CString& ip, const CString& fileId);
    std::vector<int> rowsOfEndPayload(LPARAM lParam);
    LONGLONG cellNumber(int row, int column);
    void setCellNumber(int row, int column, LONGLONG value);
    void addReceived(int row, LONGLONG bytes);
    void showFinished(int row);
};
