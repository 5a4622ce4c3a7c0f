#include "shell/FormatText.h"

namespace shell {

namespace {

constexpr int kMaxWidth = 40;

struct Writer {
  char16_t* out;
  size_t size;
  size_t length = 0;

  void Put(char16_t c) {
    if (length + 1 < size) out[length++] = c;
  }
  void PutSpan(const char16_t* from, const char16_t* to) {
    for (; from < to; ++from) Put(*from);
  }
};

struct Field {
  bool leftAlign = false;
  bool zeroPad = false;
  int width = 0;
  bool isUnsigned = false;
};

// Returns the character after the field, or nullptr when `p` does not start a field we fill.
const char16_t* ParseField(const char16_t* p, Field& field) {
  for (; *p == u'-' || *p == u'0'; ++p) {
    if (*p == u'-') field.leftAlign = true;
    else field.zeroPad = true;
  }
  for (int digits = 0; *p >= u'0' && *p <= u'9'; ++p, ++digits) {
    if (digits == 2) return nullptr;
    field.width = field.width * 10 + (*p - u'0');
  }
  if (*p == u'd' || *p == u'i') return p + 1;
  if (*p == u'u') {
    field.isUnsigned = true;
    return p + 1;
  }
  return nullptr;
}

void PutNumber(Writer& w, const Field& field, int value) {
  char16_t digits[12];
  int n = 0;
  bool negative = false;
  unsigned long long magnitude;
  if (field.isUnsigned) {
    magnitude = static_cast<unsigned>(value);
  } else {
    negative = value < 0;
    magnitude = negative ? 0ull - static_cast<long long>(value) : static_cast<long long>(value);
  }
  do {
    digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  int used = n + (negative ? 1 : 0);
  int width = field.width < kMaxWidth ? field.width : kMaxWidth;
  int pad = width > used ? width - used : 0;
  if (!field.leftAlign && !field.zeroPad)
    for (int i = 0; i < pad; ++i) w.Put(u' ');
  if (negative) w.Put(u'-');
  if (!field.leftAlign && field.zeroPad)
    for (int i = 0; i < pad; ++i) w.Put(u'0');
  while (n > 0) w.Put(digits[--n]);
  if (field.leftAlign)
    for (int i = 0; i < pad; ++i) w.Put(u' ');
}

}  // namespace

size_t FormatText(char16_t* out, size_t size, const char16_t* format, const int* values,
                  size_t count) {
  if (size == 0) return 0;
  Writer w{out, size};
  size_t used = 0;
  const char16_t* p = format ? format : u"";
  while (*p != 0) {
    if (*p != u'%') {
      w.Put(*p++);
      continue;
    }
    if (p[1] == u'%') {
      w.Put(u'%');
      p += 2;
      continue;
    }
    Field field;
    const char16_t* end = ParseField(p + 1, field);
    if (end == nullptr || used >= count) {
      w.Put(*p++);
      continue;
    }
    PutNumber(w, field, values[used++]);
    p = end;
  }
  out[w.length] = 0;
  return w.length;
}

}  // namespace shell
