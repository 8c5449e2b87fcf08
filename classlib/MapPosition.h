#pragma once
// The POSITION of a map walk: the address of the entry GetNextAssoc returns
// next. Entries of an unordered_map keep their address until erased, so the
// entry just returned may be removed while the position already points on.

#include "classlib/Types.h"

template <typename Map> POSITION mapStartPosition(const Map& map)
{
    if (map.empty())
        return NULL;
    return reinterpret_cast<POSITION>(const_cast<typename Map::value_type*>(&*map.begin()));
}

// Returns the entry at `pos` and moves `pos` to the entry after it (NULL at the end).
template <typename Map> const typename Map::value_type& mapNextAssoc(const Map& map, POSITION& pos)
{
    const typename Map::value_type* entry = reinterpret_cast<const typename Map::value_type*>(pos);
    typename Map::const_iterator next = map.find(entry->first);
    ++next;
    pos = next == map.end() ? NULL : reinterpret_cast<POSITION>(const_cast<typename Map::value_type*>(&*next));
    return *entry;
}
