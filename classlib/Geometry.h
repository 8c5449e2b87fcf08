#pragma once
// Points, sizes and rectangles: the Win32 structures with the usual helpers.

#include "classlib/Types.h"

class CSize : public SIZE {
public:
    CSize()
    {
        cx = 0;
        cy = 0;
    }
    CSize(int x, int y)
    {
        cx = x;
        cy = y;
    }
    CSize(SIZE s)
    {
        cx = s.cx;
        cy = s.cy;
    }
};

class CPoint : public POINT {
public:
    CPoint()
    {
        x = 0;
        y = 0;
    }
    CPoint(int px, int py)
    {
        x = px;
        y = py;
    }
    CPoint(POINT p)
    {
        x = p.x;
        y = p.y;
    }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& r) { ::CopyRect(this, &r); }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }

    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
    void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
    void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
    void NormalizeRect()
    {
        if (left > right) {
            LONG t = left;
            left = right;
            right = t;
        }
        if (top > bottom) {
            LONG t = top;
            top = bottom;
            bottom = t;
        }
    }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
