// Dialog 615 on the headless backend with the shipped language packs: captions in the
// display language over the English names, the check mark on the current language, and a
// press that switches the language and saves the choice.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "dialogs/LanguageDialog.h"
#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

constexpr int kEnglishButton = dialogs::kLanguageButtonEnglish;
constexpr int kGermanButton = dialogs::kLanguageButtonGerman;
constexpr int kDutchButton = dialogs::kLanguageButtonDutch;

// What the parent saw while the dialog was open, and what it does then.
struct Seen {
  std::u16string germanCaption;
  std::u16string englishCaption;
  std::u16string dutchCaption;
  bool germanChecked = false;
  bool englishChecked = false;
  bool germanDrawn = false;
  bool screenshot = false;
  int press = kEnglishButton;
};
Seen g_seen;
std::string g_screenshotPath;

plat::LResult ParentProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  plat::KillTimer(h, 1);
  const plat::Hwnd dialog = plat::FindOpenDialog(dialogs::kLanguageDialogId);
  if (dialog == plat::kNoWindow) return 0;
  g_seen.germanCaption = plat::GetWindowText(plat::GetDlgItem(dialog, kGermanButton));
  g_seen.englishCaption = plat::GetWindowText(plat::GetDlgItem(dialog, kEnglishButton));
  g_seen.dutchCaption = plat::GetWindowText(plat::GetDlgItem(dialog, kDutchButton));
  g_seen.germanChecked = plat::IsDlgButtonChecked(dialog, kGermanButton);
  g_seen.englishChecked = plat::IsDlgButtonChecked(dialog, kEnglishButton);
  if (!g_screenshotPath.empty()) g_seen.screenshot = plat::ScreenshotPng(g_screenshotPath.c_str());
  g_seen.germanDrawn = plat::FindCapturedText("Deutsch", dialog) != nullptr;
  plat::ClickWindow(plat::GetDlgItem(dialog, g_seen.press));
  return 0;
}

class LanguageDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path pack = fs::path(DRYER_BINARY_DIR) / "assets" / "Languages";
    ASSERT_TRUE(fs::is_directory(pack / "DE")) << pack << ": build the language_packs target first";
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/language-dialog-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::error_code ec;
    fs::create_directory_symlink(pack, fs::path(root_) / "Languages", ec);
    ASSERT_FALSE(ec) << ec.message();
    plat::SetFileRoot(root_.c_str());
    i18n::ResetLanguageState();

    fs::create_directories(fs::path(DRYER_BINARY_DIR) / "screenshots", ec);
    g_screenshotPath.clear();
    g_seen = Seen{};
    plat::UseVirtualClock(plat::LocalTime{});
    ASSERT_EQ(plat::OpenDisplay(plat::DisplayOptions{.headless = true}), plat::DisplayKind::Headless);
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "EXTENDED_SETUP_TEST", .proc = ParentProc,
                                                      .background = plat::Rgb(0, 0, 0)}));
    parent_ = plat::CreateWindow(plat::WindowDesc{.className = "EXTENDED_SETUP_TEST",
                                                  .title = " SELECT SETUP PARAMETER TO MODIFY - 06",
                                                  .rect = plat::Rect{0, 0, 640, 475},
                                                  .flags = plat::WindowFlag::Visible | plat::WindowFlag::Caption});
    ASSERT_NE(parent_, plat::kNoWindow);
    plat::StartTextCapture();
  }
  void TearDown() override {
    plat::StopTextCapture();
    plat::CloseDisplay();
    plat::UseRealClock();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  std::string ConfigText() const {
    std::string text;
    FILE* f = std::fopen((root_ + "/OrvaneLangConfig.txt").c_str(), "rb");
    if (!f) return "<missing>";
    char buf[64];
    const size_t n = std::fread(buf, 1, sizeof buf, f);
    std::fclose(f);
    return std::string(buf, n);
  }
  void Run(int press) {
    g_seen.press = press;
    ASSERT_TRUE(plat::SetTimer(parent_, 1, 100));
    result_ = dialogs::OpenLanguageDialog(parent_);
  }

  std::string root_;
  plat::Hwnd parent_ = plat::kNoWindow;
  int result_ = 0;
};

}  // namespace

TEST_F(LanguageDialog, GermanCaptionsAndCheckMarkThenEnglishChosen) {
  g_screenshotPath = (fs::path(DRYER_BINARY_DIR) / "screenshots" / "language_dialog_de.png").string();
  i18n::SetLanguage(i18n::kGerman);
  Run(kEnglishButton);
  EXPECT_EQ(g_seen.germanCaption, u"Deutsch\n(German)");
  EXPECT_EQ(g_seen.englishCaption, u"Englisch\n(English)");
  EXPECT_EQ(g_seen.dutchCaption, u"Niederländisch\n(Dutch)");
  EXPECT_TRUE(g_seen.germanChecked);
  EXPECT_FALSE(g_seen.englishChecked);
  EXPECT_TRUE(g_seen.germanDrawn);
  EXPECT_TRUE(g_seen.screenshot);
  EXPECT_GT(fs::file_size(g_screenshotPath), 1000u);

  EXPECT_EQ(result_, kEnglishButton);
  EXPECT_EQ(i18n::CurrentLanguage(), i18n::kEnglish);
  EXPECT_EQ(ConfigText(), "English");
  char16_t accept[i18n::kStringDestUnits];
  i18n::GetString(i18n::kStringAccept, accept);
  EXPECT_EQ(std::u16string(accept), u"ACCEPT");
}

TEST_F(LanguageDialog, DutchButtonSelectsDutchWhichFallsBackToEnglishTexts) {
  Run(kDutchButton);
  EXPECT_EQ(g_seen.englishCaption, u"English\n(English)");
  EXPECT_TRUE(g_seen.englishChecked);
  EXPECT_EQ(result_, kDutchButton);
  EXPECT_EQ(i18n::CurrentLanguage(), 4);
  EXPECT_EQ(ConfigText(), "Dutch");
  char16_t accept[i18n::kStringDestUnits];
  i18n::GetString(i18n::kStringAccept, accept);
  EXPECT_EQ(std::u16string(accept), u"ACCEPT");
}
