#pragma once
// A hash map from CString keys to CString values.
// Walk with GetStartPosition/GetNextAssoc; removing the entry just returned is
// safe. Adding entries during a walk is not.

#include "classlib/CObject.h"
#include "classlib/CString.h"

#include <string>
#include <unordered_map>

class CMapStringToString : public CObject {
public:
    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_map.size()); }
    bool IsEmpty() const { return m_map.empty(); }

    BOOL Lookup(const char* key, CString& value) const;
    void SetAt(const char* key, const char* value);
    CString& operator[](const char* key);  // a new key maps to ""
    BOOL RemoveKey(const char* key);
    void RemoveAll();

    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& pos, CString& key, CString& value) const;

private:
    typedef std::unordered_map<std::string, CString> Map;
    Map m_map;
};
