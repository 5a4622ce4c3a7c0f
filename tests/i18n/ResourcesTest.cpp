// Paths of the per-language files, the help-file reader and the text-wrapping helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/TextWrap.h"
#include "platform/Bitmap.h"
#include "tests/i18n/TestRoot.h"

using i18n_test::TestRoot;
using i18n_test::U16;
using i18n_test::Utf16File;

TEST(ResourcePaths, BitmapOfDutchBelowHardDisk) {
  TestRoot root;
  root.MakeFolder("Hard Disk");
  i18n::SetLanguage(4);
  char path[260];
  ASSERT_TRUE(i18n::LocalisedBitmapPath(42, path, sizeof path));
  EXPECT_STREQ(path, "\\Hard Disk\\Languages\\NL\\Bitmaps\\GRAPHIC_042_TABLE_VIEW_BUTTON.BMP");
  EXPECT_FALSE(i18n::LocalisedBitmapPath(0, path, sizeof path));
  EXPECT_FALSE(i18n::LocalisedBitmapPath(78, path, sizeof path));
}

TEST(ResourcePaths, WarningPictureAndTextInEnglish) {
  TestRoot root;
  char path[260];
  ASSERT_TRUE(i18n::WarningBitmapPath(2, 7, path, sizeof path));
  EXPECT_STREQ(path, "Languages\\EN\\WarningBitmaps\\NID_02_WARNING_ID_07.bmp");
  ASSERT_TRUE(i18n::WarningTextPath(15, 12, path, sizeof path));
  EXPECT_STREQ(path, "Languages\\EN\\WarningBitmaps\\NID_15_WARNING_ID_12.txt");
  i18n::SetLanguage(200);  // out of range reads as English
  ASSERT_TRUE(i18n::WarningTextPath(1, 3, path, sizeof path));
  EXPECT_STREQ(path, "Languages\\EN\\WarningBitmaps\\NID_01_WARNING_ID_03.txt");
}

TEST(ResourcePaths, LocalisedBitmapLoadsOrGivesNone) {
  TestRoot root;
  plat::Bitmap out;
  EXPECT_FALSE(i18n::LoadLocalisedBitmap(1, out));
  EXPECT_TRUE(out.Empty());

  plat::Bitmap picture;
  ASSERT_TRUE(picture.Allocate(105, 40));
  picture.Pixels()[0] = 0x123456;
  root.MakeFolder("Languages\\EN\\Bitmaps");
  const std::string host = root.HostPath("Languages\\EN\\Bitmaps\\GRAPHIC_001_MAIN_TIMERS_BUTTON.BMP");
  ASSERT_TRUE(plat::SaveBmpFile(host.c_str(), picture.View()));
  ASSERT_TRUE(i18n::LoadLocalisedBitmap(1, out));
  EXPECT_EQ(out.Width(), 105);
  EXPECT_EQ(out.Height(), 40);
  EXPECT_EQ(out.At(0, 0), 0x123456u);

  plat::Bitmap pressed;
  ASSERT_TRUE(i18n::LoadLocalisedBitmapPair(1, out, pressed));
  EXPECT_EQ(pressed.Width(), 105);
  EXPECT_EQ(pressed.At(1, 1), 0x0D2740u);  // moved down-right and darkened to three quarters
  EXPECT_EQ(out.At(0, 0), 0x123456u);

  // No English fallback for pictures: German without its own picture gets none.
  i18n::SetLanguage(i18n::kGerman);
  EXPECT_FALSE(i18n::LoadLocalisedBitmap(1, out));
  EXPECT_FALSE(i18n::LoadLocalisedBitmapPair(1, out, pressed));
  EXPECT_TRUE(pressed.Empty());
}

TEST(HelpFiles, ReadsTheLanguageFileOrTheEnglishOne) {
  TestRoot root;
  root.WriteBytes("Languages\\EN\\PlenumDiffHelp.txt", Utf16File(u"english help"));
  root.WriteBytes("Languages\\DE\\PlenumDiffHelp.txt", Utf16File(u"deutsche Hilfe"));
  root.WriteBytes("OrvaneLangConfig.txt", "German");
  i18n::LoadLanguageConfig();
  char16_t dest[64];
  EXPECT_EQ(i18n::ReadHelpFile("PlenumDiffHelp.txt", dest, 64), 15u);
  EXPECT_EQ(dest[0], 0xFEFF);  // the byte-order mark stays the first character
  EXPECT_EQ(std::u16string(dest + 1), u"deutsche Hilfe");

  std::remove(root.HostPath("Languages\\DE\\PlenumDiffHelp.txt").c_str());
  i18n::ReadHelpFile("PlenumDiffHelp.txt", dest, 64);
  EXPECT_EQ(std::u16string(dest + 1), u"english help");
}

// The literal reader takes n bytes for n characters and leaves a missing
// file's buffer untouched.
TEST(I18nFaults, HelpFileFillsTheBufferAndAlwaysTerminates) {
  TestRoot root;
  root.WriteBytes("Languages\\EN\\BphCalibHelp.txt", std::string("\xFF\xFE") + std::string(48, 'a'));
  char16_t dest[12];
  for (char16_t& c : dest) c = u'#';
  EXPECT_EQ(i18n::ReadHelpFile("BphCalibHelp.txt", dest, 10), 9u);
  EXPECT_EQ(dest[9], 0);
  EXPECT_EQ(dest[10], u'#');  // nothing written past the n units
  EXPECT_EQ(std::u16string(dest + 1).size(), 8u);

  root.WriteBytes("Languages\\EN\\Odd.txt", std::string("\xFF\xFE" "a\0b\0c", 7));
  EXPECT_EQ(i18n::ReadHelpFile("Odd.txt", dest, 10), 3u);  // the odd last byte is left out
  EXPECT_EQ(std::u16string(dest + 1), u"ab");

  dest[0] = u'x';
  EXPECT_EQ(i18n::ReadHelpFile("NoSuchHelp.txt", dest, 10), 0u);
  EXPECT_EQ(dest[0], 0);
}

namespace {

struct Split {
  std::u16string first;
  std::u16string second;
};

Split SplitText(const std::u16string& text, size_t limit) {
  std::vector<char16_t> a(limit + 1, u'#');
  std::vector<char16_t> b(limit + 1, u'#');
  i18n::SplitInTwoLines(text.c_str(), a.data(), b.data(), limit);
  return Split{a.data(), b.data()};
}

std::vector<std::u16string> Wrap(const std::u16string& text, size_t width) {
  std::vector<std::u16string> lines;
  std::vector<char16_t> dest(width + 1);
  bool restart = true;
  while (i18n::NextWrappedLine(restart, width, text.c_str(), dest.data()) && lines.size() < 50) {
    restart = false;
    lines.emplace_back(dest.data());
    EXPECT_LE(lines.back().size(), width);
  }
  return lines;
}

}  // namespace

TEST(TextWrapping, SplitBreaksAtTheLastSpaceBeforeTheMiddle) {
  // 36 characters: the space at 18 is not below the half, so the break is the one at 10.
  const Split s = SplitText(u"HIGH LIMIT TRIPPED ON FAN HEATER ONE", 99);
  EXPECT_EQ(s.first, u"HIGH LIMIT");
  EXPECT_EQ(s.second, u"TRIPPED ON FAN HEATER ONE");
}

TEST(TextWrapping, NineCharacterWordsInWidthFortyGiveThreeLines) {
  std::u16string text;
  for (int i = 0; i < 10; ++i) text += (i ? u" " : u"") + std::u16string(9, static_cast<char16_t>(u'a' + i));
  text += u".";  // 100 characters
  ASSERT_EQ(text.size(), 100u);
  const auto lines = Wrap(text, 40);
  ASSERT_EQ(lines.size(), 3u);
  size_t at = 0;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    at = text.find(lines[i], at) + lines[i].size();
    EXPECT_EQ(text[at], u' ') << i;
  }
  EXPECT_EQ(lines[2], u"iiiiiiiii jjjjjjjjj.");
}

// The literal helpers search past the text, drop a lone last character,
// and stop at a word longer than the width.
TEST(I18nFaults, WrapKeepsEveryCharacter) {
  EXPECT_EQ(Wrap(u"abc d", 3), (std::vector<std::u16string>{u"abc", u"d"}));
  EXPECT_EQ(Wrap(u"abcdefghij", 4), (std::vector<std::u16string>{u"abcd", u"efgh", u"ij"}));
  EXPECT_EQ(Wrap(u"x", 40), (std::vector<std::u16string>{u"x"}));
  EXPECT_TRUE(Wrap(u"", 40).empty());
  EXPECT_EQ(Wrap(u"first line  second", 11), (std::vector<std::u16string>{u"first line", u"second"}));
}

TEST(I18nFaults, SplitWithoutSpaceKeepsOneLine) {
  const Split s = SplitText(u"OVERTEMPERATURE", 99);
  EXPECT_EQ(s.first, u"OVERTEMPERATURE");
  EXPECT_EQ(s.second, u"");
  // A space only in the second half is no break either.
  const Split late = SplitText(u"ABCDEFGHIJ KL", 99);
  EXPECT_EQ(late.first, u"ABCDEFGHIJ KL");
  EXPECT_EQ(late.second, u"");
  // Cut to the limit, and the break is searched only inside what is kept.
  const Split cut = SplitText(u"AAAA BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB", 10);
  EXPECT_EQ(cut.first, u"AAAA");
  EXPECT_EQ(cut.second, u"BBBBB");
}
