#pragma once
// What every wrapper that owns one handle does alike: it starts empty, frees
// its handle when destroyed unless detached, is never copied, converts to the
// handle, and gives temporary wrappers for handles no object of ours owns.
// Derived names its own free call: static BOOL destroyHandle(H).

#include "classlib/CObject.h"
#include "classlib/TempObjects.h"
#include "classlib/Types.h"

template <class Derived, class H> class CHandleObject : public CObject {
public:
    CHandleObject()
        : m_handle(NULL)
    {
    }
    virtual ~CHandleObject() { destroy(); }
    CHandleObject(const CHandleObject&) = delete;
    CHandleObject& operator=(const CHandleObject&) = delete;

    static Derived* FromHandle(H h) { return afxTemporaryWrapper<Derived>(h); }
    void AttachTemporary(H h) { m_handle = h; }
    operator H() const { return m_handle; }
    BOOL Attach(H h)
    {
        if (!h || m_handle)
            return FALSE;
        m_handle = h;
        return TRUE;
    }
    H Detach()
    {
        H h = m_handle;
        m_handle = NULL;
        return h;
    }

    // The handle of a wrapper that may be missing: NULL for a NULL pointer.
    friend H AfxSafeHandle(const CHandleObject* object) { return object ? object->m_handle : NULL; }

protected:
    BOOL destroy() { return m_handle ? Derived::destroyHandle(Detach()) : FALSE; }

    H m_handle;
};
