// The grain temperature panel's caption and help text, in every language the build ships,
// against the limits its setpoint keypad enforces.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "link/Temperature.h"
#include "i18n/Language.h"
#include "platform/Files.h"
#include "screens/TempSelectLogic.h"

namespace fs = std::filesystem;

namespace {

constexpr TempSetpoint kGrainSetpoints[] = {TempSetpoint::Grain, TempSetpoint::GrainType3,
                                            TempSetpoint::GrainTwoHeatFirst, TempSetpoint::GrainTwoHeatSecond};

std::vector<int> NumbersIn(const std::u16string& text) {
  std::vector<int> numbers;
  for (size_t i = 0; i < text.size();) {
    if (text[i] < u'0' || text[i] > u'9') {
      ++i;
      continue;
    }
    int n = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) n = n * 10 + (text[i] - u'0');
    numbers.push_back(n);
  }
  return numbers;
}

bool Contains(const std::vector<int>& v, int n) {
  for (int x : v)
    if (x == n) return true;
  return false;
}

class TempSelectTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path packs = fs::path(DRYER_BINARY_DIR) / "assets" / "Languages";
    ASSERT_TRUE(fs::is_directory(packs / "EN")) << "build the language_packs target first";
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/temp-texts-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::error_code ec;
    fs::create_directory_symlink(packs, fs::path(root_) / "Languages", ec);
    ASSERT_FALSE(ec) << ec.message();
    plat::SetFileRoot(root_.c_str());
    i18n::ResetLanguageState();
    for (int id = 0; id < i18n::kLanguageCount; ++id)
      if (fs::is_directory(packs / i18n::kLanguages[id].folderCode)) shipped_.push_back(static_cast<i18n::LanguageId>(id));
  }
  void TearDown() override {
    i18n::ResetLanguageState();
    std::error_code ec;
    if (!root_.empty()) fs::remove_all(root_, ec);
  }
  std::string root_;
  std::vector<i18n::LanguageId> shipped_;
};

}  // namespace

TEST_F(TempSelectTexts, GrainCaptionAndHelpNameOnlyValuesTheKeypadAccepts) {
  int lowestF = 1000;
  int highestF = 0;
  std::vector<int> limits;  // both ends of every grain setpoint, in °F and in °C
  for (TempSetpoint t : kGrainSetpoints) {
    const TempSetpointRow& row = TempSetpointInfo(t);
    for (int f : {row.minimumF, row.maximumF}) {
      limits.push_back(f);
      limits.push_back(lnk::FahrenheitToCelsius(f));
    }
    lowestF = std::min(lowestF, row.minimumF);
    highestF = std::max(highestF, row.maximumF);
  }
  ASSERT_FALSE(shipped_.empty());
  for (i18n::LanguageId lang : shipped_) {
    i18n::SetLanguage(lang);
    const char* code = i18n::kLanguages[lang].folderCode;

    char16_t caption[i18n::kStringDestUnits];
    i18n::GetString(kGrainSetpointCaptionId, caption);
    const std::vector<int> named = NumbersIn(caption);
    for (int limit : limits) EXPECT_TRUE(Contains(named, limit)) << code << " caption lacks " << limit;
    for (int n : named) EXPECT_TRUE(Contains(limits, n)) << code << " caption names " << n;

    for (bool celsius : {false, true}) {
      char16_t help[400];
      FormatGrainHelp(celsius, help, sizeof help / sizeof help[0]);
      const int lowest = lnk::DisplayTemperature(lowestF, celsius);
      const int highest = lnk::DisplayTemperature(highestF, celsius);
      for (int n : NumbersIn(help))
        EXPECT_TRUE(n >= lowest && n <= highest) << code << (celsius ? " C" : " F") << " help names " << n;
    }
  }
}
