#pragma once
// Builds a dialog template in memory, so dialog tests need no resource file.

#include <windows.h>

#include <vector>

class WinDialogTemplate {
public:
    enum : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };

    WinDialogTemplate(DWORD style, short cx, short cy, const wchar_t* title)
    {
        putDword(style);
        putDword(0);  // extended style
        words_.push_back(0);  // item count, set by get()
        putShorts(10, 10, cx, cy);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard dialog class
        putString(title);
    }

    WinDialogTemplate& item(WORD controlClass, WORD id, DWORD style, short x, short y, short cx, short cy,
                            const wchar_t* text)
    {
        if (words_.size() % 2)
            words_.push_back(0);  // items start on a DWORD
        putDword(style | WS_CHILD | WS_VISIBLE);
        putDword(0);
        putShorts(x, y, cx, cy);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(controlClass);
        putString(text);
        words_.push_back(0);  // no creation data
        ++count_;
        return *this;
    }

    LPCDLGTEMPLATE get()
    {
        words_[4] = count_;
        return reinterpret_cast<LPCDLGTEMPLATE>(words_.data());
    }

private:
    std::vector<WORD> words_;
    WORD count_ = 0;

    void putDword(DWORD value)
    {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void putShorts(short a, short b, short c, short d)
    {
        for (short v : {a, b, c, d})
            words_.push_back((WORD)v);
    }
    void putString(const wchar_t* text)
    {
        for (; *text; ++text)
            words_.push_back((WORD)*text);
        words_.push_back(0);
    }
};
