#include "classlib/CString.h"

#include "classlib/Mbcs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char WHITE_SPACE[] = " \t\r\n\v\f";

std::string fromC(const char* text)
{
    return text ? std::string(text) : std::string();
}

int byteCompare(const char* a, size_t aLength, const char* b, size_t bLength)
{
    int result = std::memcmp(a, b, std::min(aLength, bLength));
    if (result == 0)
        result = aLength < bLength ? -1 : (aLength > bLength ? 1 : 0);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

unsigned char foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

// The character walk over a byte range: yields each character's start and length.
struct CharWalk {
    const char* text;
    int length;
    int charLength(int i) const { return mbcsCharLength(text, i, length); }
    // True when the bytes [at, at + count) are a whole number of characters starting at `at`.
    bool endsAligned(int at, int count) const
    {
        int end = at + count;
        while (at < end)
            at += charLength(at);
        return at == end;
    }
};

// True when `set` (a C string of characters) holds the character text[at, at + count).
bool setHoldsChar(const char* set, int setLength, const char* ch, int count)
{
    CharWalk walk{set, setLength};
    for (int i = 0; i < setLength;) {
        int n = walk.charLength(i);
        if (n == count && std::memcmp(set + i, ch, count) == 0)
            return true;
        i += n;
    }
    return false;
}

}  // namespace

CString::CString()
{
}
CString::CString(const CString& other)
    : m_text(other.m_text)
{
}
CString::CString(const char* text)
    : m_text(fromC(text))
{
}
CString::CString(const char* bytes, int length)
{
    if (bytes && length > 0)
        m_text.assign(bytes, length);
}
CString::CString(char ch, int repeat)
    : m_text(repeat > 0 ? repeat : 0, ch)
{
}

CString& CString::operator=(const CString& other)
{
    m_text = other.m_text;
    return *this;
}
CString& CString::operator=(const char* text)
{
    m_text = fromC(text);
    return *this;
}
CString& CString::operator=(char ch)
{
    m_text.assign(1, ch);
    return *this;
}
CString& CString::operator+=(const CString& other)
{
    m_text += other.m_text;
    return *this;
}
CString& CString::operator+=(const char* text)
{
    if (text)
        m_text += text;
    return *this;
}
CString& CString::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}
CString operator+(const CString& a, const char* b)
{
    CString result(a);
    result += b;
    return result;
}
CString operator+(const char* a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}
CString operator+(const CString& a, char b)
{
    CString result(a);
    result += b;
    return result;
}
CString operator+(char a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

char CString::GetAt(int index) const
{
    return (index >= 0 && index < GetLength()) ? m_text[index] : '\0';
}

void CString::SetAt(int index, char ch)
{
    if (index >= 0 && index < GetLength())
        m_text[index] = ch;
}

int CString::Compare(const char* other) const
{
    const char* b = other ? other : "";
    return byteCompare(m_text.data(), m_text.size(), b, std::strlen(b));
}

int CString::CompareNoCase(const char* other) const
{
    const char* b = other ? other : "";
    size_t bLength = std::strlen(b);
    size_t common = std::min(m_text.size(), bLength);
    // While the bytes agree both texts are at the same character boundary, so
    // one flag tells whether the next byte is a trail byte (never folded).
    bool trail = false;
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(m_text[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (!trail) {
            x = foldAscii(x);
            y = foldAscii(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
        trail = !trail && isLeadByte(x);
    }
    return m_text.size() < bLength ? -1 : (m_text.size() > bLength ? 1 : 0);
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    int length = GetLength();
    first = std::max(0, std::min(first, length));
    count = std::max(0, std::min(count, length - first));
    return CString(m_text.data() + first, count);
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    count = std::max(0, std::min(count, GetLength()));
    return Mid(GetLength() - count, count);
}

int CString::Find(char ch, int start) const
{
    CharWalk walk{m_text.data(), GetLength()};
    for (int i = 0; i < walk.length;) {
        int n = walk.charLength(i);
        if (i >= start && n == 1 && m_text[i] == ch)
            return i;
        i += n;
    }
    return -1;
}

int CString::Find(const char* sub, int start) const
{
    if (!sub)
        return -1;
    int subLength = static_cast<int>(std::strlen(sub));
    CharWalk walk{m_text.data(), GetLength()};
    if (subLength == 0)
        return (start >= 0 && start <= walk.length) ? start : -1;
    for (int i = 0; i + subLength <= walk.length;) {
        if (i >= start && std::memcmp(walk.text + i, sub, subLength) == 0 && walk.endsAligned(i, subLength))
            return i;
        i += walk.charLength(i);
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    CharWalk walk{m_text.data(), GetLength()};
    int last = -1;
    for (int i = 0; i < walk.length;) {
        int n = walk.charLength(i);
        if (n == 1 && m_text[i] == ch)
            last = i;
        i += n;
    }
    return last;
}

int CString::FindOneOf(const char* set) const
{
    if (!set)
        return -1;
    int setLength = static_cast<int>(std::strlen(set));
    CharWalk walk{m_text.data(), GetLength()};
    for (int i = 0; i < walk.length;) {
        int n = walk.charLength(i);
        if (setHoldsChar(set, setLength, walk.text + i, n))
            return i;
        i += n;
    }
    return -1;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}
CString& CString::Trim(char ch)
{
    return TrimRight(ch).TrimLeft(ch);
}
CString& CString::Trim(const char* set)
{
    return TrimRight(set).TrimLeft(set);
}
CString& CString::TrimLeft()
{
    return TrimLeft(WHITE_SPACE);
}
CString& CString::TrimRight()
{
    return TrimRight(WHITE_SPACE);
}

CString& CString::TrimLeft(char ch)
{
    const char set[2] = {ch, '\0'};
    return TrimLeft(set);
}

CString& CString::TrimRight(char ch)
{
    const char set[2] = {ch, '\0'};
    return TrimRight(set);
}

CString& CString::TrimLeft(const char* set)
{
    if (!set || !*set)
        return *this;
    int setLength = static_cast<int>(std::strlen(set));
    CharWalk walk{m_text.data(), GetLength()};
    int i = 0;
    while (i < walk.length) {
        int n = walk.charLength(i);
        if (!setHoldsChar(set, setLength, walk.text + i, n))
            break;
        i += n;
    }
    m_text.erase(0, i);
    return *this;
}

CString& CString::TrimRight(const char* set)
{
    if (!set || !*set)
        return *this;
    int setLength = static_cast<int>(std::strlen(set));
    CharWalk walk{m_text.data(), GetLength()};
    // Walk forwards: only a forward walk knows where characters start.
    int runStart = -1;
    for (int i = 0; i < walk.length;) {
        int n = walk.charLength(i);
        if (setHoldsChar(set, setLength, walk.text + i, n)) {
            if (runStart < 0)
                runStart = i;
        } else {
            runStart = -1;
        }
        i += n;
    }
    if (runStart >= 0)
        m_text.erase(runStart);
    return *this;
}

int CString::Replace(char oldCh, char newCh)
{
    CharWalk walk{m_text.data(), GetLength()};
    int count = 0;
    for (int i = 0; i < walk.length;) {
        int n = walk.charLength(i);
        if (n == 1 && m_text[i] == oldCh) {
            m_text[i] = newCh;
            ++count;
        }
        i += n;
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText)
{
    if (!oldText || !*oldText)
        return 0;
    std::string replacement = fromC(newText);
    int oldLength = static_cast<int>(std::strlen(oldText));
    CharWalk walk{m_text.data(), GetLength()};
    std::string result;
    int count = 0;
    for (int i = 0; i < walk.length;) {
        if (i + oldLength <= walk.length && std::memcmp(walk.text + i, oldText, oldLength) == 0 &&
            walk.endsAligned(i, oldLength)) {
            result += replacement;
            i += oldLength;
            ++count;
        } else {
            int n = walk.charLength(i);
            result.append(walk.text + i, n);
            i += n;
        }
    }
    if (count)
        m_text.swap(result);
    return count;
}

int CString::Remove(char ch)
{
    CharWalk walk{m_text.data(), GetLength()};
    std::string result;
    int count = 0;
    for (int i = 0; i < walk.length;) {
        int n = walk.charLength(i);
        if (n == 1 && m_text[i] == ch)
            ++count;
        else
            result.append(walk.text + i, n);
        i += n;
    }
    if (count)
        m_text.swap(result);
    return count;
}

int CString::Insert(int index, char ch)
{
    index = std::max(0, std::min(index, GetLength()));
    m_text.insert(m_text.begin() + index, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text)
{
    index = std::max(0, std::min(index, GetLength()));
    if (text)
        m_text.insert(index, text);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    index = std::max(0, index);
    if (index < GetLength() && count > 0)
        m_text.erase(index, std::min(count, GetLength() - index));
    return GetLength();
}

void CString::MakeUpper()
{
    CharWalk walk{m_text.data(), GetLength()};
    for (int i = 0; i < walk.length;) {
        int n = walk.charLength(i);
        if (n == 1 && m_text[i] >= 'a' && m_text[i] <= 'z')
            m_text[i] = static_cast<char>(m_text[i] - 'a' + 'A');
        i += n;
    }
}

void CString::MakeLower()
{
    CharWalk walk{m_text.data(), GetLength()};
    for (int i = 0; i < walk.length;) {
        int n = walk.charLength(i);
        if (n == 1 && m_text[i] >= 'A' && m_text[i] <= 'Z')
            m_text[i] = static_cast<char>(m_text[i] - 'A' + 'a');
        i += n;
    }
}

namespace {
// printf into a new string of any length (the arguments may point into the
// string being formatted, so the result is built apart).
std::string formatToString(const char* format, va_list args)
{
    if (!format)
        return std::string();
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
        return std::string();
    std::string result(static_cast<size_t>(length), '\0');
    va_list fill;
    va_copy(fill, args);
    std::vsnprintf(&result[0], result.size() + 1, format, fill);
    va_end(fill);
    return result;
}
}  // namespace

void CString::FormatV(const char* format, va_list args)
{
    m_text = formatToString(format, args);
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    m_text += formatToString(format, args);
    va_end(args);
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(minLength);
    return &m_text[0];
}

char* CString::GetBufferSetLength(int length)
{
    m_text.resize(std::max(0, length));
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength)
{
    size_t length = newLength < 0 ? std::strlen(m_text.c_str()) : static_cast<size_t>(newLength);
    m_text.resize(std::min(length, m_text.size()));
}

namespace {
int compareBytes(const CString& a, const CString& b)
{
    return byteCompare(a.GetString(), a.GetLength(), b.GetString(), b.GetLength());
}
}  // namespace

bool operator==(const CString& a, const CString& b)
{
    return compareBytes(a, b) == 0;
}
bool operator==(const CString& a, const char* b)
{
    return a.Compare(b) == 0;
}
bool operator==(const char* a, const CString& b)
{
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b)
{
    return !(a == b);
}
bool operator!=(const CString& a, const char* b)
{
    return !(a == b);
}
bool operator!=(const char* a, const CString& b)
{
    return !(a == b);
}
bool operator<(const CString& a, const CString& b)
{
    return compareBytes(a, b) < 0;
}
bool operator<(const CString& a, const char* b)
{
    return a.Compare(b) < 0;
}
bool operator<(const char* a, const CString& b)
{
    return b.Compare(a) > 0;
}
