#pragma once
// Bitmaps: 32-bit pixel buffers (0x00RRGGBB) that own their memory, and the .bmp format.
// The reader takes 1, 4, 8, 24 and 32 bits per pixel, bottom-up and top-down, with
// palettes, and rejects anything malformed with a BmpResult; it never reads outside the
// bytes it is given. The writer makes 24-bit bottom-up files.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/Canvas.h"

namespace plat {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  Bitmap(Bitmap&&) = default;
  Bitmap& operator=(Bitmap&&) = default;

  // Replaces the pixels with width x height black ones. False (and empty) when a side is not
  // positive or the size exceeds the limits below.
  bool Allocate(int width, int height);
  void Release();

  bool Empty() const { return pixels_ == nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return width_; }
  uint32_t* Pixels() { return pixels_.get(); }
  const uint32_t* Pixels() const { return pixels_.get(); }
  uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  PixelView View() const { return PixelView{pixels_.get(), width_, height_, width_}; }

 private:
  std::unique_ptr<uint32_t[]> pixels_;
  int width_ = 0;
  int height_ = 0;
};

inline constexpr int kMaxBitmapSide = 8192;
inline constexpr int64_t kMaxBitmapPixels = 16 * 1024 * 1024;
inline constexpr size_t kMaxBmpFileBytes = 64 * 1024 * 1024;

enum class BmpResult : uint8_t {
  Ok,
  BadHeader,    // not a BMP, or its header fields contradict each other
  Unsupported,  // a valid BMP of a kind we do not read (compression, bit depth)
  Truncated,    // the header or pixel rows run past the end of the data
  TooLarge,     // dimensions or file beyond the limits
  BadOffset,    // the pixel data offset points into the headers or past the end
  BadPalette,   // palette too large for the depth or past the pixel data
  NotFound,     // the file does not exist
  IoError,      // the file could not be read
};
const char* BmpResultText(BmpResult r);

// Decodes a whole .bmp file held in memory. On failure `out` is left empty.
BmpResult DecodeBmp(const uint8_t* data, size_t size, Bitmap& out);
// Reads a .bmp by panel path ("\Hard Disk\Languages\EN\Bitmaps\X.BMP") and decodes it.
BmpResult LoadBmpFile(const char* panelPath, Bitmap& out);

// Encodes pixels as a 24-bit bottom-up .bmp. Returns the file size; writes nothing and returns
// the size needed when `size` is too small.
size_t EncodeBmp24(const PixelView& src, uint8_t* out, size_t size);
// Writes a 24-bit .bmp to a host path (for build-time tools). False on any failure.
bool SaveBmpFile(const char* hostPath, const PixelView& src);

}  // namespace plat
