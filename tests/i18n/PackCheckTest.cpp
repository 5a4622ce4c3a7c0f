// Checks the shipped language packs as the build made them (language_packs target): file
// encoding and line rules, that every string id the panel uses has a text in every shipped
// language, that texts fit where they are drawn, and that the warning and help files the
// screens open exist.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "i18n/TextWrap.h"
#include "platform/Bitmap.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Text.h"
#include "tests/i18n/TestRoot.h"

namespace fs = std::filesystem;

namespace {

struct Shipped {
  const char* code;
  i18n::LanguageId id;
};
constexpr Shipped kShipped[] = {{"EN", i18n::kEnglish}, {"DE", i18n::kGerman}};

// Every help file a dialog or a tick opens by name.
constexpr const char* kHelpFiles[] = {
    "DiagnosticScreenHelp.txt",      "PlenumDiffHelp.txt",          "CheckLightOutputsHelp.txt",
    "McExtendedSetupHelp.txt",       "MoistSensorCalibHelp.txt",    "BphCalibHelp.txt",
    "DryingModeSelectionHelp.txt",   "PlenumTempManagerHelp.txt",   "SelectDryingCriteriaHelp.txt",
    "NoDryingCriteriaSelectedHelp.txt", "AvailableDryingModesHelp.txt", "AutoStartFinishedMessageC.txt",
    "AutoStartFinishedMessageF.txt",
    // The burner mode dialog.
    "BurnerModeHelp.txt",
    // Time and date, watchdog, user settings, batch counter and cycled sampler dialogs.
    "TimeDateHelp.txt", "WatchdogHelp.txt", "UserSettingsHelp.txt", "BatchCounterHelp.txt",
    "CycledSamplerHelp.txt",
    // The metering roll output voltage setup.
    "MeterRollVoltageHelp.txt",
};

fs::path PackDir() { return fs::path(DRYER_BINARY_DIR) / "assets" / "Languages"; }

std::string ReadAll(const fs::path& p) {
  std::string out;
  FILE* f = std::fopen(p.c_str(), "rb");
  if (!f) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

std::vector<std::u16string> Utf16LinesOf(const std::string& bytes) {
  std::vector<std::u16string> lines;
  std::u16string line;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const char16_t u = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    if (u == u'\n') {
      lines.push_back(line);
      line.clear();
    } else if (u != u'\r') {
      line.push_back(u);
    }
  }
  return lines;
}

// The encoding rules every text file of a pack keeps; returns what is wrong, empty if fine.
std::string TextFileProblem(const std::string& bytes) {
  if (bytes.size() < 2 || static_cast<uint8_t>(bytes[0]) != 0xFF || static_cast<uint8_t>(bytes[1]) != 0xFE)
    return "no UTF-16 LE byte-order mark";
  if (bytes.size() % 2 != 0) return "odd byte count";
  size_t column = 0;
  char16_t previous = 0;
  for (size_t i = 2; i < bytes.size(); i += 2) {
    const char16_t u = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    if (u == u'\n' && previous != u'\r') return "LF without CR at byte " + std::to_string(i);
    if (previous == u'\r' && u != u'\n') return "CR without LF at byte " + std::to_string(i);
    if (u == u'\n') {
      column = 0;
    } else if (u != u'\r' && ++column > static_cast<size_t>(i18n::kCellChars)) {
      return "line over 150 characters at byte " + std::to_string(i);
    }
    previous = u;
  }
  if (bytes.size() > 2 && previous != u'\n') return "last line without CR LF";
  return "";
}

class PackCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::is_directory(PackDir() / "EN"))
        << PackDir() << " is missing: build the language_packs target first";
    // The panel reads the packs from a root of its own, like a panel with "Languages" copied in.
    std::error_code ec;
    fs::create_directory_symlink(PackDir(), fs::path(root_.Path()) / "Languages", ec);
    ASSERT_FALSE(ec) << ec.message();
  }
  i18n_test::TestRoot root_;
};

std::string Narrow(const std::u16string& s) {
  char out[600];
  plat::Utf16ToUtf8(out, sizeof out, s.c_str());
  return out;
}

}  // namespace

TEST_F(PackCheck, EveryTextFileIsUtf16WithCrLfLinesWithinTheCellSize) {
  for (const Shipped& lang : kShipped) {
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(PackDir() / lang.code)) {
      if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
      ++files;
      EXPECT_EQ(TextFileProblem(ReadAll(entry.path())), "") << entry.path();
    }
    EXPECT_GT(files, 50) << lang.code;
  }
}

TEST_F(PackCheck, FilesFitTheLoadersByteLimits) {
  for (const Shipped& lang : kShipped) {
    const fs::path folder = PackDir() / lang.code;
    const std::string strings = i18n::LanguageInfoFor(lang.id).stringsFile;
    const fs::path stringsFile = folder / strings.substr(strings.rfind('\\') + 1);
    ASSERT_TRUE(fs::exists(stringsFile)) << stringsFile;
    EXPECT_LE(fs::file_size(stringsFile), i18n::kStringsFileBytes) << stringsFile;
    for (const i18n::WarningTableInfo& t : i18n::kWarningTables) {
      ASSERT_TRUE(fs::exists(folder / t.fileName)) << lang.code << " " << t.fileName;
      EXPECT_LE(fs::file_size(folder / t.fileName), i18n::kWarningsFileBytes) << t.fileName;
    }
  }
}

TEST_F(PackCheck, EveryUsedIdHasATextInEveryLanguage) {
  for (const Shipped& lang : kShipped) {
    i18n::SetLanguage(lang.id);
    for (const i18n::UsedString& s : i18n::kUsedStrings)
      EXPECT_NE(i18n::StringEntry(s.id)[0], 0) << lang.code << " string " << s.id;
    for (int k = 1; k < i18n::kBitmapNameCount; ++k)
      EXPECT_NE(i18n::StringEntry(i18n::kPictureCaptionBase + k)[0], 0) << lang.code << " caption " << k;
    for (const i18n::LanguageInfo& info : i18n::kLanguages)
      EXPECT_NE(i18n::StringEntry(info.ownNameStringId)[0], 0) << lang.code << " " << info.name;
  }
}

// Every line of a strings file is a text some call reads; none may be longer than that call
// returns, or the operator sees it cut.
TEST_F(PackCheck, EveryTextFitsTheCallThatReadsIt) {
  for (const Shipped& lang : kShipped) {
    i18n::SetLanguage(lang.id);
    for (int id = 1; id <= i18n::kStringCount; ++id) {
      const std::u16string text = i18n::StringEntry(id);
      EXPECT_LE(text.size(), static_cast<size_t>(i18n::StringReadChars(id)))
          << lang.code << " string " << id << " \"" << Narrow(text) << "\"";
    }
  }
}

TEST_F(PackCheck, GermanIsATranslationNotACopy) {
  i18n::SetLanguage(i18n::kEnglish);
  std::vector<std::u16string> english;
  for (const i18n::UsedString& s : i18n::kUsedStrings) english.emplace_back(i18n::StringEntry(s.id));
  i18n::SetLanguage(i18n::kGerman);
  size_t same = 0;
  for (size_t i = 0; i < i18n::kUsedStringCount; ++i)
    if (english[i] == i18n::StringEntry(i18n::kUsedStrings[i].id)) ++same;
  // Units, plenum numbers and a few technical words stay alike; most texts differ.
  EXPECT_LT(same, i18n::kUsedStringCount / 5);
  EXPECT_EQ(std::u16string(i18n::StringEntry(4)), u"ÜBERNEHMEN");
}

TEST_F(PackCheck, RestartQuestionsHoldExactlyTwoNumberFields) {
  for (const Shipped& lang : kShipped) {
    i18n::SetLanguage(lang.id);
    for (uint16_t id : i18n::kTwoNumberFormats) {
      const std::string text = Narrow(i18n::StringEntry(id));
      int fields = 0;
      for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
        const bool number = text.compare(at, 4, "%02d") == 0 || text.compare(at, 2, "%d") == 0;
        EXPECT_TRUE(number) << lang.code << " " << id << ": " << text;
        ++fields;
      }
      EXPECT_EQ(fields, 2) << lang.code << " " << id << ": " << text;
    }
  }
}

TEST_F(PackCheck, TextsFitWhereTheyAreDrawn) {
  for (const Shipped& lang : kShipped) {
    i18n::SetLanguage(lang.id);
    for (const i18n::UsedString& s : i18n::kUsedStrings) {
      if (s.maxWidth == 0) continue;
      const plat::FontHandle font = plat::CreateFont(
          plat::kFaceTahoma, s.fontHeight, s.bold ? plat::FontWeight::Bold : plat::FontWeight::Normal);
      ASSERT_TRUE(font.valid());
      const std::u16string text = i18n::StringEntry(s.id);
      EXPECT_LE(plat::TextWidth(font, text.c_str()), s.maxWidth)
          << lang.code << " string " << s.id << " \"" << Narrow(text) << "\" at height "
          << int(s.fontHeight);
    }
  }
}

// The temperature screen's two panel captions are drawn in the system font in a caption bar
// as wide as the screen, less its margins.
TEST_F(PackCheck, TemperaturePanelCaptionsFitTheirCaptionBars) {
  for (const Shipped& lang : kShipped) {
    i18n::SetLanguage(lang.id);
    for (uint16_t id : {194, 195})
      EXPECT_LE(plat::TextWidth(plat::SystemFont(), i18n::StringEntry(id)), 640 - 10)
          << lang.code << " " << Narrow(i18n::StringEntry(id));
  }
}

// Help texts joined from several strings are wrapped into at most three lines of 40.
TEST_F(PackCheck, JoinedHelpTextsWrapIntoThreeLines) {
  const std::vector<std::vector<uint16_t>> joined = {{67, 68}, {197, 198, 199}, {200, 201}};
  for (const Shipped& lang : kShipped) {
    i18n::SetLanguage(lang.id);
    for (const auto& ids : joined) {
      std::u16string text;
      for (uint16_t id : ids) text += (text.empty() ? u"" : u" ") + std::u16string(i18n::StringEntry(id));
      char16_t line[41];
      int lines = 0;
      for (bool restart = true; i18n::NextWrappedLine(restart, 40, text.c_str(), line); restart = false) ++lines;
      EXPECT_LE(lines, 3) << lang.code << " strings from " << ids.front() << ": " << Narrow(text);
    }
  }
}

TEST_F(PackCheck, WarningLinesStartWithNodeAndWarningInHex) {
  for (const Shipped& lang : kShipped) {
    for (const i18n::WarningTableInfo& t : i18n::kWarningTables) {
      const auto lines = Utf16LinesOf(ReadAll(PackDir() / lang.code / t.fileName));
      ASSERT_GE(lines.size(), 2u) << t.fileName;
      for (size_t row = 1; row < lines.size(); ++row) {
        char expected[8];
        std::snprintf(expected, sizeof expected, "%02X%02X ", t.nodeId, static_cast<unsigned>(row));
        EXPECT_EQ(Narrow(lines[row]).substr(0, 5), expected) << lang.code << " " << t.fileName << " row " << row;
      }
    }
  }
}

// The warning window shows a description on one line, or cut to 99 characters and split in
// two, at height 14 in 600 pixels.
TEST_F(PackCheck, WarningDescriptionsFitTheWarningWindow) {
  const plat::FontHandle font = plat::CreateFont(plat::kFaceTahoma, 14, plat::FontWeight::Normal);
  for (const Shipped& lang : kShipped) {
    for (const i18n::WarningTableInfo& t : i18n::kWarningTables) {
      const auto lines = Utf16LinesOf(ReadAll(PackDir() / lang.code / t.fileName));
      for (size_t row = 1; row < lines.size(); ++row) {
        EXPECT_LE(lines[row].size(), 99u) << lang.code << " " << Narrow(lines[row]);
        char16_t first[100];
        char16_t second[100];
        i18n::SplitInTwoLines(lines[row].c_str(), first, second, 99);
        EXPECT_LE(plat::TextWidth(font, first), 600) << Narrow(lines[row]);
        EXPECT_LE(plat::TextWidth(font, second), 600) << Narrow(lines[row]);
      }
    }
  }
}

// The auto-start message is read into 2000 characters.
TEST_F(PackCheck, AutoStartMessagesFitTheirBuffer) {
  for (const Shipped& lang : kShipped) {
    for (const char* name : {"AutoStartFinishedMessageC.txt", "AutoStartFinishedMessageF.txt"})
      EXPECT_LT(fs::file_size(PackDir() / lang.code / name), 2u * 1999u) << lang.code << " " << name;
  }
}

TEST_F(PackCheck, WarningTextsPicturesAndHelpFilesExist) {
  for (const Shipped& lang : kShipped) {
    i18n::SetLanguage(lang.id);
    // Nodes 2 to 7 share the texts and pictures of node 2; codes 2 to 7 the picture of code 2.
    for (int node : {1, 2, 14, 15}) {
      const auto& t = i18n::kWarningTables[i18n::WarningNodeIndex(node)];
      const size_t rows = Utf16LinesOf(ReadAll(PackDir() / lang.code / t.fileName)).size();
      for (size_t w = 1; w < rows; ++w) {
        char path[260];
        ASSERT_TRUE(i18n::WarningTextPath(node, static_cast<int>(w), path, sizeof path));
        EXPECT_TRUE(plat::FileExists(path)) << path;
        ASSERT_TRUE(i18n::WarningBitmapPath(node, w >= 2 && w <= 7 ? 2 : static_cast<int>(w), path, sizeof path));
        plat::Bitmap picture;
        EXPECT_EQ(plat::LoadBmpFile(path, picture), plat::BmpResult::Ok) << path;
      }
    }
    for (const char* name : kHelpFiles) {
      char16_t text[2000];
      EXPECT_GT(i18n::ReadHelpFile(name, text, 2000), 20u) << lang.code << " " << name;
      char path[260];
      std::snprintf(path, sizeof path, "Languages\\%s\\%s", lang.code, name);
      EXPECT_TRUE(plat::FileExists(path)) << path;
    }
  }
}

TEST_F(PackCheck, EveryButtonPictureLoads) {
  for (const Shipped& lang : kShipped) {
    i18n::SetLanguage(lang.id);
    for (int k = 1; k < i18n::kBitmapNameCount; ++k) {
      plat::Bitmap picture;
      EXPECT_TRUE(i18n::LoadLocalisedBitmap(k, picture)) << lang.code << " " << i18n::kBitmapNames[k];
      EXPECT_GE(picture.Width(), 100) << i18n::kBitmapNames[k];
    }
  }
}
