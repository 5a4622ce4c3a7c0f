#pragma once
// The 8-bit code pages a panel uses for text written to files for other programs (the
// shutdown history export): Windows-1252 for the Western languages, 1250 for the Central
// European and 1251 for the Cyrillic ones.
#include <cstddef>

#include "i18n/Language.h"

namespace records {

enum class CodePage : uint8_t { Western1252, CentralEuropean1250, Cyrillic1251, Count };

// The code page of a panel set up for `language`.
CodePage CodePageOf(i18n::LanguageId language);

// Converts `in` to `page`, at most size - 1 bytes and a terminator; a character the page
// lacks becomes '?'. Returns the bytes written without the terminator.
size_t Utf16ToCodePage(CodePage page, char* out, size_t size, const char16_t* in);

}  // namespace records
