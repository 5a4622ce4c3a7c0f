#pragma once
// A panel started headless on the virtual clock in a fresh temporary root, its link on a port
// that records what the panel writes and never answers.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "records/LogTick.h"
#include "records/Preferences.h"
#include "records/StorageNotice.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"

namespace paneltest {

inline std::string MakeTempRoot() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && base[0] ? base : "/tmp") + "/panel-XXXXXX";
  char* made = ::mkdtemp(pattern.data());
  return made != nullptr ? std::string(made) : std::string();
}

struct SilentPort {
  std::atomic<int> writes{0};
};
inline SilentPort gSilent;

inline int SilentRead(void*, uint8_t*, int) { return 0; }
inline void SilentWrite(void* c, const uint8_t*, int) { ++static_cast<SilentPort*>(c)->writes; }
inline void SilentPurge(void*) {}

class PanelTest : public ::testing::Test {
 protected:
  // 2016-03-07 10:20:30, a Monday.
  static plat::LocalTime StartTime() {
    return plat::LocalTime{.year = 2016, .month = 3, .day = 7, .hour = 10, .minute = 20, .second = 30,
                           .dayOfWeek = 1};
  }

  void SetUp() override {
    root_ = MakeTempRoot();
    ASSERT_FALSE(root_.empty());
    shell::PrepareRoot(root_.c_str(), DRYER_BINARY_DIR "/assets/Languages");
    plat::UseVirtualClock(StartTime());
    plat::SetFileRoot(root_.c_str());
    BeforeStart();
    gSilent.writes = 0;
    port_ = TestPort();
    options_.root = root_.c_str();
    options_.headless = true;
    options_.linkPort = &port_;
    ASSERT_EQ(shell::StartPanel(options_), shell::StartResult::Ok);
  }

  void TearDown() override {
    shell::SetTickAsker(nullptr);
    shell::StopPanel();
    screens::UiState() = screens::MainScreenState{};
    lnk::ResetLinkState();
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
    records::ResetLoggingState();
    records::ResetStorageNotice();
    plat::ClearFileFaults();
    i18n::ResetLanguageState();
    plat::UseRealClock();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  // Runs before the panel starts (preferences to store, for example).
  virtual void BeforeStart() {}
  // The line the panel's link talks on: by default one that never answers.
  virtual lnk::LinkPort TestPort() {
    return lnk::LinkPort{.context = &gSilent, .read = SilentRead, .write = SilentWrite, .purge = SilentPurge};
  }

  plat::Hwnd Window(shell::Screen s) const { return shell::ScreenWindow(s); }
  bool Visible(shell::Screen s) const { return plat::IsWindowVisible(shell::ScreenWindow(s)); }

  std::string root_;
  lnk::LinkPort port_;
  shell::PanelOptions options_;
};

}  // namespace paneltest
