// The reading rules of the string and warning tables and the language configuration file,
// on files the tests write into a temporary panel root.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "i18n/Language.h"
#include "platform/Files.h"
#include "tests/i18n/TestRoot.h"

using i18n_test::TestRoot;
using i18n_test::U16;
using i18n_test::Utf16File;

namespace {

const std::string kEnglishFile = "Languages\\EN\\EnglishStrings.txt";
const std::string kGermanFile = "Languages\\DE\\GermanStrings.txt";

// "<prefix>1" .. "<prefix>count", one a line.
std::string NumberedLines(const std::string& prefix, int count) {
  std::u16string text;
  for (int i = 1; i <= count; ++i) text += U16(prefix + std::to_string(i)) + u"\r\n";
  return Utf16File(text);
}

std::u16string Text(int id) {
  char16_t dest[i18n::kStringDestUnits];
  i18n::GetString(id, dest);
  return dest;
}

std::u16string Warning(int node, int warning) {
  char16_t dest[i18n::kWarningDestUnits] = {};
  i18n::GetWarningText(node, warning, dest);
  return dest;
}

}  // namespace

TEST(StringTable, TwelveHundredLinesFillIdsOneToThousand) {
  TestRoot root;
  root.WriteBytes(kEnglishFile, NumberedLines("L", 1200));
  EXPECT_EQ(Text(1), u"L1");
  EXPECT_EQ(Text(999), u"L999");
  EXPECT_EQ(Text(1000), u"L1000");
}

TEST(StringTable, LongLineKeepsOneHundredFiftyAndGetStringGivesOneHundred) {
  TestRoot root;
  std::u16string line(180, u'x');
  for (int i = 0; i < 180; ++i) line[i] = static_cast<char16_t>(u'A' + i % 26);
  root.WriteBytes(kEnglishFile, Utf16File(line + u"\r\nsecond\r\n"));
  EXPECT_EQ(std::u16string(i18n::StringEntry(1)), line.substr(0, 150));
  EXPECT_EQ(Text(1), line.substr(0, 100));
  EXPECT_EQ(Text(2), u"second");
}

TEST(StringTable, SwitchingToShorterFileKeepsTheOldTail) {
  TestRoot root;
  root.WriteBytes(kEnglishFile, NumberedLines("en", 800));
  root.WriteBytes(kGermanFile, NumberedLines("de", 700));
  EXPECT_EQ(Text(750), u"en750");
  i18n::SetLanguage(i18n::kGerman);
  EXPECT_EQ(Text(1), u"de1");
  EXPECT_EQ(Text(700), u"de700");
  EXPECT_EQ(Text(701), u"en701");
  EXPECT_EQ(Text(800), u"en800");
}

TEST(StringTable, LineEndsByteOrderMarkAndFinalLine) {
  TestRoot root;
  // The first two bytes are skipped whatever they hold; a CR ends the visible text even
  // with more before the LF; a bare LF ends a line; a last line without LF is not stored.
  std::string bytes = Utf16File(u"one\r\ntwo\rhidden\r\nthree\nfour");
  bytes[0] = 'Z';
  bytes[1] = 'Z';
  root.WriteBytes(kEnglishFile, bytes);
  EXPECT_EQ(Text(1), u"one");
  EXPECT_EQ(Text(2), u"two");
  EXPECT_EQ(Text(3), u"three");
  EXPECT_EQ(Text(4), u"");
}

TEST(StringTable, OnlyTheFirst32768BytesAreRead) {
  TestRoot root;
  // 2 bytes of mark, then lines of 126 units + CR LF = 256 bytes: 127 whole lines fit in the
  // limit (2 + 127 * 256 = 32514), the 128th is cut before its LF and is not stored.
  std::u16string text;
  for (int i = 0; i < 130; ++i) text += std::u16string(126, static_cast<char16_t>(u'a' + i % 26)) + u"\r\n";
  root.WriteBytes(kEnglishFile, Utf16File(text));
  EXPECT_EQ(Text(127).size(), 100u);
  EXPECT_EQ(Text(128), u"");
}

TEST(StringTable, MissingLanguageFileFallsBackToEnglishAndMissingEnglishLeavesTable) {
  TestRoot root;
  root.WriteBytes("OrvaneLangConfig.txt", "German");
  root.WriteBytes(kEnglishFile, NumberedLines("en", 3));
  EXPECT_EQ(Text(2), u"en2");
  EXPECT_EQ(i18n::CurrentLanguage(), i18n::kGerman);

  std::remove(root.HostPath(kEnglishFile).c_str());
  i18n::SetLanguage(i18n::kEnglish);
  EXPECT_EQ(Text(2), u"en2");
}

TEST(StringTable, WithoutAnyFileEveryTextIsEmpty) {
  TestRoot root;
  EXPECT_EQ(Text(1), u"");
  EXPECT_EQ(Text(1000), u"");
}

TEST(StringTable, IdZeroLeavesTheDestinationUntouched) {
  TestRoot root;
  root.WriteBytes(kEnglishFile, NumberedLines("L", 3));
  char16_t dest[i18n::kStringDestUnits] = u"kept";
  i18n::GetString(0, dest);
  EXPECT_EQ(std::u16string(dest), u"kept");
}

TEST(LanguageConfig, MissingFileIsCreatedHoldingEnglish) {
  TestRoot root;
  i18n::LoadLanguageConfig();
  EXPECT_EQ(i18n::CurrentLanguage(), i18n::kEnglish);
  EXPECT_EQ(root.ReadBytes("OrvaneLangConfig.txt"), "English");
}

TEST(LanguageConfig, NameMustMatchExactly) {
  TestRoot root;
  root.WriteBytes("OrvaneLangConfig.txt", "German");
  i18n::LoadLanguageConfig();
  EXPECT_EQ(i18n::CurrentLanguage(), i18n::kGerman);

  root.WriteBytes("OrvaneLangConfig.txt", "German\r\n");
  i18n::LoadLanguageConfig();
  EXPECT_EQ(i18n::CurrentLanguage(), i18n::kEnglish);
  EXPECT_EQ(root.ReadBytes("OrvaneLangConfig.txt"), "German\r\n");

  root.WriteBytes("OrvaneLangConfig.txt", "german");
  i18n::LoadLanguageConfig();
  EXPECT_EQ(i18n::CurrentLanguage(), i18n::kEnglish);
}

TEST(LanguageConfig, SetLanguageSavesTheEnglishNameWithoutLineEnd) {
  TestRoot root;
  i18n::SetLanguage(4);
  EXPECT_EQ(root.ReadBytes("OrvaneLangConfig.txt"), "Dutch");
  EXPECT_STREQ(i18n::CurrentFolderCode(), "NL");
  i18n::SetLanguage(13);
  EXPECT_EQ(root.ReadBytes("OrvaneLangConfig.txt"), "English");
  EXPECT_STREQ(i18n::CurrentFolderCode(), "EN");
}

// A full card or a power cut while the choice is saved keeps the previous choice whole.
TEST(LanguageConfig, FailedSaveKeepsThePreviousChoice) {
  TestRoot root;
  root.WriteBytes("OrvaneLangConfig.txt", "German");
  for (plat::FileOp op : {plat::FileOp::Write, plat::FileOp::Sync, plat::FileOp::Rename}) {
    plat::InjectFileFault(op, 1, plat::FileResult::NoSpace, false);
    i18n::SaveLanguageConfig("French");
    plat::ClearFileFaults();
    EXPECT_EQ(root.ReadBytes("OrvaneLangConfig.txt"), "German") << int(op);
    EXPECT_EQ(root.ReadBytes("OrvaneLangConfig.txt.tmp"), "<missing>") << int(op);
  }
  i18n::LoadLanguageConfig();
  EXPECT_EQ(i18n::CurrentLanguage(), i18n::kGerman);
  i18n::SaveLanguageConfig("French");
  EXPECT_EQ(root.ReadBytes("OrvaneLangConfig.txt"), "French");
}

TEST(StoragePathRule, RelativeWithoutCardAndBelowHardDiskWithIt) {
  TestRoot root;
  char path[260];
  ASSERT_TRUE(i18n::StoragePath("Languages\\EN\\EnglishStrings.txt", path, sizeof path));
  EXPECT_STREQ(path, "Languages\\EN\\EnglishStrings.txt");
  root.MakeFolder("Hard Disk");
  ASSERT_TRUE(i18n::StoragePath("Languages\\EN\\EnglishStrings.txt", path, sizeof path));
  EXPECT_STREQ(path, "\\Hard Disk\\Languages\\EN\\EnglishStrings.txt");
  char tiny[8];
  EXPECT_FALSE(i18n::StoragePath("Languages\\EN\\EnglishStrings.txt", tiny, sizeof tiny));
  EXPECT_STREQ(tiny, "");
}

TEST(StoragePathRule, FilesAreReadFromTheCardWhenItExists) {
  TestRoot root;
  root.WriteBytes(kEnglishFile, NumberedLines("root", 2));
  root.WriteBytes("Hard Disk\\" + kEnglishFile, NumberedLines("card", 2));
  root.WriteBytes("Hard Disk\\OrvaneLangConfig.txt", "English");
  EXPECT_EQ(Text(1), u"card1");
  i18n::SetLanguage(i18n::kGerman);
  EXPECT_EQ(root.ReadBytes("Hard Disk\\OrvaneLangConfig.txt"), "German");
  EXPECT_EQ(root.ReadBytes("OrvaneLangConfig.txt"), "<missing>");
}

TEST(WarningTables, WarningOneIsTheSecondLineAndRowsKeepTheirNode) {
  TestRoot root;
  root.WriteBytes("Languages\\EN\\WarningsDIO.txt", Utf16File(u"header\r\n0101 first\r\n0102 second\r\n"));
  root.WriteBytes("Languages\\EN\\WarningsMC.txt", Utf16File(u"header\r\n0F01 moisture\r\n"));
  EXPECT_EQ(Warning(1, 1), u"0101 first");
  EXPECT_EQ(Warning(1, 2), u"0102 second");
  EXPECT_EQ(Warning(15, 1), u"0F01 moisture");
  EXPECT_EQ(Warning(1, 0), u"");
  EXPECT_EQ(Warning(2, 1), u"");
}

TEST(WarningTables, NodeWithoutTableCopiesNothingButTerminatesTheBuffer) {
  TestRoot root;
  root.WriteBytes("Languages\\EN\\WarningsDIO.txt", Utf16File(u"header\r\n0101 first\r\n"));
  for (int node : {0, 8, 9, 13, 16, -1}) {
    char16_t dest[i18n::kWarningDestUnits];
    for (char16_t& c : dest) c = u'x';
    i18n::GetWarningText(node, 1, dest);
    EXPECT_EQ(dest[149], 0) << node;
    EXPECT_EQ(std::u16string(dest), std::u16string(149, u'x')) << node;
  }
}

TEST(WarningTables, DescriptionIsCutAt149Characters) {
  TestRoot root;
  const std::u16string line = u"0101" + std::u16string(146, u'd');
  root.WriteBytes("Languages\\EN\\WarningsDIO.txt", Utf16File(u"header\r\n" + line + u"\r\n"));
  EXPECT_EQ(Warning(1, 1), line.substr(0, 149));
}

TEST(WarningTables, EachMissingFileFallsBackToItsEnglishFile) {
  TestRoot root;
  root.WriteBytes("OrvaneLangConfig.txt", "German");
  root.WriteBytes("Languages\\DE\\WarningsDIO.txt", Utf16File(u"h\r\n0101 deutsch\r\n"));
  root.WriteBytes("Languages\\EN\\WarningsDIO.txt", Utf16File(u"h\r\n0101 english\r\n"));
  root.WriteBytes("Languages\\EN\\WarningsFH1.txt", Utf16File(u"h\r\n0201 english fan\r\n"));
  EXPECT_EQ(Warning(1, 1), u"0101 deutsch");
  EXPECT_EQ(Warning(2, 1), u"0201 english fan");
}

TEST(WarningTables, OnlyTheFirst26000BytesAreRead) {
  TestRoot root;
  // Lines of 126 units + CR LF = 256 bytes after the 2-byte mark: 101 whole lines fit.
  std::u16string text;
  for (int i = 0; i < 105; ++i) text += std::u16string(126, u'w') + u"\r\n";
  root.WriteBytes("Languages\\EN\\WarningsDIO.txt", Utf16File(text));
  EXPECT_EQ(Warning(1, 100).size(), 126u);
  EXPECT_EQ(Warning(1, 101), u"");
}

// The literal loader stores every unit of a line at its column, so a line
// longer than the buffer writes past it.
TEST(I18nFaults, LongLineCutAndTerminated) {
  TestRoot root;
  const std::u16string huge(2000, u'h');
  root.WriteBytes(kEnglishFile, Utf16File(huge + u"\r\nafter\r\n" + huge + u"\nbare\n"));
  const char16_t* entry = i18n::StringEntry(1);
  EXPECT_EQ(std::u16string(entry), huge.substr(0, 150));
  EXPECT_EQ(entry[150], 0);
  EXPECT_EQ(Text(2), u"after");
  EXPECT_EQ(std::u16string(i18n::StringEntry(3)).size(), 150u);
  EXPECT_EQ(Text(4), u"bare");

  root.WriteBytes("Languages\\EN\\WarningsDIO.txt", Utf16File(u"h\r\n" + huge + u"\r\n0102 next\r\n"));
  i18n::SetLanguage(i18n::kEnglish);
  EXPECT_EQ(Warning(1, 1), huge.substr(0, 149));
  EXPECT_EQ(Warning(1, 2), u"0102 next");
}

TEST(I18nFaults, IdsOutsideTheTableGiveAnEmptyText) {
  TestRoot root;
  root.WriteBytes(kEnglishFile, NumberedLines("L", 3));
  for (int id : {1001, 5000, -1}) {
    char16_t dest[i18n::kStringDestUnits] = u"stale";
    i18n::GetString(id, dest);
    EXPECT_EQ(std::u16string(dest), u"") << id;
  }
}

// The link thread reads warning texts while the user-interface thread
// switches language; every text read must be wholly one language's.
TEST(I18nFaults, ReloadDoesNotMixLanguagesInOneDescription) {
  TestRoot root;
  const std::u16string english = u"0101" + std::u16string(140, u'E');
  const std::u16string german = u"0101" + std::u16string(140, u'D');
  root.WriteBytes("Languages\\EN\\WarningsDIO.txt", Utf16File(u"h\r\n" + english + u"\r\n"));
  root.WriteBytes("Languages\\DE\\WarningsDIO.txt", Utf16File(u"h\r\n" + german + u"\r\n"));
  ASSERT_EQ(Warning(1, 1), english);

  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  std::atomic<int> reads{0};
  std::thread link([&] {
    while (!stop.load()) {
      const std::u16string got = Warning(1, 1);
      if (got != english && got != german) mixed.fetch_add(1);
      reads.fetch_add(1);
    }
  });
  for (int i = 0; i < 200; ++i) i18n::SetLanguage(i % 2 ? i18n::kEnglish : i18n::kGerman);
  // Make sure the reader overlapped the reloads at least a little before stopping it.
  while (reads.load() < 10) std::this_thread::yield();
  stop = true;
  link.join();
  EXPECT_EQ(mixed.load(), 0);
}
