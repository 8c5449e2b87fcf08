#pragma once

#include "classlib/AfxWin.h"

// The empty document the single-document template needs.
class CVantlorDoc : public CDocument {
    DECLARE_DYNCREATE(CVantlorDoc)
public:
    CVantlorDoc();
    virtual ~CVantlorDoc();

    virtual BOOL OnNewDocument();
    virtual void Serialize(CArchive& archive);

protected:
    DECLARE_MESSAGE_MAP()
};
