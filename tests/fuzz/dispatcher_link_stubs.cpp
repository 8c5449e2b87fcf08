// MessageDispatcher::dispatch hands datagrams to the processors, which need
// the whole Windows engine. The fuzzer only calls the dispatcher's pure
// routing functions; these definitions let it link without that engine and
// stop the run should anything ever reach them.

#include "engine/IpMessageProcessor.h"
#include "engine/ShareCommandProcessor.h"

#include <cstdlib>

IpMessageProcessor::~IpMessageProcessor()
{
}

int IpMessageProcessor::process(const char*, int, CString, CString)
{
    std::abort();
}

int ShareCommandProcessor::handleShareCommand(const char*, int, CString, CString)
{
    std::abort();
}
