#include "shell/Panel.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>

#include "dialogs/DipSwitchDialog.h"
#include "i18n/Language.h"
#include "i18n/PackInstall.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/LinkEvents.h"
#include "platform/Backend.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Pictures.h"
#include "platform/Script.h"
#include "platform/ServiceNotify.h"
#include "records/HistoryWriter.h"
#include "records/Preferences.h"
#include "records/ShutdownHistory.h"
#include "screens/Screens.h"
#include "shell/MainWindow.h"
#include "shell/PanelDialogs.h"
#include "shell/PanelEvents.h"
#include "shell/ShippedData.h"
#include "shell/SingleInstance.h"
#include "shell/Ticks.h"
#include "sim/SimServer.h"

namespace shell {
namespace {

namespace fs = std::filesystem;

// Set from a signal handler, so it stands apart from the state below.
std::atomic<int> gStopRequested{0};

struct PanelState {
  uint64_t deadlineMs = UINT64_MAX;
  SimServer* sim = nullptr;  // built in gSimStorage on first use, kept for the process
  char packDir[1100] = {};
};
PanelState gPanel;
alignas(SimServer) unsigned char gSimStorage[sizeof(SimServer)];

constexpr const char* kStorageFolder = "Hard Disk";
constexpr const char* kLanguagesFolder = "Languages";
constexpr const char* kEnglishFolder = "EN";
constexpr const char* kManualsFolder = "Manuals";

// The quick-start button's own picture: white letters on green.
void DrawQuickStart(plat::Canvas& c) {
  const plat::Rect all{0, 0, 44, kMainButtonHeight};
  c.FillRect(all, plat::Rgb(0, 110, 60));
  c.FrameRect(all, plat::Rgb(255, 255, 255));
  c.SetFont(plat::CreateFont("Tahoma", 18, plat::FontWeight::Bold));
  c.SetTextColor(plat::Rgb(255, 255, 255));
  c.DrawText(all, "QS", plat::TextFlag::Center | plat::TextFlag::VCenter);
}
constexpr plat::PictureEntry kShellPictures[] = {
    {.resourceNumber = kQuickStartPicture, .width = 44, .height = kMainButtonHeight, .draw = DrawQuickStart},
};

SimServer& Sim() {
  if (gPanel.sim == nullptr) gPanel.sim = new (gSimStorage) SimServer();
  return *gPanel.sim;
}

// False when the device is not open yet; the link thread runs anyway and keeps trying it.
bool OpenLinkOn(const char* path) {
  plat::SerialResult device = plat::SerialResult::Ok;
  if (!lnk::OpenLink(path, &device)) {
    std::fprintf(stderr, "dryer-panel: the link to the dryer could not be started\n");
    return false;
  }
  if (device == plat::SerialResult::Ok) return true;
  std::fprintf(stderr, "dryer-panel: the serial port %s could not be opened: %s; trying again in the background\n",
               path, plat::SerialResultText(device));
  return false;
}

bool StartLink(const PanelOptions& o) {
  lnk::SetLinkTrace(o.traceLink);
  if (o.linkPort != nullptr) return lnk::OpenLinkOnPort(*o.linkPort);
  if (o.port != nullptr) return OpenLinkOn(o.port);
  SimServerOptions so;
  so.realPace = !o.simFast;
  so.trace = false;
  so.scenario = SimFindScenario(o.scenario);
  so.speed = o.simSpeed;
  const SimServerResult r = Sim().StartOnPty(so);
  if (r != SimServerResult::Ok) {
    std::fprintf(stderr, "dryer-panel: built-in simulator: %s\n", SimServerResultText(r));
    return false;
  }
  return OpenLinkOn(Sim().SlavePath());
}

}  // namespace

const char* StartResultText(StartResult r) {
  switch (r) {
    case StartResult::Ok: return "started";
    case StartResult::NoMainWindow: return "the main window could not be created";
    case StartResult::LinkFailed: return "the serial port could not be opened";
    case StartResult::NoDisplay: return "no screen to show the panel on";
  }
  return "?";
}

const char* DefaultPackDir() {
  const ShippedData& shipped = FindShippedData();
  if (shipped.dir[0] == 0) return nullptr;
  std::snprintf(gPanel.packDir, sizeof gPanel.packDir, "%s/%s", shipped.dir, kLanguagesFolder);
  return gPanel.packDir;
}

bool PrepareRoot(const char* root, const char* packDir) {
  std::error_code ec;
  const fs::path storage = fs::path(root) / kStorageFolder;
  const fs::path languages = storage / kLanguagesFolder;
  fs::create_directories(languages, ec);
  fs::create_directories(storage / kManualsFolder, ec);
  if (packDir != nullptr && fs::is_directory(packDir, ec)) {
    // Each shipped language is checked against its manifest; a copy cut short by a power cut
    // or a full card is put right before the first text is read.
    plat::SetFileRoot(root);
    for (fs::directory_iterator it(packDir, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code entryError;
      if (!it->is_directory(entryError)) continue;
      const std::string code = it->path().filename().string();
      const i18n::PackResult r = i18n::EnsureLanguagePack(packDir, code.c_str());
      if (r != i18n::PackResult::Whole && r != i18n::PackResult::Installed)
        std::fprintf(stderr, "dryer-panel: the %s pack: %s\n", code.c_str(), i18n::PackResultText(r));
    }
  }
  if (RefreshManuals(root) < 0) std::fprintf(stderr, "dryer-panel: copying the manuals failed\n");
  return fs::is_directory(languages / kEnglishFolder, ec);
}

StartResult StartPanel(const PanelOptions& o) {
  gStopRequested = 0;
  plat::SetFileRoot(o.root);
  if (o.usb != nullptr && std::strcmp(o.usb, kUsbAuto) == 0)
    plat::SetUsbAutoDetect();
  else if (o.usb != nullptr)
    plat::SetUsbDir(o.usb);
  plat::DisplayResult display = plat::DisplayResult::Ok;
  if (plat::OpenDisplay(plat::DisplayOptions{.headless = o.headless, .scale = o.scale,
                                             .fullscreen = o.fullscreen, .title = "Dryer panel"},
                        &display) == plat::DisplayKind::None) {
    std::fprintf(stderr, "dryer-panel: %s: %s\n", StartResultText(StartResult::NoDisplay),
                 plat::DisplayResultText(display));
    return StartResult::NoDisplay;
  }
  plat::RegisterPictures(kShellPictures, 1);
  dialogs::RegisterDipSwitchPicture();
  InstallPanelLinkEvents();
  ResetTickState();

  const plat::Hwnd main = CreateMainWindow();
  if (main == plat::kNoWindow) return StartResult::NoMainWindow;
  plat::SetMainWindow(main);
  screens::SetMainWindow(main);
  SetPanelDialogHook(OpenPanelDialogNow);

  records::LoadPreferences();
  CreateScreenWindows();
  const bool linked = StartLink(o);
  plat::SetTimer(main, kLinkTimerId, kLinkTimerMs);
  plat::SetTimer(main, kSecondTimerId, kSecondTimerMs);
  plat::SetTimer(main, kTenthTimerId, kTenthTimerMs);
  records::OpenHistoryStore();
  records::StartHistoryWriter();
  plat::InvalidateRect(main, nullptr, true);
  plat::UpdateWindow(main);
  plat::SetForegroundWindow(plat::FindWindow(plat::GetClassName(main)));
  lnk::PresetDryerStatus();
  i18n::EnsureLanguageLoaded();
  return linked ? StartResult::Ok : StartResult::LinkFailed;
}

void ServeLoopRequests() {
  lnk::DryerDerived& d = lnk::Derived();
  const plat::Hwnd main = screens::MainWindow();
  uint8_t one = 1;
  if (d.knobRequest.compare_exchange_strong(one, 0)) plat::SendCommand(main, screens::kCmdKnob);
  if (d.defaultsSwitchRequest.load() != 0 && d.defaultsAcknowledged.load() == 0) {
    d.defaultsSwitchRequest = 0;
    plat::SendCommand(main, screens::kCmdDipSwitch);
  }
  if (d.optionChangeRequest.exchange(0) != 0) plat::SendCommand(main, screens::kCmdOptionChange);
}

int RunMessageLoop(const PanelOptions& o) {
  gPanel.deadlineMs =
      o.runForSeconds > 0 ? plat::NowMs() + static_cast<uint64_t>(o.runForSeconds * 1000.0) : UINT64_MAX;
  bool closing = false;
  bool readyTold = false;
  plat::Message m;
  while (plat::GetMessage(m)) {
    plat::DispatchMessage(m);
    ServeLoopRequests();
    if (!readyTold && plat::FramesShown() > 0) {
      // A service manager counts the panel as started once it can be seen.
      plat::NotifyServiceManager("READY=1");
      readyTold = true;
    }
    if (TakeFrontRequest()) plat::SetForegroundWindow(screens::MainWindow());
    if (!closing && PanelStopDue()) {
      // Destroying the main window releases its pictures and posts the quit message.
      closing = true;
      plat::DestroyWindow(screens::MainWindow());
    }
  }
  gPanel.deadlineMs = UINT64_MAX;
  return plat::ExitCode();
}

bool PanelStopDue() { return gStopRequested.load() != 0 || plat::NowMs() >= gPanel.deadlineMs; }

void StopPanel() {
  lnk::CloseLink();
  if (gPanel.sim != nullptr) gPanel.sim->Stop();
  // The link thread has stopped, so nothing more is queued: what is, is written now.
  records::StopHistoryWriter();
  records::CloseHistoryStore();
  plat::CloseDisplay();
  ResetMainWindowState();
  screens::SetMainWindow(plat::kNoWindow);
  lnk::SetLinkEvents(lnk::LinkEvents{});
}

void RequestPanelStop() { gStopRequested = 1; }

const char* BuiltInSimulatorPath() { return gPanel.sim != nullptr && gPanel.sim->Running() ? gPanel.sim->SlavePath() : ""; }

int RunPanel(const PanelOptions& o) {
  const InstanceResult instance = AcquireInstance(o.root);
  if (instance == InstanceResult::AlreadyRunning) return 0;
  if (instance == InstanceResult::Failed)
    std::fprintf(stderr, "dryer-panel: %s: running without the single-instance guard\n",
                 InstanceResultText(instance));
  const StartResult r = StartPanel(o);
  if (r == StartResult::NoDisplay) {
    ReleaseInstance();
    return kExitNoDisplay;
  }
  if (r == StartResult::NoMainWindow) {
    StopPanel();
    ReleaseInstance();
    return 0;
  }
  if (o.script != nullptr) {
    const plat::ScriptResult sr = plat::StartScriptFile(o.script);
    if (sr != plat::ScriptResult::Ok)
      std::fprintf(stderr, "dryer-panel: script %s: %s\n", o.script, plat::ScriptResultText(sr));
  }
  const int code = RunMessageLoop(o);
  StopPanel();
  ReleaseInstance();
  return code;
}

}  // namespace shell
