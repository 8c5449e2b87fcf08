#pragma once

#include "classlib/Types.h"

#include <map>
#include <mutex>

// How many datagrams the messenger may send to one address in reply to what
// arrives from it (answers, share lists, receipts): a token bucket per
// address, in a table of a bounded number of addresses whose least recently
// used one makes room for a new one. A source address costs a sender nothing,
// so without it one datagram of 40 bytes can be turned into a share list of
// 2 KB towards any address, as often as it is sent. Safe on every thread.
class ReplyBudget {
public:
    // Each address may take burst replies at once and perSecond more every
    // second after; the table holds at most addresses of them.
    ReplyBudget(int addresses, int burst, int perSecond);

    // Takes one reply to address (IPv4, network order) at nowMs (a
    // millisecond tick that may wrap); false, and nothing taken, when the
    // address has used up its budget.
    bool take(ULONG address, DWORD nowMs);

private:
    ReplyBudget(const ReplyBudget&);
    ReplyBudget& operator=(const ReplyBudget&);

    struct Bucket {
        DWORD lastMs;  // when it was last refilled
        DWORD tokensMilli;  // thousandths of a reply
    };

    const int m_addresses;
    const DWORD m_burstMilli;
    const DWORD m_perSecond;
    std::mutex m_mutex;
    std::map<ULONG, Bucket> m_buckets;
};
