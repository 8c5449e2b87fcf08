#include "core/IpMessageParser.h"

#include "classlib/Mbcs.h"
#include "classlib/Utf8.h"
#include "core/IpMessage.h"
#include "core/IpmsgProtocol.h"
#include "core/NumberField.h"
#include "core/TextCut.h"

#include <cstring>

namespace {

// Every header field and the tail are held in areas of this size, NUL included.
const int FIELD_AREA_SIZE = 1024;
const int MAX_FIELD_LENGTH = FIELD_AREA_SIZE - 1;

const int HEADER_FIELD_COUNT = 5;  // version, packet number, user, host, command

// The bytes read as text up to their first NUL, kept within one field area.
CString boundedText(const char* bytes, int length)
{
    const char* nul = (const char*)memchr(bytes, '\0', length);
    if (nul != NULL) {
        length = (int)(nul - bytes);
    }
    return CString(bytes, characterBoundaryLength(bytes, length, MAX_FIELD_LENGTH));
}

void setHeaderField(IpMessage* packet, int index, const CString& value)
{
    switch (index) {
    case 0:
        packet->version = value;
        break;
    case 1:
        packet->packetNo = value;
        break;
    case 2:
        packet->user = value;
        break;
    case 3:
        packet->host = value;
        break;
    default:
        packet->command = parseNumberField(value, 10);
        break;
    }
}

// The end of the piece starting at start: the first ':' or NUL that is a
// character of its own. A lead byte right before a NUL stands alone, so the
// NUL still ends the piece.
int pieceEnd(const char* text, int start, int length)
{
    int i = start;
    while (i < length && text[i] != ':' && text[i] != '\0') {
        i += mbcsCharLength(text, i, length);
    }
    return i;
}

// Entry, answer and file-offer tails: "first<NUL>second..." or
// "first:second...". NULs count as ':'; extra gets the first piece and group
// the second, when there is one.
void readSeparatedTail(const char* tail, int length, IpMessage* packet)
{
    int kept = characterBoundaryLength(tail, length, MAX_FIELD_LENGTH);
    int firstEnd = pieceEnd(tail, 0, kept);
    packet->extra = CString(tail, firstEnd);
    if (firstEnd < kept) {
        int secondStart = firstEnd + 1;
        packet->group = CString(tail + secondStart, pieceEnd(tail, secondStart, kept) - secondStart);
    }
}

// The piece of an entry's tail that says in which encoding its names are:
// "nickname<NUL>group<NUL>icon<NUL>utf-8<NUL>" from clients that write them in
// UTF-8. NUL and ':' are never part of a longer character in UTF-8 or GBK, so
// the pieces are cut at those bytes whatever the encoding.
const int ENCODING_PIECE = 3;
const char UTF8_MARK[] = "utf-8";

struct Piece {
    const char* bytes;
    int length;
};

bool isSeparator(char c)
{
    return c == ':' || c == '\0';
}

// The first `count` pieces of the tail cut at every ':' and NUL byte; missing
// ones are empty.
void cutPieces(const char* tail, int length, Piece* pieces, int count)
{
    int start = 0;
    for (int k = 0; k < count; ++k) {
        int end = start;
        while (end < length && !isSeparator(tail[end]))
            ++end;
        pieces[k].bytes = tail + (start < length ? start : length);
        pieces[k].length = end > start ? end - start : 0;
        start = end + 1;
    }
}

bool sameTextIgnoringCase(const Piece& piece, const char* text)
{
    int length = (int)strlen(text);
    if (piece.length != length)
        return false;
    for (int i = 0; i < length; ++i) {
        char c = piece.bytes[i];
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        if (c != text[i])
            return false;
    }
    return true;
}

// An entry or an answer to one: the datagrams that carry a peer's names.
bool announcesPeer(int command)
{
    int mode = command & 0xFF;
    return mode == IPMSG_BR_ENTRY || mode == IPMSG_ANSENTRY;
}

// Nickname and group of an entry or answer whose names are marked as UTF-8
// and are well-formed UTF-8, in the ANSI code page; false for anything else,
// which is read as GBK.
bool readUtf8Names(const char* tail, int length, IpMessage* packet)
{
    length = length < MAX_FIELD_LENGTH ? length : MAX_FIELD_LENGTH;
    Piece pieces[ENCODING_PIECE + 1];
    cutPieces(tail, length, pieces, ENCODING_PIECE + 1);
    const Piece& nickname = pieces[0];
    const Piece& group = pieces[1];
    if (!sameTextIgnoringCase(pieces[ENCODING_PIECE], UTF8_MARK) ||
        !isWellFormedUtf8(nickname.bytes, nickname.length) || !isWellFormedUtf8(group.bytes, group.length)) {
        return false;
    }
    packet->extra = utf8ToAnsi(nickname.bytes, nickname.length);
    packet->group = utf8ToAnsi(group.bytes, group.length);
    return true;
}

}  // namespace

IpMessageParser::IpMessageParser()
{
}

IpMessageParser::~IpMessageParser()
{
}

IpMessage* IpMessageParser::parse(CString text)
{
    IpMessage* message = new IpMessage;
    // The header's fields end at every ':' byte: a field written in another
    // encoding (UTF-8 names) may end on a byte that GBK would take for a lead
    // byte. The text after the header keeps the text rule of whole characters.
    const char* bytes = text;
    int length = text.GetLength();
    int fieldStart = 0;
    int index = 0;
    for (int i = 0; i < length && index < HEADER_FIELD_COUNT; ++i) {
        if (bytes[i] == ':') {
            setHeaderField(message, index++, CString(bytes + fieldStart, i - fieldStart));
            fieldStart = i + 1;
        }
    }
    if (index < HEADER_FIELD_COUNT) {
        setHeaderField(message, index, text.Mid(fieldStart));
        return message;
    }
    // Only the first piece after the header counts: no need to cut the rest.
    CString rest = text.Mid(fieldStart);
    int end = rest.Find(':');
    message->extra = end < 0 ? rest : rest.Left(end);
    return message;
}

int IpMessageParser::parseRawPacket(const char* data, int length, int mode, IpMessage* packet)
{
    if (data == NULL || length < 0) {
        length = 0;
    }
    int fieldStart = 0;
    int fieldIndex = 0;
    int position = 0;
    while (position < length && fieldIndex < HEADER_FIELD_COUNT) {
        if (data[position] == ':') {
            setHeaderField(packet, fieldIndex, boundedText(data + fieldStart, position - fieldStart));
            ++fieldIndex;
            fieldStart = position + 1;
        }
        ++position;
    }
    if (fieldIndex < HEADER_FIELD_COUNT) {
        packet->extra.Empty();
        return 1;
    }

    const char* tail = data + position;
    int tailLength = length - position;
    if (mode == READ_CHAT_TEXT) {
        // Other clients end the text with NUL bytes (and may put more after
        // them); only the text before the first NUL is the message.
        packet->extra = boundedText(tail, tailLength);
    } else if (!(announcesPeer(packet->command) && readUtf8Names(tail, tailLength, packet))) {
        readSeparatedTail(tail, tailLength, packet);
    }
    return 1;
}

// Readers of the three file-transfer texts: the attachment entries of a file
// offer, the file request a downloader sends, and the headers of a folder
// stream. They never reject input: a text of the wrong form still fills every
// out-parameter, and no byte outside the given range is ever read.

namespace {

const char FIELD_SEPARATOR = ':';
const char ENTRY_SEPARATOR = '\x07';

// Walks the ':'-separated fields of the bytes [begin, end).
class FieldReader {
public:
    FieldReader(const char* begin, const char* end)
        : m_pos(begin),
          m_end(end),
          m_terminated(false)
    {
    }

    // Steps over one ':' when the text starts with it.
    void skipSeparator()
    {
        if (m_pos < m_end && *m_pos == FIELD_SEPARATOR)
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
            if (*m_pos != FIELD_SEPARATOR) {
                ++m_pos;
                continue;
            }
            if (pairsStayInside && m_pos + 1 < m_end && m_pos[1] == FIELD_SEPARATOR) {
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
        bool separator = *p == ENTRY_SEPARATOR;
        if (!separator && p + 1 < end)
            continue;
        const char* entryEnd = separator ? p : end;
        int entryLength = (int)(textEnd(entryStart, (int)(entryEnd - entryStart)) - entryStart);
        entries->Add(CString(entryStart, entryLength));
        entryStart = p + 1;
    }
}

void IpMessageParser::parseAttachEntry(CString entry, CString* fileId, CString* name, CString* size, CString* mtime,
                                       CString* attr)
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

void IpMessageParser::parseFileRequest(const char* data, int length, CString* version, CString* packetNo, CString* user,
                                       CString* host, CString* command, CString* packetId, CString* fileId,
                                       CString* offset)
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
