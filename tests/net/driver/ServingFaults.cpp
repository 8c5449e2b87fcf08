#include "tests/net/driver/ServingFaults.h"

#include "classlib/CStringList.h"
#include "core/CUtils.h"
#include "engine/MessageReceiverThread.h"
#include "tests/net/driver/DriverLog.h"

#include <cstdlib>
#include <deque>
#include <memory>

namespace {

// Only the accept thread reads it, after the start has filled it.
std::deque<int> pendingAcceptErrors;

SOCKET WSAAPI failingAccept(SOCKET s, sockaddr* address, int* length)
{
    if (pendingAcceptErrors.empty())
        return accept(s, address, length);
    int code = pendingAcceptErrors.front();
    pendingAcceptErrors.pop_front();
    LogLine("ACCEPT_ERROR").field("code", code).write();
    WSASetLastError(code);
    return INVALID_SOCKET;
}

}  // namespace

void applyServingFaults(const DriverOptions& options)
{
    if (!options.acceptErrors.IsEmpty()) {
        std::unique_ptr<CStringList> codes(CUtils::splitToList(options.acceptErrors, ","));
        for (POSITION p = codes->GetHeadPosition(); p != NULL;)
            pendingAcceptErrors.push_back(atoi(codes->GetNext(p)));
        MessageReceiverThread::acceptCall = failingAccept;
    }
    if (!options.serveTimeouts.IsEmpty()) {
        int comma = options.serveTimeouts.Find(',');
        MessageReceiverThread::requestTimeoutMs = (DWORD)atoi(options.serveTimeouts.Left(comma));
        MessageReceiverThread::sendTimeoutMs = (DWORD)atoi(options.serveTimeouts.Mid(comma + 1));
    }
}
