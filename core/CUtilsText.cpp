// The text operations of CUtils: no platform calls, so they also build
// natively (the readers of received bytes use them).

#include "core/CUtils.h"

#include "classlib/Mbcs.h"

#include <cstring>

namespace {

// True when the count bytes at `at` are whole characters of the text.
bool wholeCharacters(const char* text, int at, int count, int length)
{
    int end = at + count;
    while (at < end) {
        at += mbcsCharLength(text, at, length);
    }
    return at == end;
}

// The one splitting rule behind splitToList and splitToArray: cut at every
// delimiter made of whole characters of the text, as CString::Find matches.
// One walk over the text: searching with Find from each piece's start walks
// from the text's start every time, which is quadratic in received texts.
template <class AddPiece> void splitText(const CString& text, const CString& delimiter, AddPiece addPiece)
{
    const char* bytes = text;
    int length = text.GetLength();
    int delimiterLength = delimiter.GetLength();
    int start = 0;
    int i = 0;
    while (delimiterLength > 0 && i + delimiterLength <= length) {
        if (bytes[i] == delimiter[0] && memcmp(bytes + i, (const char*)delimiter, delimiterLength) == 0 &&
            wholeCharacters(bytes, i, delimiterLength, length)) {
            addPiece(text.Mid(start, i - start));
            start = i = i + delimiterLength;
        } else {
            i += mbcsCharLength(bytes, i, length);
        }
    }
    addPiece(text.Mid(start));
}

}  // namespace

CUtils::CUtils()
    : appName("VU Raruvada"),
      udpPort(2425)
{
}

CUtils::~CUtils()
{
}

CString CUtils::padWithZeros(CString text, int width)
{
    int missing = width - text.GetLength();
    if (missing <= 0) {
        return text;
    }
    return CString('0', missing) + text;
}

CStringList* CUtils::splitToList(CString text, CString delimiter)
{
    CStringList* pieces = new CStringList;
    splitText(text, delimiter, [pieces](const CString& piece) { pieces->AddTail(piece); });
    return pieces;
}

void CUtils::splitToArray(CString text, CString delimiter, CStringArray* pieces)
{
    splitText(text, delimiter, [pieces](const CString& piece) { pieces->Add(piece); });
}

void CUtils::getParamValue(CString* value, const char* data, int length, CString key)
{
    value->Empty();
    if (data == NULL || length <= 0) {
        return;
    }
    const char* nul = (const char*)memchr(data, '\0', length);
    CString text(data, nul != NULL ? (int)(nul - data) : length);

    CStringArray pairs;
    splitToArray(text, "&", &pairs);
    for (INT_PTR i = 0; i < pairs.GetSize(); ++i) {
        CStringArray parts;
        splitToArray(pairs[i], "=", &parts);
        if (parts.GetSize() == 2 && parts[0] == key) {
            *value = parts[1];
            return;
        }
    }
}
