#pragma once
// Device contexts: CDC wraps an HDC; CPaintDC, CClientDC and CWindowDC get
// and release theirs for a window.

#include "classlib/CString.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "classlib/HandleObject.h"
#include "classlib/Types.h"

class CWnd;

class CDC : public CHandleObject<CDC, HDC> {
public:
    HDC& m_hDC = m_handle;

    static BOOL destroyHandle(HDC h) { return ::DeleteDC(h); }
    HDC GetSafeHdc() const { return m_handle; }
    BOOL CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(AfxSafeHandle(pDC))); }
    BOOL DeleteDC() { return destroy(); }

    // Each returns the object of the same kind that was selected before.
    CFont* SelectObject(CFont* pFont) { return CFont::FromHandle((HFONT)select(pFont)); }
    CBitmap* SelectObject(CBitmap* pBitmap) { return CBitmap::FromHandle((HBITMAP)select(pBitmap)); }
    CBrush* SelectObject(CBrush* pBrush) { return CBrush::FromHandle((HBRUSH)select(pBrush)); }
    CGdiObject* SelectObject(CGdiObject* pObject) { return CGdiObject::FromHandle(select(pObject)); }

    void FillSolidRect(LPCRECT lpRect, COLORREF color)
    {
        COLORREF old = ::SetBkColor(m_hDC, color);
        ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
        ::SetBkColor(m_hDC, old);
    }
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
    {
        RECT r = {x, y, x + cx, y + cy};
        FillSolidRect(&r, color);
    }
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths)
    {
        return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths)
    {
        return ExtTextOut(x, y, nOptions, lpRect, str, (UINT)str.GetLength(), lpDxWidths);
    }
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOutA(m_hDC, x, y, lpszString, nCount); }
    BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
    {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
    {
        return DrawText(str, str.GetLength(), lpRect, nFormat);
    }
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const
    {
        SIZE s = {0, 0};
        ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &s);
        return CSize(s);
    }
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, AfxSafeHandle(pSrcDC), xSrc, ySrc, dwRop);
    }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop)
    {
        return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, AfxSafeHandle(pSrcDC), xSrc, ySrc, nSrcWidth, nSrcHeight,
                            dwRop);
    }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

private:
    HGDIOBJ select(CGdiObject* object) { return ::SelectObject(m_hDC, AfxSafeHandle(object)); }
};

// The device context of a WM_PAINT handler (BeginPaint/EndPaint).
class CPaintDC : public CDC {
public:
    PAINTSTRUCT m_ps;
    HWND m_hWnd;
    explicit CPaintDC(CWnd* pWnd);
    virtual ~CPaintDC();
};

// The client area's device context (GetDC/ReleaseDC).
class CClientDC : public CDC {
public:
    HWND m_hWnd;
    explicit CClientDC(CWnd* pWnd);
    virtual ~CClientDC();
};

// The whole window's device context (GetWindowDC/ReleaseDC).
class CWindowDC : public CDC {
public:
    HWND m_hWnd;
    explicit CWindowDC(CWnd* pWnd);
    virtual ~CWindowDC();
};
