#include "core/IpMessageParser.h"

#include "classlib/Mbcs.h"
#include "core/CUtils.h"
#include "core/IpMessage.h"
#include "core/NumberField.h"
#include "core/TextCut.h"

#include <cstring>
#include <memory>

namespace {

// Every header field and the tail are held in areas of this size, NUL included.
const int FIELD_AREA_SIZE = 1024;
const int MAX_FIELD_LENGTH = FIELD_AREA_SIZE - 1;

const int HEADER_FIELD_COUNT = 5;   // version, packet number, user, host, command

const int MODE_CHAT_TEXT = 1;

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
    case 0: packet->version = value; break;
    case 1: packet->packetNo = value; break;
    case 2: packet->user = value; break;
    case 3: packet->host = value; break;
    default: packet->command = parseNumberField(value, 10); break;
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
    std::unique_ptr<CStringList> pieces(CUtils::splitToList(text.Mid(fieldStart), ":"));
    message->extra = pieces->GetHead();
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
    if (mode == MODE_CHAT_TEXT) {
        // Other clients end the text with NUL bytes (and may put more after
        // them); only the text before the first NUL is the message.
        packet->extra = boundedText(tail, tailLength);
    } else {
        readSeparatedTail(tail, tailLength, packet);
    }
    return 1;
}
