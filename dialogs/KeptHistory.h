#pragma once

#include "classlib/CString.h"

#include <deque>

// The part of a chat window's history that the window keeps: its newest
// entries, at most HISTORY_BYTES_KEPT bytes of them (and always the newest
// entry), under a notice, given once, that older lines were left out.
//
// It remembers how many bytes of the history text and how many characters of
// the history control each appended piece took, so that the oldest entries
// leave both without the control's text being read or written again.
class KeptHistory {
public:
    // A peer can send texts for as long as it likes, and the rich edit spends
    // about 130 bytes of memory on each byte of text it shows (its layout of
    // each character; measured with Chinese and Latin text): the window keeps
    // the last 512 KiB of text, about 70 MB in the control, 500 texts of the
    // longest kind or thousands of lines of a usual chat.
    static const int HISTORY_BYTES_KEPT = 512 * 1024;
    // The bound in force: HISTORY_BYTES_KEPT; tests make it smaller.
    static int bytesKept;

    // The first line of a history whose oldest entries were dropped.
    static const char OLDER_LEFT_OUT[];

    // What the control must do to follow a trim: its characters
    // [first, first + count) give way to `replacement`.
    struct Cut {
        long first;
        long count;
        CString replacement;
    };

    KeptHistory();

    // A piece of `bytes` bytes was appended to the history text and took
    // `chars` characters in the control.
    void appended(int bytes, long chars);

    // Before an append: the history text holds `historyBytes` bytes and the
    // control `shownChars` characters. When they are not what was appended
    // (the user's edits were taken in, or the text was set as a whole), all of
    // it is taken as one piece, dropped as one.
    void follow(int historyBytes, long shownChars);

    // Drops the oldest whole pieces from `history` while it holds more than
    // bytesKept bytes and more than one piece; the first drop puts
    // the notice in their place. False when nothing was dropped; else *cut
    // says what the control must do, and noticeTook is told the characters
    // that the notice took there.
    bool trim(CString& history, Cut* cut);
    void noticeTook(long chars);

private:
    struct Piece {
        int bytes;
        long chars;
    };

    void forget();

    std::deque<Piece> pieces;  // after the notice, oldest first
    int bytesHeld;  // of pieces and notice
    long charsHeld;
    bool noticeShown;
    long noticeChars;
};
