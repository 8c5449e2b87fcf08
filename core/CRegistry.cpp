#include "core/CRegistry.h"

#include <cstring>

CRegistry::CRegistry(HKEY root)
    : lastError(ERROR_SUCCESS),
      lastType(0),
      lastSize(0),
      key(root),
      ownsKey(false)
{
}

CRegistry::~CRegistry()
{
    closeOwnedKey();
}

void CRegistry::closeOwnedKey()
{
    if (ownsKey && key != NULL) {
        RegCloseKey(key);
    }
    key = NULL;
    ownsKey = false;
}

BOOL CRegistry::createKey(HKEY root, const char* subKey, DWORD options, REGSAM access)
{
    HKEY opened = NULL;
    lastError = RegCreateKeyExA(root, subKey, 0, NULL, options, access, NULL, &opened, NULL);
    lastType = 0;
    lastSize = 0;
    if (lastError != ERROR_SUCCESS) {
        return FALSE;
    }
    closeOwnedKey();
    key = opened;
    ownsKey = true;
    return TRUE;
}

BOOL CRegistry::writeString(const char* valueName, const char* text)
{
    DWORD size = (DWORD)strlen(text) + 1;
    lastError = RegSetValueExA(key, valueName, 0, REG_SZ, (const BYTE*)text, size);
    lastType = REG_SZ;
    lastSize = size;
    return lastError == ERROR_SUCCESS;
}

BOOL CRegistry::deleteValue(HKEY root, const char* subKey, const char* valueName)
{
    lastType = 0;
    lastSize = 0;
    HKEY parent = NULL;
    lastError = RegOpenKeyExA(root, subKey, 0, KEY_SET_VALUE, &parent);
    if (lastError != ERROR_SUCCESS) {
        return FALSE;
    }
    lastError = RegDeleteValueA(parent, valueName);
    RegCloseKey(parent);
    return lastError == ERROR_SUCCESS;
}

BOOL CRegistry::hasValue(HKEY root, const char* subKey, const char* valueName)
{
    HKEY parent = NULL;
    lastError = RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &parent);
    if (lastError != ERROR_SUCCESS) {
        return FALSE;
    }
    lastError = RegQueryValueExA(parent, valueName, NULL, NULL, NULL, NULL);
    RegCloseKey(parent);
    return lastError == ERROR_SUCCESS;
}
