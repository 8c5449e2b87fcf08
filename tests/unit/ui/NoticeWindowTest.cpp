// The notice window stepped tick by tick: it rises out of the bottom-right
// corner of the work area (wherever that area starts), rests, is held while
// pointed at, sinks back with its bottom edge in place and closes itself;
// the next notice starts below the area, where the last one ended.
#include "tests/unit/support/UiTestSupport.h"

#include "shell/MsgWnd.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// Notices made in this program so far: the first of a run starts its rise
// from 0, every later one from -1, where the one before it ended.
int noticesMade = 0;

// A notice on a work area of the test's choice, whose timers are only
// recorded: the test sends the ticks itself.
class SteppedNotice : public CMsgWnd {
public:
    SteppedNotice(const CRect& area, bool* destroyed)
        : area_(area),
          destroyed_(destroyed)
    {
    }

    std::map<UINT_PTR, UINT> running;  // timer id -> period

    void tick(UINT_PTR id) { SendMessage(WM_TIMER, id); }

    std::vector<long> rect()
    {
        CRect now;
        GetWindowRect(&now);
        return {now.left, now.top, now.right, now.bottom};
    }

protected:
    CRect workArea() const override { return area_; }
    void startTimer(UINT_PTR id, UINT period) override { running[id] = period; }
    void stopTimer(UINT_PTR id) override { running.erase(id); }
    void PostNcDestroy() override
    {
        *destroyed_ = true;
        CMsgWnd::PostNcDestroy();
    }

private:
    CRect area_;
    bool* destroyed_;
};

std::vector<long> box(long left, long top, long right, long bottom)
{
    return {left, top, right, bottom};
}

std::map<UINT_PTR, UINT> only(UINT_PTR id, UINT period)
{
    return {{id, period}};
}

class NoticeWindow : public testing::Test {
protected:
    SteppedNotice* make(const CRect& area)
    {
        destroyed = false;
        SteppedNotice* notice = new SteppedNotice(area, &destroyed);
        EXPECT_TRUE(notice->createPopup());
        startHeight = noticesMade++ == 0 ? 0 : -1;
        return notice;
    }

    // Rises to the end, checking every step; returns the number of steps.
    int rise(SteppedNotice* notice, const CRect& area)
    {
        EXPECT_EQ(notice->running, only(CMsgWnd::ID_TIMER_RISE, 20));
        int steps = 0;
        while (notice->running.count(CMsgWnd::ID_TIMER_RISE) != 0 && steps < 1000) {
            notice->tick(CMsgWnd::ID_TIMER_RISE);
            if (notice->running.count(CMsgWnd::ID_TIMER_RISE) != 0) {
                ++steps;
                int shownHeight = startHeight + steps;
                EXPECT_EQ(notice->rect(),
                          box(area.right - 181, area.bottom - shownHeight, area.right, area.bottom - shownHeight + 116))
                    << "rise step " << steps;
            }
        }
        EXPECT_EQ(notice->running, only(CMsgWnd::ID_TIMER_STAY, 5000));
        return steps;
    }

    // Sinks to the end and closes, checking every step; returns the steps.
    int sink(SteppedNotice* notice, const CRect& area)
    {
        EXPECT_EQ(notice->running, only(CMsgWnd::ID_TIMER_SINK, 15));
        int steps = 0;
        while (!destroyed && steps < 1000) {
            notice->tick(CMsgWnd::ID_TIMER_SINK);
            if (!destroyed) {
                ++steps;
                int shownHeight = 117 - steps;
                EXPECT_EQ(notice->rect(),
                          box(area.right - 181, area.bottom - shownHeight, area.right,
                              area.bottom - (shownHeight < 0 ? shownHeight : 0)))
                    << "sink step " << steps;
            }
        }
        EXPECT_TRUE(destroyed) << "closed itself";
        return steps;
    }

    bool destroyed = false;
    int startHeight = 0;
};

TEST_F(NoticeWindow, RisesRestsAndSinksAtTheWorkAreasBottomRightCorner)
{
    // A task bar at the bottom, at the top and left, at the right.
    const CRect areas[] = {
        CRect(0, 0, 1280, 770),
        CRect(64, 30, 1280, 800),
        CRect(0, 0, 1216, 800),
    };
    for (const CRect& area : areas) {
        SCOPED_TRACE(testing::Message() << "work area " << area.left << "," << area.top << " " << area.right << ","
                                        << area.bottom);
        SteppedNotice* notice = make(area);
        EXPECT_EQ(notice->rect(), box(0, 0, 0, 0)) << "0 x 0 until the first tick";
        EXPECT_TRUE(notice->GetExStyle() & WS_EX_TOOLWINDOW);
        EXPECT_EQ(notice->GetStyle() & (WS_POPUP | WS_CAPTION | WS_BORDER), (DWORD)WS_POPUP);

        int expectedRise = startHeight == 0 ? 117 : 118;
        EXPECT_EQ(rise(notice, area), expectedRise);
        EXPECT_EQ(notice->rect()[1], area.bottom - 117) << "its bottom one pixel above the area's";

        notice->tick(CMsgWnd::ID_TIMER_STAY);
        EXPECT_EQ(sink(notice, area), 118);
    }
}

TEST_F(NoticeWindow, PointingHoldsTheRestUntilTheFocusIsLost)
{
    const CRect area(100, 50, 900, 650);
    SteppedNotice* notice = make(area);

    // A window not pointed at sinks on time; losing the focus does nothing.
    notice->SendMessage(WM_KILLFOCUS);
    EXPECT_EQ(notice->running, only(CMsgWnd::ID_TIMER_RISE, 20));

    // Pointing during the rise only marks the window.
    notice->tick(CMsgWnd::ID_TIMER_RISE);
    startHeight += 1;  // the tick just taken
    notice->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(notice->mouseOver);
    EXPECT_EQ(notice->running, only(CMsgWnd::ID_TIMER_RISE, 20));
    rise(notice, area);

    // At rest: pointing outside changes nothing, inside stops the countdown.
    notice->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 300));
    EXPECT_EQ(notice->running, only(CMsgWnd::ID_TIMER_STAY, 5000));
    notice->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(90, 60));
    EXPECT_TRUE(notice->running.empty()) << "held in place";
    std::vector<long> held = notice->rect();

    // Losing the focus starts a shorter rest; pointing again holds it again.
    notice->SendMessage(WM_KILLFOCUS);
    EXPECT_EQ(notice->running, only(CMsgWnd::ID_TIMER_STAY, 3000));
    notice->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(notice->running.empty());
    notice->SendMessage(WM_KILLFOCUS);
    EXPECT_EQ(notice->running, only(CMsgWnd::ID_TIMER_STAY, 3000));
    EXPECT_EQ(notice->rect(), held);

    notice->tick(CMsgWnd::ID_TIMER_STAY);
    sink(notice, area);
}

TEST_F(NoticeWindow, TheNextNoticeStartsBelowTheWorkArea)
{
    const CRect area(200, 100, 1000, 700);
    for (int round = 0; round < 2; ++round) {
        SteppedNotice* notice = make(area);
        bool afterAnother = startHeight == -1;
        notice->tick(CMsgWnd::ID_TIMER_RISE);
        if (afterAnother) {
            EXPECT_EQ(notice->rect(), box(area.right - 181, area.bottom, area.right, area.bottom + 116))
                << "wholly below the area";
        }
        startHeight += 1;  // the tick just taken
        int rest = rise(notice, area);
        EXPECT_EQ(rest + 1, afterAnother ? 118 : 117);
        notice->tick(CMsgWnd::ID_TIMER_STAY);
        sink(notice, area);
    }
}

TEST_F(NoticeWindow, PaintsItsPictureOnTheWholeWindow)
{
    const CRect area(0, 0, 640, 480);
    SteppedNotice* notice = make(area);
    rise(notice, area);
    notice->ShowWindow(SW_SHOWNOACTIVATE);
    notice->UpdateWindow();
    ASSERT_EQ(notice->backgroundInfo.bmWidth, 181);
    ASSERT_EQ(notice->backgroundInfo.bmHeight, 116);

    // The picture's own pixels where no text is drawn (the title's and the
    // greeting's lines lie left and above).
    HDC picture = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(picture, notice->background);
    HDC window = GetDC(notice->m_hWnd);
    const POINT spots[] = {{2, 2}, {175, 110}, {2, 110}, {178, 3}};
    for (const POINT& spot : spots) {
        EXPECT_EQ(GetPixel(window, spot.x, spot.y), GetPixel(picture, spot.x, spot.y)) << spot.x << "," << spot.y;
    }
    ReleaseDC(notice->m_hWnd, window);
    SelectObject(picture, previous);
    DeleteDC(picture);

    notice->tick(CMsgWnd::ID_TIMER_STAY);
    sink(notice, area);
}

}  // namespace
