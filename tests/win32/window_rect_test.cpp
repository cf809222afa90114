// Where the main window goes at start-up, for the stored values and work areas that matter.
#include <gtest/gtest.h>

#include "app/window_rect.h"

namespace {

void expect_rect(Window_rect r, int x, int y, int width, int height)
{
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, width);
    EXPECT_EQ(r.height, height);
}

TEST(WindowRect, DefaultIsCentredOnAWorkAreaLargerThan640By480)
{
    expect_rect(fit_window_rect(default_window_rect, 1024, 768), 192, 174, 640, 420);
    // Halves round toward zero.
    expect_rect(fit_window_rect(default_window_rect, 1025, 769), 192, 174, 640, 420);
}

TEST(WindowRect, DefaultStaysAtTheOriginOnA640By480WorkArea)
{
    expect_rect(fit_window_rect(default_window_rect, 640, 480), 0, 0, 640, 420);
    expect_rect(fit_window_rect(default_window_rect, 800, 480), 0, 0, 640, 420);
}

TEST(WindowRect, StoredRectangleIsKeptWhereItFits)
{
    expect_rect(fit_window_rect({100, 50, 500, 300}, 1024, 768), 100, 50, 500, 300);
    expect_rect(fit_window_rect({384, 348, 640, 420}, 1024, 768), 384, 348, 640, 420);
}

TEST(WindowRect, RectangleReachingPastTheWorkAreaMovesToTheOriginKeepingItsSize)
{
    expect_rect(fit_window_rect({900, 10, 640, 420}, 1024, 768), 0, 0, 640, 420);
    expect_rect(fit_window_rect({10, 400, 640, 420}, 1024, 768), 0, 0, 640, 420);
}

TEST(WindowRect, RectangleLargerThanTheWorkAreaTakesAllOfIt)
{
    expect_rect(fit_window_rect({0, 0, 2000, 420}, 1024, 768), 0, 0, 1024, 768);
    expect_rect(fit_window_rect({5, 5, 300, 900}, 1024, 768), 0, 0, 1024, 768);
}

TEST(WindowRect, NegativePositionBecomesZeroBeforeTheOtherChecks)
{
    expect_rect(fit_window_rect({-50, 20, 640, 420}, 1024, 768), 0, 20, 640, 420);
    // -50 and 0 with the default size is the default rectangle, so it is centred.
    expect_rect(fit_window_rect({-50, -1, 640, 420}, 1024, 768), 192, 174, 640, 420);
}

TEST(WindowRect, DamagedValuesGiveAUsableWindow)
{
    expect_rect(fit_window_rect({0, 0, 0, 420}, 1024, 768), 192, 174, 640, 420);
    expect_rect(fit_window_rect({2147483000, 5, 640, 420}, 1024, 768), 0, 0, 640, 420);
}

}  // namespace
