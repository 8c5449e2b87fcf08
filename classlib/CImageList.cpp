#include "classlib/CImageList.h"

#include "classlib/Gdi.h"

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, (HBITMAP)AfxSafeHandle(pbmImage), crMask);
}
