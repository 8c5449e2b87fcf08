#pragma once

#include "classlib/CString.h"
#include "classlib/CStringArray.h"

// The share entries of one share-list reply, as read from the datagram, and
// the list text that our own reply carries. A share entry is four fields
// "firstId:secondId:name:size"; entries are joined by ';' in the reply's
// "MESSAGE" value.
class ShareListReply {
public:
    ShareListReply();

    // Reads the "MESSAGE" value of a reply datagram (the first length bytes of
    // data): every piece between ';', trimmed; blank pieces are skipped, and a
    // piece that is not four ':'-separated fields is only counted.
    void read(const char* data, int length);

    CStringArray entries;  // the trimmed entries, in the sender's order
    CStringArray names;  // the folder name (third field) of each entry
    int malformedPieces;  // pieces that were not four fields
    CString userName;  // the sender's nickname, empty when unknown
    CString ip;  // the sender

    // Whether data (length bytes) is a share command "ZQMSG=ZQMSG&..." whose
    // "COMMAND" value is exactly command.
    static bool hasCommand(const char* data, int length, const char* command);

    // The reply text's limit: a receiver reads one datagram of this size.
    static constexpr int MAX_REPLY_BYTES = 2048;

    // The "MESSAGE" value for entries, in order: every entry that still fits
    // into one reply of MAX_REPLY_BYTES; one that would not fit is left out.
    static CString joinWithinOneDatagram(const CStringArray& entries);
    // Whether a folder of this name can travel in an entry: the name holds
    // none of the reply's separators ';', '&', '=' or ':'.
    static bool isShareableName(const CString& name);
};
