#pragma once
// GDI object wrappers. Each owns its handle and deletes it when destroyed,
// unless detached.

#include "classlib/HandleObject.h"
#include "classlib/Types.h"

class CDC;

class CGdiObject : public CHandleObject<CGdiObject, HGDIOBJ> {
public:
    HGDIOBJ& m_hObject = m_handle;

    static BOOL destroyHandle(HGDIOBJ h) { return ::DeleteObject(h); }
    HGDIOBJ GetSafeHandle() const { return m_handle; }
    BOOL DeleteObject() { return destroy(); }
    int GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectA(m_hObject, nCount, lpObject); }
};

class CBitmap : public CGdiObject {
public:
    CBitmap() {}
    static CBitmap* FromHandle(HBITMAP h) { return afxTemporaryWrapper<CBitmap>((HGDIOBJ)h); }
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
};

class CBrush : public CGdiObject {
public:
    CBrush() {}
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    static CBrush* FromHandle(HBRUSH h) { return afxTemporaryWrapper<CBrush>((HGDIOBJ)h); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreatePatternBrush(CBitmap* pBitmap) { return Attach(::CreatePatternBrush((HBITMAP)AfxSafeHandle(pBitmap))); }
};

class CFont : public CGdiObject {
public:
    CFont() {}
    static CFont* FromHandle(HFONT h) { return afxTemporaryWrapper<CFont>((HGDIOBJ)h); }
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }
    // nPointSize in tenths of a point, as in MFC; pDC NULL = the screen.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = NULL);
    int GetLogFont(LOGFONT* pLogFont) const { return GetObject(sizeof(LOGFONT), pLogFont); }
};
