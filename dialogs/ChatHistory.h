#pragma once

#include "classlib/CString.h"

// One entry of a chat window's history: the sender's name, " ", the time as
// hh:mm:ss, the full-width colon "：", "\r\n" and the text.
CString historyEntry(const CString& sender, const CString& time, const CString& text);

// Appends an entry; a history that is not empty gets "\r\n" before it.
void appendHistoryEntry(CString& history, const CString& entry);

// The entry of a text sent or received now.
CString historyEntryNow(const CString& sender, const CString& text);

// The name our own texts carry in the history: userName, or the Windows
// login name while userName is empty.
CString ownSenderName();
