#pragma once

#include "classlib/CString.h"
#include "classlib/CStringArray.h"

class IpMessage;

// Readers of received datagrams and of the file-transfer texts. Holds no
// state; any thread may use its own instance.
class IpMessageParser {
public:
    // How parseRawPacket reads what follows the header.
    static const int READ_CHAT_TEXT = 1;
    static const int READ_ENTRY = 2;
    static const int READ_ANSWER_OR_OFFER = 4;

    IpMessageParser();
    virtual ~IpMessageParser();

    // Reads the text up to its first NUL: the five header fields, each ended
    // by a ':' byte whatever comes before it, and the extra text up to its
    // next ':' character; pieces after the sixth are ignored. Returns a new message owned by the
    // caller; missing fields stay empty (command 0).
    IpMessage* parse(CString text);

    // Fills packet from the raw datagram bytes (NULs included); returns 1.
    //   READ_CHAT_TEXT: extra = the text after the fifth ':' up to its
    //          first NUL, ':' inside it kept.
    //   READ_ENTRY, READ_ANSWER_OR_OFFER: NULs count as ':'; extra is
    //          the first piece after the fifth ':' and group the second,
    //          when there is a second. An entry or an answer to one (by its
    //          command word) whose fourth piece is "utf-8" and whose nickname and group are
    //          well-formed UTF-8 has them turned into the ANSI code page.
    // Each header field and the extra keep at most 1023 bytes, never ending
    // inside a double-byte character.
    int parseRawPacket(const char* data, int length, int mode, IpMessage* packet);

    // File-transfer readers. None reads past
    // the length bytes it is given, and each fills every out-parameter;
    // hexadecimal fields come back as the "%d" text of their 32-bit value,
    // and a name keeps a doubled ':' inside it.
    //   splitAttachments: the entries after the first NUL, cut at each BEL,
    //          appended to entries (empty ones included).
    //   parseAttachEntry: an entry's fields; one ':' before the file id (as
    //          other clients write after each BEL) is skipped.
    //   parseFileRequest: the request text up to its first NUL.
    //   parseDirHeader: one complete header of length bytes (the count of
    //          bytes collected, i.e. the header's own length field), read up
    //          to its first NUL.
    void splitAttachments(const char* data, int length, CStringArray* entries);
    void parseAttachEntry(CString entry, CString* fileId, CString* name, CString* size, CString* mtime, CString* attr);
    void parseFileRequest(const char* data, int length, CString* version, CString* packetNo, CString* user,
                          CString* host, CString* command, CString* packetId, CString* fileId, CString* offset);
    void parseDirHeader(const char* header, int length, CString* name, CString* size, CString* attr);
};
