#pragma once
// Image lists (for the tree and list controls). Owns its list unless detached.

#include "classlib/CObject.h"
#include "classlib/NullSafe.h"
#include "classlib/TempObjects.h"
#include "classlib/Types.h"

#include <commctrl.h>

class CBitmap;

class CImageList : public CObject {
public:
  HIMAGELIST m_hImageList;

  CImageList() : m_hImageList(NULL) {}
  virtual ~CImageList() { DeleteImageList(); }
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  static CImageList* FromHandle(HIMAGELIST h) { return afxTemporaryWrapper<CImageList>(h); }
  void AttachTemporary(HIMAGELIST h) { m_hImageList = h; }
  HIMAGELIST GetSafeHandle() const {
    const CImageList* self = afxUnknownPointer(this);
    return self ? self->m_hImageList : NULL;
  }
  operator HIMAGELIST() const { return m_hImageList; }
  BOOL Attach(HIMAGELIST h) { if (!h || m_hImageList) return FALSE; m_hImageList = h; return TRUE; }
  HIMAGELIST Detach() { HIMAGELIST h = m_hImageList; m_hImageList = NULL; return h; }

  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
  }
  BOOL DeleteImageList() { if (!m_hImageList) return FALSE; return ImageList_Destroy(Detach()); }
  // Index of the first new image, or -1.
  int Add(CBitmap* pbmImage, COLORREF crMask);
};
