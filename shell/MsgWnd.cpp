#include "shell/MsgWnd.h"

#include "res/resource.h"

namespace {

const UINT RISE_PERIOD = 20;
const UINT SINK_PERIOD = 15;
const UINT STAY_PERIOD = 5000;
const UINT STAY_AFTER_POINTING = 3000;

// The cursor id the window class asks for; the program holds no cursor of
// that id, so the pointer keeps its shape over the notice.
const UINT CLASS_CURSOR = 32649;
// Class-specific style bits the window is made with; nothing reads them.
const DWORD CLASS_STYLE_BITS = 0x88;

const COLORREF TEXT_COLOR = RGB(0, 64, 128);

// The visible height of the notice, one value for the whole process. It is
// not reset when a notice closes: a run ends at -1, so the next notice
// starts below the work area. Two notices at once move the same value.
int msgWndShownHeight = 0;

}  // namespace

CMsgWnd::CMsgWnd()
    : mouseOver(FALSE),
      body("欢迎使用本产品!\nVURaruvada\n2004.11.10"),
      title("Vantlor")
{
    memset(&backgroundInfo, 0, sizeof(backgroundInfo));
    background.LoadBitmap(IDB_MSGWND_BACKGROUND);
    background.GetBitmap(&backgroundInfo);
}

CMsgWnd::~CMsgWnd()
{
}

BEGIN_MESSAGE_MAP(CMsgWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_CREATE()
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

BOOL CMsgWnd::createPopup()
{
    HCURSOR cursor = LoadCursorA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(CLASS_CURSOR));
    const char* windowClass = AfxRegisterWndClass(0, cursor, (HBRUSH)(COLOR_BACKGROUND + 1), NULL);
    if (!CreateEx(0, windowClass, "", WS_POPUP | CLASS_STYLE_BITS, 0, 0, 0, 0, NULL, NULL)) {
        return FALSE;
    }
    startTimer(ID_TIMER_RISE, RISE_PERIOD);
    return TRUE;
}

BOOL CMsgWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    cs.dwExStyle |= WS_EX_TOOLWINDOW;  // no task-bar button
    return TRUE;
}

void CMsgWnd::PostNcDestroy()
{
    delete this;
}

CRect CMsgWnd::workArea() const
{
    CRect area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void CMsgWnd::startTimer(UINT_PTR id, UINT period)
{
    SetTimer(id, period);
}

void CMsgWnd::stopTimer(UINT_PTR id)
{
    KillTimer(id);
}

int CMsgWnd::OnCreate(LPCREATESTRUCT create)
{
    return CWnd::OnCreate(create) == -1 ? -1 : 0;
}

void CMsgWnd::OnTimer(UINT_PTR id)
{
    // The bottom-right corner of the work area, wherever the task bar is.
    CRect area = workArea();
    int left = area.right - WIDTH;
    int bottom = area.bottom;

    if (id == ID_TIMER_RISE) {
        if (msgWndShownHeight > HEIGHT) {
            stopTimer(ID_TIMER_RISE);
            startTimer(ID_TIMER_STAY, STAY_PERIOD);
        } else {
            ++msgWndShownHeight;
            MoveWindow(left, bottom - msgWndShownHeight, WIDTH, HEIGHT, TRUE);
            Invalidate(FALSE);
        }
    } else if (id == ID_TIMER_SINK) {
        if (msgWndShownHeight < 0) {
            stopTimer(ID_TIMER_SINK);
            SendMessage(WM_CLOSE);
            return;  // the window, and with it this object, is gone
        }
        // The bottom edge stays while the window loses one row at a time;
        // the last step (-1) leaves it without height.
        --msgWndShownHeight;
        MoveWindow(left, bottom - msgWndShownHeight, WIDTH, msgWndShownHeight < 0 ? 0 : msgWndShownHeight, TRUE);
    } else if (id == ID_TIMER_STAY) {
        stopTimer(ID_TIMER_STAY);
        startTimer(ID_TIMER_SINK, SINK_PERIOD);
    }
    CWnd::OnTimer(id);
}

void CMsgWnd::OnMouseMove(UINT flags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (PtInRect(&client, point)) {
        mouseOver = TRUE;
        stopTimer(ID_TIMER_STAY);
    }
    CWnd::OnMouseMove(flags, point);
}

void CMsgWnd::OnKillFocus(CWnd* newFocus)
{
    CWnd::OnKillFocus(newFocus);
    if (mouseOver) {
        startTimer(ID_TIMER_STAY, STAY_AFTER_POINTING);
    }
}

void CMsgWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);

    CDC memory;
    memory.CreateCompatibleDC(NULL);
    CBitmap* previousBitmap = memory.SelectObject(&background);
    paint.StretchBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, backgroundInfo.bmWidth,
                     backgroundInfo.bmHeight, SRCCOPY);
    memory.SelectObject(previousBitmap);

    CFont font;
    font.CreatePointFont(90, "Impact");
    CFont* previousFont = paint.SelectObject(&font);
    paint.SetTextColor(TEXT_COLOR);
    paint.SetBkMode(TRANSPARENT);
    paint.TextOut(30, 5, title);
    CRect textArea(10, 30, client.right, client.bottom);
    paint.DrawText(body, &textArea, DT_WORDBREAK | DT_VCENTER);
    paint.SelectObject(previousFont);
}
