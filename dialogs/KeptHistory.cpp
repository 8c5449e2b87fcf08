#include "dialogs/KeptHistory.h"

#include <cstring>

const char KeptHistory::OLDER_LEFT_OUT[] = "（更早的消息已不再显示）";
int KeptHistory::bytesKept = KeptHistory::HISTORY_BYTES_KEPT;

KeptHistory::KeptHistory()
{
    forget();
}

void KeptHistory::forget()
{
    pieces.clear();
    bytesHeld = 0;
    charsHeld = 0;
    noticeShown = false;
    noticeChars = 0;
}

void KeptHistory::appended(int bytes, long chars)
{
    Piece piece = {bytes, chars};
    pieces.push_back(piece);
    bytesHeld += bytes;
    charsHeld += chars;
}

void KeptHistory::follow(int historyBytes, long shownChars)
{
    if (historyBytes == bytesHeld && shownChars == charsHeld) {
        return;
    }
    forget();
    if (historyBytes > 0 || shownChars > 0) {
        appended(historyBytes, shownChars);
    }
}

bool KeptHistory::trim(CString& history, Cut* cut)
{
    const int noticeBytes = (int)strlen(OLDER_LEFT_OUT);
    int droppedBytes = 0;
    long droppedChars = 0;
    // The history without its oldest pieces: what is left of it, and the
    // notice that the first drop adds.
    while (pieces.size() > 1 && history.GetLength() - droppedBytes + (noticeShown ? 0 : noticeBytes) > bytesKept) {
        droppedBytes += pieces.front().bytes;
        droppedChars += pieces.front().chars;
        pieces.pop_front();
    }
    if (droppedBytes == 0) {
        return false;
    }
    bytesHeld -= droppedBytes;
    charsHeld -= droppedChars;
    // The piece after the dropped ones begins with the line break that
    // separates it from what is before it, now the notice.
    if (noticeShown) {
        cut->first = noticeChars;
        cut->replacement.Empty();
        history.Delete(noticeBytes, droppedBytes);
    } else {
        cut->first = 0;
        cut->replacement = OLDER_LEFT_OUT;
        history = OLDER_LEFT_OUT + history.Mid(droppedBytes);
        noticeShown = true;
        noticeChars = 0;
        bytesHeld += noticeBytes;
    }
    cut->count = droppedChars;
    return true;
}

void KeptHistory::noticeTook(long chars)
{
    charsHeld += chars - noticeChars;
    noticeChars = chars;
}
