#include "core/ReplyBudget.h"

ReplyBudget::ReplyBudget(int addresses, int burst, int perSecond)
    : m_addresses(addresses),
      m_burstMilli((DWORD)burst * 1000),
      m_perSecond((DWORD)perSecond)
{
}

bool ReplyBudget::take(ULONG address, DWORD nowMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::map<ULONG, Bucket>::iterator found = m_buckets.find(address);
    if (found == m_buckets.end()) {
        if ((int)m_buckets.size() >= m_addresses) {
            // The bucket refilled longest ago belongs to the address that
            // went longest without a reply.
            std::map<ULONG, Bucket>::iterator oldest = m_buckets.begin();
            for (std::map<ULONG, Bucket>::iterator i = m_buckets.begin(); i != m_buckets.end(); ++i) {
                if (nowMs - i->second.lastMs > nowMs - oldest->second.lastMs)
                    oldest = i;
            }
            m_buckets.erase(oldest);
        }
        Bucket fresh = {nowMs, m_burstMilli};
        found = m_buckets.insert(std::make_pair(address, fresh)).first;
    }

    Bucket& bucket = found->second;
    // Unsigned difference: right across the tick's wrap. A pause so long
    // that it would overflow fills the bucket anyway.
    DWORD elapsedMs = nowMs - bucket.lastMs;
    DWORD refill = elapsedMs >= 1000000 ? m_burstMilli : elapsedMs * m_perSecond;
    bucket.tokensMilli = refill >= m_burstMilli - bucket.tokensMilli ? m_burstMilli : bucket.tokensMilli + refill;
    bucket.lastMs = nowMs;
    if (bucket.tokensMilli < 1000)
        return false;
    bucket.tokensMilli -= 1000;
    return true;
}
