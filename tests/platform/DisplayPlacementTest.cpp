// Where the panel lies on the screens it meets, and where a touch on that screen lands on it.
#include <gtest/gtest.h>

#include "platform/Placement.h"

namespace {

using plat::Point;
using plat::Rect;

struct ScreenCase {
  int width;
  int height;
  Rect panel;
};

constexpr ScreenCase kScreens[] = {
    {640, 480, {0, 0, 640, 480}},
    {800, 480, {80, 0, 720, 480}},        // wide panel: bars left and right
    {1024, 600, {192, 60, 832, 540}},     // 2x would be 1280 x 960: stays 1x, centred
    {1280, 800, {320, 160, 960, 640}},
    {1024, 768, {192, 144, 832, 624}},
    {1280, 960, {0, 0, 1280, 960}},       // exactly 2x
    {1920, 1080, {320, 60, 1600, 1020}},  // 2x, centred
    {2560, 1440, {320, 0, 2240, 1440}},   // 3x
    {320, 240, {0, 0, 320, 240}},         // smaller than the panel: shrunk, same shape
    {480, 480, {0, 60, 480, 420}},
};

TEST(DisplayPlacement, FullScreenPanelIsTheLargestWholeMagnificationCentredOrShrunkToFit) {
  for (const ScreenCase& c : kScreens) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    const Rect r = plat::FullScreenPanelRect(c.width, c.height);
    EXPECT_EQ(r, c.panel);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, c.width);
    EXPECT_LE(r.bottom, c.height);
    // Shape kept: 4:3.
    EXPECT_EQ(r.Width() * 3, r.Height() * 4);
  }
}

TEST(DisplayPlacement, TouchesOnTheScreenMapBackToPanelPointsAndClampAtItsEdges) {
  struct TouchCase {
    Rect panel;
    Point screen;
    Point expected;
  };
  constexpr TouchCase kTouches[] = {
      {{80, 0, 720, 480}, {80, 0}, {0, 0}},
      {{80, 0, 720, 480}, {719, 479}, {639, 479}},
      {{192, 60, 832, 540}, {512, 300}, {320, 240}},
      {{320, 60, 1600, 1020}, {320 + 2 * 72, 60 + 2 * 447}, {72, 447}},  // 2x: a main button
      {{320, 60, 1600, 1020}, {321, 61}, {0, 0}},
      {{0, 60, 480, 420}, {240, 240}, {320, 240}},                       // shrunk
      {{80, 0, 720, 480}, {10, 200}, {0, 200}},                          // slid onto the bar
      {{80, 0, 720, 480}, {790, 500}, {639, 479}},
  };
  for (const TouchCase& t : kTouches) {
    SCOPED_TRACE(testing::Message() << t.screen.x << "," << t.screen.y);
    EXPECT_EQ(plat::ScreenToPanel(t.panel, t.screen.x, t.screen.y), t.expected);
  }
}

TEST(DisplayPlacement, MagnifiedWindowFitsOnlyWhenTheWholeWindowIsOnTheScreen) {
  EXPECT_TRUE(plat::ScaledWindowFits(1, 640, 480));
  EXPECT_FALSE(plat::ScaledWindowFits(1, 800, 479));
  EXPECT_TRUE(plat::ScaledWindowFits(2, 1280, 960));
  EXPECT_FALSE(plat::ScaledWindowFits(2, 1024, 768));
  EXPECT_TRUE(plat::ScaledWindowFits(2, 1920, 1080));
  EXPECT_FALSE(plat::ScaledWindowFits(3, 1920, 1080));
}

}  // namespace
