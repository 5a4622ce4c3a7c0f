// Installing the built language packs into a fresh panel root, as the shell does on first run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "i18n/Language.h"
#include "i18n/PackInstall.h"
#include "i18n/Resources.h"
#include "platform/Bitmap.h"
#include "tests/i18n/TestRoot.h"

namespace {

std::string BuiltPacks() { return (std::filesystem::path(DRYER_BINARY_DIR) / "assets" / "Languages").string(); }

std::u16string Text(int id) {
  char16_t dest[i18n::kStringDestUnits];
  i18n::GetString(id, dest);
  return dest;
}

}  // namespace

TEST(PackInstall, FreshRootGetsBothLanguagesWithPictures) {
  i18n_test::TestRoot root;
  ASSERT_FALSE(i18n::LanguagePackInstalled());
  EXPECT_GT(i18n::InstallLanguagePack(BuiltPacks().c_str(), false), 200);
  EXPECT_TRUE(i18n::LanguagePackInstalled());
  EXPECT_EQ(Text(4), u"ACCEPT");
  i18n::SetLanguage(i18n::kGerman);
  EXPECT_EQ(Text(145), u"ENDE");
  plat::Bitmap picture;
  EXPECT_TRUE(i18n::LoadLocalisedBitmap(1, picture));
}

TEST(PackInstall, GoesBelowTheCardAndKeepsExistingFiles) {
  i18n_test::TestRoot root;
  root.MakeFolder("Hard Disk");
  root.WriteBytes("Hard Disk\\Languages\\EN\\EnglishStrings.txt", i18n_test::Utf16File(u"\r\n\r\n\r\nOWN\r\n"));
  EXPECT_GT(i18n::InstallLanguagePack(BuiltPacks().c_str(), false), 200);
  EXPECT_EQ(Text(4), u"OWN");
  EXPECT_EQ(root.ReadBytes("Languages\\EN\\EnglishStrings.txt"), "<missing>");
  EXPECT_EQ(i18n::InstallLanguagePack(BuiltPacks().c_str(), false), 0);
  EXPECT_GT(i18n::InstallLanguagePack(BuiltPacks().c_str(), true), 200);
  i18n::SetLanguage(i18n::kEnglish);
  EXPECT_EQ(Text(4), u"ACCEPT");
}

TEST(PackInstall, MissingSourceFails) {
  i18n_test::TestRoot root;
  EXPECT_EQ(i18n::InstallLanguagePack((root.Path() + "/none").c_str(), false), -1);
  EXPECT_FALSE(i18n::LanguagePackInstalled());
}
