#include "core/CUtils.h"

#include <cstring>
#include <ctime>

namespace {

const int HOST_NAME_BUFFER = 80;
const int USER_NAME_BUFFER = 80;
const int PATH_BUFFER = 260;
const int TIME_BUFFER = 128;

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

CString CUtils::getHostName()
{
    char name[HOST_NAME_BUFFER] = {0};
    if (gethostname(name, sizeof(name)) != 0) {
        return CString();
    }
    name[sizeof(name) - 1] = '\0';
    return CString(name);
}

CString CUtils::getLoginUserName()
{
    char name[USER_NAME_BUFFER] = {0};
    DWORD size = sizeof(name);
    if (!GetUserNameA(name, &size)) {
        return CString();
    }
    name[sizeof(name) - 1] = '\0';
    return CString(name);
}

CString CUtils::getSystemDirectory()
{
    char path[PATH_BUFFER] = {0};
    UINT length = GetSystemDirectoryA(path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) {
        return CString();
    }
    return CString(path, (int)length);
}

CString CUtils::getExeDirectory()
{
    char path[PATH_BUFFER] = {0};
    DWORD length = GetModuleFileNameA(NULL, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) {
        return CString();
    }
    CString fullPath(path, (int)length);
    int lastSlash = fullPath.ReverseFind('\\');
    if (lastSlash < 0) {
        return CString();
    }
    return fullPath.Left(lastSlash);
}

CString CUtils::getCurrentTime(CString format)
{
    time_t now = time(NULL);
    struct tm local;
    if (localtime_s(&local, &now) != 0) {
        return CString();
    }
    char text[TIME_BUFFER] = {0};
    size_t length = strftime(text, sizeof(text), format, &local);
    if (length == 0) {
        return CString();
    }
    return CString(text, (int)length);
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
