// Writes the documentation screenshots of the diagnostics dialog and the dialogs it opens (the
// light outputs, the switch test and the metering roll output voltage setup), headless, over a
// two-unit dryer with a lamp shorted and air switch testing held off on one unit.
// Usage: screenshot-diagnostics OUTPUT_DIR LANGUAGE_PACK_DIR
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "dialogs/DiagnosticsDialog.h"
#include "dialogs/LightOutputsDialog.h"
#include "dialogs/MeterRollVoltageDialog.h"
#include "dialogs/SwitchTestDialog.h"
#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kDriverTimer = 1;
constexpr uint32_t kDriverMs = 100;
constexpr int kGiveUpTicks = 100;

// One step: when dialog `waitFor` is in front, take a picture named `shot` or click `control`.
struct Step {
  int waitFor;
  const char* shot;
  int control;
};
constexpr Step kSteps[] = {
    {dialogs::kDiagnosticsDialogId, "dialog_168_diagnostics.png", 0},
    {dialogs::kDiagnosticsDialogId, nullptr, dialogs::kDiagLightOutputs},
    {dialogs::kLightOutputsDialogId, "dialog_202_light_outputs.png", 0},
    {dialogs::kLightOutputsDialogId, nullptr, dialogs::kLightsExit},
    {dialogs::kDiagnosticsDialogId, nullptr, dialogs::kDiagSwitchWiring},
    {dialogs::kSwitchTestDialogId, "dialog_203_switch_test.png", 0},
    {dialogs::kSwitchTestDialogId, nullptr, dialogs::kSwitchTestExit},
    {dialogs::kDiagnosticsDialogId, nullptr, dialogs::kDiagMeterRollVoltage},
    {dialogs::kMeterRollVoltageDialogId, "dialog_252_meter_roll_voltage.png", 0},
    {dialogs::kMeterRollVoltageDialogId, nullptr, dialogs::kVoltageCancel},
    {dialogs::kDiagnosticsDialogId, nullptr, dialogs::kDiagExit},
};
constexpr int kStepCount = static_cast<int>(sizeof kSteps / sizeof kSteps[0]);

struct Run {
  fs::path out;
  int next = 0;
  int idle = 0;
  bool ok = true;
};
Run g_run;

plat::LResult MainProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer || w != kDriverTimer) return plat::DefWindowProc(h, msg, w, l);
  const plat::Hwnd active = plat::ActiveTopLevel();
  if (g_run.next >= kStepCount || active == plat::kNoWindow) return 0;
  const Step& step = kSteps[g_run.next];
  if (plat::DialogTemplateId(active) != step.waitFor) {
    if (++g_run.idle > kGiveUpTicks) {
      std::fprintf(stderr, "screenshot-diagnostics: dialog %d never came\n", step.waitFor);
      g_run.ok = false;
      plat::EndDialog(active, -1);
    }
    return 0;
  }
  g_run.idle = 0;
  ++g_run.next;
  if (step.shot != nullptr) {
    const bool ok = plat::ScreenshotPng((g_run.out / step.shot).c_str());
    std::printf("%s%s\n", step.shot, ok ? "" : " FAILED");
    g_run.ok &= ok;
  } else {
    plat::ClickWindow(plat::GetDlgItem(active, step.control));
  }
  return 0;
}

void Set(int k, uint8_t v) { lnk::WriteStatusByte(k, v); }

// A two-unit dryer running: both fans and burner 1 lit, J1-03 reported shorted as well as lit,
// the fan and burner switches in AUTO, load automatic, air switch testing held off on unit 2.
void DiagnosticsDryer() {
  Set(lnk::kStatusFanHeaterCount, 1);
  Set(lnk::kStatusLights177, 0x04);
  Set(lnk::kStatusLights239, 0x04);
  Set(lnk::kStatusLights240, 0x01 | 0x04 | 0x08 | 0x10 | 0x20);
  Set(lnk::kStatusLoadFlags, 0x10 | 0x20);
  Set(lnk::kStatusConnector180, 0x01 | 0x04 | 0x10);
  Set(lnk::kStatusControllerDisplayOptions, 0x20 | 0x02);
  Set(lnk::kStatusDryerTypeSwitch, 0x80 | 0x10);
  Set(lnk::kStatusBurnerMode1 + 5, lnk::kBurnerModeNoAirSwitchTest);
  Set(lnk::kStatusSetup49, 0x20);
  Set(lnk::kStatusMeterRoll0, 1);
  Set(lnk::kStatusMeterRoll1, 75);
  Set(lnk::kStatusMeterRoll2, 60);
  Set(lnk::kStatusMeterRoll3, 45);
  Set(lnk::kStatusMeterRollSpeedPercent, 60);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: screenshot-diagnostics OUTPUT_DIR LANGUAGE_PACK_DIR\n");
    return 2;
  }
  g_run.out = argv[1];
  std::error_code ec;
  fs::create_directories(g_run.out, ec);
  const char* tmp = std::getenv("TMPDIR");
  std::string root = std::string(tmp && *tmp ? tmp : "/tmp") + "/screenshot-diagnostics-XXXXXX";
  if (mkdtemp(root.data()) == nullptr) return 1;
  fs::create_directories(fs::path(root) / "Hard Disk", ec);
  fs::create_directory_symlink(fs::absolute(argv[2]), fs::path(root) / "Hard Disk" / "Languages", ec);
  plat::SetFileRoot(root.c_str());
  plat::UseVirtualClock(plat::LocalTime{.year = 2026, .month = 10, .day = 14, .hour = 9, .minute = 30});
  plat::OpenDisplay(plat::DisplayOptions{.headless = true});
  i18n::EnsureLanguageLoaded();

  plat::RegisterClass(plat::WindowClass{.name = "SCREENSHOT_MAIN", .proc = MainProc});
  const plat::Hwnd main = plat::CreateWindow(plat::WindowDesc{.className = "SCREENSHOT_MAIN", .rect = {0, 0, 640, 480},
                                                              .flags = plat::WindowFlag::Visible});
  DiagnosticsDryer();
  plat::SetTimer(main, kDriverTimer, kDriverMs);
  dialogs::OpenDiagnosticsDialog(main);
  const bool ok = g_run.ok && g_run.next == kStepCount;

  plat::CloseDisplay();
  fs::remove_all(root, ec);
  return ok ? 0 : 1;
}
