#pragma once
// A bounded formatter for texts that come from a language file and carry number fields,
// such as the batch timer restart questions. A language file is data, not code: its text
// never reaches printf, so a stray "%s" or "%n" in a translation cannot read or write memory.
#include <cstddef>

namespace shell {

// Understands "%%" and integer fields "%d", "%i", "%u" with an optional '-' or '0' flag and a
// width of up to two digits; each field takes the next of the `count` values. Every other
// character, any other conversion and any field beyond `count` is copied as it stands.
// Writes at most size - 1 units and always terminates when size > 0. Returns units written.
size_t FormatText(char16_t* out, size_t size, const char16_t* format, const int* values,
                  size_t count);

}  // namespace shell
