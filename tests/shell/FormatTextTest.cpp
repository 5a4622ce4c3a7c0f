#include <gtest/gtest.h>

#include <string>

#include "shell/FormatText.h"

namespace {

std::u16string Format(const char16_t* format, std::initializer_list<int> values,
                      size_t size = 128) {
  char16_t out[128];
  const int* data = values.begin();
  size_t n = shell::FormatText(out, size, format, data, values.size());
  EXPECT_EQ(n, std::char_traits<char16_t>::length(out));
  return std::u16string(out);
}

TEST(FormatText, FillsTheTwoNumbersOfARestartQuestion) {
  EXPECT_EQ(Format(u"Restart the HI HEAT timer at %d:%02d?", {45, 0}),
            u"Restart the HI HEAT timer at 45:00?");
  EXPECT_EQ(Format(u"%3d|%-3d|%03d|%i|%u", {7, 7, 7, -2, 9}), u"  7|7  |007|-2|9");
  EXPECT_EQ(Format(u"100%% %d", {5}), u"100% 5");
  EXPECT_EQ(Format(u"%05d", {-42}), u"-0042");
}

TEST(ShellFaults, TranslatedFormatNeverReachesPrintf) {
  // A translation with conversions that would read or write through printf's arguments.
  EXPECT_EQ(Format(u"%s %n %p %x %f: %d:%02d", {12, 5}), u"%s %n %p %x %f: 12:05");
  // More fields than numbers: the extra field is printed as it stands.
  EXPECT_EQ(Format(u"%d:%02d of %d", {3, 4}), u"3:04 of %d");
  // A width too large to be a field, and a lone percent at the end.
  EXPECT_EQ(Format(u"%999999d and %", {1}), u"%999999d and %");
}

TEST(FormatText, StaysInsideTheBuffer) {
  char16_t out[6];
  const int values[] = {123456};
  EXPECT_EQ(shell::FormatText(out, 6, u"ab%dcd", values, 1), 5u);
  EXPECT_EQ(std::u16string(out), u"ab123");
  EXPECT_EQ(shell::FormatText(out, 1, u"abc", values, 1), 0u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(shell::FormatText(out, 6, nullptr, values, 1), 0u);
  EXPECT_EQ(out[0], 0);
}

}  // namespace
