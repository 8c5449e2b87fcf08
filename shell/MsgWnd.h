#pragma once

#include "classlib/AfxWin.h"

// The slide-in notice: a borderless 181 x 116 pop-up with a picture, a
// title and a greeting. It rises out of the bottom-right corner of the work
// area one pixel per tick, rests five seconds (held while the pointer is on
// it, then three seconds after it loses the focus), sinks back one row per
// tick and closes itself. Made with new; the object goes with its window.
class CMsgWnd : public CWnd {
public:
    enum {
        WIDTH = 181,
        HEIGHT = 116,
        ID_TIMER_RISE = 10,
        ID_TIMER_SINK = 11,
        ID_TIMER_STAY = 12,
    };

    CMsgWnd();
    virtual ~CMsgWnd();

    // Registers the window class, makes the (still 0 x 0) window and starts
    // the rise. FALSE when no window was made: the object may then be gone
    // already (a window that fails while being made destroys it), so the
    // caller does not touch it again.
    BOOL createPopup();

    CBitmap background;
    BITMAP backgroundInfo;
    BOOL mouseOver;
    CString body;
    CString title;

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();

    // The screen's work area, where the notice stands. A test sets its own.
    virtual CRect workArea() const;
    // The timers, one seam for tests that step the window tick by tick.
    virtual void startTimer(UINT_PTR id, UINT period);
    virtual void stopTimer(UINT_PTR id);

    int OnCreate(LPCREATESTRUCT create);
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnMouseMove(UINT flags, CPoint point);
    void OnKillFocus(CWnd* newFocus);
    DECLARE_MESSAGE_MAP()
};
