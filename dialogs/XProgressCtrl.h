#pragma once

#include "classlib/AfxWin.h"

// A progress bar that paints itself: a flat sunken frame, a light grey
// trough, the bar, and a caption of the window text and the percentage that
// shows in a second colour where it lies over the bar. Double-buffered, and
// the background is never erased. The vertical style turns the caption.
class CXProgressCtrl : public CProgressCtrl {
    DECLARE_DYNAMIC(CXProgressCtrl)
public:
    CXProgressCtrl();
    virtual ~CXProgressCtrl();

    // Paints the whole control into dc at its client rectangle (the paint
    // handler and WM_PRINTCLIENT both come here).
    void paint(CDC* dc);

    // The caption for a window text and a fraction: the text, then the
    // percentage rounded half up and one blank.
    static CString captionText(const CString& windowText, double fraction, BOOL showPercent);
    // Length of the bar along an inner length of `length` pixels: truncated.
    static int barLength(int length, double fraction);

    COLORREF barColor;
    COLORREF bgColor;
    COLORREF textColor;
    COLORREF textOnBarColor;
    int textAlign;  // 0 start, 2 end, anything else centred
    BOOL showPercent;
    CFont verticalFont;  // made on the first vertical paint

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
