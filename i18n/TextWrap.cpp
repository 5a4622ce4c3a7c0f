#include "i18n/TextWrap.h"

#include <cstring>

namespace i18n {

namespace {

size_t Length(const char16_t* s) {
  size_t n = 0;
  while (s[n] != 0) ++n;
  return n;
}

void CopyRange(char16_t* dest, const char16_t* from, size_t count) {
  std::memcpy(dest, from, count * sizeof(char16_t));
  dest[count] = 0;
}

size_t gWrapPosition = 0;

}  // namespace

void SplitInTwoLines(const char16_t* text, char16_t* first, char16_t* second, size_t limit) {
  const size_t whole = Length(text);
  const size_t length = whole < limit ? whole : limit;
  const size_t half = whole / 2;
  size_t breakAt = 0;
  bool found = false;
  for (size_t i = 0; i < length && i < half; ++i) {
    if (text[i] == u' ') {
      breakAt = i;
      found = true;
    }
  }
  if (!found) {
    CopyRange(first, text, length);
    second[0] = 0;
    return;
  }
  CopyRange(first, text, breakAt);
  CopyRange(second, text + breakAt + 1, length - breakAt - 1);
}

bool NextWrappedLine(bool restart, size_t width, const char16_t* text, char16_t* dest) {
  if (restart) gWrapPosition = 0;
  const size_t length = Length(text);
  // Spaces left over at a break would start the next line with a blank.
  while (gWrapPosition < length && text[gWrapPosition] == u' ') ++gWrapPosition;
  if (gWrapPosition >= length || width == 0) return false;
  const size_t start = gWrapPosition;
  if (length - start <= width) {
    CopyRange(dest, text + start, length - start);
    gWrapPosition = length;
    return true;
  }
  // A space right after a full line is a break too: the line then uses the whole width.
  size_t breakAt = start;
  for (size_t i = start + width; i > start; --i) {
    if (text[i] == u' ') {
      breakAt = i;
      break;
    }
  }
  if (breakAt == start) {
    CopyRange(dest, text + start, width);
    gWrapPosition = start + width;
  } else {
    size_t end = breakAt;
    while (end > start && text[end - 1] == u' ') --end;
    CopyRange(dest, text + start, end - start);
    gWrapPosition = breakAt + 1;
  }
  return true;
}

}  // namespace i18n
