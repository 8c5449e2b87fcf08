#pragma once
// A growable array of CString.

#include "classlib/CObject.h"
#include "classlib/CString.h"

#include <vector>

class CStringArray : public CObject {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    CString GetAt(INT_PTR index) const;  // empty when out of range
    CString& ElementAt(INT_PTR index);
    void SetAt(INT_PTR index, const char* text);  // ignored when out of range
    const CString& operator[](INT_PTR index) const;
    CString& operator[](INT_PTR index);

    INT_PTR Add(const CString& text);  // returns the new element's index
    void RemoveAt(INT_PTR index, INT_PTR count = 1);  // the part in range
    void RemoveAll();
    void InsertAt(INT_PTR index, const CString& text);  // grows past the end
    void SetSize(INT_PTR size);

private:
    std::vector<CString> m_items;
};
