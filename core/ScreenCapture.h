#pragma once

#include "classlib/Types.h"

// Writes a picture of the primary screen as an uncompressed bottom-up bitmap
// file: a 14-byte file header, a 40-byte info header and the pixel rows at
// offset 54, no colour table.
class ScreenCapture {
public:
    ScreenCapture();
    ~ScreenCapture();

    // The whole primary screen, from its top-left corner. A file that cannot
    // be opened is simply not written.
    void saveScreenToBmp(const char* path);

    // Writes bitmap (selected into no device context) in the format above,
    // reading its pixels through dc. Bitmaps of 8 bits per pixel or less are
    // written with 24 bits per pixel, so that no colour table is needed.
    // FALSE when the file cannot be opened.
    static BOOL writeBitmapFile(const char* path, HDC dc, HBITMAP bitmap);

    // Bits per pixel written to the file for a bitmap of the given depth.
    static int fileBitsPerPixel(int bitmapBitsPerPixel);

    // Bytes of one pixel row in the file: width * bits rounded up to 32 bits.
    static DWORD rowLength(int width, int bitsPerPixel);
};
