#include "engine/LongPath.h"

#include <vector>

namespace {

std::wstring fullPath(const std::wstring& path)
{
    DWORD needed = GetFullPathNameW(path.c_str(), 0, NULL, NULL);
    if (needed == 0)
        return path;
    std::vector<wchar_t> full(needed + 1);
    DWORD written = GetFullPathNameW(path.c_str(), (DWORD)full.size(), &full[0], NULL);
    if (written == 0 || written >= full.size())
        return path;
    return std::wstring(&full[0], written);
}

}  // namespace

std::wstring toWide(const CString& text)
{
    int count = MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), NULL, 0);
    if (count <= 0)
        return std::wstring();
    std::wstring wide((size_t)count, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), &wide[0], count);
    return wide;
}

std::wstring longPathW(const CString& path)
{
    std::wstring wide = toWide(path);
    if (wide.compare(0, 4, L"\\\\?\\") == 0)
        return wide;
    std::wstring full = fullPath(wide);
    if (full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0)
        return full;
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring joinPathW(const std::wstring& folder, const std::wstring& name)
{
    if (!folder.empty() && folder[folder.size() - 1] == L'\\')
        return folder + name;
    return folder + L"\\" + name;
}

CString toAnsi(const std::wstring& text)
{
    int count = WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), NULL, 0, NULL, NULL);
    if (count <= 0)
        return CString();
    CString ansi;
    char* buffer = ansi.GetBufferSetLength(count);
    WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), buffer, count, NULL, NULL);
    ansi.ReleaseBuffer(count);
    return ansi;
}

CString lastPathComponent(const CString& path)
{
    CString trimmed = path;
    trimmed.TrimRight("\\/");
    int backslash = trimmed.ReverseFind('\\');
    int slash = trimmed.ReverseFind('/');
    return trimmed.Mid((backslash > slash ? backslash : slash) + 1);
}
