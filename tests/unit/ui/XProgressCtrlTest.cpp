// The owner-drawn progress bar painted into a memory bitmap: the trough, the
// bar's length and the caption's two colours.
#include "tests/unit/support/UiTestSupport.h"

#include "dialogs/XProgressCtrl.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const int WIDTH = 204;  // the inner rectangle is 200 pixels wide
const int HEIGHT = 24;
const COLORREF TROUGH = RGB(235, 235, 235);
const COLORREF BAR = RGB(128, 128, 255);
const COLORREF BLACK = RGB(0, 0, 0);
const COLORREF WHITE = RGB(255, 255, 255);

// A progress control on a hidden parent, painted on request into a 32-bit
// memory bitmap whose pixels the test reads.
class PaintedBar {
public:
    PaintedBar()
    {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 100, NULL, NULL, NULL, NULL);
        HWND control = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, WIDTH, HEIGHT, parent,
                                       (HMENU)1, NULL, NULL);
        bar.SubclassWindow(control);
        memset(&info, 0, sizeof(info));
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = WIDTH;
        info.bmiHeader.biHeight = -HEIGHT;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(NULL);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&pixels, NULL, 0);
        old = SelectObject(dc, bitmap);
    }

    ~PaintedBar()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        bar.DestroyWindow();
        DestroyWindow(parent);
    }

    void paint(int lower, int upper, int position, const char* text = "")
    {
        bar.SetRange32(lower, upper);
        bar.SetPos(position);
        bar.SetWindowText(text);
        memset(pixels, 0x55, WIDTH * HEIGHT * 4);
        bar.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        GdiFlush();
    }

    COLORREF at(int x, int y) const
    {
        DWORD value = pixels[y * WIDTH + x];
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }

    // Counts of the two caption colours in the inner rectangle, left and
    // right of column split.
    int count(COLORREF colour, int fromX, int toX) const
    {
        int found = 0;
        for (int y = 2; y < HEIGHT - 2; ++y) {
            for (int x = fromX; x < toX; ++x) {
                found += at(x, y) == colour;
            }
        }
        return found;
    }

    CXProgressCtrl bar;
    HWND parent;

private:
    BITMAPINFO info;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* pixels = nullptr;
};

TEST(XProgressCtrl, BarLengthIsTruncated)
{
    struct Case {
        int lower, upper, position;
        int barPixels;
    };
    const Case cases[] = {
        {0, 1000, 999, 199},  // 200 * 0.999 = 199.8
        {0, 100, 50, 100},   {0, 100, 0, 0}, {0, 100, 100, 200}, {100, 300, 150, 50},
    };
    PaintedBar painted;
    for (const Case& one : cases) {
        SCOPED_TRACE(testing::Message() << one.position << " of " << one.lower << ".." << one.upper);
        painted.paint(one.lower, one.upper, one.position);
        // Row 3 lies above any caption; columns 2..201 are the inner rectangle.
        int y = 3;
        for (int x = 2; x < 2 + 200; ++x) {
            COLORREF expected = x < 2 + one.barPixels ? BAR : TROUGH;
            if (painted.at(x, y) != expected) {
                ADD_FAILURE() << "column " << x << " has the wrong colour";
                break;
            }
        }
        EXPECT_NE(painted.at(0, y), 0x555555u) << "the frame is painted";
    }
}

TEST(XProgressCtrl, CaptionIsTheTextAndThePercentageRoundedHalfUp)
{
    struct Case {
        const char* text;
        double fraction;
        const char* caption;
    };
    const Case cases[] = {
        {"", 0.0, "0% "},           {"", 1.0, "100% "},  {"", 1.0 / 200, "1% "},
        {"", 249.0 / 10000, "2% "}, {"", 0.994, "99% "}, {"下载", 0.5, "下载50% "},
    };
    for (const Case& one : cases) {
        EXPECT_EQ(CXProgressCtrl::captionText(one.text, one.fraction, TRUE), one.caption);
    }
    EXPECT_EQ(CXProgressCtrl::captionText("abc", 0.5, FALSE), "abc");
}

TEST(XProgressCtrl, CaptionChangesColourWhereTheBarIs)
{
    PaintedBar painted;
    // Empty bar: the whole caption in the text colour.
    painted.paint(0, 100, 0, "progress ");
    EXPECT_GT(painted.count(BLACK, 2, 202), 0);
    EXPECT_EQ(painted.count(WHITE, 2, 202), 0);

    // Full bar: the whole caption in the colour over the bar.
    painted.paint(0, 100, 100, "progress ");
    EXPECT_EQ(painted.count(BLACK, 2, 202), 0);
    EXPECT_GT(painted.count(WHITE, 2, 202), 0);

    // Half: white over the bar, black beside it, never the other way.
    painted.paint(0, 100, 50, "progress ");
    EXPECT_GT(painted.count(WHITE, 2, 102), 0);
    EXPECT_EQ(painted.count(BLACK, 2, 102), 0);
    EXPECT_GT(painted.count(BLACK, 102, 202), 0);
    EXPECT_EQ(painted.count(WHITE, 102, 202), 0);
}

}  // namespace
