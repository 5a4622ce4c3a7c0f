// The .bmp reader on files of every depth built here byte by byte, malformed files, the
// writer, loading by panel path, and PNG screenshots read back.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Files.h"
#include "platform/Png.h"

namespace plat {
namespace {

// A file written independently of the decoder: little-endian fields, padded rows.
struct BmpSpec {
  int bpp = 24;
  int width = 13;
  int height = 5;
  bool topDown = false;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;  // 0: the full palette of the depth
  uint32_t masks[3] = {0, 0, 0};
  bool coreHeader = false;
};

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  Put16(v, at, x);
  Put16(v, at + 2, x >> 16);
}

uint32_t PaletteColor(uint32_t i) { return ((i * 37) & 0xFF) << 16 | ((i * 91) & 0xFF) << 8 | (255 - i); }
uint32_t IndexAt(const BmpSpec& s, int x, int y) {
  uint32_t entries = s.colorsUsed ? s.colorsUsed : (1u << s.bpp);
  return static_cast<uint32_t>(x * 3 + y * 7) % entries;
}
uint32_t TrueColorAt(int x, int y) {
  return static_cast<uint32_t>((x * 19) & 0xFF) << 16 | static_cast<uint32_t>((y * 41) & 0xFF) << 8 |
         static_cast<uint32_t>((x ^ y) * 5 & 0xFF);
}
uint32_t ExpectedAt(const BmpSpec& s, int x, int y) {
  return s.bpp <= 8 ? PaletteColor(IndexAt(s, x, y)) : TrueColorAt(x, y);
}

std::vector<uint8_t> MakeBmp(const BmpSpec& s) {
  uint32_t headerSize = s.coreHeader ? 12 : 40;
  uint32_t maskBytes = (s.compression == 3) ? 12 : 0;
  uint32_t entries = s.bpp <= 8 ? (s.colorsUsed ? s.colorsUsed : (1u << s.bpp)) : 0;
  uint32_t entryBytes = s.coreHeader ? 3 : 4;
  uint32_t offset = 14 + headerSize + maskBytes + entries * entryBytes;
  size_t rowBytes = ((static_cast<size_t>(s.width) * s.bpp + 31) / 32) * 4;
  std::vector<uint8_t> v(offset + rowBytes * s.height, 0);
  v[0] = 'B';
  v[1] = 'M';
  Put32(v, 2, static_cast<uint32_t>(v.size()));
  Put32(v, 10, offset);
  Put32(v, 14, headerSize);
  if (s.coreHeader) {
    Put16(v, 18, s.width);
    Put16(v, 20, s.height);
    Put16(v, 22, 1);
    Put16(v, 24, s.bpp);
  } else {
    Put32(v, 18, static_cast<uint32_t>(s.width));
    Put32(v, 22, static_cast<uint32_t>(s.topDown ? -s.height : s.height));
    Put16(v, 26, 1);
    Put16(v, 28, s.bpp);
    Put32(v, 30, s.compression);
    Put32(v, 46, s.colorsUsed);
    for (int i = 0; i < 3 && maskBytes; ++i) Put32(v, 54 + 4 * i, s.masks[i]);
  }
  for (uint32_t i = 0; i < entries; ++i) {
    size_t at = 14 + headerSize + maskBytes + i * entryBytes;
    uint32_t c = PaletteColor(i);
    v[at] = static_cast<uint8_t>(c);
    v[at + 1] = static_cast<uint8_t>(c >> 8);
    v[at + 2] = static_cast<uint8_t>(c >> 16);
  }
  for (int y = 0; y < s.height; ++y) {
    int fileRow = s.topDown ? y : s.height - 1 - y;
    size_t row = offset + rowBytes * fileRow;
    for (int x = 0; x < s.width; ++x) {
      uint32_t c = TrueColorAt(x, y);
      uint32_t index = s.bpp <= 8 ? IndexAt(s, x, y) : 0;
      switch (s.bpp) {
        case 1: v[row + x / 8] |= static_cast<uint8_t>(index << (7 - x % 8)); break;
        case 4: v[row + x / 2] |= static_cast<uint8_t>(x % 2 ? index : index << 4); break;
        case 8: v[row + x] = static_cast<uint8_t>(index); break;
        case 24:
          v[row + 3 * x] = static_cast<uint8_t>(c);
          v[row + 3 * x + 1] = static_cast<uint8_t>(c >> 8);
          v[row + 3 * x + 2] = static_cast<uint8_t>(c >> 16);
          break;
        case 32:
          if (s.compression == 3) {
            // Channels placed by the masks, with garbage in the unused byte.
            uint32_t word = 0xA5A5A5A5 & ~(s.masks[0] | s.masks[1] | s.masks[2]);
            auto place = [&](uint32_t mask, uint32_t value) {
              int shift = __builtin_ctz(mask);
              word |= (value << shift) & mask;
            };
            place(s.masks[0], c >> 16 & 0xFF);
            place(s.masks[1], c >> 8 & 0xFF);
            place(s.masks[2], c & 0xFF);
            Put32(v, row + 4 * x, word);
          } else {
            Put32(v, row + 4 * x, c | 0x7F000000);  // the fourth byte is ignored
          }
          break;
      }
    }
  }
  return v;
}

void ExpectPattern(const BmpSpec& s, const Bitmap& b) {
  ASSERT_EQ(b.Width(), s.width);
  ASSERT_EQ(b.Height(), s.height);
  int wrong = 0;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      if (b.At(x, y) != ExpectedAt(s, x, y) && wrong++ < 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << b.At(x, y)
                      << " not " << ExpectedAt(s, x, y);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

BmpResult Decode(const std::vector<uint8_t>& v, Bitmap& b) { return DecodeBmp(v.data(), v.size(), b); }

TEST(DrawBmpReader, EveryDepthBottomUpAndTopDown) {
  for (int bpp : {1, 4, 8, 24, 32}) {
    for (bool topDown : {false, true}) {
      for (int width : {1, 13, 32}) {
        BmpSpec s;
        s.bpp = bpp;
        s.topDown = topDown;
        s.width = width;
        SCOPED_TRACE(testing::Message() << bpp << " bpp, width " << width
                                        << (topDown ? " top-down" : " bottom-up"));
        Bitmap b;
        std::vector<uint8_t> v = MakeBmp(s);
        ASSERT_EQ(Decode(v, b), BmpResult::Ok);
        ExpectPattern(s, b);
      }
    }
  }
}

TEST(DrawBmpReader, PalettesAndBitFields) {
  {
    SCOPED_TRACE("short palette");
    BmpSpec s;
    s.bpp = 8;
    s.colorsUsed = 20;
    Bitmap b;
    ASSERT_EQ(Decode(MakeBmp(s), b), BmpResult::Ok);
    ExpectPattern(s, b);
  }
  {
    SCOPED_TRACE("indices past a short palette are black");
    BmpSpec s;
    s.bpp = 4;
    s.colorsUsed = 16;
    std::vector<uint8_t> v = MakeBmp(s);
    Put32(v, 46, 2);  // palette claims 2 entries; pixels use up to 15
    Bitmap b;
    ASSERT_EQ(Decode(v, b), BmpResult::Ok);
    EXPECT_EQ(b.At(0, 0), PaletteColor(0));   // index 0
    EXPECT_EQ(b.At(1, 0), 0u);                // index 3
  }
  {
    SCOPED_TRACE("OS/2 core header with three-byte palette entries");
    BmpSpec s;
    s.bpp = 8;
    s.coreHeader = true;
    Bitmap b;
    ASSERT_EQ(Decode(MakeBmp(s), b), BmpResult::Ok);
    ExpectPattern(s, b);
  }
  {
    SCOPED_TRACE("32-bit bit fields in an unusual order");
    BmpSpec s;
    s.bpp = 32;
    s.compression = 3;
    s.masks[0] = 0x0000FF00;
    s.masks[1] = 0xFF000000;
    s.masks[2] = 0x000000FF;
    s.topDown = true;
    Bitmap b;
    ASSERT_EQ(Decode(MakeBmp(s), b), BmpResult::Ok);
    ExpectPattern(s, b);
  }
}

TEST(DrawBmpReader, MalformedFilesAreRejected) {
  BmpSpec base;
  base.bpp = 8;
  const std::vector<uint8_t> good = MakeBmp(base);
  Bitmap b;
  struct Case {
    const char* what;
    size_t at;
    int bytes;
    int64_t value;
    BmpResult expected;
  };
  const Case cases[] = {
      {"not BM", 0, 2, 0x4D43, BmpResult::BadHeader},
      {"header size 20", 14, 4, 20, BmpResult::BadHeader},
      {"zero width", 18, 4, 0, BmpResult::BadHeader},
      {"negative width", 18, 4, -5, BmpResult::BadHeader},
      {"zero height", 22, 4, 0, BmpResult::BadHeader},
      {"two planes", 26, 2, 2, BmpResult::BadHeader},
      {"huge width", 18, 4, 100000, BmpResult::TooLarge},
      {"huge height", 22, 4, 100000, BmpResult::TooLarge},
      {"most negative height", 22, 4, INT32_MIN, BmpResult::TooLarge},
      {"7 bits per pixel", 28, 2, 7, BmpResult::Unsupported},
      {"run-length compression", 30, 4, 1, BmpResult::Unsupported},
      {"offset inside the headers", 10, 4, 20, BmpResult::BadOffset},
      {"offset past the end", 10, 4, 1 << 20, BmpResult::BadOffset},
      {"palette of 300 entries", 46, 4, 300, BmpResult::BadPalette},
      {"palette of a billion entries", 46, 4, 1000000000, BmpResult::BadPalette},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> v = good;
    if (c.bytes == 2) Put16(v, c.at, static_cast<uint32_t>(c.value));
    else Put32(v, c.at, static_cast<uint32_t>(c.value));
    EXPECT_EQ(Decode(v, b), c.expected);
    EXPECT_TRUE(b.Empty());
  }
  {
    SCOPED_TRACE("each side allowed, but too many pixels");
    std::vector<uint8_t> v = good;
    Put32(v, 18, 8000);
    Put32(v, 22, 8000);
    EXPECT_EQ(Decode(v, b), BmpResult::TooLarge);
  }
  {
    SCOPED_TRACE("4-bit palette of 17 entries");
    BmpSpec s;
    s.bpp = 4;
    std::vector<uint8_t> v = MakeBmp(s);
    Put32(v, 46, 17);
    EXPECT_EQ(Decode(v, b), BmpResult::BadPalette);
  }
  {
    SCOPED_TRACE("palette running into the pixel data");
    std::vector<uint8_t> v = good;
    Put32(v, 10, 14 + 40 + 16);  // room for 4 of 256 entries
    EXPECT_EQ(Decode(v, b), BmpResult::BadPalette);
  }
  {
    SCOPED_TRACE("bit-field masks missing after a plain header");
    BmpSpec s;
    s.bpp = 32;
    std::vector<uint8_t> v = MakeBmp(s);
    Put32(v, 30, 3);
    v.resize(14 + 40 + 4);
    EXPECT_EQ(Decode(v, b), BmpResult::Truncated);
  }
  EXPECT_EQ(DecodeBmp(nullptr, 0, b), BmpResult::BadHeader);
}

// Every prefix of a valid file is refused without reading past its end (ASan watches the
// exact-size copies).
TEST(DrawBmpReader, EveryTruncationIsRefused) {
  for (int bpp : {1, 8, 24, 32}) {
    BmpSpec s;
    s.bpp = bpp;
    const std::vector<uint8_t> good = MakeBmp(s);
    for (size_t n = 0; n < good.size(); ++n) {
      std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
      Bitmap b;
      BmpResult r = DecodeBmp(cut.empty() ? nullptr : cut.data(), cut.size(), b);
      ASSERT_NE(r, BmpResult::Ok) << bpp << " bpp cut at " << n;
      ASSERT_TRUE(b.Empty());
    }
    // The last row short by one byte is truncated, not read from beyond.
    std::vector<uint8_t> cut(good.begin(), good.end() - 1);
    Bitmap b;
    EXPECT_EQ(DecodeBmp(cut.data(), cut.size(), b), BmpResult::Truncated);
  }
}

TEST(DrawBmpWriter, RoundTripAndSizeQuery) {
  Bitmap src;
  ASSERT_TRUE(src.Allocate(7, 3));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 7; ++x) src.Pixels()[y * 7 + x] = TrueColorAt(x, y);
  }
  size_t need = EncodeBmp24(src.View(), nullptr, 0);
  EXPECT_EQ(need, 14u + 40u + 3u * 24u);  // 7 pixels of 3 bytes padded to 24
  std::vector<uint8_t> small(need - 1, 0xEE);
  EXPECT_EQ(EncodeBmp24(src.View(), small.data(), small.size()), need);
  EXPECT_EQ(small[0], 0xEE);  // nothing written to a buffer too small
  std::vector<uint8_t> v(need);
  ASSERT_EQ(EncodeBmp24(src.View(), v.data(), v.size()), need);
  Bitmap back;
  ASSERT_EQ(Decode(v, back), BmpResult::Ok);
  BmpSpec s;
  s.width = 7;
  s.height = 3;
  ExpectPattern(s, back);
}

// A scratch folder below $TMPDIR, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    const char* base = std::getenv("TMPDIR");
    path_ = std::string(base && *base ? base : "/tmp") + "/dryer-draw-XXXXXX";
    if (!mkdtemp(path_.data())) path_.clear();
  }
  ~ScratchDir() {
    if (!path_.empty()) {
      nftw(path_.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); },
           16, FTW_DEPTH | FTW_PHYS);
    }
  }
  std::string Sub(const char* rel) const { return path_ + "/" + rel; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

TEST(DrawBmpFiles, LoadByPanelPathIgnoringCase) {
  ScratchDir dir;
  ASSERT_FALSE(dir.Path().empty());
  ASSERT_EQ(mkdir(dir.Sub("Hard Disk").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir.Sub("Hard Disk/Bitmaps").c_str(), 0755), 0);
  Bitmap src;
  ASSERT_TRUE(src.Allocate(4, 2));
  src.Pixels()[5] = 0x123456;
  ASSERT_TRUE(SaveBmpFile(dir.Sub("Hard Disk/Bitmaps/GRAPHIC_001_X.BMP").c_str(), src.View()));
  SetFileRoot(dir.Path().c_str());
  Bitmap b;
  ASSERT_EQ(LoadBmpFile("\\Hard Disk\\bitmaps\\graphic_001_x.bmp", b), BmpResult::Ok);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.At(1, 1), 0x123456u);
  EXPECT_EQ(LoadBmpFile("\\Hard Disk\\Bitmaps\\MISSING.BMP", b), BmpResult::NotFound);
  EXPECT_TRUE(b.Empty());

  FILE* f = std::fopen(dir.Sub("Hard Disk/Bitmaps/TEXT.BMP").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("BM but not really a bitmap", f);
  std::fclose(f);
  EXPECT_NE(LoadBmpFile("\\Hard Disk\\Bitmaps\\TEXT.BMP", b), BmpResult::Ok);
}

TEST(DrawPng, ScreenshotRoundTrip) {
  ScratchDir dir;
  Canvas c(33, 21);
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 33; ++x) c.SetPixel(x, y, ColorOf(TrueColorAt(x, y)));
  }
  std::string path = dir.Sub("shot.png");
  ASSERT_EQ(WritePng(path.c_str(), c.View()), PngResult::Ok);
  Bitmap back;
  ASSERT_EQ(ReadPng(path.c_str(), back), PngResult::Ok);
  ASSERT_EQ(back.Width(), 33);
  ASSERT_EQ(back.Height(), 21);
  EXPECT_EQ(std::memcmp(back.Pixels(), c.Pixels(), 33 * 21 * 4), 0);

  EXPECT_EQ(ReadPng(dir.Sub("none.png").c_str(), back), PngResult::OpenFailed);
  EXPECT_TRUE(back.Empty());
  std::vector<uint8_t> bmp(EncodeBmp24(c.View(), nullptr, 0));
  EncodeBmp24(c.View(), bmp.data(), bmp.size());
  FILE* f = std::fopen(dir.Sub("bmp.png").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bmp.data(), 1, bmp.size(), f);
  std::fclose(f);
  EXPECT_EQ(ReadPng(dir.Sub("bmp.png").c_str(), back), PngResult::BadFile);
  EXPECT_EQ(WritePng(dir.Sub("no/such/folder.png").c_str(), c.View()), PngResult::OpenFailed);
}

}  // namespace
}  // namespace plat
