#include "platform/Text.h"

namespace plat {

size_t Utf16Length(const char16_t* s) {
  size_t n = 0;
  if (s)
    while (s[n]) ++n;
  return n;
}

size_t Utf16Copy(char16_t* out, size_t size, const char16_t* in) {
  if (!out || size == 0) return 0;
  size_t n = 0;
  if (in)
    for (; n + 1 < size && in[n]; ++n) out[n] = in[n];
  out[n] = 0;
  return n;
}

size_t Latin1ToUtf16(char16_t* out, size_t size, const char* in) {
  if (!out || size == 0) return 0;
  size_t n = 0;
  if (in)
    for (; n + 1 < size && in[n]; ++n) out[n] = static_cast<unsigned char>(in[n]);
  out[n] = 0;
  return n;
}

size_t Utf16ToLatin1(char* out, size_t size, const char16_t* in) {
  if (!out || size == 0) return 0;
  size_t n = 0;
  if (in)
    for (; n + 1 < size && in[n]; ++n) out[n] = in[n] <= 0xFF ? static_cast<char>(in[n]) : '?';
  out[n] = 0;
  return n;
}

size_t Utf16ToUtf8(char* out, size_t size, const char16_t* in) {
  if (!out || size == 0) return 0;
  size_t n = 0;
  for (size_t i = 0; in && in[i]; ++i) {
    char32_t c = in[i];
    if (c >= 0xD800 && c <= 0xDBFF && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    char bytes[4];
    size_t len;
    if (c < 0x80) {
      bytes[0] = static_cast<char>(c);
      len = 1;
    } else if (c < 0x800) {
      bytes[0] = static_cast<char>(0xC0 | (c >> 6));
      bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
      len = 2;
    } else if (c < 0x10000) {
      bytes[0] = static_cast<char>(0xE0 | (c >> 12));
      bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
      len = 3;
    } else {
      bytes[0] = static_cast<char>(0xF0 | (c >> 18));
      bytes[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      bytes[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes[3] = static_cast<char>(0x80 | (c & 0x3F));
      len = 4;
    }
    // A character that does not fit whole is left out, never cut in the middle.
    if (n + len + 1 > size) break;
    for (size_t k = 0; k < len; ++k) out[n++] = bytes[k];
  }
  out[n] = 0;
  return n;
}

}  // namespace plat
