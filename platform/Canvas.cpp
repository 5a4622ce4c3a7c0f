#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/Bitmap.h"
#include "platform/Text.h"

namespace plat {
namespace {

// DrawText lays out at most this many lines; a longer text is cut at the bottom.
constexpr size_t kMaxTextLines = 64;
// A polygon may cross one scan line at most this many times.
constexpr int kMaxPolygonCrossings = 128;

// Coverage 0..255 blended over a pixel, two channels at a time.
inline uint32_t Blend(uint32_t dst, uint32_t src, uint32_t coverage) {
  uint32_t a = coverage + (coverage >> 7);  // 0..256
  uint32_t rb = (((src & 0xFF00FF) * a + (dst & 0xFF00FF) * (256 - a)) >> 8) & 0xFF00FF;
  uint32_t g = (((src & 0x00FF00) * a + (dst & 0x00FF00) * (256 - a)) >> 8) & 0x00FF00;
  return rb | g;
}

// The -O2 vectoriser leaves a fill of unknown length a scalar loop; fixed 32-byte copies of a
// pattern become vector stores, three to five times faster on a full screen.
inline void FillRow(uint32_t* row, int count, uint32_t pixel) {
  const uint32_t pattern[8] = {pixel, pixel, pixel, pixel, pixel, pixel, pixel, pixel};
  int i = 0;
  for (; i + 8 <= count; i += 8) std::memcpy(row + i, pattern, sizeof pattern);
  for (; i < count; ++i) row[i] = pixel;
}

template <typename Ch>
size_t LengthOf(const Ch* text) {
  size_t n = 0;
  if (text) {
    while (text[n]) ++n;
  }
  return n;
}

// Liang-Barsky: clips the segment to the box; false when nothing is left.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const Rect& box) {
  double t0 = 0, t1 = 1;
  double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - box.left, box.right - 1 - x0, y0 - box.top, box.bottom - 1 - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = nx0;
  y0 = ny0;
  return true;
}

// Horizontal extent [left, right) of the ellipse inscribed in r on row y, sampled at the
// pixel centre; false when the row misses it.
bool EllipseSpan(const Rect& r, int y, int& left, int& right) {
  double a = r.Width() / 2.0, b = r.Height() / 2.0;
  if (a <= 0 || b <= 0) return false;
  double cx = r.left + a, cy = r.top + b;
  double dy = (y + 0.5 - cy) / b;
  if (dy <= -1 || dy >= 1) return false;
  double half = a * std::sqrt(1 - dy * dy);
  left = static_cast<int>(std::ceil(cx - half - 0.5));
  right = static_cast<int>(std::floor(cx + half - 0.5)) + 1;
  return right > left;
}

}  // namespace

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  return r.Empty() ? Rect{} : r;
}

Rect Union(const Rect& a, const Rect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

Canvas::Canvas(int width, int height) {
  if (width <= 0 || height <= 0) return;
  pixels_ = new uint32_t[static_cast<size_t>(width) * height]();
  width_ = width;
  height_ = height;
  stride_ = width;
  owned_ = true;
  clip_ = Rect{0, 0, width, height};
}

Canvas::Canvas(uint32_t* pixels, int width, int height, int stride)
    : pixels_(pixels), width_(width), height_(height), stride_(stride) {
  if (!pixels || width <= 0 || height <= 0 || stride < width) {
    pixels_ = nullptr;
    width_ = height_ = stride_ = 0;
  }
  clip_ = Rect{0, 0, width_, height_};
}

Canvas::Canvas(Bitmap& bitmap)
    : Canvas(bitmap.Pixels(), bitmap.Width(), bitmap.Height(), bitmap.Stride()) {}

Canvas::~Canvas() {
  if (owned_) delete[] pixels_;
}

Canvas::Canvas(Canvas&& other) { *this = static_cast<Canvas&&>(other); }

Canvas& Canvas::operator=(Canvas&& other) {
  if (this == &other) return *this;
  if (owned_) delete[] pixels_;
  pixels_ = other.pixels_;
  width_ = other.width_;
  height_ = other.height_;
  stride_ = other.stride_;
  owned_ = other.owned_;
  origin_ = other.origin_;
  clip_ = other.clip_;
  font_ = other.font_;
  textColor_ = other.textColor_;
  backgroundColor_ = other.backgroundColor_;
  backgroundMode_ = other.backgroundMode_;
  other.pixels_ = nullptr;
  other.owned_ = false;
  other.width_ = other.height_ = other.stride_ = 0;
  other.clip_ = Rect{};
  return *this;
}

uint32_t Canvas::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<size_t>(y) * stride_ + x];
}

void Canvas::SetClip(const Rect& logical) {
  clip_ = Intersect(logical.Offset(origin_.x, origin_.y), Rect{0, 0, width_, height_});
}

void Canvas::IntersectClip(const Rect& logical) {
  clip_ = Intersect(clip_, logical.Offset(origin_.x, origin_.y));
}

void Canvas::ResetClip() { clip_ = Rect{0, 0, width_, height_}; }

Rect Canvas::Clip() const { return clip_.Offset(-origin_.x, -origin_.y); }

CanvasState Canvas::SaveState() const {
  return CanvasState{origin_, clip_, font_, textColor_, backgroundColor_, backgroundMode_};
}

void Canvas::RestoreState(const CanvasState& s) {
  origin_ = s.origin;
  clip_ = Intersect(s.clip, Rect{0, 0, width_, height_});
  font_ = s.font;
  textColor_ = s.textColor;
  backgroundColor_ = s.backgroundColor;
  backgroundMode_ = s.backgroundMode;
}

void Canvas::Clear(Color c) { FillRect(Clip(), c); }

void Canvas::SetPixel(int x, int y, Color c) {
  x += origin_.x;
  y += origin_.y;
  if (clip_.Contains(x, y)) pixels_[static_cast<size_t>(y) * stride_ + x] = PixelOf(c);
}

void Canvas::FillRect(const Rect& r, Color c) {
  Rect d = Intersect(r.Offset(origin_.x, origin_.y), clip_);
  if (d.Empty()) return;
  uint32_t p = PixelOf(c);
  uint32_t* row = pixels_ + static_cast<size_t>(d.top) * stride_ + d.left;
  int w = d.Width();
  for (int y = d.top; y < d.bottom; ++y, row += stride_) FillRow(row, w, p);
}

void Canvas::FrameRect(const Rect& r, Color c, int penWidth) {
  if (r.Empty() || penWidth <= 0) return;
  int w = penWidth;
  if (2 * w >= r.Width() || 2 * w >= r.Height()) {
    FillRect(r, c);
    return;
  }
  FillRect(Rect{r.left, r.top, r.right, r.top + w}, c);
  FillRect(Rect{r.left, r.bottom - w, r.right, r.bottom}, c);
  FillRect(Rect{r.left, r.top + w, r.left + w, r.bottom - w}, c);
  FillRect(Rect{r.right - w, r.top + w, r.right, r.bottom - w}, c);
}

void Canvas::DrawLine(int x0, int y0, int x1, int y1, Color c, int penWidth) {
  if (penWidth < 1) penWidth = 1;
  int lo = -(penWidth / 2), hi = penWidth - penWidth / 2;  // the pen covers [lo, hi)
  // Straight lines are rectangles; a one-pixel one leaves out its end point.
  if (y0 == y1 || x0 == x1) {
    if (x0 == x1 && y0 == y1) {
      if (penWidth > 1) FillRect(Rect{x0 + lo, y0 + lo, x0 + hi, y0 + hi}, c);
      return;
    }
    Rect r;
    if (y0 == y1) {
      int a = std::min(x0, x1), b = std::max(x0, x1);
      if (penWidth == 1) {
        r = x1 > x0 ? Rect{x0, y0, x1, y0 + 1} : Rect{x1 + 1, y0, x0 + 1, y0 + 1};
      } else {
        r = Rect{a + lo, y0 + lo, b + hi, y0 + hi};
      }
    } else {
      int a = std::min(y0, y1), b = std::max(y0, y1);
      if (penWidth == 1) {
        r = y1 > y0 ? Rect{x0, y0, x0 + 1, y1} : Rect{x0, y1 + 1, x0 + 1, y0 + 1};
      } else {
        r = Rect{x0 + lo, a + lo, x0 + hi, b + hi};
      }
    }
    FillRect(r, c);
    return;
  }

  // Diagonal lines: Bresenham over the part that can reach the clip rectangle, stamping a
  // pen-sized square at each step.
  Rect box = clip_.Offset(-origin_.x, -origin_.y);
  if (box.Empty()) return;
  box = Rect{box.left - penWidth - 1, box.top - penWidth - 1, box.right + penWidth + 1,
             box.bottom + penWidth + 1};
  double fx0 = x0, fy0 = y0, fx1 = x1, fy1 = y1;
  if (!ClipSegment(fx0, fy0, fx1, fy1, box)) return;
  bool endClipped = std::lround(fx1) != x1 || std::lround(fy1) != y1;
  int ax = static_cast<int>(std::lround(fx0)), ay = static_cast<int>(std::lround(fy0));
  int bx = static_cast<int>(std::lround(fx1)), by = static_cast<int>(std::lround(fy1));
  int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
  int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
  int err = dx + dy;
  uint32_t p = PixelOf(c);
  bool includeEnd = penWidth > 1 || endClipped;
  for (;;) {
    bool atEnd = ax == bx && ay == by;
    if (atEnd && !includeEnd) break;
    if (penWidth == 1) {
      int px = ax + origin_.x, py = ay + origin_.y;
      if (clip_.Contains(px, py)) pixels_[static_cast<size_t>(py) * stride_ + px] = p;
    } else {
      FillRect(Rect{ax + lo, ay + lo, ax + hi, ay + hi}, c);
    }
    if (atEnd) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      ax += sx;
    }
    if (e2 <= dx) {
      err += dx;
      ay += sy;
    }
  }
}

void Canvas::DrawPolyline(const Point* points, int count, Color c, int penWidth) {
  if (!points) return;
  for (int i = 1; i < count; ++i) {
    DrawLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, c, penWidth);
  }
}

void Canvas::FillPolygon(const Point* points, int count, Color c) {
  if (!points || count < 3) return;
  int minY = points[0].y, maxY = points[0].y;
  for (int i = 1; i < count; ++i) {
    minY = std::min(minY, points[i].y);
    maxY = std::max(maxY, points[i].y);
  }
  Rect box = clip_.Offset(-origin_.x, -origin_.y);
  int y0 = std::max(minY, box.top), y1 = std::min(maxY, box.bottom);
  double crossings[kMaxPolygonCrossings];
  for (int y = y0; y < y1; ++y) {
    double cy = y + 0.5;
    int n = 0;
    for (int i = 0; i < count && n < kMaxPolygonCrossings; ++i) {
      const Point& a = points[i];
      const Point& b = points[(i + 1) % count];
      if ((a.y <= cy) == (b.y <= cy)) continue;
      crossings[n++] = a.x + (cy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y);
    }
    std::sort(crossings, crossings + n);
    for (int k = 0; k + 1 < n; k += 2) {
      int left = static_cast<int>(std::ceil(crossings[k] - 0.5));
      int right = static_cast<int>(std::ceil(crossings[k + 1] - 0.5));
      if (right > left) FillRect(Rect{left, y, right, y + 1}, c);
    }
  }
}

void Canvas::FillEllipse(const Rect& r, Color c) {
  Rect box = clip_.Offset(-origin_.x, -origin_.y);
  int y0 = std::max(r.top, box.top), y1 = std::min(r.bottom, box.bottom);
  for (int y = y0; y < y1; ++y) {
    int left, right;
    if (EllipseSpan(r, y, left, right)) FillRect(Rect{left, y, right, y + 1}, c);
  }
}

void Canvas::FrameEllipse(const Rect& r, Color c, int penWidth) {
  if (penWidth < 1) penWidth = 1;
  Rect inner{r.left + penWidth, r.top + penWidth, r.right - penWidth, r.bottom - penWidth};
  if (inner.Empty()) {
    FillEllipse(r, c);
    return;
  }
  Rect box = clip_.Offset(-origin_.x, -origin_.y);
  int y0 = std::max(r.top, box.top), y1 = std::min(r.bottom, box.bottom);
  for (int y = y0; y < y1; ++y) {
    int left, right, innerLeft, innerRight;
    if (!EllipseSpan(r, y, left, right)) continue;
    if (!EllipseSpan(inner, y, innerLeft, innerRight)) {
      FillRect(Rect{left, y, right, y + 1}, c);
      continue;
    }
    FillRect(Rect{left, y, std::max(innerLeft, left + 1), y + 1}, c);
    FillRect(Rect{std::min(innerRight, right - 1), y, right, y + 1}, c);
  }
}

namespace {

// Draws one laid-out line of text with its cell's top-left at device (x, y), within `clip`.
template <typename Ch>
int DrawLineOfText(uint32_t* pixels, int stride, const Rect& clip, FontHandle font, int x, int y,
                   const Ch* text, size_t length, uint32_t color) {
  FontMetrics m;
  GetFontMetrics(font, m);
  int baseline = y + m.ascent;
  int penX = x;
  size_t i = 0;
  while (i < length) {
    const Glyph* g = GetGlyph(font, NextCode(text, length, i));
    if (!g) break;
    if (g->coverage && g->width > 0) {
      int gx = penX + g->left, gy = baseline - g->top;
      Rect d = Intersect(Rect{gx, gy, gx + g->width, gy + g->height}, clip);
      for (int row = d.top; row < d.bottom; ++row) {
        const uint8_t* cov = g->coverage + static_cast<size_t>(row - gy) * g->width + (d.left - gx);
        uint32_t* dst = pixels + static_cast<size_t>(row) * stride + d.left;
        for (int k = 0, n = d.Width(); k < n; ++k) {
          uint32_t a = cov[k];
          if (a == 255) {
            dst[k] = color;
          } else if (a != 0) {
            dst[k] = Blend(dst[k], color, a);
          }
        }
      }
    }
    penX += g->advance;
  }
  return penX - x;
}

}  // namespace

template <typename Ch>
static int DrawTextImpl(Canvas& canvas, const Rect& logical, const Ch* text, size_t length,
                        TextFlags flags, FontHandle font, Color textColor, Color background,
                        BackgroundMode mode) {
  int lineHeight = LineHeight(font);
  if (!text || length == 0 || lineHeight <= 0) return 0;
  Point o = canvas.Origin();
  Rect r = logical.Offset(o.x, o.y);
  bool singleLine = (flags & TextFlag::SingleLine) != 0;
  bool wrap = !singleLine && (flags & TextFlag::WordBreak) != 0;
  TextLine lines[kMaxTextLines];
  size_t total = BreakTextLines(font, text, length, r.Width(), wrap, singleLine, lines,
                                kMaxTextLines);
  size_t count = std::min(total, kMaxTextLines);
  int height = static_cast<int>(total) * lineHeight;
  int y = r.top;
  if (flags & TextFlag::VCenter) {
    y = r.top + (r.Height() - height) / 2;
  } else if (flags & TextFlag::Bottom) {
    y = r.bottom - height;
  }
  Rect deviceClip = canvas.Clip().Offset(o.x, o.y);
  Rect clip = (flags & TextFlag::NoClip) ? deviceClip : Intersect(deviceClip, r);
  uint32_t color = PixelOf(textColor);
  uint32_t bg = PixelOf(background);
  for (size_t k = 0; k < count; ++k, y += lineHeight) {
    if (y >= clip.bottom) break;
    if (y + lineHeight <= clip.top) continue;
    const TextLine& line = lines[k];
    int x = r.left;
    if (flags & TextFlag::Center) {
      x = r.left + (r.Width() - line.width) / 2;
    } else if (flags & TextFlag::Right) {
      x = r.right - line.width;
    }
    if (mode == BackgroundMode::Opaque) {
      Rect cell = Intersect(Rect{x, y, x + line.width, y + lineHeight}, clip);
      for (int row = cell.top; row < cell.bottom; ++row) {
        FillRow(canvas.Pixels() + static_cast<size_t>(row) * canvas.Stride() + cell.left,
                cell.Width(), bg);
      }
    }
    DrawLineOfText(canvas.Pixels(), canvas.Stride(), clip, font, x, y, text + line.begin,
                   line.end - line.begin, color);
  }
  return height;
}

static TextObserver g_textObserver = nullptr;
void SetTextObserver(TextObserver observer) { g_textObserver = observer; }

int Canvas::DrawText(const Rect& r, const char16_t* text, size_t length, TextFlags flags) {
  if (g_textObserver && text && length) g_textObserver(*this, r, text, nullptr, length, textColor_);
  if (!pixels_) return 0;
  return DrawTextImpl(*this, r, text, length, flags, font_, textColor_, backgroundColor_,
                      backgroundMode_);
}
int Canvas::DrawText(const Rect& r, const char16_t* text, TextFlags flags) {
  return DrawText(r, text, LengthOf(text), flags);
}
int Canvas::DrawText(const Rect& r, const char* latin1, size_t length, TextFlags flags) {
  if (g_textObserver && latin1 && length) g_textObserver(*this, r, nullptr, latin1, length, textColor_);
  if (!pixels_) return 0;
  return DrawTextImpl(*this, r, latin1, length, flags, font_, textColor_, backgroundColor_,
                      backgroundMode_);
}
int Canvas::DrawText(const Rect& r, const char* latin1, TextFlags flags) {
  return DrawText(r, latin1, LengthOf(latin1), flags);
}

int Canvas::TextOut(int x, int y, const char16_t* text, size_t length) {
  int width = TextWidth(font_, text, length);
  if (g_textObserver && text && length) {
    g_textObserver(*this, Rect{x, y, x + width, y + LineHeight(font_)}, text, nullptr, length,
                   textColor_);
  }
  if (!pixels_ || !text || !font_.valid()) return width;
  int dx = x + origin_.x, dy = y + origin_.y;
  if (backgroundMode_ == BackgroundMode::Opaque) {
    FillRect(Rect{x, y, x + width, y + LineHeight(font_)}, backgroundColor_);
  }
  DrawLineOfText(pixels_, stride_, clip_, font_, dx, dy, text, length, PixelOf(textColor_));
  return width;
}

int Canvas::TextOut(int x, int y, const char* latin1) {
  size_t length = LengthOf(latin1);
  int width = TextWidth(font_, latin1, length);
  if (g_textObserver && latin1 && length) {
    g_textObserver(*this, Rect{x, y, x + width, y + LineHeight(font_)}, nullptr, latin1, length,
                   textColor_);
  }
  if (!pixels_ || !latin1 || !font_.valid()) return width;
  if (backgroundMode_ == BackgroundMode::Opaque) {
    FillRect(Rect{x, y, x + width, y + LineHeight(font_)}, backgroundColor_);
  }
  DrawLineOfText(pixels_, stride_, clip_, font_, x + origin_.x, y + origin_.y, latin1, length,
                 PixelOf(textColor_));
  return width;
}

namespace {

// Clips a transfer of srcRect to device (dx, dy) against the source and the clip rectangle.
// On success srcRect is the part to copy and (dx, dy) where it lands.
bool ClipTransfer(const PixelView& src, Rect& srcRect, int& dx, int& dy, const Rect& clip) {
  if (!src.pixels) return false;
  Rect s = Intersect(srcRect, Rect{0, 0, src.width, src.height});
  if (s.Empty()) return false;
  dx += s.left - srcRect.left;
  dy += s.top - srcRect.top;
  Rect d = Intersect(Rect{dx, dy, dx + s.Width(), dy + s.Height()}, clip);
  if (d.Empty()) return false;
  srcRect = Rect{s.left + (d.left - dx), s.top + (d.top - dy), s.left + (d.right - dx),
                 s.top + (d.bottom - dy)};
  dx = d.left;
  dy = d.top;
  return true;
}

}  // namespace

void Canvas::Blit(int x, int y, const PixelView& src, const Rect& srcRect) {
  Rect s = srcRect;
  int dx = x + origin_.x, dy = y + origin_.y;
  if (!pixels_ || !ClipTransfer(src, s, dx, dy, clip_)) return;
  size_t bytes = static_cast<size_t>(s.Width()) * sizeof(uint32_t);
  int h = s.Height();
  // The source may be this canvas: copy rows in the order that does not overwrite them.
  bool upward = src.pixels == pixels_ && dy > s.top;
  for (int k = 0; k < h; ++k) {
    int row = upward ? h - 1 - k : k;
    std::memmove(pixels_ + static_cast<size_t>(dy + row) * stride_ + dx,
                 src.pixels + static_cast<size_t>(s.top + row) * src.stride + s.left, bytes);
  }
}

void Canvas::Blit(int x, int y, const PixelView& src) {
  Blit(x, y, src, Rect{0, 0, src.width, src.height});
}

void Canvas::BlitKeyed(int x, int y, const PixelView& src, const Rect& srcRect, Color key) {
  Rect s = srcRect;
  int dx = x + origin_.x, dy = y + origin_.y;
  if (!pixels_ || !ClipTransfer(src, s, dx, dy, clip_)) return;
  uint32_t k = PixelOf(key);
  int w = s.Width();
  for (int row = 0; row < s.Height(); ++row) {
    const uint32_t* from = src.pixels + static_cast<size_t>(s.top + row) * src.stride + s.left;
    uint32_t* to = pixels_ + static_cast<size_t>(dy + row) * stride_ + dx;
    for (int i = 0; i < w; ++i) {
      uint32_t p = from[i] & 0xFFFFFF;
      if (p != k) to[i] = p;
    }
  }
}

void Canvas::StretchBlit(const Rect& dst, const PixelView& src, const Rect& srcRect) {
  if (!pixels_ || !src.pixels || dst.Empty() || srcRect.Empty()) return;
  if (srcRect.left < 0 || srcRect.top < 0 || srcRect.right > src.width ||
      srcRect.bottom > src.height) {
    return;
  }
  Rect d = dst.Offset(origin_.x, origin_.y);
  Rect c = Intersect(d, clip_);
  if (c.Empty()) return;
  // 16.16 fixed-point steps through the source, sampling at pixel centres.
  int64_t stepX = (static_cast<int64_t>(srcRect.Width()) << 16) / d.Width();
  int64_t stepY = (static_cast<int64_t>(srcRect.Height()) << 16) / d.Height();
  int64_t startX = (static_cast<int64_t>(c.left - d.left) * stepX) + stepX / 2;
  for (int y = c.top; y < c.bottom; ++y) {
    int64_t fy = static_cast<int64_t>(y - d.top) * stepY + stepY / 2;
    int sy = srcRect.top + std::min(static_cast<int>(fy >> 16), srcRect.Height() - 1);
    const uint32_t* from = src.pixels + static_cast<size_t>(sy) * src.stride + srcRect.left;
    uint32_t* to = pixels_ + static_cast<size_t>(y) * stride_;
    int64_t fx = startX;
    int maxX = srcRect.Width() - 1;
    for (int x = c.left; x < c.right; ++x, fx += stepX) {
      to[x] = from[std::min(static_cast<int>(fx >> 16), maxX)];
    }
  }
}

}  // namespace plat
