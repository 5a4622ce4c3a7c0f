#pragma once
// Drawing onto a 32-bit framebuffer (pixels 0x00RRGGBB, stride in pixels). A canvas either owns
// its pixels (a memory canvas, allocated once when it is created) or views someone else's (a
// window's backbuffer, a bitmap). Coordinates follow Win32: a rectangle's right and bottom edges
// are outside it, and a one-pixel line leaves out its end point, so polylines and adjoining
// rectangles never paint a pixel twice. Every operation is clipped to the clip rectangle and
// the canvas, and none of them allocates.
#include <cstddef>
#include <cstdint>

#include "platform/Font.h"

namespace plat {

struct Color {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  constexpr bool operator==(const Color&) const = default;
};
constexpr Color Rgb(int r, int g, int b) {
  return Color{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
}
constexpr uint32_t PixelOf(Color c) {
  return (static_cast<uint32_t>(c.r) << 16) | (static_cast<uint32_t>(c.g) << 8) | c.b;
}
constexpr Color ColorOf(uint32_t pixel) {
  return Color{static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
               static_cast<uint8_t>(pixel)};
}

struct Point {
  int x = 0;
  int y = 0;
  constexpr bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool Empty() const { return right <= left || bottom <= top; }
  constexpr bool Contains(int x, int y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  constexpr Rect Offset(int dx, int dy) const {
    return Rect{left + dx, top + dy, right + dx, bottom + dy};
  }
  constexpr bool operator==(const Rect&) const = default;
};
// A rectangle from its top-left corner and size.
constexpr Rect RectXywh(int x, int y, int w, int h) { return Rect{x, y, x + w, y + h}; }
// Empty (all zero) when the rectangles do not overlap.
Rect Intersect(const Rect& a, const Rect& b);
Rect Union(const Rect& a, const Rect& b);  // an empty rectangle does not count

// Read-only view of someone's pixels, the source of a block transfer.
struct PixelView {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // in pixels
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * stride + x]; }
};

// Text placement flags for DrawText, combined with |.
using TextFlags = uint32_t;
namespace TextFlag {
inline constexpr TextFlags Left = 0;
inline constexpr TextFlags Center = 1u << 0;
inline constexpr TextFlags Right = 1u << 1;
inline constexpr TextFlags Top = 0;
inline constexpr TextFlags VCenter = 1u << 2;  // the whole block of lines is centred
inline constexpr TextFlags Bottom = 1u << 3;
inline constexpr TextFlags SingleLine = 1u << 4;  // line ends are ignored, nothing wraps
inline constexpr TextFlags WordBreak = 1u << 5;   // wrap at spaces; longer words break hard
inline constexpr TextFlags NoClip = 1u << 6;      // may draw outside the rectangle
}  // namespace TextFlag

enum class BackgroundMode : uint8_t { Transparent, Opaque };

class Bitmap;

// What SaveState/RestoreState keep, so a window system can paint a child and come back.
struct CanvasState {
  Point origin;
  Rect clip;  // device coordinates
  FontHandle font;
  Color textColor;
  Color backgroundColor;
  BackgroundMode backgroundMode = BackgroundMode::Transparent;
};

class Canvas;
// Observer of every text drawn by any canvas (the window system records what each window drew
// for its tests). Called before clipping, with the rectangle in the canvas's logical
// coordinates and exactly one of `wide` and `narrow` set. Null switches it off.
using TextObserver = void (*)(const Canvas& canvas, const Rect& logicalRect,
                              const char16_t* wide, const char* narrow, size_t length,
                              Color color);
void SetTextObserver(TextObserver observer);

class Canvas {
 public:
  Canvas() = default;
  // A memory canvas of its own, black.
  Canvas(int width, int height);
  // A view of someone else's pixels, which must outlive the canvas.
  Canvas(uint32_t* pixels, int width, int height, int stride);
  explicit Canvas(Bitmap& bitmap);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  Canvas(Canvas&& other);
  Canvas& operator=(Canvas&& other);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }
  uint32_t* Pixels() { return pixels_; }
  const uint32_t* Pixels() const { return pixels_; }
  PixelView View() const { return PixelView{pixels_, width_, height_, stride_}; }
  // Device coordinates, no origin; 0 outside the canvas.
  uint32_t PixelAt(int x, int y) const;
  Color ColorAt(int x, int y) const { return ColorOf(PixelAt(x, y)); }

  // Every coordinate passed below is logical: device = logical + origin.
  void SetOrigin(int x, int y) { origin_ = Point{x, y}; }
  Point Origin() const { return origin_; }
  // The clip rectangle, given in logical coordinates, is kept in device coordinates and
  // always lies within the canvas.
  void SetClip(const Rect& logical);
  // Narrows the current clip rectangle to its intersection with `logical`.
  void IntersectClip(const Rect& logical);
  void ResetClip();
  Rect Clip() const;  // logical
  CanvasState SaveState() const;
  void RestoreState(const CanvasState& s);

  // Shapes. Pens of width w > 1 are centred on the line, as Win32 geometric pens are;
  // frames of rectangles and ellipses lie inside the rectangle.
  void Clear(Color c);  // the clip rectangle
  void SetPixel(int x, int y, Color c);
  void FillRect(const Rect& r, Color c);
  void FrameRect(const Rect& r, Color c, int penWidth = 1);
  void DrawLine(int x0, int y0, int x1, int y1, Color c, int penWidth = 1);
  void DrawPolyline(const Point* points, int count, Color c, int penWidth = 1);
  // Even-odd filled polygon; for arrows, icons and the drawn pictures.
  void FillPolygon(const Point* points, int count, Color c);
  // The ellipse inscribed in r.
  void FillEllipse(const Rect& r, Color c);
  void FrameEllipse(const Rect& r, Color c, int penWidth = 1);

  // Text, drawn with the selected font and colours. Transparent mode leaves the background;
  // opaque mode fills each line's cell with the background colour first.
  void SetFont(FontHandle f) { font_ = f; }
  FontHandle Font() const { return font_; }
  void SetTextColor(Color c) { textColor_ = c; }
  Color TextColor() const { return textColor_; }
  void SetBackgroundColor(Color c) { backgroundColor_ = c; }
  void SetBackgroundMode(BackgroundMode m) { backgroundMode_ = m; }

  // Text inside r as the flags place it, clipped to r unless NoClip. Returns the height of
  // the block of lines (0 for an empty text or no font).
  int DrawText(const Rect& r, const char16_t* text, size_t length, TextFlags flags);
  int DrawText(const Rect& r, const char16_t* text, TextFlags flags);  // zero-terminated
  int DrawText(const Rect& r, const char* latin1, size_t length, TextFlags flags);
  int DrawText(const Rect& r, const char* latin1, TextFlags flags);  // zero-terminated
  // One line with its cell's top-left corner at (x, y). Returns the advance width.
  int TextOut(int x, int y, const char16_t* text, size_t length);
  int TextOut(int x, int y, const char* latin1);  // zero-terminated

  // Block transfers of srcRect (source pixel coordinates, clipped to the source) with its
  // top-left corner at logical (x, y).
  void Blit(int x, int y, const PixelView& src, const Rect& srcRect);
  void Blit(int x, int y, const PixelView& src);  // the whole source
  // Source pixels equal to `key` are left out (transparent colour).
  void BlitKeyed(int x, int y, const PixelView& src, const Rect& srcRect, Color key);
  // Nearest-neighbour scaling of srcRect onto dst (for --scale and stretched pictures).
  void StretchBlit(const Rect& dst, const PixelView& src, const Rect& srcRect);

 private:
  uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  bool owned_ = false;
  Point origin_;
  Rect clip_;  // device coordinates
  FontHandle font_;
  Color textColor_;
  Color backgroundColor_ = Rgb(255, 255, 255);
  BackgroundMode backgroundMode_ = BackgroundMode::Transparent;
};

}  // namespace plat
