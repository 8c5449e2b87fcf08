#pragma once

#include "classlib/CString.h"
#include "core/IpmsgProtocol.h"

// The bytes of one file-offer datagram, built in a buffer of the size every
// peer receives into. Nothing is ever written past it: an entry that does not
// fit whole is not added, and a header text too long for the buffer is cut at
// a character boundary.
class OfferDatagram {
public:
    // Starts the datagram with "1:packetNo:user:host:2097184:text".
    OfferDatagram(int packetNo, const CString& user, const CString& host, const CString& text);

    // Appends a separator (NUL before the first entry, BEL before later ones)
    // and the entry. FALSE, and nothing appended, when the two do not fit.
    bool addEntry(const CString& entry);

    const char* data() const { return m_buffer; }
    int length() const { return m_length; }
    int entryCount() const { return m_entries; }

private:
    char m_buffer[UDP_BUFFER_SIZE];
    int m_length;
    int m_entries;
};
