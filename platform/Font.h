#pragma once
// Fonts by face name, height and weight, rendered by FreeType with anti-aliasing and found
// through fontconfig. "Tahoma" resolves to a Tahoma-metric face when one is installed (the
// fonts-wine folder is added to the font set on first use), otherwise to DejaVu Sans; any
// other unknown face falls back the same way. Fonts live in a small fixed table for the whole
// process: asking again for the same face, height and weight returns the same handle, so
// painting code may ask for its fonts on every paint.
//
// Glyphs are rendered once into 8-bit coverage masks kept in a fixed store per font; once a
// text has been drawn or measured, drawing it again allocates nothing and calls no FreeType.
// All calls belong to the UI thread.
#include <cstddef>
#include <cstdint>

namespace plat {

struct FontHandle {
  int16_t id = -1;
  constexpr bool valid() const { return id >= 0; }
  constexpr bool operator==(const FontHandle&) const = default;
};

enum class FontWeight : uint8_t { Normal, Bold };

// Face names understood besides fontconfig's own: "Tahoma" and "System".
inline constexpr const char* kFaceTahoma = "Tahoma";
inline constexpr const char* kFaceSystem = "System";

// `height` as in Win32: positive is the cell height (ascent + descent) in pixels, negative
// the character (em) height. Returns an invalid handle only when no face at all can be
// loaded or the table (kMaxFonts) is full.
inline constexpr int kMaxFonts = 48;
FontHandle CreateFont(const char* face, int height, FontWeight weight);
// Bold Tahoma, in which most screens and dialogs write their labels and figures.
inline FontHandle BoldTahoma(int height) { return CreateFont(kFaceTahoma, height, FontWeight::Bold); }
// The panel's system font: a bold sans serif of about 13 pixels.
FontHandle SystemFont();

struct FontMetrics {
  int ascent = 0;      // baseline below the top of the cell
  int descent = 0;     // cell bottom below the baseline
  int height = 0;      // ascent + descent: one line's height
  int averageWidth = 0;
};
bool GetFontMetrics(FontHandle f, FontMetrics& out);
int LineHeight(FontHandle f);  // 0 for an invalid handle
// The family and file the face was found in (for diagnostics and tests); "" if invalid.
const char* FontFamilyName(FontHandle f);
const char* FontFilePath(FontHandle f);

// One rendered glyph: `width` x `height` coverage bytes (0 = none, 255 = full), rows packed,
// placed `left` pixels right of the pen and `top` pixels above the baseline.
struct Glyph {
  int16_t left = 0;
  int16_t top = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  int16_t advance = 0;
  const uint8_t* coverage = nullptr;
};
// The glyph of a code point; a code point the face lacks gives its missing-glyph box. Null
// only for an invalid handle.
const Glyph* GetGlyph(FontHandle f, uint32_t codePoint);

// Text widths with the same advances the canvas draws with, so a text that measures to fit
// is drawn without being cut. Narrow texts are Latin-1.
int TextWidth(FontHandle f, const char16_t* text, size_t length);
int TextWidth(FontHandle f, const char16_t* text);  // zero-terminated
int TextWidth(FontHandle f, const char* latin1, size_t length);
int TextWidth(FontHandle f, const char* latin1);  // zero-terminated

// Line breaking as DrawText does it: a line ends at '\n' ("\r\n" too) unless singleLine, and
// with wrap at the last space that keeps it within maxWidth; a word longer than maxWidth is
// broken hard so that no text is lost. Lines are [begin, end) in code units, without the
// line end or the space broken at. Returns the number of lines the text has; at most
// maxLines of them are stored.
struct TextLine {
  size_t begin = 0;
  size_t end = 0;
  int width = 0;
};
size_t BreakTextLines(FontHandle f, const char16_t* text, size_t length, int maxWidth,
                      bool wrap, bool singleLine, TextLine* lines, size_t maxLines);
size_t BreakTextLines(FontHandle f, const char* latin1, size_t length, int maxWidth, bool wrap,
                      bool singleLine, TextLine* lines, size_t maxLines);

// The size of a text laid out as DrawText would with WordBreak (wrap) in maxWidth.
struct TextExtent {
  int width = 0;
  int height = 0;
  int lines = 0;
};
TextExtent MeasureText(FontHandle f, const char16_t* text, size_t length, int maxWidth,
                       bool wrap);
TextExtent MeasureText(FontHandle f, const char* latin1, size_t length, int maxWidth,
                       bool wrap);

// Counters of the glyph caches of every font, to show that a warm cache renders nothing.
struct GlyphCacheStats {
  uint64_t lookups = 0;
  uint64_t rendered = 0;  // glyphs rasterised by FreeType and stored
  uint64_t uncached = 0;  // rasterised but not kept because a store was full
  uint64_t freeTypeAllocations = 0;  // every allocation FreeType has made
};
GlyphCacheStats GetGlyphCacheStats();

}  // namespace plat
