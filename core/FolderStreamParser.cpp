#include "core/FolderStreamParser.h"

#include "classlib/Mbcs.h"
#include "core/IpMessageParser.h"
#include "core/NumberField.h"
#include "core/SafeNames.h"

#include <cstdlib>
#include <cstring>

namespace {

const int MAX_LENGTH_DIGITS = 8;
const int TYPE_REGULAR = 1;
const int TYPE_FOLDER = 2;
const int TYPE_RETURN_TO_PARENT = 3;
const int TYPE_OTHER_CLIENTS_FILE = 9001;

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// How many leading bytes of the first block are the "0<" prefix.
int leadingPrefix(const char* data, int length)
{
    if (length <= 3 || data[0] != '0' || data[1] != '<')
        return 0;
    for (int k = 3; k < length; ++k) {
        if (data[k] != '\0')
            return k;
    }
    return 0;
}

}  // namespace

FolderStreamParser::Sink::~Sink()
{
}

FolderStreamParser::FolderStreamParser(Sink& sink, const CString& offeredName, int pathRoom)
    : m_sink(sink),
      m_state(READING_HEADER),
      m_firstBlock(true),
      m_failed(false),
      m_headerCount(0),
      m_declaredLength(-1),
      m_fileRest(0),
      m_fileOpen(false),
      m_offeredName(offeredName),
      m_pathRoom(pathRoom),
      m_ended(false),
      m_pathUnits(0)
{
    std::memset(m_header, 0, sizeof m_header);
}

void FolderStreamParser::feed(const char* data, int length)
{
    if (length <= 0)
        return;
    if (m_firstBlock) {
        m_firstBlock = false;
        int prefix = leadingPrefix(data, length);
        data += prefix;
        length -= prefix;
    }
    int p = 0;
    while (p < length && m_state != BROKEN) {
        if (m_ended)
            breakOff();  // nothing belongs after the offered folder
        else if (m_state == READING_HEADER)
            p += takeHeaderBytes(data + p, length - p);
        else
            p += takeFileBytes(data + p, length - p);
    }
}

bool FolderStreamParser::finish()
{
    bool betweenEntries = m_state == READING_HEADER && m_headerCount == 0;
    if (m_fileOpen) {
        m_sink.closeFile();
        m_fileOpen = false;
    }
    return betweenEntries && !failed();
}

int FolderStreamParser::takeHeaderBytes(const char* data, int length)
{
    int p = 0;
    while (p < length) {
        char c = data[p++];
        m_header[m_headerCount++] = c;
        if (m_declaredLength < 0) {
            if (c == ':') {
                if (!readLengthField())
                    return p;
            } else if (m_headerCount > MAX_LENGTH_DIGITS) {
                breakOff();
                return p;
            }
        } else if (m_headerCount == m_declaredLength) {
            headerComplete();
            return p;
        }
    }
    return p;
}

// The header so far is the length field and its ':'.
bool FolderStreamParser::readLengthField()
{
    int digits = m_headerCount - 1;
    bool valid = digits > 0;
    for (int i = 0; i < digits && valid; ++i)
        valid = isHexDigit(m_header[i]);
    if (valid) {
        m_header[digits] = '\0';
        long value = std::strtol(m_header, NULL, 16);
        m_header[digits] = ':';
        valid = value > m_headerCount && value <= HEADER_BUFFER_SIZE;
        m_declaredLength = (int)value;
    }
    if (!valid)
        breakOff();
    return valid;
}

void FolderStreamParser::headerComplete()
{
    m_header[m_headerCount] = '\0';
    CString name, sizeText, attrText;
    IpMessageParser parser;
    parser.parseDirHeader(m_header, m_headerCount, &name, &sizeText, &attrText);
    std::memset(m_header, 0, sizeof m_header);
    m_headerCount = 0;
    m_declaredLength = -1;

    int type = parseNumberField(attrText, 10);
    bool atTop = m_levelUnits.empty();
    if ((type & 0xFF) == TYPE_FOLDER) {
        // The first folder is the one the user accepted: it goes where the
        // user saw it go, under the offered name.
        enterFolder(atTop ? m_offeredName : name);
    } else if ((type & 0xFF) == TYPE_REGULAR || type == TYPE_OTHER_CLIENTS_FILE) {
        int units = 0;
        if (atTop || !isSafeName(name) || !fitsIn(name, &units)) {
            breakOff();
            return;
        }
        startFile(name, sizeText);
    } else if (type == TYPE_RETURN_TO_PARENT) {
        // Never above the offered folder.
        if (atTop) {
            breakOff();
            return;
        }
        leaveFolder();
    } else {
        m_sink.unknownType(attrText);
        breakOff();
    }
}

void FolderStreamParser::enterFolder(const CString& name)
{
    int units = 0;
    if (!isSafeName(name) || !fitsIn(name, &units) || !m_sink.enterFolder(name)) {
        breakOff();
        return;
    }
    m_levelUnits.push_back(units);
    m_pathUnits += units;
}

void FolderStreamParser::leaveFolder()
{
    m_pathUnits -= m_levelUnits.back();
    m_levelUnits.pop_back();
    m_sink.leaveFolder();
    m_ended = m_levelUnits.empty();
}

// Whether "\name" still fits below the current folder; units is its length.
bool FolderStreamParser::fitsIn(const CString& name, int* units) const
{
    const char* text = name;
    int length = name.GetLength();
    int count = 1;
    for (int i = 0; i < length; i += mbcsCharLength(text, i, length))
        ++count;
    *units = count;
    return count <= m_pathRoom - m_pathUnits;
}

void FolderStreamParser::startFile(const CString& name, const CString& sizeText)
{
    // The size field holds 32 bits; a value from 2^31 on comes back negative
    // and is read unsigned, so files up to 4 GiB - 1 keep their size.
    m_fileRest = announcedSize(sizeText);
    m_fileOpen = m_sink.createFile(name);
    if (!m_fileOpen)
        m_failed = true;
    m_state = m_fileOpen ? WRITING_FILE : SKIPPING_FILE;
    if (m_fileRest == 0)
        endFile();
}

int FolderStreamParser::takeFileBytes(const char* data, int length)
{
    int count = (ULONGLONG)length < m_fileRest ? length : (int)m_fileRest;
    if (m_state == WRITING_FILE) {
        if (!m_sink.write(data, count)) {
            // Disk full or similar: the rest of this file is skipped.
            m_sink.closeFile();
            m_fileOpen = false;
            m_failed = true;
            m_state = SKIPPING_FILE;
        }
    }
    m_fileRest -= (ULONGLONG)count;
    if (m_fileRest == 0)
        endFile();
    return count;
}

void FolderStreamParser::endFile()
{
    if (m_fileOpen) {
        m_sink.closeFile();
        m_fileOpen = false;
    }
    m_state = READING_HEADER;
}

void FolderStreamParser::breakOff()
{
    m_state = BROKEN;
}
