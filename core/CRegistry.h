#pragma once

#include "classlib/Types.h"

// A registry key wrapper for the auto-start value. It owns the key that
// createKey opened and closes it when destroyed.
class CRegistry {
public:
    explicit CRegistry(HKEY root);
    virtual ~CRegistry();

    // Opens subKey below root, or creates it when missing; the opened key
    // replaces key.
    BOOL createKey(HKEY root, const char* subKey, DWORD options, REGSAM access);
    // Sets valueName of key to text as REG_SZ (with its NUL).
    BOOL writeString(const char* valueName, const char* text);
    // Removes valueName of root\subKey; a missing value is a failure and
    // changes nothing.
    BOOL deleteValue(HKEY root, const char* subKey, const char* valueName);

    // TRUE when root\subKey holds valueName.
    BOOL hasValue(HKEY root, const char* subKey, const char* valueName);

    LONG lastError;  // result of the last registry call
    DWORD lastType;  // REG_SZ after writeString, else 0
    DWORD lastSize;  // bytes written by writeString, else 0
    HKEY key;

private:
    void closeOwnedKey();

    bool ownsKey;  // key was opened by createKey (a root key is never closed)

    CRegistry(const CRegistry&);
    CRegistry& operator=(const CRegistry&);
};
