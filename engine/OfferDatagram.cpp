#include "engine/OfferDatagram.h"

#include "core/TextCut.h"

#include <cstring>

OfferDatagram::OfferDatagram(int packetNo, const CString& user, const CString& host, const CString& text)
    : m_length(0),
      m_entries(0)
{
    CString header;
    header.Format("1:%d:%s:%s:%d:%s", packetNo, (const char*)user, (const char*)host,
                  IPMSG_SENDMSG | IPMSG_FILEATTACHOPT, (const char*)text);
    m_length = characterBoundaryLength(header, header.GetLength(), UDP_BUFFER_SIZE);
    memcpy(m_buffer, (const char*)header, (size_t)m_length);
}

bool OfferDatagram::addEntry(const CString& entry)
{
    int needed = 1 + entry.GetLength();
    if (needed > UDP_BUFFER_SIZE - m_length)
        return false;
    m_buffer[m_length] = m_entries == 0 ? '\0' : '\x07';
    memcpy(m_buffer + m_length + 1, (const char*)entry, (size_t)entry.GetLength());
    m_length += needed;
    ++m_entries;
    return true;
}
