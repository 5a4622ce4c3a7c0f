#pragma once
// Breaking localised texts into lines for display.
#include <cstddef>

namespace i18n {

// Splits `text` (cut to `limit` characters) into two lines broken at the last space before
// the middle of the text. `first` and `second` hold at least limit + 1 units each. A text
// without such a space stays whole in `first`, with `second` empty.
void SplitInTwoLines(const char16_t* text, char16_t* first, char16_t* second, size_t limit);

// Hands out the lines of `text` wrapped at spaces into at most `width` characters, one per
// call: call with `restart` set for the first line, then without until it returns false.
// A word longer than the width is broken hard. `dest` holds at least width + 1 units.
// Keeps its position between calls, so it serves one text at a time (user-interface thread).
bool NextWrappedLine(bool restart, size_t width, const char16_t* text, char16_t* dest);

}  // namespace i18n
