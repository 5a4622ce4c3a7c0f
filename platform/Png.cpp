#include "platform/Png.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/Bitmap.h"

namespace plat {
namespace {

constexpr const char* kPngResultTexts[] = {
    "ok", "file could not be opened", "file could not be written", "not a readable PNG",
    "picture too large",
};
static_assert(sizeof kPngResultTexts / sizeof kPngResultTexts[0] ==
              static_cast<size_t>(PngResult::TooLarge) + 1);

}  // namespace

const char* PngResultText(PngResult r) {
  size_t i = static_cast<size_t>(r);
  return i < sizeof kPngResultTexts / sizeof kPngResultTexts[0] ? kPngResultTexts[i] : "?";
}

// libpng's simplified interface keeps its error handling (longjmp) to itself.
PngResult WritePng(const char* hostPath, const PixelView& pixels) {
  if (!hostPath || !pixels.pixels || pixels.width <= 0 || pixels.height <= 0) {
    return PngResult::WriteFailed;
  }
  size_t rowBytes = static_cast<size_t>(pixels.width) * 3;
  std::unique_ptr<uint8_t[]> rgb(new uint8_t[rowBytes * pixels.height]);
  for (int y = 0; y < pixels.height; ++y) {
    uint8_t* row = rgb.get() + rowBytes * y;
    for (int x = 0; x < pixels.width; ++x) {
      uint32_t p = pixels.At(x, y);
      row[3 * x] = static_cast<uint8_t>(p >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(p);
    }
  }
  FILE* f = std::fopen(hostPath, "wb");
  if (!f) return PngResult::OpenFailed;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(pixels.width);
  image.height = static_cast<png_uint_32>(pixels.height);
  image.format = PNG_FORMAT_RGB;
  bool ok = png_image_write_to_stdio(&image, f, 0, rgb.get(), static_cast<png_int_32>(rowBytes),
                                     nullptr) != 0;
  png_image_free(&image);
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) {
    std::remove(hostPath);
    return PngResult::WriteFailed;
  }
  return PngResult::Ok;
}

PngResult ReadPng(const char* hostPath, Bitmap& out) {
  out.Release();
  if (!hostPath) return PngResult::OpenFailed;
  FILE* f = std::fopen(hostPath, "rb");
  if (!f) return PngResult::OpenFailed;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_stdio(&image, f)) {
    std::fclose(f);
    return PngResult::BadFile;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxBitmapSide ||
      image.height > kMaxBitmapSide ||
      static_cast<int64_t>(image.width) * image.height > kMaxBitmapPixels ||
      !out.Allocate(static_cast<int>(image.width), static_cast<int>(image.height))) {
    png_image_free(&image);
    std::fclose(f);
    return PngResult::TooLarge;
  }
  // BGRA bytes are 0xAARRGGBB words on a little-endian machine; the alpha byte is dropped.
  image.format = PNG_FORMAT_BGRA;
  bool ok = png_image_finish_read(&image, nullptr, out.Pixels(),
                                  static_cast<png_int_32>(image.width * 4), nullptr) != 0;
  png_image_free(&image);
  std::fclose(f);
  if (!ok) {
    out.Release();
    return PngResult::BadFile;
  }
  uint32_t* p = out.Pixels();
  for (size_t i = 0, n = static_cast<size_t>(out.Width()) * out.Height(); i < n; ++i) {
    p[i] &= 0xFFFFFF;
  }
  return PngResult::Ok;
}

}  // namespace plat
