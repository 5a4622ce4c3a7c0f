// The .bmp reader on arbitrary bytes: it must refuse or decode without reading out of
// bounds, and a decoded bitmap holds only 0x00RRGGBB pixels. Inputs whose first byte is odd
// are wrapped in a plausible header built from their next bytes, so that the pixel decoders
// of every depth are reached quickly rather than only the header checks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Bitmap.h"

namespace {

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

std::vector<uint8_t> Wrap(const uint8_t* data, size_t size) {
  static constexpr uint16_t kDepths[] = {1, 4, 8, 16, 24, 32, 2, 0};
  static constexpr uint32_t kHeaderSizes[] = {40, 12, 108, 124};
  uint8_t p[8] = {};
  std::memcpy(p, data, size < 8 ? size : 8);
  size_t skip = size < 8 ? size : 8;
  uint32_t headerSize = kHeaderSizes[p[1] & 3];
  std::vector<uint8_t> v(14 + headerSize + 12, 0);
  v[0] = 'B';
  v[1] = 'M';
  int32_t width = (p[2] & 0x3F) + 1;
  int32_t height = static_cast<int8_t>(p[3]);
  uint16_t depth = kDepths[p[4] & 7];
  uint32_t compression = (p[4] >> 3) & 1 ? 3 : ((p[4] >> 4) & 7);
  uint32_t colors = p[5];
  Put32(v, 14, headerSize);
  if (headerSize == 12) {
    v[18] = static_cast<uint8_t>(width);
    v[20] = static_cast<uint8_t>(height);
    v[22] = 1;
    v[24] = static_cast<uint8_t>(depth);
  } else {
    Put32(v, 18, static_cast<uint32_t>(width));
    Put32(v, 22, static_cast<uint32_t>(height));
    v[26] = 1;
    v[28] = static_cast<uint8_t>(depth);
    Put32(v, 30, compression);
    Put32(v, 46, colors);
  }
  Put32(v, 10, static_cast<uint32_t>(v.size()) + p[6] + (p[7] << 8) - 12);
  v.insert(v.end(), data + skip, data + size);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> wrapped;
  if (size > 0 && (data[0] & 1)) {
    wrapped = Wrap(data + 1, size - 1);
    data = wrapped.data();
    size = wrapped.size();
  }
  // An exact-size copy, so that any read past the end is caught.
  std::vector<uint8_t> exact(data, data + size);
  plat::Bitmap bitmap;
  plat::BmpResult r = plat::DecodeBmp(exact.empty() ? nullptr : exact.data(), exact.size(), bitmap);
  if (r == plat::BmpResult::Ok) {
    if (bitmap.Empty() || bitmap.Width() <= 0 || bitmap.Height() <= 0) std::abort();
    for (int y = 0; y < bitmap.Height(); ++y) {
      for (int x = 0; x < bitmap.Width(); ++x) {
        if (bitmap.At(x, y) >> 24) std::abort();
      }
    }
  } else if (!bitmap.Empty()) {
    std::abort();
  }
  return 0;
}
