#include "platform/Bitmap.h"

#include <cstdio>
#include <cstring>

#include "platform/Files.h"

namespace plat {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kMaxInfoHeaderBytes = 124;  // BITMAPV5HEADER
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitfields = 3;
constexpr uint32_t kCompressionAlphaBitfields = 6;

constexpr const char* kBmpResultTexts[] = {
    "ok",
    "not a bitmap file or an inconsistent header",
    "unsupported bitmap kind",
    "bitmap data truncated",
    "bitmap too large",
    "bad pixel data offset",
    "bad palette",
    "bitmap file not found",
    "bitmap file could not be read",
};
static_assert(sizeof kBmpResultTexts / sizeof kBmpResultTexts[0] ==
              static_cast<size_t>(BmpResult::IoError) + 1);

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Write16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void Write32(uint8_t* p, uint32_t v) {
  Write16(p, v);
  Write16(p + 2, v >> 16);
}

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  bool Init(uint32_t m) {
    mask = m;
    if (m == 0) return true;
    while (!((m >> shift) & 1)) ++shift;
    max = m >> shift;
    return (max & (max + 1)) == 0;  // contiguous bits only
  }
  uint32_t Get(uint32_t pixel) const {
    if (mask == 0) return 0;
    return (((pixel & mask) >> shift) * 255 + max / 2) / max;
  }
};

struct BmpHeader {
  uint32_t pixelOffset = 0;
  uint32_t headerSize = 0;
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitsPerPixel = 0;
  uint32_t compression = kCompressionRgb;
  uint32_t colorsUsed = 0;
  uint32_t masks[3] = {};
  size_t paletteOffset = 0;
  int paletteEntryBytes = 4;
};

BmpResult ReadHeader(const uint8_t* data, size_t size, BmpHeader& h) {
  if (!data || size < 2 || data[0] != 'B' || data[1] != 'M') return BmpResult::BadHeader;
  if (size < kFileHeaderBytes + 4) return BmpResult::Truncated;
  h.pixelOffset = Read32(data + 10);
  h.headerSize = Read32(data + 14);
  const uint8_t* info = data + kFileHeaderBytes;
  if (h.headerSize != kCoreHeaderBytes &&
      (h.headerSize < kInfoHeaderBytes || h.headerSize > kMaxInfoHeaderBytes)) {
    return BmpResult::BadHeader;
  }
  if (size < kFileHeaderBytes + h.headerSize) return BmpResult::Truncated;
  int planes = 0;
  int64_t height = 0;
  if (h.headerSize == kCoreHeaderBytes) {
    h.width = Read16(info + 4);
    height = Read16(info + 6);
    planes = Read16(info + 8);
    h.bitsPerPixel = Read16(info + 10);
    h.paletteEntryBytes = 3;
  } else {
    h.width = static_cast<int32_t>(Read32(info + 4));
    height = static_cast<int32_t>(Read32(info + 8));
    planes = Read16(info + 12);
    h.bitsPerPixel = Read16(info + 14);
    h.compression = Read32(info + 16);
    h.colorsUsed = Read32(info + 32);
  }
  h.topDown = height < 0;
  if (height < 0) height = -height;
  if (planes != 1 || h.width <= 0 || height <= 0) return BmpResult::BadHeader;
  if (h.width > kMaxBitmapSide || height > kMaxBitmapSide ||
      static_cast<int64_t>(h.width) * height > kMaxBitmapPixels) {
    return BmpResult::TooLarge;
  }
  h.height = static_cast<int>(height);

  switch (h.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
      if (h.compression != kCompressionRgb) return BmpResult::Unsupported;
      break;
    case 16:
    case 32:
      if (h.compression != kCompressionRgb && h.compression != kCompressionBitfields &&
          h.compression != kCompressionAlphaBitfields) {
        return BmpResult::Unsupported;
      }
      break;
    default:
      return BmpResult::Unsupported;
  }

  h.paletteOffset = kFileHeaderBytes + h.headerSize;
  if (h.compression == kCompressionRgb) {
    if (h.bitsPerPixel == 16) {
      h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
    } else if (h.bitsPerPixel == 32) {
      h.masks[0] = 0xFF0000, h.masks[1] = 0x00FF00, h.masks[2] = 0x0000FF;
    }
  } else {
    // The masks follow a plain info header, or sit inside the larger ones.
    size_t at = kFileHeaderBytes + kInfoHeaderBytes;
    if (h.headerSize == kInfoHeaderBytes) {
      size_t maskBytes = h.compression == kCompressionAlphaBitfields ? 16 : 12;
      if (size < at + maskBytes) return BmpResult::Truncated;
      h.paletteOffset += maskBytes;
    } else if (h.headerSize < kInfoHeaderBytes + 12) {
      return BmpResult::BadHeader;
    }
    for (int i = 0; i < 3; ++i) h.masks[i] = Read32(data + at + 4 * i);
  }
  if (h.pixelOffset < h.paletteOffset || h.pixelOffset >= size) return BmpResult::BadOffset;
  return BmpResult::Ok;
}

}  // namespace

const char* BmpResultText(BmpResult r) {
  size_t i = static_cast<size_t>(r);
  return i < sizeof kBmpResultTexts / sizeof kBmpResultTexts[0] ? kBmpResultTexts[i] : "?";
}

bool Bitmap::Allocate(int width, int height) {
  Release();
  if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
      static_cast<int64_t>(width) * height > kMaxBitmapPixels) {
    return false;
  }
  pixels_.reset(new uint32_t[static_cast<size_t>(width) * height]());
  width_ = width;
  height_ = height;
  return true;
}

void Bitmap::Release() {
  pixels_.reset();
  width_ = height_ = 0;
}

BmpResult DecodeBmp(const uint8_t* data, size_t size, Bitmap& out) {
  out.Release();
  BmpHeader h;
  BmpResult r = ReadHeader(data, size, h);
  if (r != BmpResult::Ok) return r;

  uint32_t palette[256] = {};
  uint32_t paletteCount = 0;
  if (h.bitsPerPixel <= 8) {
    uint32_t maxEntries = 1u << h.bitsPerPixel;
    paletteCount = h.colorsUsed == 0 ? maxEntries : h.colorsUsed;
    if (paletteCount > maxEntries) return BmpResult::BadPalette;
    size_t paletteEnd = h.paletteOffset + static_cast<size_t>(paletteCount) * h.paletteEntryBytes;
    if (paletteEnd > size) return BmpResult::Truncated;
    if (paletteEnd > h.pixelOffset) return BmpResult::BadPalette;
    for (uint32_t i = 0; i < paletteCount; ++i) {
      const uint8_t* e = data + h.paletteOffset + static_cast<size_t>(i) * h.paletteEntryBytes;
      palette[i] = (static_cast<uint32_t>(e[2]) << 16) | (static_cast<uint32_t>(e[1]) << 8) | e[0];
    }
  }
  Channel red, green, blue;
  if (h.bitsPerPixel == 16 || h.bitsPerPixel == 32) {
    if (!red.Init(h.masks[0]) || !green.Init(h.masks[1]) || !blue.Init(h.masks[2])) {
      return BmpResult::Unsupported;
    }
  }

  size_t rowBytes = ((static_cast<size_t>(h.width) * h.bitsPerPixel + 31) / 32) * 4;
  if (rowBytes * h.height > size - h.pixelOffset) return BmpResult::Truncated;
  if (!out.Allocate(h.width, h.height)) return BmpResult::TooLarge;

  // Indices past the palette draw black, as the panel's own loader did.
  auto Lookup = [&](uint32_t index) { return index < paletteCount ? palette[index] : 0u; };
  for (int row = 0; row < h.height; ++row) {
    const uint8_t* src = data + h.pixelOffset + rowBytes * row;
    int y = h.topDown ? row : h.height - 1 - row;
    uint32_t* dst = out.Pixels() + static_cast<size_t>(y) * h.width;
    switch (h.bitsPerPixel) {
      case 1:
        for (int x = 0; x < h.width; ++x) dst[x] = Lookup((src[x >> 3] >> (7 - (x & 7))) & 1);
        break;
      case 4:
        for (int x = 0; x < h.width; ++x) {
          dst[x] = Lookup((x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4));
        }
        break;
      case 8:
        for (int x = 0; x < h.width; ++x) dst[x] = Lookup(src[x]);
        break;
      case 16:
        for (int x = 0; x < h.width; ++x) {
          uint32_t p = Read16(src + 2 * x);
          dst[x] = (red.Get(p) << 16) | (green.Get(p) << 8) | blue.Get(p);
        }
        break;
      case 24:
        for (int x = 0; x < h.width; ++x) {
          const uint8_t* p = src + 3 * x;
          dst[x] = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
        }
        break;
      case 32:
        if (h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF) {
          for (int x = 0; x < h.width; ++x) dst[x] = Read32(src + 4 * x) & 0xFFFFFF;
        } else {
          for (int x = 0; x < h.width; ++x) {
            uint32_t p = Read32(src + 4 * x);
            dst[x] = (red.Get(p) << 16) | (green.Get(p) << 8) | blue.Get(p);
          }
        }
        break;
      default:
        out.Release();
        return BmpResult::Unsupported;
    }
  }
  return BmpResult::Ok;
}

BmpResult LoadBmpFile(const char* panelPath, Bitmap& out) {
  out.Release();
  FileHandle f;
  FileResult r = OpenFile(panelPath, OpenMode::Read, f);
  if (r == FileResult::NotFound || r == FileResult::BadPath) return BmpResult::NotFound;
  if (r != FileResult::Ok) return BmpResult::IoError;
  uint64_t size = 0;
  if (GetFileSize(f, size) != FileResult::Ok) {
    CloseFile(f);
    return BmpResult::IoError;
  }
  if (size > kMaxBmpFileBytes) {
    CloseFile(f);
    return BmpResult::TooLarge;
  }
  std::unique_ptr<uint8_t[]> data(new uint8_t[size > 0 ? size : 1]);
  size_t total = 0;
  while (total < size) {
    size_t got = 0;
    r = ReadFile(f, data.get() + total, size - total, got);
    if (r != FileResult::Ok && r != FileResult::EndOfFile) {
      CloseFile(f);
      return BmpResult::IoError;
    }
    if (got == 0) break;
    total += got;
  }
  CloseFile(f);
  return DecodeBmp(data.get(), total, out);
}

size_t EncodeBmp24(const PixelView& src, uint8_t* out, size_t size) {
  if (!src.pixels || src.width <= 0 || src.height <= 0) return 0;
  size_t rowBytes = (static_cast<size_t>(src.width) * 3 + 3) & ~static_cast<size_t>(3);
  size_t offset = kFileHeaderBytes + kInfoHeaderBytes;
  size_t total = offset + rowBytes * src.height;
  if (!out || size < total) return total;
  std::memset(out, 0, offset);
  out[0] = 'B';
  out[1] = 'M';
  Write32(out + 2, static_cast<uint32_t>(total));
  Write32(out + 10, static_cast<uint32_t>(offset));
  uint8_t* info = out + kFileHeaderBytes;
  Write32(info, kInfoHeaderBytes);
  Write32(info + 4, static_cast<uint32_t>(src.width));
  Write32(info + 8, static_cast<uint32_t>(src.height));
  Write16(info + 12, 1);
  Write16(info + 14, 24);
  Write32(info + 20, static_cast<uint32_t>(rowBytes * src.height));
  Write32(info + 24, 2835);  // 72 dpi
  Write32(info + 28, 2835);
  for (int y = 0; y < src.height; ++y) {
    uint8_t* row = out + offset + rowBytes * (src.height - 1 - y);
    for (int x = 0; x < src.width; ++x) {
      uint32_t p = src.At(x, y);
      row[3 * x] = static_cast<uint8_t>(p);
      row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(p >> 16);
    }
    std::memset(row + 3 * src.width, 0, rowBytes - 3 * static_cast<size_t>(src.width));
  }
  return total;
}

bool SaveBmpFile(const char* hostPath, const PixelView& src) {
  size_t size = EncodeBmp24(src, nullptr, 0);
  if (size == 0 || !hostPath) return false;
  std::unique_ptr<uint8_t[]> data(new uint8_t[size]);
  if (EncodeBmp24(src, data.get(), size) != size) return false;
  FILE* f = std::fopen(hostPath, "wb");
  if (!f) return false;
  bool ok = std::fwrite(data.get(), 1, size, f) == size;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::remove(hostPath);
  return ok;
}

}  // namespace plat
