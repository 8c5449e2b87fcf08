#include "classlib/RuntimeClass.h"

const CRuntimeClass g_runtimeClassCObject = {"CObject", NULL, NULL};

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return TRUE;
    return FALSE;
}
