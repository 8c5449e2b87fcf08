#include "core/TextCut.h"

#include "classlib/Mbcs.h"

int characterBoundaryLength(const char* text, int length, int limit)
{
    int kept = 0;
    while (kept < length) {
        int next = kept + mbcsCharLength(text, kept, length);
        if (next > limit) {
            break;
        }
        kept = next;
    }
    return kept;
}
