#include "classlib/CStringArray.h"

#include <algorithm>

CString CStringArray::GetAt(INT_PTR index) const
{
    return (index >= 0 && index < GetSize()) ? m_items[index] : CString();
}

CString& CStringArray::ElementAt(INT_PTR index)
{
    return m_items[index];
}

void CStringArray::SetAt(INT_PTR index, const char* text)
{
    if (index >= 0 && index < GetSize())
        m_items[index] = text;
}

const CString& CStringArray::operator[](INT_PTR index) const
{
    return m_items[index];
}
CString& CStringArray::operator[](INT_PTR index)
{
    return m_items[index];
}

INT_PTR CStringArray::Add(const CString& text)
{
    m_items.push_back(text);
    return GetSize() - 1;
}

void CStringArray::RemoveAt(INT_PTR index, INT_PTR count)
{
    if (index < 0 || index >= GetSize() || count <= 0)
        return;
    count = std::min(count, GetSize() - index);
    m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
}

void CStringArray::RemoveAll()
{
    m_items.clear();
}

void CStringArray::InsertAt(INT_PTR index, const CString& text)
{
    if (index < 0)
        return;
    if (index >= GetSize()) {
        m_items.resize(index);
        m_items.push_back(text);
    } else {
        m_items.insert(m_items.begin() + index, text);
    }
}

void CStringArray::SetSize(INT_PTR size)
{
    m_items.resize(size > 0 ? size : 0);
}
