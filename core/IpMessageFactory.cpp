#include "core/IpMessageFactory.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/IpmsgProtocol.h"

namespace {

IpMessage* createMessage(int command, const CString& extra)
{
    IpMessage* message = new IpMessage;
    message->version = "1-1-ZQ";
    // The number is taken before anything else is filled in.
    message->packetNo.Format("%d", nextPacketNo());
    message->user = CUtils::getLoginUserName();
    message->host = CUtils::getHostName();
    message->command = command;
    message->extra = extra;
    return message;
}

// The sender turns the last ';' of an entry into the NUL between nickname
// and group, so a ';' of the user's own would move that cut: each one goes
// out as the full-width "；" instead.
CString withoutSemicolons(CString text)
{
    text.Replace(";", "；");
    return text;
}

// Entry and answer-to-entry carry "nickname;group" (the sender turns the ';'
// into a NUL), or whichever of the two is set, or else the login name. The
// settings globals are trimmed in place.
CString entryExtra()
{
    CString nickname;
    CString group;
    {
        SharedStateLock lock;
        userName.Trim();
        userGroupName.Trim();
        nickname = withoutSemicolons(userName);
        group = withoutSemicolons(userGroupName);
    }
    if (!nickname.IsEmpty() && !group.IsEmpty()) {
        return nickname + ";" + group;
    }
    if (!nickname.IsEmpty()) {
        return nickname;
    }
    if (!group.IsEmpty()) {
        return group;
    }
    return withoutSemicolons(CUtils::getLoginUserName());
}

}  // namespace

IpMessageFactory::IpMessageFactory()
{
}

IpMessageFactory::~IpMessageFactory()
{
}

IpMessage* IpMessageFactory::createBrEntryMessage()
{
    IpMessage* message = createMessage(IPMSG_BR_ENTRY, CString());
    message->extra = entryExtra();
    return message;
}

IpMessage* IpMessageFactory::createAnsEntryMessage()
{
    IpMessage* message = createMessage(IPMSG_ANSENTRY, CString());
    message->extra = entryExtra();
    return message;
}

IpMessage* IpMessageFactory::createBrExitMessage()
{
    return createMessage(IPMSG_BR_EXIT, CUtils::getLoginUserName());
}

IpMessage* IpMessageFactory::createSendMessage(CString text)
{
    return createMessage(IPMSG_SENDMSG, text);
}

IpMessage* IpMessageFactory::createRecvMessage(CString packetNo)
{
    return createMessage(IPMSG_RECVMSG, packetNo);
}
