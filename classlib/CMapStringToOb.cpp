#include "classlib/CMapStringToOb.h"

#include "classlib/MapPosition.h"

BOOL CMapStringToOb::Lookup(const char* key, CObject*& value) const
{
    Map::const_iterator found = m_map.find(key ? key : "");
    if (found == m_map.end())
        return FALSE;
    value = found->second;
    return TRUE;
}

void CMapStringToOb::SetAt(const char* key, CObject* value)
{
    m_map[key ? key : ""] = value;
}

CObject*& CMapStringToOb::operator[](const char* key)
{
    return m_map.emplace(key ? key : "", nullptr).first->second;
}

BOOL CMapStringToOb::RemoveKey(const char* key)
{
    return m_map.erase(key ? key : "") ? TRUE : FALSE;
}

void CMapStringToOb::RemoveAll()
{
    m_map.clear();
}

POSITION CMapStringToOb::GetStartPosition() const
{
    return mapStartPosition(m_map);
}

void CMapStringToOb::GetNextAssoc(POSITION& pos, CString& key, CObject*& value) const
{
    const Map::value_type& entry = mapNextAssoc(m_map, pos);
    key = CString(entry.first.data(), static_cast<int>(entry.first.size()));
    value = entry.second;
}
