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
//   - an entry type it does not know (other than folder, file, 9001 which
//     other clients send for a file, and return-to-parent): reported once
//     through the sink.
// A return-to-parent at the top stays in the chosen folder. A file that
// cannot be created or written is skipped by its announced size, so the next
// header is read where it is; the stream then counts as failed.
//
// The parser names places by paths relative to the chosen folder, levels
// joined by '\'; the sink turns them into real files.
class FolderStreamParser {
public:
    class Sink {
    public:
        virtual ~Sink();
        // The folder may exist already.
        virtual void makeFolder(const CString& path) = 0;
        // Creates (or empties) the file and opens it; false when it cannot.
        virtual bool createFile(const CString& path) = 0;
        // Appends to the open file; false when not all bytes were written.
        virtual bool write(const char* data, int length) = 0;
        virtual void closeFile() = 0;
        // An entry of a type the parser does not know; the stream ends here.
        virtual void unknownType(const CString& attr) = 0;
    };

    static const int HEADER_BUFFER_SIZE = 2048;

    explicit FolderStreamParser(Sink& sink);

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
    void startFile(const CString& name, const CString& sizeText);
    int takeFileBytes(const char* data, int length);
    void endFile();
    void breakOff();
    CString pathOf(const CString& name) const;

    Sink& m_sink;
    State m_state;
    bool m_firstBlock;
    bool m_failed;
    char m_header[HEADER_BUFFER_SIZE + 1];
    int m_headerCount;
    int m_declaredLength;  // -1 until the length field has been read
    ULONGLONG m_fileRest;  // content bytes of the current file still to come
    bool m_fileOpen;
    CString m_folder;  // the current folder below the chosen one
    std::vector<int> m_levelStarts;  // m_folder's length before each of its levels
};
