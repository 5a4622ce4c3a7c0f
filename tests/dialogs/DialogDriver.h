#pragma once
// Drives modal dialogs on the headless backend as a finger would: a parent window's timer
// takes the next step at each tick, clicking a control of the innermost open dialog (message
// boxes included) or running a check while the dialog is still on screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/Pictures.h"

namespace testing_support {

struct Step {
  int control = 0;                                // clicked on the active dialog when non-zero
  std::function<void(plat::Hwnd active)> check;  // run first, with the active dialog
  int waitFor = 0;  // a template id: the step waits until that dialog is the active one
};

inline std::vector<Step> g_steps;
inline size_t g_next = 0;
inline int g_idleTicks = 0;
inline constexpr uint32_t kDriverTimer = 77;

inline plat::LResult DriverProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer || w != kDriverTimer) return plat::DefWindowProc(h, msg, w, l);
  const plat::Hwnd active = plat::ActiveTopLevel();
  if (g_next >= g_steps.size()) {
    // A dialog left open by a broken test is closed, so the test fails instead of hanging.
    if (active != plat::kNoWindow && plat::DialogTemplateId(active) != 0 && ++g_idleTicks > 50)
      plat::EndDialog(active, -2);
    return 0;
  }
  if (active == plat::kNoWindow || plat::DialogTemplateId(active) == 0) return 0;
  if (g_steps[g_next].waitFor != 0 && plat::DialogTemplateId(active) != g_steps[g_next].waitFor) {
    if (++g_idleTicks > 50) plat::EndDialog(active, -2);
    return 0;
  }
  g_idleTicks = 0;
  Step& step = g_steps[g_next++];
  if (step.check) step.check(active);
  if (step.control != 0) {
    const plat::Hwnd control = plat::GetDlgItem(active, step.control);
    EXPECT_NE(control, plat::kNoWindow) << "no control " << step.control;
    if (control != plat::kNoWindow) plat::ClickWindow(control);
  }
  return 0;
}

inline std::vector<Step> Clicks(std::initializer_list<int> ids) {
  std::vector<Step> steps;
  for (int id : ids) steps.push_back(Step{id, {}});
  return steps;
}

// The text drawn last by `window` (or its children) that contains `needle`, "" when none.
inline std::u16string DrawnText(const char* needle, plat::Hwnd window = plat::kNoWindow) {
  const plat::CapturedText* t = plat::FindCapturedText(needle, window);
  return t ? std::u16string(t->text) : std::u16string();
}

inline std::string Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out.push_back(c < 256 ? static_cast<char>(c) : '?');
  return out;
}

// A headless display with the English pack under a temporary root, a parent window that
// drives the steps, and a clean status record and request array.
class HeadlessFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/screens-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    const fs::path pack = fs::path(DRYER_BINARY_DIR) / "assets" / "Languages";
    if (fs::is_directory(pack / "EN")) {
      std::error_code ec;
      fs::create_directories(fs::path(root_) / "Hard Disk", ec);
      fs::create_directory_symlink(pack, fs::path(root_) / "Hard Disk" / "Languages", ec);
      hasPack_ = !ec;
    }
    plat::SetFileRoot(root_.c_str());
    i18n::ResetLanguageState();
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
    lnk::ResetLinkState();
    g_steps.clear();
    g_next = 0;
    g_idleTicks = 0;
    plat::UseVirtualClock(plat::LocalTime{});
    ASSERT_EQ(plat::OpenDisplay(plat::DisplayOptions{.headless = true}), plat::DisplayKind::Headless);
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "TEST_PARENT", .proc = DriverProc}));
    parent_ = plat::CreateWindow(plat::WindowDesc{.className = "TEST_PARENT",
                                                  .rect = plat::Rect{0, 0, 640, 480},
                                                  .flags = plat::WindowFlag::Visible});
    ASSERT_NE(parent_, plat::kNoWindow);
    ASSERT_TRUE(plat::SetTimer(parent_, kDriverTimer, 50));
    plat::StartTextCapture();
  }
  void TearDown() override {
    plat::StopTextCapture();
    plat::CloseDisplay();
    plat::ResetPictures();
    plat::UseRealClock();
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  void Drive(std::vector<Step> steps) {
    g_steps = std::move(steps);
    g_next = 0;
  }
  bool AllStepsTaken() const { return g_next == g_steps.size(); }

  std::string root_;
  bool hasPack_ = false;
  plat::Hwnd parent_ = plat::kNoWindow;
};

}  // namespace testing_support
