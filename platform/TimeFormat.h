#pragma once
// Dates and times formatted by the picture strings the panel uses, as its original system
// did: "MMM dd',' yyy" gives "Oct 04, 2016", "h':'mm tt" gives "7:05 PM",
// "yy'_'MM'_'dd'_'" gives "16_10_04_". English names, no allocation.
//
// Picture elements: d dd (day), ddd dddd (weekday name, short and long), M MM (month),
// MMM MMMM (month name), y (year without century and leading zero), yy, yyy and longer (the
// full year), h hh (12-hour), H HH (24-hour), m mm, s ss, t (A or P), tt (AM or PM).
// Text in single quotes is copied as it stands ('' is one quote); any other character that is
// not a picture letter is copied too.
#include <cstddef>

#include "platform/Clock.h"

namespace plat {

// Writes the formatted text into `out` (always terminated when size > 0, cut when it does
// not fit) and returns the number of characters written.
size_t FormatTime(const LocalTime& t, const char* picture, char* out, size_t size);
size_t FormatTime(const LocalTime& t, const char* picture, char16_t* out, size_t size);

}  // namespace plat
