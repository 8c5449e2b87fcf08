#include "core/ShareListReply.h"

#include "core/CUtils.h"

#include <cstring>
#include <memory>

namespace {

// What a reply carries in front of its list.
const int REPLY_HEAD_LENGTH = sizeof "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE=" - 1;
const int ENTRY_FIELDS = 4;
const int NAME_FIELD = 2;

}  // namespace

ShareListReply::ShareListReply()
    : malformedPieces(0)
{
}

void ShareListReply::read(const char* data, int length)
{
    CString message;
    CUtils::getParamValue(&message, data, length, "MESSAGE");
    message.Trim();
    if (message.IsEmpty())
        return;
    std::unique_ptr<CStringList> pieces(CUtils::splitToList(message, ";"));
    POSITION position = pieces->GetHeadPosition();
    while (position != NULL) {
        CString piece = pieces->GetNext(position);
        piece.Trim();
        if (piece.IsEmpty())
            continue;
        CStringArray fields;
        CUtils::splitToArray(piece, ":", &fields);
        if (fields.GetSize() != ENTRY_FIELDS) {
            ++malformedPieces;
            continue;
        }
        entries.Add(piece);
        names.Add(fields[NAME_FIELD]);
    }
}

CString ShareListReply::joinWithinOneDatagram(const CStringArray& entries)
{
    int room = MAX_REPLY_BYTES - REPLY_HEAD_LENGTH;
    CString list;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        int needed = entries[i].GetLength() + (list.IsEmpty() ? 0 : 1);
        if (list.GetLength() + needed > room)
            continue;  // a shorter entry after it may still fit
        if (!list.IsEmpty())
            list += ";";
        list += entries[i];
    }
    return list;
}

bool ShareListReply::isShareableName(const CString& name)
{
    return name.FindOneOf(";&=:") < 0;
}

bool ShareListReply::hasCommand(const char* data, int length, const char* command)
{
    static const char MARKER[] = "ZQMSG=ZQMSG";
    const int MARKER_LENGTH = sizeof MARKER - 1;
    if (length <= 10 || memcmp(data, MARKER, MARKER_LENGTH) != 0)
        return false;
    CString value;
    CUtils::getParamValue(&value, data, length, "COMMAND");
    return value == command;
}
