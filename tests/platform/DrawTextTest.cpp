// Fonts and text: face resolution and fallback, metrics, the degree sign and the letters of
// the language packs, placement in a rectangle, wrapping, and a warm cache that allocates
// nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "platform/Canvas.h"
#include "platform/Font.h"

// Counts every C++ allocation of the test program, so that a paint can be shown to make none.
// ThreadSanitizer's runtime owns operator new itself, so there the count is left out.
#if defined(__SANITIZE_THREAD__)
#define DRYER_COUNT_NEW 0
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define DRYER_COUNT_NEW 0
#endif
#endif
#ifndef DRYER_COUNT_NEW
#define DRYER_COUNT_NEW 1
#endif

namespace {
std::atomic<uint64_t> gNewCalls{0};
}
#if DRYER_COUNT_NEW
void* operator new(std::size_t n) {
  ++gNewCalls;
  if (void* p = std::malloc(n ? n : 1)) return p;
  std::abort();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  ++gNewCalls;
  return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#endif

namespace plat {
namespace {

constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);

FontHandle Tahoma(int height, FontWeight w = FontWeight::Normal) {
  return CreateFont(kFaceTahoma, height, w);
}

// The bounding box of every pixel that is not the background.
Rect InkBox(const Canvas& c, Color background = kBlack) {
  Rect box{c.Width(), c.Height(), 0, 0};
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      if (c.ColorAt(x, y) == background) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box.Empty() ? Rect{} : box;
}

bool Inside(const Rect& inner, const Rect& outer) {
  return !inner.Empty() && inner.left >= outer.left && inner.top >= outer.top &&
         inner.right <= outer.right && inner.bottom <= outer.bottom;
}

int Ink(const Glyph* g) {
  int sum = 0;
  for (int i = 0; g && g->coverage && i < g->width * g->height; ++i) sum += g->coverage[i];
  return sum;
}

TEST(DrawFont, FacesResolveAndFallBack) {
  FontHandle tahoma = Tahoma(16);
  ASSERT_TRUE(tahoma.valid());
  EXPECT_STREQ(FontFamilyName(tahoma), "Tahoma") << FontFilePath(tahoma);
  FontHandle bold = Tahoma(16, FontWeight::Bold);
  ASSERT_TRUE(bold.valid());
  EXPECT_STREQ(FontFamilyName(bold), "Tahoma");
  EXPECT_STRNE(FontFilePath(bold), FontFilePath(tahoma));

  FontHandle unknown = CreateFont("No Such Face At All", 16, FontWeight::Normal);
  ASSERT_TRUE(unknown.valid());
  EXPECT_STREQ(FontFamilyName(unknown), "DejaVu Sans");

  // The same request is the same handle, so paints may ask on every paint.
  EXPECT_EQ(Tahoma(16), tahoma);
  EXPECT_EQ(CreateFont("tahoma", 16, FontWeight::Normal), tahoma);
  EXPECT_NE(Tahoma(17), tahoma);
  EXPECT_NE(bold, tahoma);

  FontHandle system = SystemFont();
  ASSERT_TRUE(system.valid());
  EXPECT_EQ(SystemFont(), system);
  EXPECT_EQ(CreateFont(kFaceSystem, 16, FontWeight::Normal), system);
  EXPECT_GE(LineHeight(system), 13);
  // Bold is wider and heavier than normal at the same size (the fonts-wine bold file has
  // regular outlines, which must not pass for bold).
  EXPECT_GT(TextWidth(system, "MOISTURE"), TextWidth(tahoma, "MOISTURE"));
  EXPECT_GT(Ink(GetGlyph(bold, 'H')), Ink(GetGlyph(tahoma, 'H')) * 5 / 4);
  FontHandle dejaVu = CreateFont("DejaVu Sans", 16, FontWeight::Normal);
  FontHandle dejaVuBold = CreateFont("DejaVu Sans", 16, FontWeight::Bold);
  EXPECT_GT(Ink(GetGlyph(dejaVuBold, 'H')), Ink(GetGlyph(dejaVu, 'H')) * 5 / 4);

  EXPECT_FALSE(FontHandle{}.valid());
  EXPECT_EQ(LineHeight(FontHandle{}), 0);
  EXPECT_EQ(GetGlyph(FontHandle{}, 'A'), nullptr);
  EXPECT_EQ(TextWidth(FontHandle{}, "abc"), 0);
}

TEST(DrawFont, HeightsFollowWin32Sign) {
  for (int h : {10, 13, 16, 24, 40}) {
    FontMetrics m;
    ASSERT_TRUE(GetFontMetrics(Tahoma(h), m));
    EXPECT_EQ(m.height, h) << "cell height " << h;
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_GT(m.ascent, m.descent);
    ASSERT_TRUE(GetFontMetrics(Tahoma(-h), m));
    EXPECT_GT(m.height, h) << "character height " << h << " has a taller cell";
  }
  // Glyphs sit within the cell: an 'H' from the baseline up to at most the ascent.
  FontMetrics m;
  GetFontMetrics(Tahoma(24), m);
  const Glyph* h = GetGlyph(Tahoma(24), 'H');
  ASSERT_NE(h, nullptr);
  EXPECT_GT(h->top, m.ascent / 2);
  EXPECT_LE(h->top, m.ascent);
  EXPECT_GT(h->advance, 0);
}

TEST(DrawFont, DegreeSignAndPackLettersRender) {
  FontHandle f = Tahoma(16);
  const Glyph* degree = GetGlyph(f, 176);
  ASSERT_NE(degree, nullptr);
  EXPECT_GT(degree->width, 0);
  EXPECT_GT(Ink(degree), 0);
  EXPECT_GT(TextWidth(f, "25\xB0" "F"), TextWidth(f, "25F"));

  // Central European and Cyrillic letters come from the face, not its missing-glyph box.
  const Glyph* missing = GetGlyph(f, 0xE123);
  ASSERT_NE(missing, nullptr);
  int missingInk = Ink(missing);
  for (uint32_t cp : {0x142u, 0x161u, 0x151u, 0x416u, 0x44Fu, 0xE9u, 0xDFu}) {
    const Glyph* g = GetGlyph(f, cp);
    ASSERT_NE(g, nullptr);
    EXPECT_GT(Ink(g), 0) << std::hex << cp;
    EXPECT_NE(Ink(g), missingInk) << std::hex << cp;
  }
  // Beyond the direct table the glyphs are cached too.
  const Glyph* euro = GetGlyph(f, 0x20AC);
  EXPECT_EQ(GetGlyph(f, 0x20AC), euro);
  EXPECT_GT(Ink(euro), 0);
  // Control characters take no room.
  EXPECT_EQ(TextWidth(f, "A\rB"), TextWidth(f, "AB"));
}

TEST(DrawText, StaysInItsRectangleAndAlignmentMovesIt) {
  FontHandle f = Tahoma(16);
  const Rect r{20, 10, 220, 70};
  auto Draw = [&](TextFlags flags, const char* text = "Grain temp") {
    Canvas c(240, 90);
    c.SetFont(f);
    c.SetTextColor(kWhite);
    c.DrawText(r, text, flags);
    return InkBox(c);
  };
  Rect left = Draw(TextFlag::Left | TextFlag::SingleLine);
  Rect center = Draw(TextFlag::Center | TextFlag::SingleLine);
  Rect right = Draw(TextFlag::Right | TextFlag::SingleLine);
  for (const Rect& ink : {left, center, right}) EXPECT_TRUE(Inside(ink, r));
  EXPECT_LE(left.left, r.left + 2);
  EXPECT_GE(right.right, r.right - 3);
  EXPECT_NEAR(center.left - r.left, r.right - center.right, 3);
  EXPECT_EQ(left.Width(), center.Width());
  EXPECT_EQ(center.Width(), right.Width());

  Rect top = Draw(TextFlag::Top | TextFlag::SingleLine);
  Rect middle = Draw(TextFlag::VCenter | TextFlag::SingleLine);
  Rect bottom = Draw(TextFlag::Bottom | TextFlag::SingleLine);
  EXPECT_LT(top.top, middle.top);
  EXPECT_LT(middle.top, bottom.top);
  EXPECT_LE(bottom.bottom, r.bottom);
  EXPECT_GE(bottom.bottom, r.bottom - LineHeight(f) / 2);
  EXPECT_NEAR(middle.top - r.top, r.bottom - middle.bottom, 4);

  // A text too long for its rectangle is cut at its edge unless NoClip says otherwise.
  const char* longText = "OUTGOING GRAIN TEMPERATURE SETPOINT";
  const Rect narrow{20, 10, 80, 70};
  Canvas c(240, 90);
  c.SetFont(f);
  c.SetTextColor(kWhite);
  c.DrawText(narrow, longText, TextFlag::SingleLine | TextFlag::VCenter);
  EXPECT_TRUE(Inside(InkBox(c), narrow));
  c.Clear(kBlack);
  c.DrawText(narrow, longText, TextFlag::SingleLine | TextFlag::VCenter | TextFlag::NoClip);
  EXPECT_GT(InkBox(c).right, narrow.right + 50);
}

std::string Line(const char* text, const TextLine& l) {
  return std::string(text + l.begin, text + l.end);
}

TEST(DrawText, LinesBreakAtSpacesLineEndsAndHardInsideLongWords) {
  FontHandle f = Tahoma(16);
  TextLine lines[16];
  const char* words = "alpha beta gamma";
  int fits = TextWidth(f, "alpha beta");
  ASSERT_EQ(BreakTextLines(f, words, 16, fits, true, false, lines, 16), 2u);
  EXPECT_EQ(Line(words, lines[0]), "alpha beta");
  EXPECT_EQ(Line(words, lines[1]), "gamma");
  EXPECT_EQ(lines[0].width, fits);
  ASSERT_GE(BreakTextLines(f, words, 16, fits - 1, true, false, lines, 16), 2u);
  EXPECT_EQ(Line(words, lines[0]), "alpha");

  // A word wider than the line is broken, and nothing of it is lost.
  const char* word = "UNLOADRATELIMIT";
  int narrow = TextWidth(f, "UNLO");
  size_t n = BreakTextLines(f, word, 15, narrow, true, false, lines, 16);
  ASSERT_GE(n, 3u);
  std::string joined;
  for (size_t i = 0; i < n; ++i) {
    EXPECT_LE(lines[i].width, narrow);
    EXPECT_GT(lines[i].end, lines[i].begin);
    joined += Line(word, lines[i]);
  }
  EXPECT_EQ(joined, word);
  // No width at all still makes progress: one letter a line.
  EXPECT_EQ(BreakTextLines(f, "abc", 3, 0, true, false, lines, 16), 3u);

  const char* multi = "one\r\ntwo\nthree";
  ASSERT_EQ(BreakTextLines(f, multi, std::strlen(multi), 1000, false, false, lines, 16), 3u);
  EXPECT_EQ(Line(multi, lines[0]), "one");
  EXPECT_EQ(Line(multi, lines[1]), "two");
  EXPECT_EQ(Line(multi, lines[2]), "three");
  EXPECT_EQ(BreakTextLines(f, multi, std::strlen(multi), 1000, false, true, lines, 16), 1u);

  // More lines than the caller stores are still counted.
  EXPECT_EQ(BreakTextLines(f, "a\nb\nc\nd", 7, 1000, false, false, lines, 2), 4u);

  const char16_t* wide = u"\u0417\u0410\u0413\u0420\u0423\u0417\u041a\u0410 \u0417\u0415\u0420\u041d\u0410";
  size_t wn = BreakTextLines(f, wide, 13, TextWidth(f, wide, 8), true, false, lines, 16);
  ASSERT_EQ(wn, 2u);
  EXPECT_EQ(lines[1].begin, 9u);
}

TEST(DrawText, WrappedDrawingMatchesMeasurement) {
  FontHandle f = Tahoma(16);
  const char* text = "The dryer is not running. Press START on the control panel to begin.";
  const int width = 150;
  TextExtent e = MeasureText(f, text, std::strlen(text), width, true);
  EXPECT_GE(e.lines, 3);
  EXPECT_EQ(e.height, e.lines * LineHeight(f));
  EXPECT_LE(e.width, width);
  Canvas c(300, 200);
  c.SetFont(f);
  c.SetTextColor(kWhite);
  const Rect r{10, 10, 10 + width, 190};
  EXPECT_EQ(c.DrawText(r, text, TextFlag::WordBreak), e.height);
  Rect ink = InkBox(c);
  EXPECT_TRUE(Inside(ink, r));
  EXPECT_LE(ink.bottom, r.top + e.height);
  EXPECT_GT(ink.bottom, r.top + e.height - LineHeight(f));
}

TEST(DrawText, ColoursBackgroundsAndBothEncodings) {
  FontHandle f = Tahoma(24, FontWeight::Bold);
  const Rect r{0, 0, 200, 40};
  Canvas a(200, 40), b(200, 40);
  for (Canvas* c : {&a, &b}) {
    c->SetFont(f);
    c->SetTextColor(Rgb(255, 255, 0));
  }
  a.DrawText(r, u"Temp 25\u00B0C \u00E9t\u00E9", TextFlag::Center | TextFlag::VCenter);
  b.DrawText(r, "Temp 25\xB0" "C \xE9t\xE9", TextFlag::Center | TextFlag::VCenter);
  EXPECT_EQ(std::memcmp(a.Pixels(), b.Pixels(), 200 * 40 * 4), 0);

  // Solid strokes take the text colour exactly; their edges are blended.
  int solid = 0, blended = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      Color p = a.ColorAt(x, y);
      if (p == Rgb(255, 255, 0)) ++solid;
      else if (p.r > 0 && p.r < 255) {
        ++blended;
        EXPECT_EQ(p.r, p.g);
        EXPECT_EQ(p.b, 0);
      }
    }
  }
  EXPECT_GT(solid, 50);
  EXPECT_GT(blended, 20);

  // Opaque mode fills the text's cell with the background colour, transparent mode leaves it.
  Canvas c(200, 40);
  c.SetFont(f);
  c.SetTextColor(kWhite);
  c.SetBackgroundColor(Rgb(0, 128, 0));
  c.SetBackgroundMode(BackgroundMode::Opaque);
  int w = c.TextOut(10, 5, "AB");
  EXPECT_EQ(w, TextWidth(f, "AB"));
  EXPECT_EQ(c.ColorAt(10, 5), Rgb(0, 128, 0));
  EXPECT_EQ(c.ColorAt(10 + w - 1, 5 + LineHeight(f) - 1), Rgb(0, 128, 0));
  EXPECT_EQ(c.ColorAt(10 + w, 5), kBlack);
  EXPECT_EQ(c.ColorAt(9, 5), kBlack);
  c.Clear(kBlack);
  c.SetBackgroundMode(BackgroundMode::Transparent);
  c.TextOut(10, 5, "AB");
  EXPECT_EQ(c.ColorAt(10, 5), kBlack);
  EXPECT_GT(InkBox(c).Width(), 0);
}

TEST(DrawText, WarmCacheAllocatesNothing) {
  FontHandle fonts[] = {Tahoma(13), Tahoma(16, FontWeight::Bold), Tahoma(-20), SystemFont()};
  Canvas c(640, 480);
  const char16_t* wide = u"\u0421\u0423\u0428\u0418\u041b\u041a\u0410 \u017c\u00f3\u0142w \u2013 OK";
  const char* narrow = "PLENUM 1  185\xB0" "F  SP 18.5%  00:45";
  auto Paint = [&] {
    for (FontHandle f : fonts) {
      c.SetFont(f);
      c.DrawText(Rect{0, 0, 640, 40}, narrow, TextFlag::Center | TextFlag::VCenter);
      c.DrawText(Rect{0, 40, 120, 400}, wide, TextFlag::WordBreak);
      c.TextOut(300, 300, narrow);
      TextWidth(f, wide);
    }
  };
  Paint();
  GlyphCacheStats before = GetGlyphCacheStats();
  uint64_t newCalls = gNewCalls.load();
  for (int i = 0; i < 20; ++i) Paint();
  uint64_t afterNew = gNewCalls.load();
  GlyphCacheStats after = GetGlyphCacheStats();
  if (DRYER_COUNT_NEW) EXPECT_EQ(afterNew - newCalls, 0u);
  EXPECT_EQ(after.rendered, before.rendered);
  EXPECT_EQ(after.uncached, before.uncached);
  EXPECT_EQ(after.freeTypeAllocations, before.freeTypeAllocations);
  EXPECT_GT(after.lookups, before.lookups);
  EXPECT_GT(before.freeTypeAllocations, 0u);  // the counter does see FreeType's work
}

}  // namespace
}  // namespace plat
