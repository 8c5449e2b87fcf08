// The bitmap files of the screen capture: headers, row length, row order.
#include "tests/unit/support/UiTestSupport.h"

#include "core/ScreenCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> readFile(const CString& path)
{
    std::vector<unsigned char> bytes;
    FILE* file = fopen(path, "rb");
    if (file == NULL) {
        return bytes;
    }
    unsigned char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    fclose(file);
    return bytes;
}

uint32_t u32(const std::vector<unsigned char>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | (uint32_t)bytes[at + 3] << 24;
}

uint16_t u16(const std::vector<unsigned char>& bytes, size_t at)
{
    return (uint16_t)(bytes[at] | bytes[at + 1] << 8);
}

// Checks every header field of a written file for a W x H image of B bits.
void expectHeaders(const std::vector<unsigned char>& file, int width, int height, int bits, uint32_t rowLength)
{
    ASSERT_GE(file.size(), 54u);
    uint32_t imageSize = rowLength * (uint32_t)height;
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(u32(file, 2), imageSize + 54);
    EXPECT_EQ(u32(file, 6), 0u);
    EXPECT_EQ(u32(file, 10), 54u);
    EXPECT_EQ(u32(file, 14), 40u);
    EXPECT_EQ((int)u32(file, 18), width);
    EXPECT_EQ((int)u32(file, 22), height);
    EXPECT_EQ(u16(file, 26), 1);
    EXPECT_EQ(u16(file, 28), bits);
    EXPECT_EQ(u32(file, 30), 0u);
    EXPECT_EQ(u32(file, 34), imageSize);
    for (size_t at = 38; at < 54; at += 4) {
        EXPECT_EQ(u32(file, at), 0u);
    }
    EXPECT_EQ(file.size(), imageSize + 54);
}

TEST(ScreenCapture, RowLengthIsRoundedUpToFourBytes)
{
    struct Case {
        int width, bits;
        DWORD row;
    };
    const Case cases[] = {
        {1920, 32, 7680}, {1366, 24, 4100}, {1366, 16, 2732}, {3, 24, 12}, {1, 24, 4}, {4, 24, 12},
    };
    for (const Case& one : cases) {
        EXPECT_EQ(ScreenCapture::rowLength(one.width, one.bits), one.row) << one.width << " x " << one.bits;
    }
}

TEST(ScreenCapture, TheScreenIsWrittenWithItsSizeAndDepth)
{
    ScratchFolder scratch;
    CString path = scratch.path() + "\\screen.bmp";
    // An older, larger file of the same name is replaced, not appended to.
    {
        FILE* old = fopen(path, "wb");
        std::vector<char> junk(64 * 1024 * 1024 / 8, 'x');
        fwrite(junk.data(), 1, junk.size(), old);
        fclose(old);
    }
    ScreenCapture capture;
    capture.saveScreenToBmp(path);

    HDC screen = GetDC(NULL);
    int width = GetDeviceCaps(screen, HORZRES);
    int height = GetDeviceCaps(screen, VERTRES);
    int bits = ScreenCapture::fileBitsPerPixel(GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(NULL, screen);
    expectHeaders(readFile(path), width, height, bits, ScreenCapture::rowLength(width, bits));
}

TEST(ScreenCapture, AFolderThatIsMissingWritesNothing)
{
    ScratchFolder scratch;
    CString path = scratch.path() + "\\missing\\1.bmp";
    ScreenCapture capture;
    capture.saveScreenToBmp(path);
    EXPECT_EQ(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
}

// A bitmap with a marked bottom-left pixel: 24-bit rows need padding, and an
// 8-bit bitmap is written with 24 bits and no colour table.
HBITMAP markedBitmap(HDC dc, int width, int height, int bits, void** pixels)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info;
    memset(&info, 0, sizeof(info));
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;  // bottom-up: row 0 in memory is the bottom row
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)bits;
    if (bits == 8) {
        info.header.biClrUsed = 256;
        info.colours[7].rgbRed = 0x11;
        info.colours[7].rgbGreen = 0x22;
        info.colours[7].rgbBlue = 0x33;
    }
    HBITMAP bitmap = CreateDIBSection(dc, (BITMAPINFO*)&info, DIB_RGB_COLORS, pixels, NULL, 0);
    DWORD row = ScreenCapture::rowLength(width, bits);
    memset(*pixels, 0, row * height);
    if (bits == 8) {
        ((BYTE*)*pixels)[0] = 7;
    } else {
        BYTE* first = (BYTE*)*pixels;
        first[0] = 0x33;  // blue, green, red
        first[1] = 0x22;
        first[2] = 0x11;
    }
    GdiFlush();
    return bitmap;
}

TEST(ScreenCapture, RowsArePaddedAndPaletteBitmapsBecome24Bit)
{
    struct Case {
        int width, height, bits;
        int fileBits;
        uint32_t row;
    };
    const Case cases[] = {
        {1366, 3, 24, 24, 4100},
        {5, 2, 8, 24, 16},
    };
    ScratchFolder scratch;
    HDC dc = GetDC(NULL);
    for (const Case& one : cases) {
        SCOPED_TRACE(testing::Message() << one.width << " x " << one.height << " x " << one.bits);
        void* pixels = nullptr;
        HBITMAP bitmap = markedBitmap(dc, one.width, one.height, one.bits, &pixels);
        CString path = scratch.path() + "\\marked.bmp";
        ASSERT_TRUE(ScreenCapture::writeBitmapFile(path, dc, bitmap));
        DeleteObject(bitmap);

        std::vector<unsigned char> file = readFile(path);
        expectHeaders(file, one.width, one.height, one.fileBits, one.row);
        ASSERT_GE(file.size(), 57u);
        EXPECT_EQ(file[54], 0x33);  // the bottom row comes first
        EXPECT_EQ(file[55], 0x22);
        EXPECT_EQ(file[56], 0x11);
        EXPECT_EQ(file[57], 0x00);
    }
    ReleaseDC(NULL, dc);
}

}  // namespace
