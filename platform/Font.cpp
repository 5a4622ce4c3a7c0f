#include "platform/Font.h"
#include "platform/Text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_MODULE_H
#include FT_OUTLINE_H

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <strings.h>

namespace plat {
namespace {

// Debian's fonts-wine keeps its Tahoma-metric faces here, outside fontconfig's folders.
constexpr const char* kWineFontDir = "/usr/share/wine/fonts";
constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr int kSystemFontHeight = 16;  // cell height; about 13 pixels of character height

// Latin, Latin Extended, Greek and Cyrillic are indexed directly; anything else (typographic
// punctuation, symbols) goes into a small open-addressed table.
constexpr uint32_t kDirectGlyphs = 0x530;
constexpr size_t kExtraGlyphs = 256;
constexpr size_t kMinStoreBytes = 64 * 1024;
constexpr size_t kMaxStoreBytes = 2 * 1024 * 1024;
// The fonts-wine faces carry embedded one-bit strikes whose advances do not match their
// outlines (the bold strike has the regular widths); outlines are rendered anti-aliased.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP;
// Their bold file also has the regular outlines with bold advances. A bold face whose 'l' stem
// is thinner than this share of the em is thickened to kBoldStem.
constexpr double kThinStem = 0.12;
constexpr double kBoldStem = 0.16;

struct ExtraSlot {
  uint32_t codePoint = 0;
  bool used = false;
  Glyph glyph;
};

struct FontRecord {
  bool used = false;
  char face[64] = {};
  int height = 0;
  FontWeight weight = FontWeight::Normal;
  char family[64] = {};
  char file[512] = {};
  FT_Face ftFace = nullptr;
  FontMetrics metrics;
  FT_Pos embolden = 0;        // 26.6 pixels added to every stroke
  int emboldenAdvance = 0;    // pixels added to advances when the face itself is not bold
  std::unique_ptr<Glyph[]> direct;
  std::unique_ptr<uint8_t[]> directReady;
  std::unique_ptr<ExtraSlot[]> extra;
  std::unique_ptr<uint8_t[]> store;
  size_t storeSize = 0;
  size_t storeUsed = 0;
};

struct FontSystem {
  bool initialised = false;
  bool failed = false;
  FT_Library library = nullptr;
  FontRecord fonts[kMaxFonts];
  FontHandle system;
  GlyphCacheStats stats;
  // A glyph that did not fit its store lives here until the next one is rasterised.
  Glyph scratchGlyph;
  std::unique_ptr<uint8_t[]> scratch;
  size_t scratchSize = 0;
};

// FreeType allocates through this, so that a warm cache can be shown to allocate nothing.
uint64_t gFreeTypeAllocations = 0;

void* FreeTypeAlloc(FT_Memory, long size) {
  ++gFreeTypeAllocations;
  return std::malloc(static_cast<size_t>(size));
}
void FreeTypeFree(FT_Memory, void* block) { std::free(block); }
void* FreeTypeRealloc(FT_Memory, long, long newSize, void* block) {
  ++gFreeTypeAllocations;
  return std::realloc(block, static_cast<size_t>(newSize));
}
FT_MemoryRec_ gFreeTypeMemory{nullptr, FreeTypeAlloc, FreeTypeFree, FreeTypeRealloc};

// Constant-initialised, so it exists before any static constructor could ask for a font.
constinit FontSystem gFonts;

inline FontSystem& Fonts() { return gFonts; }

bool Initialise() {
  FontSystem& s = Fonts();
  if (s.initialised) return !s.failed;
  s.initialised = true;
  if (FT_New_Library(&gFreeTypeMemory, &s.library) != 0) {
    s.failed = true;
    return false;
  }
  FT_Add_Default_Modules(s.library);
  if (FcInit()) {
    FcConfigAppFontAddDir(nullptr, reinterpret_cast<const FcChar8*>(kWineFontDir));
    // Fontconfig keeps its configuration until told otherwise; release it at exit so that
    // leak checks see only our own allocations.
    std::atexit(FcFini);
  }
  return true;
}

void CopyText(char* out, size_t size, const char* in) {
  std::snprintf(out, size, "%s", in ? in : "");
}

// Asks fontconfig for a family; true with the file and its family when one was matched at
// all. `exact` tells whether the matched family is the one asked for.
bool MatchFamily(const char* family, FontWeight weight, char* file, size_t fileSize,
                 char* matched, size_t matchedSize, int& index, bool& exact) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT,
                      weight == FontWeight::Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* path = nullptr;
  FcChar8* name = nullptr;
  bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
  if (ok) {
    CopyText(file, fileSize, reinterpret_cast<const char*>(path));
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) != FcResultMatch) name = nullptr;
    CopyText(matched, matchedSize, reinterpret_cast<const char*>(name));
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    exact = name && strcasecmp(reinterpret_cast<const char*>(name), family) == 0;
  }
  FcPatternDestroy(match);
  return ok;
}


// Loads a face and sets its size; Win32 heights: positive is the cell, negative the em.
bool OpenFace(FontRecord& f, int index) {
  FontSystem& s = Fonts();
  if (FT_New_Face(s.library, f.file, index, &f.ftFace) != 0) {
    f.ftFace = nullptr;
    return false;
  }
  FT_Face face = f.ftFace;
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  int units = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  int ascentUnits = face->ascender;
  int descentUnits = -face->descender;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascentUnits = os2->usWinAscent;
    descentUnits = os2->usWinDescent;
  }
  if (ascentUnits + descentUnits <= 0) {
    ascentUnits = units;
    descentUnits = units / 4;
  }
  int em = 0;
  if (f.height > 0) {
    em = (f.height * units + (ascentUnits + descentUnits) / 2) / (ascentUnits + descentUnits);
  } else {
    em = -f.height;
  }
  if (em < 1) em = 1;
  if (em > 400) em = 400;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) return false;
  int ascent = (ascentUnits * em + units / 2) / units;
  int descent = (descentUnits * em + units / 2) / units;
  if (f.height > 0) descent = f.height - ascent;
  if (descent < 0) descent = 0;
  f.metrics.ascent = ascent;
  f.metrics.descent = descent;
  f.metrics.height = ascent + descent;
  f.metrics.averageWidth = (em + 1) / 2;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0) {
    f.metrics.averageWidth = (os2->xAvgCharWidth * em + units / 2) / units;
  }

  if (f.weight == FontWeight::Bold && FT_Load_Char(face, 'l', FT_LOAD_NO_SCALE) == 0 &&
      face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_BBox box;
    FT_Outline_Get_CBox(&face->glyph->outline, &box);
    double stem = static_cast<double>(box.xMax - box.xMin) / units;
    if (stem > 0 && stem < kThinStem) {
      f.embolden = static_cast<FT_Pos>((kBoldStem - stem) * em * 64);
      if (!(face->style_flags & FT_STYLE_FLAG_BOLD)) {
        f.emboldenAdvance = static_cast<int>((f.embolden + 32) >> 6);
      }
    }
  }

  size_t store = static_cast<size_t>(em) * em * 400;
  if (store < kMinStoreBytes) store = kMinStoreBytes;
  if (store > kMaxStoreBytes) store = kMaxStoreBytes;
  f.direct.reset(new Glyph[kDirectGlyphs]);
  f.directReady.reset(new uint8_t[kDirectGlyphs]());
  f.extra.reset(new ExtraSlot[kExtraGlyphs]);
  f.store.reset(new uint8_t[store]);
  f.storeSize = store;
  f.storeUsed = 0;
  return true;
}

FontRecord* Record(FontHandle h) {
  if (h.id < 0 || h.id >= kMaxFonts) return nullptr;
  FontRecord& f = Fonts().fonts[h.id];
  return f.used ? &f : nullptr;
}

// Rasterises one glyph into its cache slot (or the scratch glyph when the store is full).
const Glyph* Render(FontRecord& f, uint32_t codePoint, Glyph* slot) {
  FontSystem& s = Fonts();
  Glyph g;
  if (codePoint < 0x20 || codePoint == 0x7F || (codePoint >= 0x80 && codePoint < 0xA0)) {
    // Control characters take no room; a tab is as wide as a space.
    if (codePoint == '\t') {
      if (FT_Load_Char(f.ftFace, ' ', kLoadFlags) == 0) {
        g.advance = static_cast<int16_t>((f.ftFace->glyph->advance.x + 32) >> 6);
      }
    }
    if (slot) *slot = g;
    return slot ? slot : &(s.scratchGlyph = g);
  }
  FT_GlyphSlot gs = f.ftFace->glyph;
  bool loaded = FT_Load_Char(f.ftFace, codePoint, kLoadFlags) == 0;
  if (loaded && f.embolden > 0 && gs->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_Outline_Embolden(&gs->outline, f.embolden);
  }
  if (!loaded || FT_Render_Glyph(gs, FT_RENDER_MODE_NORMAL) != 0) {
    if (slot) *slot = g;
    return slot ? slot : &(s.scratchGlyph = g);
  }
  const FT_Bitmap& bm = gs->bitmap;
  g.left = static_cast<int16_t>(gs->bitmap_left);
  g.top = static_cast<int16_t>(gs->bitmap_top);
  g.advance = static_cast<int16_t>(((gs->advance.x + 32) >> 6) + f.emboldenAdvance);
  bool gray = bm.pixel_mode == FT_PIXEL_MODE_GRAY || bm.pixel_mode == FT_PIXEL_MODE_MONO;
  size_t bytes = gray ? static_cast<size_t>(bm.width) * bm.rows : 0;
  uint8_t* dest = nullptr;
  if (bytes > 0 && slot && f.storeUsed + bytes <= f.storeSize) {
    dest = f.store.get() + f.storeUsed;
    f.storeUsed += bytes;
    ++s.stats.rendered;
  } else if (bytes > 0) {
    if (s.scratchSize < bytes) {
      s.scratch.reset(new uint8_t[bytes]);
      s.scratchSize = bytes;
    }
    dest = s.scratch.get();
    slot = nullptr;
    ++s.stats.uncached;
  } else if (slot) {
    ++s.stats.rendered;
  }
  if (dest) {
    g.width = static_cast<uint16_t>(bm.width);
    g.height = static_cast<uint16_t>(bm.rows);
    for (unsigned y = 0; y < bm.rows; ++y) {
      const uint8_t* src = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
      uint8_t* row = dest + static_cast<size_t>(y) * bm.width;
      if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
        std::memcpy(row, src, bm.width);
      } else {
        for (unsigned x = 0; x < bm.width; ++x) {
          row[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        }
      }
    }
    g.coverage = dest;
  }
  if (slot) {
    *slot = g;
    return slot;
  }
  s.scratchGlyph = g;
  return &s.scratchGlyph;
}

int Advance(FontHandle h, uint32_t codePoint) {
  const Glyph* g = GetGlyph(h, codePoint);
  return g ? g->advance : 0;
}

template <typename Ch>
int WidthOf(FontHandle h, const Ch* text, size_t length) {
  int width = 0;
  size_t i = 0;
  while (i < length) width += Advance(h, NextCode(text, length, i));
  return width;
}

template <typename Ch>
size_t ZeroTerminatedLength(const Ch* text) {
  size_t n = 0;
  if (text) {
    while (text[n]) ++n;
  }
  return n;
}

// The one line breaker behind DrawText, BreakTextLines and MeasureText: calls
// visit(begin, end, width) for each line and returns how many there were.
template <typename Ch, typename Visit>
size_t BreakLines(FontHandle h, const Ch* text, size_t length, int maxWidth, bool wrap,
                  bool singleLine, Visit visit) {
  if (!text || length == 0) return 0;
  const int spaceWidth = Advance(h, ' ');
  size_t count = 0;
  size_t i = 0;
  while (i < length) {
    size_t begin = i;
    size_t end = length;
    size_t next = length;
    size_t lastSpace = SIZE_MAX;
    int width = 0;
    int widthAtSpace = 0;
    bool wrapped = false;
    while (i < length) {
      size_t at = i;
      uint32_t c = NextCode(text, length, i);
      if (!singleLine && (c == '\n' || c == '\r')) {
        end = at;
        next = i;
        if (c == '\r' && next < length && text[next] == '\n') ++next;
        break;
      }
      int adv = Advance(h, c);
      if (wrap && width + adv > maxWidth && at > begin) {
        wrapped = true;
        if (c == ' ') {
          end = at;
          next = i;
        } else if (lastSpace != SIZE_MAX) {
          end = lastSpace;
          next = lastSpace + 1;
          width = widthAtSpace;
        } else {
          end = at;
          next = at;
        }
        break;
      }
      if (c == ' ') {
        lastSpace = at;
        widthAtSpace = width;
      }
      width += adv;
    }
    if (wrapped) {
      // The spaces at a wrap belong to neither line.
      while (next < length && text[next] == ' ') ++next;
      while (end > begin && text[end - 1] == ' ') {
        --end;
        width -= spaceWidth;
      }
    }
    visit(begin, end, width);
    ++count;
    i = next;
  }
  return count;
}

template <typename Ch>
size_t BreakInto(FontHandle h, const Ch* text, size_t length, int maxWidth, bool wrap,
                 bool singleLine, TextLine* lines, size_t maxLines) {
  size_t stored = 0;
  return BreakLines(h, text, length, maxWidth, wrap, singleLine,
                    [&](size_t b, size_t e, int width) {
                      if (lines && stored < maxLines) lines[stored++] = TextLine{b, e, width};
                    });
}

template <typename Ch>
TextExtent Measure(FontHandle h, const Ch* text, size_t length, int maxWidth, bool wrap) {
  TextExtent e;
  size_t n = BreakLines(h, text, length, maxWidth, wrap, false, [&](size_t, size_t, int width) {
    if (width > e.width) e.width = width;
  });
  e.lines = static_cast<int>(n);
  e.height = e.lines * LineHeight(h);
  return e;
}

}  // namespace

FontHandle CreateFont(const char* face, int height, FontWeight weight) {
  if (!Initialise()) return FontHandle{};
  if (!face || !*face) face = kFaceTahoma;
  if (height == 0) height = kSystemFontHeight;
  if (strcasecmp(face, kFaceSystem) == 0) {
    face = kFaceTahoma;
    weight = FontWeight::Bold;
  }
  FontSystem& s = Fonts();
  int freeSlot = -1;
  for (int i = 0; i < kMaxFonts; ++i) {
    FontRecord& f = s.fonts[i];
    if (!f.used) {
      if (freeSlot < 0) freeSlot = i;
      continue;
    }
    if (f.height == height && f.weight == weight && strcasecmp(f.face, face) == 0) {
      return FontHandle{static_cast<int16_t>(i)};
    }
  }
  if (freeSlot < 0) return FontHandle{};

  FontRecord& f = s.fonts[freeSlot];
  CopyText(f.face, sizeof f.face, face);
  f.height = height;
  f.weight = weight;
  int index = 0;
  bool exact = false;
  bool found = MatchFamily(face, weight, f.file, sizeof f.file, f.family, sizeof f.family,
                           index, exact);
  if (!found || !exact) {
    char file[sizeof f.file];
    char family[sizeof f.family];
    int fallbackIndex = 0;
    bool fallbackExact = false;
    if (MatchFamily(kFallbackFamily, weight, file, sizeof file, family, sizeof family,
                    fallbackIndex, fallbackExact) &&
        (fallbackExact || !found)) {
      CopyText(f.file, sizeof f.file, file);
      CopyText(f.family, sizeof f.family, family);
      index = fallbackIndex;
      found = true;
    }
  }
  if (!found || !OpenFace(f, index)) {
    if (f.ftFace) FT_Done_Face(f.ftFace);
    f = FontRecord{};
    return FontHandle{};
  }
  f.used = true;
  return FontHandle{static_cast<int16_t>(freeSlot)};
}

FontHandle SystemFont() {
  FontSystem& s = Fonts();
  if (!s.system.valid()) s.system = CreateFont(kFaceSystem, kSystemFontHeight, FontWeight::Bold);
  return s.system;
}

bool GetFontMetrics(FontHandle h, FontMetrics& out) {
  const FontRecord* f = Record(h);
  if (!f) return false;
  out = f->metrics;
  return true;
}

int LineHeight(FontHandle h) {
  const FontRecord* f = Record(h);
  return f ? f->metrics.height : 0;
}

const char* FontFamilyName(FontHandle h) {
  const FontRecord* f = Record(h);
  return f ? f->family : "";
}

const char* FontFilePath(FontHandle h) {
  const FontRecord* f = Record(h);
  return f ? f->file : "";
}

const Glyph* GetGlyph(FontHandle h, uint32_t codePoint) {
  FontRecord* f = Record(h);
  if (!f) return nullptr;
  FontSystem& s = Fonts();
  ++s.stats.lookups;
  if (codePoint < kDirectGlyphs) {
    Glyph* slot = &f->direct[codePoint];
    if (f->directReady[codePoint]) return slot;
    const Glyph* g = Render(*f, codePoint, slot);
    if (g == slot) f->directReady[codePoint] = 1;
    return g;
  }
  size_t at = (codePoint * 2654435761u) % kExtraGlyphs;
  for (size_t probe = 0; probe < kExtraGlyphs; ++probe) {
    ExtraSlot& e = f->extra[(at + probe) % kExtraGlyphs];
    if (e.used && e.codePoint == codePoint) return &e.glyph;
    if (!e.used) {
      const Glyph* g = Render(*f, codePoint, &e.glyph);
      if (g == &e.glyph) {
        e.used = true;
        e.codePoint = codePoint;
      }
      return g;
    }
  }
  return Render(*f, codePoint, nullptr);
}

int TextWidth(FontHandle f, const char16_t* text, size_t length) {
  return text ? WidthOf(f, text, length) : 0;
}
int TextWidth(FontHandle f, const char16_t* text) {
  return TextWidth(f, text, ZeroTerminatedLength(text));
}
int TextWidth(FontHandle f, const char* latin1, size_t length) {
  return latin1 ? WidthOf(f, latin1, length) : 0;
}
int TextWidth(FontHandle f, const char* latin1) {
  return TextWidth(f, latin1, ZeroTerminatedLength(latin1));
}

size_t BreakTextLines(FontHandle f, const char16_t* text, size_t length, int maxWidth,
                      bool wrap, bool singleLine, TextLine* lines, size_t maxLines) {
  return BreakInto(f, text, length, maxWidth, wrap, singleLine, lines, maxLines);
}
size_t BreakTextLines(FontHandle f, const char* latin1, size_t length, int maxWidth, bool wrap,
                      bool singleLine, TextLine* lines, size_t maxLines) {
  return BreakInto(f, latin1, length, maxWidth, wrap, singleLine, lines, maxLines);
}

TextExtent MeasureText(FontHandle f, const char16_t* text, size_t length, int maxWidth,
                       bool wrap) {
  return Measure(f, text, length, maxWidth, wrap);
}
TextExtent MeasureText(FontHandle f, const char* latin1, size_t length, int maxWidth,
                       bool wrap) {
  return Measure(f, latin1, length, maxWidth, wrap);
}

GlyphCacheStats GetGlyphCacheStats() {
  GlyphCacheStats stats = Fonts().stats;
  stats.freeTypeAllocations = gFreeTypeAllocations;
  return stats;
}

}  // namespace plat
