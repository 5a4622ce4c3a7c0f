#pragma once
// Builds one line of UTF-16 text in a caller's buffer, for the dialogs and screens that join a
// translated label with numbers. Bounded, always terminated, never allocates.
#include <cstddef>

namespace i18n {

class LineText {
 public:
  LineText(char16_t* out, size_t size);
  // Appends a translated text; null appends nothing.
  LineText& Add(const char16_t* text);
  // Appends a narrow Latin-1 text, one unit per byte.
  LineText& AddLatin1(const char* text);
  size_t Length() const { return length_; }

 private:
  void Put(char16_t c);
  char16_t* out_;
  size_t size_;
  size_t length_ = 0;
};

}  // namespace i18n
