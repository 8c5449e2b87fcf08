#pragma once

#include "classlib/Types.h"

#include <map>
#include <mutex>

// The count of what peers hold at once (connections being served, offers
// put to the user), per peer address and in all, kept under two bounds so
// that one host cannot take every place. Safe on every thread.
class ServingSlots {
public:
    ServingSlots(int perAddress, int inAll);

    // Takes a slot for address (IPv4, network order);
    // false, and nothing taken, when the address or the whole has reached
    // its bound.
    bool take(ULONG address);
    // Gives back a slot that take gave for address.
    void give(ULONG address);

private:
    ServingSlots(const ServingSlots&);
    ServingSlots& operator=(const ServingSlots&);

    const int m_perAddress;
    const int m_inAll;
    std::mutex m_mutex;
    std::map<ULONG, int> m_taken;  // only addresses holding a slot
    int m_takenInAll;
};
