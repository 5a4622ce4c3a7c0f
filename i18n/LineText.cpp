#include "i18n/LineText.h"

namespace i18n {

LineText::LineText(char16_t* out, size_t size) : out_(out), size_(size) {
  if (size_ > 0) out_[0] = 0;
}

void LineText::Put(char16_t c) {
  if (length_ + 1 >= size_) return;
  out_[length_++] = c;
  out_[length_] = 0;
}

LineText& LineText::Add(const char16_t* text) {
  for (; text != nullptr && *text != 0; ++text) Put(*text);
  return *this;
}

LineText& LineText::AddLatin1(const char* text) {
  for (; text != nullptr && *text != 0; ++text)
    Put(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  return *this;
}

}  // namespace i18n
