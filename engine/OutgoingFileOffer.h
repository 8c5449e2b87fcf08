#pragma once

#include "classlib/CString.h"
#include "classlib/CStringArray.h"

// The offering side of a file transfer, outgoing: the offer datagram. An
// offer that arrives is taken by IpMessageProcessor (IpMessageProcessorIncomingOffer.cpp).

// Offers the files and folders of paths to every address of ipList (joined
// by ","; blank pieces skipped) in one file-offer datagram carrying text, and
// records each offered item in shareIdMap before the datagram leaves, so that
// peers can ask for it from then on. Paths that no longer exist are left
// out, and so are the items from the first one that no longer fits the
// datagram on. Returns 0.
int sendFileAttachMessage(CString ipList, CString text, CStringArray* paths);
