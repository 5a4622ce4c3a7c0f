// Installing the built language packs into a fresh panel root, as the shell does on first run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "i18n/Language.h"
#include "i18n/PackInstall.h"
#include "i18n/Resources.h"
#include "platform/Bitmap.h"
#include "platform/Files.h"
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

namespace {

namespace fs = std::filesystem;

// A root with a card, holding the English pack as the shipped one installs it.
struct CardRoot {
  CardRoot() {
    root.MakeFolder("Hard Disk");
    EXPECT_EQ(i18n::EnsureLanguagePack(BuiltPacks().c_str(), "EN"), i18n::PackResult::Installed);
  }
  std::string Card(const std::string& name) const { return root.HostPath("Hard Disk\\Languages\\" + name); }
  i18n_test::TestRoot root;
};

}  // namespace

// What a power cut during the first copy, a full card or a bad card leaves behind: each is
// found at the next start, moved aside and replaced by a whole copy.
TEST(PackInstall, IncompleteOrDamagedCopyIsMovedAsideAndRestored) {
  struct Damage {
    const char* what;
    void (*apply)(const CardRoot&);
  };
  const Damage damages[] = {
      {"files missing", [](const CardRoot& c) {
         int n = 0;
         for (const auto& e : fs::directory_iterator(c.Card("EN\\WarningBitmaps")))
           if (n++ < 53) fs::remove(e.path());
       }},
      {"picture cut short", [](const CardRoot& c) {
         fs::resize_file(c.Card("EN\\Bitmaps\\GRAPHIC_001_MAIN_TIMERS_BUTTON.BMP"), 1000);
       }},
      {"strings file empty", [](const CardRoot& c) { fs::resize_file(c.Card("EN\\EnglishStrings.txt"), 0); }},
      {"strings file garbage of the same size", [](const CardRoot& c) {
         const auto size = fs::file_size(c.Card("EN\\EnglishStrings.txt"));
         c.root.WriteBytes("Hard Disk\\Languages\\EN\\EnglishStrings.txt", std::string(size, '\x7f'));
       }},
      {"strings folder gone", [](const CardRoot& c) { fs::remove_all(c.Card("EN")); }},
  };
  for (const Damage& d : damages) {
    CardRoot c;
    c.root.WriteBytes("Hard Disk\\Languages\\EN\\Own.txt", "operator's");
    d.apply(c);
    const bool folderWasThere = fs::exists(c.Card("EN"));
    EXPECT_EQ(i18n::EnsureLanguagePack(BuiltPacks().c_str(), "EN"),
              folderWasThere ? i18n::PackResult::Restored : i18n::PackResult::Installed)
        << d.what;
    EXPECT_EQ(Text(4), u"ACCEPT") << d.what;
    plat::Bitmap picture;
    EXPECT_TRUE(i18n::LoadLocalisedBitmap(1, picture)) << d.what;
    EXPECT_EQ(i18n::EnsureLanguagePack(BuiltPacks().c_str(), "EN"), i18n::PackResult::Whole) << d.what;
    EXPECT_EQ(fs::exists(c.Card("EN.old\\Own.txt")), folderWasThere) << d.what;
    EXPECT_FALSE(fs::exists(c.Card("EN.new"))) << d.what;
  }
}

TEST(PackInstall, WholeCopyAndOtherFoldersAreLeftAlone) {
  CardRoot c;
  c.root.WriteBytes("Hard Disk\\Languages\\EN\\Own.txt", "operator's");
  c.root.WriteBytes("Hard Disk\\Languages\\FR\\FrenchStrings.txt", "own pack, no manifest");
  const auto written = fs::last_write_time(c.Card("EN\\EnglishStrings.txt"));
  EXPECT_EQ(i18n::EnsureLanguagePack(BuiltPacks().c_str(), "EN"), i18n::PackResult::Whole);
  EXPECT_EQ(fs::last_write_time(c.Card("EN\\EnglishStrings.txt")), written);
  EXPECT_EQ(c.root.ReadBytes("Hard Disk\\Languages\\EN\\Own.txt"), "operator's");
  EXPECT_EQ(c.root.ReadBytes("Hard Disk\\Languages\\FR\\FrenchStrings.txt"), "own pack, no manifest");
  EXPECT_FALSE(fs::exists(c.Card("EN.old")));
  // Each damage keeps the copy it replaces under a new name.
  fs::resize_file(c.Card("EN\\EnglishStrings.txt"), 0);
  EXPECT_EQ(i18n::EnsureLanguagePack(BuiltPacks().c_str(), "EN"), i18n::PackResult::Restored);
  fs::resize_file(c.Card("EN\\EnglishStrings.txt"), 0);
  EXPECT_EQ(i18n::EnsureLanguagePack(BuiltPacks().c_str(), "EN"), i18n::PackResult::Restored);
  EXPECT_TRUE(fs::exists(c.Card("EN.old\\Own.txt")));
  EXPECT_TRUE(fs::exists(c.Card("EN.old2\\EnglishStrings.txt")));
}

// A card that fills up or a rename that fails while the new copy is made leaves the card as it
// was, with no half copy beside it; the next start with room completes it.
TEST(PackInstall, FailedCopyKeepsWhatWasThereAndTheNextStartCompletesIt) {
  for (plat::FileOp op : {plat::FileOp::Write, plat::FileOp::Sync, plat::FileOp::Rename}) {
    CardRoot c;
    fs::resize_file(c.Card("EN\\EnglishStrings.txt"), 0);
    c.root.WriteBytes("Hard Disk\\Languages\\EN.new\\Stale.txt", "left by a cut start");
    plat::InjectFileFault(op, op == plat::FileOp::Rename ? 1 : 40, plat::FileResult::NoSpace, true);
    EXPECT_EQ(i18n::EnsureLanguagePack(BuiltPacks().c_str(), "EN"), i18n::PackResult::CopyFailed) << int(op);
    plat::ClearFileFaults();
    EXPECT_EQ(fs::file_size(c.Card("EN\\EnglishStrings.txt")), 0u) << int(op);
    EXPECT_FALSE(fs::exists(c.Card("EN.new"))) << int(op);
    EXPECT_EQ(i18n::EnsureLanguagePack(BuiltPacks().c_str(), "EN"), i18n::PackResult::Restored) << int(op);
    EXPECT_EQ(Text(4), u"ACCEPT");
  }
}
