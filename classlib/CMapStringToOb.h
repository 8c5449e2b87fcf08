#pragma once
// A hash map from CString keys to CObject pointers it does not own.
// Walk with GetStartPosition/GetNextAssoc; removing the entry just returned is
// safe. Adding entries during a walk is not.

#include "classlib/CObject.h"
#include "classlib/CString.h"

#include <string>
#include <unordered_map>

class CMapStringToOb : public CObject {
public:
    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_map.size()); }
    bool IsEmpty() const { return m_map.empty(); }

    BOOL Lookup(const char* key, CObject*& value) const;
    void SetAt(const char* key, CObject* value);
    CObject*& operator[](const char* key);  // a new key maps to NULL
    BOOL RemoveKey(const char* key);
    void RemoveAll();

    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& pos, CString& key, CObject*& value) const;

private:
    typedef std::unordered_map<std::string, CObject*> Map;
    Map m_map;
};
