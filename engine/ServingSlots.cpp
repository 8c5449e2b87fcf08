#include "engine/ServingSlots.h"

ServingSlots::ServingSlots(int perAddress, int inAll)
    : m_perAddress(perAddress),
      m_inAll(inAll),
      m_takenInAll(0)
{
}

bool ServingSlots::take(ULONG address)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_takenInAll >= m_inAll)
        return false;
    std::map<ULONG, int>::iterator found = m_taken.find(address);
    if (found != m_taken.end() && found->second >= m_perAddress)
        return false;
    ++m_taken[address];
    ++m_takenInAll;
    return true;
}

void ServingSlots::give(ULONG address)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::map<ULONG, int>::iterator found = m_taken.find(address);
    if (found == m_taken.end())
        return;
    if (--found->second == 0)
        m_taken.erase(found);
    --m_takenInAll;
}
