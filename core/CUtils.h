#pragma once

#include "classlib/CString.h"
#include "classlib/CStringArray.h"
#include "classlib/CStringList.h"

// Small helpers used everywhere: names, folders, time and text splitting.
// Every static operation is reentrant. An object only carries two constants.
class CUtils {
public:
    CUtils();
    virtual ~CUtils();

    CString appName;  // "VU Raruvada": the tray icon's tooltip
    int udpPort;  // 2425

    // The host name as the sockets layer reports it (the sockets layer must
    // be started); empty when it cannot be read.
    static CString getHostName();
    // The logged-on Windows user; empty when it cannot be read.
    static CString getLoginUserName();
    // The Windows system directory, no trailing '\'.
    static CString getSystemDirectory();
    // The folder of the running program file, no trailing '\'.
    static CString getExeDirectory();
    // The local time formatted by strftime rules; empty when longer than 127 bytes.
    static CString getCurrentTime(CString format);
    // text with '0' put in front up to width bytes; longer texts unchanged.
    static CString padWithZeros(CString text, int width);

    // Cut text at every delimiter. Empty pieces stay, and the piece after the
    // last delimiter is always there: "a::b" -> a, "", b; "" -> one empty piece.
    static CStringList* splitToList(CString text, CString delimiter);  // caller deletes
    static void splitToArray(CString text, CString delimiter, CStringArray* pieces);

    // In "k1=v1&k2=v2" (the first length bytes of data, ending early at a
    // NUL) the value of the first piece that is exactly key '=' value;
    // empty when there is none.
    static void getParamValue(CString* value, const char* data, int length, CString key);

    // Share-folder commands: the broadcast request and the unicast reply,
    // sent from the UDP socket through the UDP sender; both return 1.
    static int requestShareLists();
    static int sendShareListReply(CString ip, CString list);
};
