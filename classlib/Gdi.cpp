#include "classlib/Gdi.h"

#include <cstdlib>
#include <cstring>

#include "classlib/CDC.h"
#include "classlib/CWinApp.h"

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCEA(nIDResource));
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(AfxSafeHandle(pDC), nWidth, nHeight));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONTA font = {};
    font.lfCharSet = DEFAULT_CHARSET;
    strncpy(font.lfFaceName, lpszFaceName ? lpszFaceName : "", sizeof font.lfFaceName - 1);
    HDC dc = pDC ? pDC->m_hDC : ::GetDC(NULL);
    // Tenths of a point -> logical units of the device.
    POINT size = {0, ::MulDiv(::GetDeviceCaps(dc, LOGPIXELSY), nPointSize, 720)};
    POINT origin = {0, 0};
    ::DPtoLP(dc, &size, 1);
    ::DPtoLP(dc, &origin, 1);
    font.lfHeight = -std::abs(size.y - origin.y);
    if (!pDC)
        ::ReleaseDC(NULL, dc);
    return CreateFontIndirect(&font);
}
