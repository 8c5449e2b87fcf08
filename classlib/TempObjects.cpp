#include "classlib/TempObjects.h"

#include <vector>

namespace {

struct Temporary {
    const void* kind;
    const void* handle;
    void* object;
    AfxTemporaryRelease release;
};

// Released when the thread ends, so a thread that never idles leaks nothing.
struct TemporaryList {
    std::vector<Temporary> items;
    ~TemporaryList() { releaseAll(); }
    void releaseAll()
    {
        // A release may create new temporaries (a window's Detach asks nothing,
        // but be safe): take the list first.
        while (!items.empty()) {
            std::vector<Temporary> taken;
            taken.swap(items);
            for (const Temporary& t : taken)
                t.release(t.object);
        }
    }
};

thread_local TemporaryList t_temporaries;

}  // namespace

void* afxFindTemporary(const void* kind, const void* handle)
{
    for (const Temporary& t : t_temporaries.items)
        if (t.kind == kind && t.handle == handle)
            return t.object;
    return NULL;
}

void afxAddTemporary(const void* kind, const void* handle, void* object, AfxTemporaryRelease release)
{
    t_temporaries.items.push_back(Temporary{kind, handle, object, release});
}

void AfxDeleteTemporaryObjects()
{
    t_temporaries.releaseAll();
}
