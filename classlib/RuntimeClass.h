#pragma once
// Run-time class information: the class's name, its base, and (for classes
// made by the document template) a factory.
//
//   class CMyView : public CView { DECLARE_DYNCREATE(CMyView) ... };
//   IMPLEMENT_DYNCREATE(CMyView, CView)
//   CObject* o = RUNTIME_CLASS(CMyView)->CreateObject();

#include "classlib/CObject.h"
#include "classlib/Types.h"

struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();  // NULL: the class cannot be made by name
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : NULL; }
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

// CObject itself has no run-time information in the text half: this record
// stands for it, so IMPLEMENT_DYNAMIC(CThing, CObject) works.
extern const CRuntimeClass g_runtimeClassCObject;

template <class T> constexpr CRuntimeClass* afxRuntimeClassOf()
{
    return const_cast<CRuntimeClass*>(&T::classRuntime);
}
template <> constexpr CRuntimeClass* afxRuntimeClassOf<CObject>()
{
    return const_cast<CRuntimeClass*>(&g_runtimeClassCObject);
}

#define RUNTIME_CLASS(theClass) (afxRuntimeClassOf<theClass>())

#define DECLARE_DYNAMIC(theClass)                                                                                      \
public:                                                                                                                \
    static const CRuntimeClass classRuntime;                                                                           \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(theClass)                                                                                    \
    DECLARE_DYNAMIC(theClass)                                                                                          \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, factory)                                                       \
    const CRuntimeClass theClass::classRuntime = {#theClass, factory, RUNTIME_CLASS(baseClass)};                       \
    CRuntimeClass* theClass::GetRuntimeClass() const                                                                   \
    {                                                                                                                  \
        return RUNTIME_CLASS(theClass);                                                                                \
    }

#define IMPLEMENT_DYNAMIC(theClass, baseClass) AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, NULL)

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                                                                       \
    CObject* theClass::CreateObject()                                                                                  \
    {                                                                                                                  \
        return new theClass;                                                                                           \
    }                                                                                                                  \
    AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, theClass::CreateObject)
