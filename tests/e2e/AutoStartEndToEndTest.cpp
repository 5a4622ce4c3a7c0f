// Auto-start through the whole panel in this process (ticks, windows, link thread, serial code)
// against the controller simulator on a pseudo-terminal, on the real clock: the operator
// initiates auto-start for Wheat from the setup screen, watches the status dialog follow the
// controller's sequence to a running dryer, accepts the finished message once, then starts a
// second run and cancels it from the status dialog, and the controller stops.
//
// A watcher window's timer plays the operator: each tick it takes the next step once what the
// step waits for is on screen, inside whatever modal dialog is open at the time.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/AutoStartDialogs.h"
#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "records/LogTick.h"
#include "records/ShutdownHistory.h"
#include "screens/AutoStartConfig.h"
#include "screens/Screens.h"
#include "screens/SetupDoors.h"
#include "shell/MainWindow.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"
#include "sim/AutoStartSequence.h"
#include "sim/SimServer.h"
#include "tests/e2e/ProgramSupport.h"

using namespace lnk;

namespace {

constexpr uint32_t kWatchTimer = 7;
constexpr uint32_t kWatchMs = 50;
constexpr double kSimSpeed = 5;
constexpr uint64_t kLimitMs = 120000;
constexpr const char* kFinishedCaption = "Auto-Start Finished...";
constexpr int kQuickStartButton = 5;

std::string Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out.push_back(c < 256 ? static_cast<char>(c) : '?');
  return out;
}
std::string Text(plat::Hwnd h) { return Narrow(plat::GetWindowText(h)); }
std::string String(int id) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(id, text);
  return Narrow(text);
}

struct OperatorStep {
  const char* what;
  std::function<bool()> ready;
  std::function<void()> act;
};

// What the watcher saw and where it is in its steps.
struct Watch {
  std::vector<OperatorStep> steps;
  size_t next = 0;
  plat::Hwnd lastFinished = plat::kNoWindow;
  int finishedShown = 0;
  std::vector<std::string> bands;  // the status dialog's state texts, in the order first drawn
  bool runningWithDone = false;    // the dryer ran when the band first said done
};
Watch gWatch;

int ActiveDialog() { return plat::DialogTemplateId(plat::ActiveTopLevel()); }

void NoteWhatIsShown() {
  const plat::Hwnd active = plat::ActiveTopLevel();
  if (plat::DialogTemplateId(active) == plat::kMessageBoxTemplateId && Text(active) == kFinishedCaption &&
      active != gWatch.lastFinished) {
    gWatch.lastFinished = active;
    ++gWatch.finishedShown;
  }
  const plat::Hwnd status = plat::FindOpenDialog(dialogs::kAutoStartStatusDialogId);
  if (status != plat::kNoWindow) {
    for (int id : {i18n::kStringAutoStartRunning, i18n::kStringAutoStartWaiting, i18n::kStringAutoStartDone}) {
      const std::string band = String(id);
      if (plat::FindCapturedText(band.c_str(), status) == nullptr) continue;
      if (gWatch.bands.empty() || gWatch.bands.back() != band) {
        gWatch.bands.push_back(band);
        if (id == i18n::kStringAutoStartDone)
          gWatch.runningWithDone = (ReadStatusByte(kStatusSwitches) & kSwitchesDryerRunning) != 0;
      }
    }
  }
  plat::ClearCapturedText();
}

plat::LResult WatchProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer || w != kWatchTimer) return plat::DefWindowProc(h, msg, w, l);
  NoteWhatIsShown();
  if (gWatch.next < gWatch.steps.size() && gWatch.steps[gWatch.next].ready()) {
    // Taken before acting: the act may open a dialog whose loop runs the next steps.
    OperatorStep& step = gWatch.steps[gWatch.next++];
    if (step.act) step.act();
  }
  return 0;
}

class AutoStartOnTheLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(root_.path.empty());
    ASSERT_TRUE(shell::PrepareRoot(root_.path.c_str(), DRYER_BINARY_DIR "/assets/Languages"));
    SimServerOptions so;
    so.scenario = SimFindScenario("auto-start");
    so.speed = kSimSpeed;
    ASSERT_NE(so.scenario, nullptr);
    ASSERT_EQ(server_.StartOnPty(so), SimServerResult::Ok);
    plat::SetFileRoot(root_.path.c_str());
    options_.root = root_.path.c_str();
    options_.headless = true;
    options_.port = server_.SlavePath();
    ASSERT_EQ(shell::StartPanel(options_), shell::StartResult::Ok);
    started_ = true;
    gWatch = Watch{};
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "AUTO_START_OPERATOR", .proc = WatchProc}));
    watcher_ = plat::CreateWindow(plat::WindowDesc{.className = "AUTO_START_OPERATOR", .rect = plat::Rect{0, 0, 1, 1}});
    ASSERT_NE(watcher_, plat::kNoWindow);
    plat::StartTextCapture();
  }

  void TearDown() override {
    plat::StopTextCapture();
    if (started_) shell::StopPanel();
    server_.Stop();
    screens::UiState() = screens::MainScreenState{};
    ResetLinkState();
    ResetDryerStatus();
    ResetSettingRequest();
    records::ResetLoggingState();
    i18n::ResetLanguageState();
  }

  // Runs the panel until every step was taken; false on the time limit.
  bool Play(std::vector<OperatorStep> steps) {
    gWatch.steps = std::move(steps);
    gWatch.next = 0;
    plat::SetTimer(watcher_, kWatchTimer, kWatchMs);
    const uint64_t start = plat::NowMs();
    while (gWatch.next < gWatch.steps.size()) {
      if (plat::NowMs() - start > kLimitMs) {
        ADD_FAILURE() << "waited in vain for: " << gWatch.steps[gWatch.next].what;
        return false;
      }
      plat::RunFor(100);
    }
    return true;
  }

  Simulator Controller() const {
    Simulator s;
    server_.Snapshot(s);
    return s;
  }
  plat::Hwnd Config() const { return shell::ScreenWindow(shell::Screen::AutoStartConfig); }
  static void Click(plat::Hwnd parent, int id) {
    const plat::Hwnd control = plat::GetDlgItem(parent, id);
    EXPECT_TRUE(plat::IsWindowVisible(control)) << "control " << id << " is not on screen";
    plat::ClickWindow(control);
  }

  // From the main screen to a confirmed auto-start for Wheat.
  std::vector<OperatorStep> InitiateForWheat() {
    const plat::Hwnd setup = shell::ScreenWindow(shell::Screen::SetupSelection);
    return {
        {"the main screen with a waiting dryer",
         [] {
           return LinkConnected() && ReadStatusByte(kStatusFanHeaterCount) == 1 &&
                  (ReadStatusByte(kStatusSwitches) & kSwitchesDryerRunning) == 0 && ActiveDialog() == 0;
         },
         [] { plat::ClickWindow(shell::MainButton(2)); }},
        {"the setup screen", [setup] { return plat::IsWindowVisible(setup); },
         [setup] { Click(setup, screens::kSetupAutoStart); }},
        {"the switch requirements", [] { return ActiveDialog() == dialogs::kSwitchRequirementsDialogId; },
         [] { Click(plat::ActiveTopLevel(), dialogs::kSwitchRequirementsOk); }},
        {"the wizard", [this] { return plat::IsWindowVisible(Config()) && ActiveDialog() == 0; },
         [this] { Click(Config(), screens::kAsGrainSelect); }},
        {"the grains", [this] { return plat::IsWindowVisible(plat::GetDlgItem(Config(), screens::kAsFirstGrain)); },
         [this] { Click(Config(), screens::kAsFirstGrain + screens::kGrainWheat); }},
        {"Wheat chosen", [] { return true; }, [this] { Click(Config(), screens::kAsMoistureSettings); }},
        {"INITIATE", [this] { return plat::IsWindowVisible(plat::GetDlgItem(Config(), screens::kAsInitiate)); },
         [this] { Click(Config(), screens::kAsInitiate); }},
        {"the confirmation", [] { return ActiveDialog() == dialogs::kAutoStartConfirmDialogId; },
         [] { Click(plat::ActiveTopLevel(), dialogs::kAutoStartYes); }},
    };
  }

  e2e::TempDir root_;
  SimServer server_;
  shell::PanelOptions options_;
  bool started_ = false;
  plat::Hwnd watcher_ = plat::kNoWindow;
};

TEST_F(AutoStartOnTheLine, WheatRunFollowedToTheEndThenASecondRunCancelledFromTheStatusDialog) {
  // First run, watched in the status dialog from the QS button until the finished message.
  std::vector<OperatorStep> steps = InitiateForWheat();
  const std::vector<OperatorStep> watch = {
      {"the QS button once the controller took the request",
       [] { return plat::IsWindowVisible(shell::MainButton(kQuickStartButton)) && ActiveDialog() == 0; },
       [] { plat::ClickWindow(shell::MainButton(kQuickStartButton)); }},
      {"the finished message over the status dialog",
       [] { return ActiveDialog() == plat::kMessageBoxTemplateId && gWatch.finishedShown == 1; },
       [] {
         EXPECT_EQ(records::ReadHistoryCount(), 0u);
         Click(plat::ActiveTopLevel(), plat::IdOk);
       }},
      {"three more seconds of the status dialog after OK",
       [start = uint64_t{0}]() mutable {
         if (start == 0) start = plat::NowMs();
         return ActiveDialog() == dialogs::kAutoStartStatusDialogId && plat::NowMs() - start > 3000;
       },
       [] { Click(plat::ActiveTopLevel(), dialogs::kAutoStartMinimize); }},
  };
  steps.insert(steps.end(), watch.begin(), watch.end());
  ASSERT_TRUE(Play(std::move(steps)));

  EXPECT_EQ(Controller().reg[kStatusAutoStart], screens::kGrainWheat);
  EXPECT_EQ(gWatch.bands, (std::vector<std::string>{String(i18n::kStringAutoStartRunning),
                                                    String(i18n::kStringAutoStartWaiting),
                                                    String(i18n::kStringAutoStartDone)}));
  EXPECT_TRUE(gWatch.runningWithDone) << "the dryer runs once auto-start is done";
  EXPECT_EQ(gWatch.finishedShown, 1);
  ASSERT_EQ(records::ReadHistoryCount(), 1u);
  records::HistoryRow rows[2];
  ASSERT_EQ(records::FillHistoryList(records::HistorySort::ByDateTime, rows, 2), 1);
  EXPECT_EQ(Narrow(rows[0].description), "User Accepted Auto-Start MC Setup");

  // Second run: the operator stops the dryer, initiates again and cancels from the status dialog.
  server_.PressStop();
  steps = InitiateForWheat();
  const std::vector<OperatorStep> cancel = {
      {"the QS button while the controller prepares",
       [] {
         return plat::IsWindowVisible(shell::MainButton(kQuickStartButton)) && ActiveDialog() == 0 &&
                (ReadStatusByte(kStatusOptionWithdraw) & kAutoStartRunningBit) != 0;
       },
       [] { plat::ClickWindow(shell::MainButton(kQuickStartButton)); }},
      {"Cancel   Auto-Start", [] { return ActiveDialog() == dialogs::kAutoStartStatusDialogId; },
       [] { Click(plat::ActiveTopLevel(), dialogs::kAutoStartCancel); }},
      {"the cancel question", [] { return ActiveDialog() == dialogs::kAutoStartConfirmDialogId; },
       [] {
         EXPECT_EQ(Text(plat::GetDlgItem(plat::ActiveTopLevel(), dialogs::kAutoStartQuestion)),
                   String(dialogs::kStringAskCancelAutoStart));
         Click(plat::ActiveTopLevel(), dialogs::kAutoStartYes);
       }},
      {"the controller stopped",
       [this] {
         const Simulator s = Controller();
         return ActiveDialog() == 0 && s.autoStart.phase == SimAutoStartPhase::Idle &&
                (ReadStatusByte(kStatusOptionWithdraw) & kAutoStartRunningBit) == 0;
       },
       {}},
  };
  steps.insert(steps.end(), cancel.begin(), cancel.end());
  ASSERT_TRUE(Play(std::move(steps)));

  const Simulator s = Controller();
  EXPECT_FALSE(s.running);
  EXPECT_EQ(s.reg[kStatusOptionWithdraw], 0);
  EXPECT_EQ(s.reg[kStatusOptionBits2] & kOptionBits2QuickStart, 0);
  EXPECT_EQ(gWatch.finishedShown, 1) << "once in the panel's run";
  EXPECT_EQ(records::ReadHistoryCount(), 1u);
}

}  // namespace
