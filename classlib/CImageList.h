#pragma once
// Image lists (for the tree and list controls). Owns its list unless detached.

#include "classlib/HandleObject.h"
#include "classlib/Types.h"

#include <commctrl.h>

class CBitmap;

class CImageList : public CHandleObject<CImageList, HIMAGELIST> {
public:
    HIMAGELIST& m_hImageList = m_handle;

    static BOOL destroyHandle(HIMAGELIST h) { return ImageList_Destroy(h); }
    HIMAGELIST GetSafeHandle() const { return m_handle; }

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
    {
        return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    BOOL DeleteImageList() { return destroy(); }
    // Index of the first new image, or -1.
    int Add(CBitmap* pbmImage, COLORREF crMask);
};
