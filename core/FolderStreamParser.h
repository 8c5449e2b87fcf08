#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

#include <vector>

// Reads a folder stream as it arrives, block by block: headers (a four-digit
// hex length of the whole header, ':', name, size, attr and time fields) and
// after each file header exactly as many bytes of content as it announces.
// A header or a file's content may be cut anywhere between blocks; the state
// lives on from one block to the next.
//
// Everything a peer sends is hostile, so the parser refuses what it cannot
// follow safely, and then reads nothing more (broken() turns true):
//   - a length field that is not 1 to 8 hex digits, over 2048 bytes (the
//     header buffer), or not longer than itself;
//   - a folder or file name that isSafeName refuses (a path, "..", a device
//     name, ...): the item is refused rather than renamed, since a changed
//     name would no longer be what the sender offered;
//   - anything outside the offered folder: the stream must begin with a
//     folder header, which stands for the folder the user accepted and is
//     written under the offered name whatever name the header gives (the
//     place is the user's choice, not the stream's); a file before it, a
//     return-to-parent past it, and any byte after its own return-to-parent
//     (a second folder or a file at the top) break the stream;
//   - a path longer than the room it is given (in UTF-16 units, as the file
//     system counts them: every character of code page 936 is one unit);
//   - an entry type it does not know (other than folder, file, 9001 which
//     other clients send for a file, and return-to-parent): reported once
//     through the sink.
// A file that cannot be created or written is skipped by its announced size,
// so the next header is read where it is; the stream then counts as failed.
// A folder the sink cannot enter breaks the stream.
//
// The parser tells the sink one level at a time (enter a folder, leave it,
// create a file in the current one) and keeps only the length of each level,
// so the cost of a header does not grow with the depth of the tree.
class FolderStreamParser {
public:
    class Sink {
    public:
        virtual ~Sink();
        // Makes the folder name inside the current one, or takes the one that
        // exists, and makes it the current folder; false when it cannot (the
        // stream then breaks off).
        virtual bool enterFolder(const CString& name) = 0;
        // The current folder's parent becomes the current folder again.
        virtual void leaveFolder() = 0;
        // Creates (or empties) the file name in the current folder and opens
        // it; false when it cannot.
        virtual bool createFile(const CString& name) = 0;
        // Appends to the open file; false when not all bytes were written.
        virtual bool write(const char* data, int length) = 0;
        virtual void closeFile() = 0;
        // An entry of a type the parser does not know; the stream ends here.
        virtual void unknownType(const CString& attr) = 0;
    };

    static const int HEADER_BUFFER_SIZE = 2048;

    // offeredName: the folder the user accepted, the top of everything the
    // stream makes. pathRoom: how many UTF-16 units a path below the chosen
    // folder may have, the '\' before the offered name included.
    FolderStreamParser(Sink& sink, const CString& offeredName, int pathRoom);

    // The next block of the stream. The first block may begin with "0<", a
    // byte and NUL bytes, which other clients put before the stream: they
    // are dropped.
    void feed(const char* data, int length);
    // The connection has ended: an open file is closed. True when the stream
    // ended between two entries and nothing failed.
    bool finish();

    // Nothing more will be read from the stream: it cannot be followed.
    bool broken() const { return m_state == BROKEN; }
    // Something of the stream was not received: a refused or unknown entry,
    // or a file that could not be written.
    bool failed() const { return m_failed || m_state == BROKEN; }

private:
    enum State { READING_HEADER, WRITING_FILE, SKIPPING_FILE, BROKEN };

    int takeHeaderBytes(const char* data, int length);
    bool readLengthField();
    void headerComplete();
    void enterFolder(const CString& name);
    void leaveFolder();
    bool fitsIn(const CString& name, int* units) const;
    void startFile(const CString& name, const CString& sizeText);
    int takeFileBytes(const char* data, int length);
    void endFile();
    void breakOff();

    Sink& m_sink;
    State m_state;
    bool m_firstBlock;
    bool m_failed;
    char m_header[HEADER_BUFFER_SIZE + 1];
    int m_headerCount;
    int m_declaredLength;  // -1 until the length field has been read
    ULONGLONG m_fileRest;  // content bytes of the current file still to come
    bool m_fileOpen;
    CString m_offeredName;
    int m_pathRoom;
    bool m_ended;  // the offered folder's own return-to-parent has come
    int m_pathUnits;  // length of the current folder's path below the chosen one
    std::vector<int> m_levelUnits;  // the part of m_pathUnits each open level adds
};
