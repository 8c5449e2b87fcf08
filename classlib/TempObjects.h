#pragma once
// Temporary wrappers: FromHandle for a handle that no object of ours owns
// gives a wrapper object that lives in a per-thread list until the
// application's next idle moment (or the end of the thread). Such a pointer is
// for the moment only, never to be kept.

#include "classlib/Types.h"

typedef void (*AfxTemporaryRelease)(void* object);

void* afxFindTemporary(const void* kind, const void* handle);
void afxAddTemporary(const void* kind, const void* handle, void* object, AfxTemporaryRelease release);
// Detaches and deletes every temporary wrapper of the calling thread.
void AfxDeleteTemporaryObjects();

// The wrapper of type T for `handle`: T must be default-constructible and
// have Attach(handle)/Detach(); Detach runs before the wrapper is deleted so
// the handle itself survives.
template <class T, class H> T* afxTemporaryWrapper(H handle)
{
    static const char kind = 0;
    if (handle == NULL)
        return NULL;
    if (void* found = afxFindTemporary(&kind, (const void*)handle))
        return static_cast<T*>(found);
    T* wrapper = new T;
    wrapper->AttachTemporary(handle);
    afxAddTemporary(&kind, (const void*)handle, wrapper, [](void* object) {
        T* t = static_cast<T*>(object);
        t->Detach();
        delete t;
    });
    return wrapper;
}
