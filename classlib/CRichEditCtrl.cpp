#include "classlib/CRichEditCtrl.h"

#include "classlib/CWinApp.h"

BOOL AfxInitRichEdit()
{
    // Loaded once and kept: the "RICHEDIT" class lives as long as the module.
    static HMODULE richEdit = ::LoadLibraryA("RICHED32.DLL");
    return richEdit != NULL;
}
