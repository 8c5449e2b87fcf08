// Readers of the three file-transfer texts: the attachment entries of a file
// offer, the file request a downloader sends, and the headers of a folder
// stream. They never reject input: a text of the wrong form still fills every
// out-parameter, and no byte outside the given range is ever read.

#include "core/IpMessageParser.h"
#include "core/NumberField.h"

#include <cstring>

namespace {

const char kFieldSeparator = ':';
const char kEntrySeparator = '\x07';

// Walks the ':'-separated fields of the bytes [begin, end).
class FieldReader {
public:
    FieldReader(const char* begin, const char* end) : m_pos(begin), m_end(end), m_terminated(false) {}

    // Steps over one ':' when the text starts with it.
    void skipSeparator()
    {
        if (m_pos < m_end && *m_pos == kFieldSeparator)
            ++m_pos;
    }

    // The field up to the next ':' (which is consumed) or to the end.
    CString next() { return take(false); }

    // A name field: a ':' followed by a second ':' does not end it, and both
    // stay in the field. Names written by other systems may hold ':', which
    // their writers double.
    CString nextName() { return take(true); }

    // The field up to the next ':'; empty when no ':' follows.
    CString nextTerminated()
    {
        CString field = take(false);
        return m_terminated ? field : CString();
    }

private:
    CString take(bool pairsStayInside)
    {
        const char* start = m_pos;
        while (m_pos < m_end) {
            if (*m_pos != kFieldSeparator) {
                ++m_pos;
                continue;
            }
            if (pairsStayInside && m_pos + 1 < m_end && m_pos[1] == kFieldSeparator) {
                m_pos += 2;
                continue;
            }
            CString field(start, (int)(m_pos - start));
            ++m_pos;
            m_terminated = true;
            return field;
        }
        m_terminated = false;
        return CString(start, (int)(m_pos - start));
    }

    const char* m_pos;
    const char* m_end;
    bool m_terminated;
};

// The bytes up to the first NUL among the first length ones.
const char* textEnd(const char* data, int length)
{
    if (data == NULL || length <= 0)
        return data;
    const void* nul = memchr(data, 0, (size_t)length);
    return nul != NULL ? (const char*)nul : data + length;
}

// A hexadecimal field as the "%d" text of its 32-bit value: ffffffff reads
// back as -1, and a wider number as its low 32 bits.
CString hexFieldAsDecimal(const CString& field)
{
    CString text;
    text.Format("%d", parseNumberField(field, 16));
    return text;
}

}  // namespace

void IpMessageParser::splitAttachments(const char* data, int length, CStringArray* entries)
{
    if (data == NULL || length <= 0)
        return;
    const char* end = data + length;
    const char* nul = (const char*)memchr(data, 0, (size_t)length);
    if (nul == NULL)
        return;

    // Entries follow the message text's NUL, separated by BEL. A last entry is
    // kept only when bytes follow the last BEL; each entry reads as text up to
    // its own first NUL.
    const char* entryStart = nul + 1;
    for (const char* p = entryStart; p < end; ++p) {
        bool separator = *p == kEntrySeparator;
        if (!separator && p + 1 < end)
            continue;
        const char* entryEnd = separator ? p : end;
        int entryLength = (int)(textEnd(entryStart, (int)(entryEnd - entryStart)) - entryStart);
        entries->Add(CString(entryStart, entryLength));
        entryStart = p + 1;
    }
}

void IpMessageParser::parseAttachEntry(CString entry, CString* fileId, CString* name, CString* size,
                                       CString* mtime, CString* attr)
{
    const char* text = entry;
    FieldReader fields(text, text + entry.GetLength());
    // Other clients separate entries by BEL followed by ':'; that ':' is not
    // part of the file id.
    fields.skipSeparator();
    *fileId = fields.next();
    *name = fields.nextName();
    *size = hexFieldAsDecimal(fields.next());
    *mtime = fields.next();
    // Further fields (extended attributes, a trailing ':') are ignored.
    *attr = fields.next();
}

void IpMessageParser::parseFileRequest(const char* data, int length, CString* version, CString* packetNo,
                                       CString* user, CString* host, CString* command, CString* packetId,
                                       CString* fileId, CString* offset)
{
    FieldReader fields(data, textEnd(data, length));
    *version = fields.next();
    *packetNo = fields.nextName();
    *user = fields.next();
    *host = fields.next();
    *command = fields.next();
    *packetId = hexFieldAsDecimal(fields.next());
    *fileId = hexFieldAsDecimal(fields.next());
    *offset = hexFieldAsDecimal(fields.next());
}

void IpMessageParser::parseDirHeader(const char* header, int length, CString* name, CString* size, CString* attr)
{
    // The header reads as text up to its first NUL, and never past its
    // length bytes.
    FieldReader fields(header, textEnd(header, length));
    fields.next();  // the header's own length
    *name = fields.nextName();
    *size = hexFieldAsDecimal(fields.next());
    // attr is always followed by the extension fields; without a ':' after it
    // it is not a complete header and attr stays empty.
    *attr = fields.nextTerminated();
}
