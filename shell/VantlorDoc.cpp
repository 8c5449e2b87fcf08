#include "shell/VantlorDoc.h"

IMPLEMENT_DYNCREATE(CVantlorDoc, CDocument)

CVantlorDoc::CVantlorDoc()
{
}

CVantlorDoc::~CVantlorDoc()
{
}

BEGIN_MESSAGE_MAP(CVantlorDoc, CDocument)
END_MESSAGE_MAP()

BOOL CVantlorDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

void CVantlorDoc::Serialize(CArchive&)
{
}
