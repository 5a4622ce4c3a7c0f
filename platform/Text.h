#pragma once
// Text conventions shared by every subsystem:
// - translated texts (string tables, warning texts, help files) are UTF-16 code units,
//   `char16_t`, zero-terminated, as the language files store them;
// - fixed texts and formatted numbers are narrow `char` strings read as Latin-1, one byte per
//   character, so "%d%cF" with 176 gives the degree sign as it did on the original panel.
#include <cstddef>
#include <cstdint>

namespace plat {

size_t Utf16Length(const char16_t* s);
// Copies at most size-1 units and always terminates (when size > 0). Returns units copied.
size_t Utf16Copy(char16_t* out, size_t size, const char16_t* in);
// Latin-1 to UTF-16 and back (characters above 255 become '?').
size_t Latin1ToUtf16(char16_t* out, size_t size, const char* in);
size_t Utf16ToLatin1(char* out, size_t size, const char16_t* in);
// UTF-16 to UTF-8 for the host (file names, logs, terminal).
size_t Utf16ToUtf8(char* out, size_t size, const char16_t* in);

// The code point at text[i], moving i past it: a narrow text gives one Latin-1 byte, a wide one
// joins a surrogate pair and gives a lone surrogate as it stands.
template <typename Ch>
uint32_t NextCode(const Ch* text, size_t length, size_t& i) {
  if constexpr (sizeof(Ch) == 1) {
    return static_cast<unsigned char>(text[i++]);
  } else {
    uint32_t u = static_cast<uint16_t>(text[i++]);
    if (u >= 0xD800 && u < 0xDC00 && i < length) {
      uint32_t low = static_cast<uint16_t>(text[i]);
      if (low >= 0xDC00 && low < 0xE000) {
        ++i;
        return 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
      }
    }
    return u;
  }
}

}  // namespace plat
