#include "classlib/CMapStringToString.h"

#include "classlib/MapPosition.h"

BOOL CMapStringToString::Lookup(const char* key, CString& value) const
{
    Map::const_iterator found = m_map.find(key ? key : "");
    if (found == m_map.end())
        return FALSE;
    value = found->second;
    return TRUE;
}

void CMapStringToString::SetAt(const char* key, const char* value)
{
    m_map[key ? key : ""] = value;
}

CString& CMapStringToString::operator[](const char* key)
{
    return m_map[key ? key : ""];
}

BOOL CMapStringToString::RemoveKey(const char* key)
{
    return m_map.erase(key ? key : "") ? TRUE : FALSE;
}

void CMapStringToString::RemoveAll()
{
    m_map.clear();
}

POSITION CMapStringToString::GetStartPosition() const
{
    return mapStartPosition(m_map);
}

void CMapStringToString::GetNextAssoc(POSITION& pos, CString& key, CString& value) const
{
    const Map::value_type& entry = mapNextAssoc(m_map, pos);
    key = CString(entry.first.data(), static_cast<int>(entry.first.size()));
    value = entry.second;
}
