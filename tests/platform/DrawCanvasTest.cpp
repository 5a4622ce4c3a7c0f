// Shapes, clipping, origins and block transfers on canvases, and the picture registry.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Pictures.h"

namespace plat {
namespace {

constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kBlue = Rgb(0, 0, 255);
constexpr uint32_t kGuard = 0xDEADBE;

// A canvas viewing the middle of a larger buffer whose border must stay untouched.
struct GuardedCanvas {
  static constexpr int kBorder = 16;
  int width, height, stride;
  std::vector<uint32_t> buffer;
  Canvas canvas;
  GuardedCanvas(int w, int h)
      : width(w), height(h), stride(w + 2 * kBorder),
        buffer(static_cast<size_t>(stride) * (h + 2 * kBorder), kGuard),
        canvas(buffer.data() + kBorder * stride + kBorder, w, h, stride) {
    canvas.Clear(Rgb(0, 0, 0));
  }
  int GuardPixelsTouched() const {
    int touched = 0;
    for (int y = 0; y < height + 2 * kBorder; ++y) {
      for (int x = 0; x < stride; ++x) {
        bool inside = x >= kBorder && x < kBorder + width && y >= kBorder && y < kBorder + height;
        if (!inside && buffer[static_cast<size_t>(y) * stride + x] != kGuard) ++touched;
      }
    }
    return touched;
  }
};

int CountColor(const Canvas& c, Color color, const Rect& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) n += c.ColorAt(x, y) == color;
  }
  return n;
}
int CountColor(const Canvas& c, Color color) {
  return CountColor(c, color, Rect{0, 0, c.Width(), c.Height()});
}

TEST(DrawCanvas, RectanglesExcludeRightAndBottomEdges) {
  Canvas c(20, 20);
  c.FillRect(Rect{2, 3, 5, 6}, kWhite);
  EXPECT_EQ(CountColor(c, kWhite), 9);
  EXPECT_EQ(c.ColorAt(2, 3), kWhite);
  EXPECT_EQ(c.ColorAt(4, 5), kWhite);
  EXPECT_NE(c.ColorAt(5, 5), kWhite);

  c.Clear(Rgb(0, 0, 0));
  c.FrameRect(Rect{0, 0, 10, 8}, kRed, 2);
  EXPECT_EQ(CountColor(c, kRed), 10 * 8 - 6 * 4);  // a ring two pixels wide
  EXPECT_EQ(c.ColorAt(2, 2), Rgb(0, 0, 0));
  EXPECT_EQ(c.ColorAt(9, 7), kRed);
  EXPECT_EQ(c.ColorAt(10, 7), Rgb(0, 0, 0));
}

TEST(DrawCanvas, LinesLeaveOutTheirEndPointAndWidenAroundTheCentre) {
  Canvas c(20, 20);
  c.DrawLine(2, 5, 8, 5, kWhite);
  EXPECT_EQ(CountColor(c, kWhite), 6);
  EXPECT_EQ(c.ColorAt(2, 5), kWhite);
  EXPECT_NE(c.ColorAt(8, 5), kWhite);

  c.Clear(Rgb(0, 0, 0));
  c.DrawLine(8, 5, 2, 5, kWhite);  // drawn backwards: still six, the start included
  EXPECT_EQ(CountColor(c, kWhite), 6);
  EXPECT_EQ(c.ColorAt(8, 5), kWhite);
  EXPECT_NE(c.ColorAt(2, 5), kWhite);

  c.Clear(Rgb(0, 0, 0));
  c.DrawLine(0, 0, 5, 5, kWhite);
  EXPECT_EQ(CountColor(c, kWhite), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(c.ColorAt(i, i), kWhite) << i;

  c.Clear(Rgb(0, 0, 0));
  c.DrawLine(2, 10, 12, 10, kWhite, 3);
  for (int y = 9; y <= 11; ++y) EXPECT_EQ(c.ColorAt(7, y), kWhite) << y;
  EXPECT_NE(c.ColorAt(7, 8), kWhite);
  EXPECT_NE(c.ColorAt(7, 12), kWhite);

  // A thick diagonal has no holes along its centre.
  c.Clear(Rgb(0, 0, 0));
  c.DrawLine(1, 18, 18, 3, kBlue, 3);
  for (int x = 2; x < 17; ++x) {
    int y = 18 - (x - 1) * 15 / 17;
    EXPECT_EQ(c.ColorAt(x, y), kBlue) << x;
  }

  // A polyline's joints are drawn once and its final point left out.
  c.Clear(Rgb(0, 0, 0));
  const Point pts[] = {{1, 1}, {6, 1}, {6, 6}};
  c.DrawPolyline(pts, 3, kRed);
  EXPECT_EQ(CountColor(c, kRed), 10);
  EXPECT_EQ(c.ColorAt(6, 1), kRed);
  EXPECT_NE(c.ColorAt(6, 6), kRed);
}

TEST(DrawCanvas, EllipsesAreSymmetricAndFramesHollow) {
  Canvas c(40, 40);
  Rect r{5, 5, 26, 20};  // 21 x 15
  c.FillEllipse(r, kWhite);
  EXPECT_EQ(c.ColorAt(15, 12), kWhite);
  EXPECT_NE(c.ColorAt(5, 5), kWhite);
  EXPECT_NE(c.ColorAt(25, 19), kWhite);
  EXPECT_EQ(c.ColorAt(5, 12), kWhite);   // the ends of the long axis
  EXPECT_EQ(c.ColorAt(25, 12), kWhite);
  EXPECT_EQ(CountColor(c, kWhite, Rect{0, 0, 40, 5}), 0);
  EXPECT_EQ(CountColor(c, kWhite, Rect{0, 20, 40, 40}), 0);
  for (int y = 5; y < 20; ++y) {
    for (int x = 5; x < 26; ++x) {
      ASSERT_EQ(c.ColorAt(x, y), c.ColorAt(30 - x, y)) << x << "," << y;
      ASSERT_EQ(c.ColorAt(x, y), c.ColorAt(x, 24 - y)) << x << "," << y;
    }
  }
  int filled = CountColor(c, kWhite);
  EXPECT_NEAR(filled, 3.14159 * 10.5 * 7.5, 12);

  c.Clear(Rgb(0, 0, 0));
  c.FrameEllipse(r, kRed, 2);
  EXPECT_NE(c.ColorAt(15, 12), kRed);
  for (int y = 5; y < 20; ++y) {
    EXPECT_GT(CountColor(c, kRed, Rect{0, y, 40, y + 1}), 0) << "row " << y;
  }
  EXPECT_LT(CountColor(c, kRed), filled / 2);
}

TEST(DrawCanvas, PolygonFillsTheInsideOnly) {
  Canvas c(30, 30);
  const Point triangle[] = {{2, 2}, {22, 2}, {2, 22}};
  c.FillPolygon(triangle, 3, kBlue);
  EXPECT_EQ(c.ColorAt(4, 4), kBlue);
  EXPECT_NE(c.ColorAt(20, 20), kBlue);
  EXPECT_NE(c.ColorAt(1, 10), kBlue);
  EXPECT_NEAR(CountColor(c, kBlue), 200, 20);
}

// Every shape far outside and across the edges: nothing lands outside the canvas, not even
// in the rows of a larger buffer the canvas is a view of.
TEST(DrawCanvas, EveryOperationClipsAtTheCanvasEdge) {
  GuardedCanvas g(24, 18);
  Canvas& c = g.canvas;
  Bitmap src;
  ASSERT_TRUE(src.Allocate(30, 30));
  for (int i = 0; i < 900; ++i) src.Pixels()[i] = 0x00FF00;
  const Point star[] = {{-50, -50}, {70, 9}, {-20, 60}, {12, -40}, {80, 80}};
  for (int pass = 0; pass < 2; ++pass) {
    c.FillRect(Rect{-100, -100, 100, 100}, kWhite);
    c.FrameRect(Rect{-3, -3, 27, 21}, kRed, 5);
    c.DrawLine(-1000, -700, 1000, 800, kBlue, 1);
    c.DrawLine(-30, 9, 60, 9, kBlue, 7);
    c.DrawLine(12, -30, 12, 60, kBlue, 6);
    c.DrawLine(-20, 40, 40, -20, kBlue, 5);
    c.DrawPolyline(star, 5, kRed, 3);
    c.FillPolygon(star, 5, kWhite);
    c.FillEllipse(Rect{-10, -10, 40, 30}, kRed);
    c.FrameEllipse(Rect{-30, 5, 10, 40}, kBlue, 4);
    c.SetPixel(-1, 0, kRed);
    c.SetPixel(24, 17, kRed);
    c.Blit(-5, -5, src.View());
    c.Blit(20, 14, src.View(), Rect{-10, -10, 40, 40});
    c.BlitKeyed(-7, 3, src.View(), Rect{0, 0, 30, 30}, kRed);
    c.StretchBlit(Rect{-40, -40, 60, 60}, src.View(), Rect{0, 0, 30, 30});
    // The second pass with an origin and a clip that reach beyond the canvas.
    c.SetOrigin(-6, 5);
    c.SetClip(Rect{-100, -100, 100, 100});
  }
  EXPECT_EQ(g.GuardPixelsTouched(), 0);
  EXPECT_EQ(c.Clip(), (Rect{6, -5, 30, 13}));  // the canvas, in logical coordinates
}

TEST(DrawCanvas, OriginAndClipMoveAndLimitDrawing) {
  Canvas c(20, 20);
  c.SetOrigin(5, 6);
  c.FillRect(Rect{0, 0, 2, 2}, kWhite);
  EXPECT_EQ(c.ColorAt(5, 6), kWhite);
  EXPECT_EQ(c.ColorAt(6, 7), kWhite);
  EXPECT_EQ(CountColor(c, kWhite), 4);

  c.SetClip(Rect{0, 0, 3, 3});
  CanvasState saved = c.SaveState();
  c.IntersectClip(Rect{1, 1, 10, 10});
  c.FillRect(Rect{-5, -5, 20, 20}, kRed);
  EXPECT_EQ(CountColor(c, kRed), 4);
  EXPECT_EQ(c.ColorAt(6, 7), kRed);
  EXPECT_EQ(c.ColorAt(5, 6), kWhite);

  c.RestoreState(saved);
  c.SetOrigin(0, 0);
  c.Clear(kBlue);  // the restored clip: device 5..8 x 6..9
  EXPECT_EQ(CountColor(c, kBlue), 9);
  c.ResetClip();
  c.Clear(kBlue);
  EXPECT_EQ(CountColor(c, kBlue), 400);
}

TEST(DrawCanvas, BlockTransfers) {
  Bitmap src;
  ASSERT_TRUE(src.Allocate(4, 3));
  for (int i = 0; i < 12; ++i) src.Pixels()[i] = static_cast<uint32_t>(0x010101 * (i + 1));
  src.Pixels()[5] = PixelOf(kRed);

  Canvas c(10, 10);
  c.Clear(kBlue);
  c.Blit(-1, -1, src.View());  // the top row and left column fall off
  EXPECT_EQ(c.PixelAt(0, 0), src.At(1, 1));
  EXPECT_EQ(c.PixelAt(2, 1), src.At(3, 2));
  EXPECT_EQ(c.ColorAt(3, 0), kBlue);

  c.Clear(kBlue);
  c.BlitKeyed(2, 2, src.View(), Rect{0, 0, 4, 3}, kRed);
  EXPECT_EQ(c.ColorAt(3, 3), kBlue);  // the keyed pixel (1,1) is left out
  EXPECT_EQ(c.PixelAt(2, 2), src.At(0, 0));
  EXPECT_EQ(c.PixelAt(4, 3), src.At(2, 1));

  c.Clear(kBlue);
  c.StretchBlit(Rect{0, 0, 8, 6}, src.View(), Rect{0, 0, 4, 3});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(c.PixelAt(x, y), src.At(x / 2, y / 2)) << x << "," << y;
  }
  EXPECT_EQ(c.ColorAt(8, 0), kBlue);

  // Copying a canvas onto itself one row down (a scroll) keeps every row.
  Canvas s(3, 5);
  for (int y = 0; y < 5; ++y) s.FillRect(Rect{0, y, 3, y + 1}, Rgb(y * 10, 0, 0));
  s.Blit(0, 1, s.View(), Rect{0, 0, 3, 4});
  for (int y = 1; y < 5; ++y) EXPECT_EQ(s.ColorAt(1, y), Rgb((y - 1) * 10, 0, 0)) << y;
}

int gDrawCalls = 0;
void DrawRedSquare(Canvas& c) {
  ++gDrawCalls;
  c.FillRect(Rect{1, 1, 3, 3}, kRed);
}
void DrawBlue(Canvas& c) {
  ++gDrawCalls;
  c.Clear(kBlue);
}
constexpr PictureEntry kPictures[] = {
    {.resourceNumber = 101, .width = 4, .height = 4, .draw = DrawRedSquare},
    {.resourceNumber = 102, .width = 0, .height = 4, .draw = DrawBlue},
    {.resourceNumber = 103, .width = 2, .height = 2, .draw = nullptr},
};
constexpr PictureEntry kLater[] = {
    {.resourceNumber = 101, .width = 9, .height = 9, .draw = DrawBlue},
    {.resourceNumber = 104, .width = 2, .height = 3, .draw = DrawBlue},
};

TEST(DrawPictures, DrawnOnceOnFirstUseAndKept) {
  ResetPictures();
  gDrawCalls = 0;
  ASSERT_TRUE(RegisterPictures(kPictures, 3));
  ASSERT_TRUE(RegisterPictures(kLater, 2));
  EXPECT_EQ(gDrawCalls, 0);
  const Bitmap* a = GetPicture(101);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Width(), 4);  // the first registration holds
  EXPECT_EQ(a->At(1, 1), PixelOf(kRed));
  EXPECT_EQ(a->At(0, 0), 0u);
  EXPECT_EQ(GetPicture(101), a);
  EXPECT_EQ(gDrawCalls, 1);
  const Bitmap* d = GetPicture(104);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->At(1, 2), PixelOf(kBlue));
  EXPECT_EQ(GetPicture(102), nullptr);  // no width
  EXPECT_EQ(GetPicture(103), nullptr);  // no drawing function
  EXPECT_EQ(GetPicture(999), nullptr);
  EXPECT_EQ(gDrawCalls, 2);
  ResetPictures();
  EXPECT_EQ(GetPicture(101), nullptr);
}

}  // namespace
}  // namespace plat
