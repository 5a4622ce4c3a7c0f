#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>

using namespace plat;

TEST(SysText, CopiesAreBoundedAndAlwaysTerminated) {
  char16_t out[4];
  EXPECT_EQ(Utf16Copy(out, 4, u"ABCDEF"), 3u);
  EXPECT_EQ(std::u16string(out), u"ABC");
  EXPECT_EQ(Utf16Copy(out, 4, nullptr), 0u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(Utf16Copy(out, 0, u"A"), 0u);
  EXPECT_EQ(Utf16Length(u"12345"), 5u);
  EXPECT_EQ(Utf16Length(nullptr), 0u);
}

TEST(SysText, Latin1KeepsTheDegreeSignAndReplacesWhatItCannotHold) {
  char16_t wide[16];
  const char degrees[] = {'7', '1', static_cast<char>(176), 'F', 0};
  EXPECT_EQ(Latin1ToUtf16(wide, 16, degrees), 4u);
  EXPECT_EQ(wide[2], 0xB0);
  char narrow[16];
  EXPECT_EQ(Utf16ToLatin1(narrow, 16, u"\u00e9t\u00e9 \u0416"), 5u);
  EXPECT_EQ(std::string(narrow), "\xe9t\xe9 ?");
  EXPECT_EQ(Utf16ToLatin1(narrow, 3, u"abcdef"), 2u);
  EXPECT_STREQ(narrow, "ab");
}

TEST(SysText, Utf8NeverCutsACharacter) {
  char out[16];
  EXPECT_EQ(Utf16ToUtf8(out, 16, u"71\u00b0F"), 5u);
  EXPECT_EQ(std::string(out), "71\xc2\xb0" "F");
  EXPECT_EQ(Utf16ToUtf8(out, 16, u"\U0001F600!"), 5u);  // a surrogate pair
  EXPECT_EQ(std::string(out), "\xf0\x9f\x98\x80!");
  const char16_t lone[] = {0xD800, 'a', 0};
  EXPECT_EQ(Utf16ToUtf8(out, 16, lone), 4u);
  EXPECT_EQ(std::string(out), "\xef\xbf\xbd" "a");
  // Room for "a" and one byte of the next character only: the character is left out.
  EXPECT_EQ(Utf16ToUtf8(out, 3, u"a\u00e9"), 1u);
  EXPECT_STREQ(out, "a");
}
