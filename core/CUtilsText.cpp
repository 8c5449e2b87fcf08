// The text operations of CUtils: no platform calls, so they also build
// natively (the readers of received bytes use them).

#include "core/CUtils.h"

#include <cstring>

namespace {

// The one splitting rule behind splitToList and splitToArray.
template <class AddPiece>
void splitText(const CString& text, const CString& delimiter, AddPiece addPiece)
{
    int delimiterLength = delimiter.GetLength();
    int start = 0;
    if (delimiterLength > 0) {
        int found;
        while ((found = text.Find((const char*)delimiter, start)) >= 0) {
            addPiece(text.Mid(start, found - start));
            start = found + delimiterLength;
        }
    }
    addPiece(text.Mid(start));
}

}  // namespace

CUtils::CUtils()
    : appName("VU Raruvada"), udpPort(2425)
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
