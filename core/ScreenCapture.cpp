#include "core/ScreenCapture.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const WORD BITMAP_FILE_TYPE = 0x4D42;  // "BM"
const DWORD PIXEL_OFFSET = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);

}  // namespace

ScreenCapture::ScreenCapture()
{
}

ScreenCapture::~ScreenCapture()
{
}

int ScreenCapture::fileBitsPerPixel(int bitmapBitsPerPixel)
{
    // A palette bitmap would need a colour table behind the info header;
    // 24 bits per pixel keep the plain header-then-rows layout.
    return bitmapBitsPerPixel <= 8 ? 24 : bitmapBitsPerPixel;
}

DWORD ScreenCapture::rowLength(int width, int bitsPerPixel)
{
    return (((DWORD)width * (DWORD)bitsPerPixel + 31) / 32) * 4;
}

BOOL ScreenCapture::writeBitmapFile(const char* path, HDC dc, HBITMAP bitmap)
{
    BITMAP description;
    if (GetObjectA(bitmap, sizeof(description), &description) == 0) {
        return FALSE;
    }
    FILE* file = fopen(path, "w+b");
    if (file == NULL) {
        return FALSE;
    }

    int width = description.bmWidth;
    int height = description.bmHeight;
    int bits = fileBitsPerPixel(description.bmBitsPixel);
    DWORD imageSize = rowLength(width, bits) * (DWORD)height;

    BITMAPINFOHEADER info;
    memset(&info, 0, sizeof(info));
    info.biSize = sizeof(BITMAPINFOHEADER);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = (WORD)bits;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageSize;

    BITMAPFILEHEADER header;
    memset(&header, 0, sizeof(header));
    header.bfType = BITMAP_FILE_TYPE;
    header.bfSize = imageSize + PIXEL_OFFSET;
    header.bfOffBits = PIXEL_OFFSET;

    fwrite(&header, sizeof(header), 1, file);
    fwrite(&info, sizeof(info), 1, file);

    // GetDIBits may write masks or a colour table behind the header it is
    // given, so it gets a copy with room for the largest of them.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } request;
    memset(&request, 0, sizeof(request));
    request.header = info;

    std::vector<BYTE> rows(imageSize);
    if (imageSize > 0) {
        GetDIBits(dc, bitmap, 0, (UINT)height, rows.data(), (BITMAPINFO*)&request, DIB_RGB_COLORS);
        fwrite(rows.data(), 1, imageSize, file);
    }
    fclose(file);
    return TRUE;
}

void ScreenCapture::saveScreenToBmp(const char* path)
{
    HDC screen = GetDC(NULL);
    int width = GetDeviceCaps(screen, HORZRES);
    int height = GetDeviceCaps(screen, VERTRES);

    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    // The pixels are read once the bitmap is out of the memory context again,
    // as GetDIBits wants it.
    SelectObject(memory, previous);

    writeBitmapFile(path, screen, bitmap);

    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}
