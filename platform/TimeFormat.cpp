#include "platform/TimeFormat.h"

#include <cstdio>

namespace plat {

namespace {

constexpr const char* kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",
                                         "May",     "June",     "July",      "August",
                                         "September", "October", "November", "December"};

// Appends to a bounded buffer, counting what fitted.
struct Sink {
  char* out;
  size_t size;
  size_t len = 0;

  void Put(char c) {
    if (len + 1 < size) out[len++] = c;
  }
  void Put(const char* s, size_t n) {
    for (size_t i = 0; i < n && s[i]; ++i) Put(s[i]);
  }
  void Number(int value, int minDigits) {
    char digits[16];
    int n = std::snprintf(digits, sizeof(digits), "%0*d", minDigits, value);
    Put(digits, static_cast<size_t>(n));
  }
};

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

void Element(Sink& sink, const LocalTime& t, char letter, int count) {
  int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  switch (letter) {
    case 'd':
      if (count <= 2) sink.Number(t.day, count);
      else sink.Put(kDayNames[Clamp(t.dayOfWeek, 0, 6)], count == 3 ? 3 : 16);
      break;
    case 'M':
      if (count <= 2) sink.Number(t.month, count);
      else sink.Put(kMonthNames[Clamp(t.month, 1, 12) - 1], count == 3 ? 3 : 16);
      break;
    case 'y':
      if (count == 1) sink.Number(t.year % 100, 1);
      else if (count == 2) sink.Number(t.year % 100, 2);
      else sink.Number(t.year, 1);
      break;
    case 'h': sink.Number(hour12, count >= 2 ? 2 : 1); break;
    case 'H': sink.Number(t.hour, count >= 2 ? 2 : 1); break;
    case 'm': sink.Number(t.minute, count >= 2 ? 2 : 1); break;
    case 's': sink.Number(t.second, count >= 2 ? 2 : 1); break;
    case 't':
      sink.Put(t.hour < 12 ? 'A' : 'P');
      if (count >= 2) sink.Put('M');
      break;
    default: break;
  }
}

bool IsPictureLetter(char c) {
  return c == 'd' || c == 'M' || c == 'y' || c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't';
}

}  // namespace

size_t FormatTime(const LocalTime& t, const char* picture, char* out, size_t size) {
  if (!out || size == 0) return 0;
  Sink sink{out, size};
  for (const char* p = picture; p && *p;) {
    if (*p == '\'') {
      ++p;
      for (; *p; ++p) {
        if (*p != '\'') {
          sink.Put(*p);
        } else if (p[1] == '\'') {
          sink.Put('\'');
          ++p;
        } else {
          ++p;
          break;
        }
      }
      continue;
    }
    if (IsPictureLetter(*p)) {
      char letter = *p;
      int count = 0;
      while (*p == letter) {
        ++count;
        ++p;
      }
      Element(sink, t, letter, count);
      continue;
    }
    sink.Put(*p++);
  }
  out[sink.len] = 0;
  return sink.len;
}

size_t FormatTime(const LocalTime& t, const char* picture, char16_t* out, size_t size) {
  if (!out || size == 0) return 0;
  char narrow[128];
  size_t n = FormatTime(t, picture, narrow, size < sizeof(narrow) ? size : sizeof(narrow));
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(narrow[i]);
  out[n] = 0;
  return n;
}

}  // namespace plat
