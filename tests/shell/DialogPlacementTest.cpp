// Every dialog and message box the operator can open, opened from the window that opens it by
// pressing what a finger would press, with a dryer on the line answering the status that makes
// the opener show, lies wholly on the 640 x 480 screen. One row per opener: the status bytes it
// needs, what must be in place on the card, and the controls pressed in order.
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "PanelTestSupport.h"
#include "dialogs/AutoStartDialogs.h"
#include "dialogs/DataLoggerDialog.h"
#include "dialogs/DipSwitchDialog.h"
#include "dialogs/GraphSetupDialog.h"
#include "dialogs/MeterRollDialog.h"
#include "dialogs/MoistureKeypadDialog.h"
#include "dialogs/MoistureSetpointDialog.h"
#include "dialogs/SampleTimeDialog.h"
#include "dialogs/SetpointEntryDialog.h"
#include "dialogs/ShutdownHistoryDialog.h"
#include "dialogs/SystemInfoDialog.h"
#include "dialogs/TimerEntryDialog.h"
#include "dialogs/WarningHelpDialog.h"
#include "link/Framing.h"
#include "link/RegisterMap.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/Script.h"
#include "records/HistoryWriter.h"
#include "records/LongTermLog.h"
#include "records/ShutdownHistory.h"
#include "records/UsbExport.h"
#include "screens/BatchTimerLogic.h"
#include "screens/GraphWindow.h"
#include "screens/StatusChartWindow.h"
#include "screens/WarningWindow.h"
#include "screens/TempSelectLogic.h"
#include "screens/TimerSelectLogic.h"
#include "screens/WarningLogic.h"

namespace {

using paneltest::PanelTest;

constexpr int kTimerScreenExit = 1003;
constexpr uint32_t kWatchTimer = 1;
constexpr int kMessageBox = plat::kMessageBoxTemplateId;

// A warning the controller reports, with a help text of its own.
constexpr uint8_t kWarningNode = 14;
constexpr uint8_t kWarningCode = 5;

// ---- A dryer on the line ----

// Every poll or command the panel sends is answered with one whole status frame, so the link
// stays alive for as long as a row needs and the decoder puts the row's bytes in place.
struct AnsweringDryer {
  std::mutex m;
  uint8_t frame[lnk::kStatusFrameLength] = {};
  bool due = false;
  std::atomic<uint32_t> cycles{0};  // each cycle of the link ends with one write
};
AnsweringDryer g_dryer;

int DryerRead(void*, uint8_t* buffer, int capacity) {
  std::lock_guard<std::mutex> lock(g_dryer.m);
  if (!g_dryer.due || capacity < lnk::kStatusFrameLength) return 0;
  g_dryer.due = false;
  std::memcpy(buffer, g_dryer.frame, lnk::kStatusFrameLength);
  return lnk::kStatusFrameLength;
}
void DryerWrite(void*, const uint8_t*, int) {
  {
    std::lock_guard<std::mutex> lock(g_dryer.m);
    g_dryer.due = true;
  }
  ++g_dryer.cycles;
}
void DryerPurge(void*) {}

// ---- The rows ----

struct StatusByte {
  int index;
  uint8_t value;
};

// What is on the card before the panel starts, as bits.
enum Setting : uint8_t {
  kStickInserted = 1,
  kLongTermLogNearlyFull = 2,  // past the share at which the panel offers the data logger
  kShutdownRecorded = 4,       // the history holds one shutdown of kWarningNode / kWarningCode
};

// What the watcher's own finger does when the history dialog comes up: what a script's single
// press cannot.
enum class Gesture : uint8_t {
  None,
  TouchFirstHistoryRow,
  HoldHistoryExit,  // five seconds and more, then let go on it
};

// Path steps that are pauses, not controls.
constexpr int kWaitForFinger = -1;   // the watcher's finger touches a row
constexpr int kWaitForGesture = -2;  // the watcher's finger holds EXIT

struct Row {
  std::string name;
  std::vector<StatusByte> status;
  std::vector<int> path;
  std::vector<int> opens;
  uint8_t settings = 0;
  Gesture gesture = Gesture::None;
  int refusedStep = -1;  // the step of the path a finger cannot reach, which stops the script
};

// gtest prints a row by its name, not its bytes.
void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

std::vector<Row> Rows() {
  using namespace dialogs;
  using namespace screens;
  std::vector<Row> rows;
  // The timer keypad from every SETUP button of the four timer panels.
  for (int p = 0; p < kTimerPanelCount; ++p) {
    const TimerPanelInfo& panel = TimerPanelFor(static_cast<TimerPanel>(p));
    for (int b = 0; b < panel.buttonCount; ++b)
      rows.push_back(Row{.name = "TimerPanel" + std::to_string(p) + "Setup" + std::to_string(b),
                         .path = {kCmdTimers, panel.buttons[b].command, kTimerCancel, kTimerScreenExit},
                         .opens = {kTimerEntryDialogId}});
  }
  const int fanSetup = TimerPanelFor(TimerPanel::Fan).buttons[0].command;
  rows.push_back(Row{.name = "TimerAboveItsLimit",
                     .path = {kCmdTimers, fanSetup, kTimerMinutesDigits[9], kTimerMinutesDigits[9], kTimerAccept,
                              plat::IdOk, kTimerScreenExit},
                     .opens = {kTimerEntryDialogId, kMessageBox}});
  // The timer keypad from every button of the batch drying window: DRY on a one-heat batch
  // dryer, HI HEAT and LO HEAT on the high-limit type.
  for (int command : {kBatchCommandDry, kBatchCommandCool, kBatchCommandUnload})
    rows.push_back(Row{.name = "BatchButton" + std::to_string(command),
                       .status = {{lnk::kStatusDryerType, 2}},
                       .path = {command, kTimerCancel},
                       .opens = {kTimerEntryDialogId}});
  for (int command : {kBatchCommandHiHeat, kBatchCommandLoHeat})
    rows.push_back(Row{.name = "BatchButton" + std::to_string(command),
                       .status = {{lnk::kStatusDryerType, 3}},
                       .path = {command, kTimerCancel},
                       .opens = {kTimerEntryDialogId}});
  // Setpoint keypads: a plenum from the temperature screen, grain temperatures from the fifth
  // button (two in turn on a two-heat dryer).
  rows.push_back(Row{.name = "PlenumSetpoint",
                     .path = {kCmdTemps, kPlenumButtons[0].controlId, kSetpointCancel, kTempSelectExit},
                     .opens = {kSetpointEntryDialogId}});
  rows.push_back(Row{.name = "GrainSetpointFromTheFifthButton",
                     .status = {{lnk::kStatusMoistureControlMode, 5}},
                     .path = {kCmdMisc, kSetpointCancel},
                     .opens = {kSetpointEntryDialogId}});
  rows.push_back(Row{.name = "TwoGrainSetpointsFromTheFifthButton",
                     .status = {{lnk::kStatusMoistureControlMode, 1}, {lnk::kStatusDryerType, 3}},
                     .path = {kCmdMisc, kSetpointCancel, kSetpointCancel},
                     .opens = {kSetpointEntryDialogId}});
  // The moisture setpoint window and its keypad from the fifth button; during the learning
  // period the main window asks first.
  rows.push_back(Row{.name = "MoistureSetpointAndKeypad",
                     .status = {{lnk::kStatusMoistureControlMode, 4}},
                     .path = {kCmdMisc, kMoistureModify, kMoistureDigits[1], kMoistureAccept, kMoistureExit},
                     .opens = {kMoistureSetpointDialogId, kMoistureKeypadDialogId}});
  rows.push_back(Row{.name = "MoistureSetpointDuringLearning",
                     .status = {{lnk::kStatusMoistureControlMode, 3}, {lnk::kStatusLearningCounter, 9},
                                {lnk::kStatusLoadFlags, lnk::kLoadFlagsBit2}},
                     .path = {kCmdMisc, plat::IdYes, kMoistureExit},
                     .opens = {kMessageBox, kMoistureSetpointDialogId}});
  // The meter roll when the knob is turned, and its tracking question.
  rows.push_back(Row{.name = "MeterRollByTheKnob",
                     .status = {{lnk::kStatusMeterRollMode, lnk::kMeterRollModeKnobBit}, {lnk::kStatusMoistureControlMode, 2}},
                     .path = {kMeterRollMode, plat::IdNo, kMeterRollCancel},
                     .opens = {kMeterRollDialogId, kMessageBox}});
  // The DEFAULTS dip switch left on.
  rows.push_back(Row{.name = "DipSwitchReminder",
                     .status = {{lnk::kStatusSwitches, lnk::kSwitchesDefaultsOn}},
                     .path = {kDipSwitchExit},
                     .opens = {kDipSwitchDialogId}});
  // Auto-start status and its confirmation from the QS button.
  rows.push_back(Row{.name = "AutoStartStatusAndConfirmation",
                     .status = {{lnk::kStatusOptionBits2, lnk::kOptionBits2QuickStart}},
                     .path = {kCmdQuickStart, kAutoStartCancel, kAutoStartCancelConfirm},
                     .opens = {kAutoStartStatusDialogId, kAutoStartConfirmDialogId}});
  // The status chart's sample time and its clear-table question; the graph's setup.
  rows.push_back(Row{.name = "SampleTimeAndClearTable",
                     .path = {kChartSampleTimeButtonId, kSampleAccept, kChartSampleTimeButtonId, kSampleClearTable,
                              plat::IdNo},
                     .opens = {kSampleTimeDialogId, kClearTableDialogId}});
  rows.push_back(Row{.name = "GraphSetup",
                     .status = {{lnk::kStatusDisplayOptions, lnk::kDisplayOptionsGraphView}},
                     .path = {kGraphSetupButtonId, kGraphSetupAccept},
                     .opens = {kGraphSetupDialogId}});
  // The warning window's help.
  rows.push_back(Row{.name = "WarningHelp",
                     .status = {{lnk::kStatusWarningNode, kWarningNode}, {lnk::kStatusWarningId, kWarningCode}},
                     .path = {kWarningHelpButton, kWarningHelpClose},
                     .opens = {kWarningHelpDialogId}});
  // The data logger offered by the size question once the long-term log is nearly full (the
  // first one-second tick after the dryer answered asks), then its copy without and with a
  // stick and its delete question.
  const std::vector<StatusByte> logging = {{lnk::kStatusRunFlags, lnk::kRunFlagsRunning}, {lnk::kStatusDataLogger, 1}};
  rows.push_back(Row{.name = "DataLoggerWithoutStick",
                     .status = logging,
                     .path = {plat::IdYes, kLoggerCopy, plat::IdCancel, kLoggerDelete, plat::IdNo,
                              kLoggerExit},
                     .opens = {kMessageBox, kDataLoggerDialogId},
                     .settings = kLongTermLogNearlyFull});
  rows.push_back(Row{.name = "DataLoggerCopyToStick",
                     .status = logging,
                     .path = {plat::IdYes, kLoggerCopy, plat::IdYes, plat::IdOk, plat::IdNo, kLoggerExit},
                     .opens = {kMessageBox, kDataLoggerDialogId},
                     .settings = kLongTermLogNearlyFull | kStickInserted});
  // The shutdown history from the view pop-up: its copy questions, its help, its clear question.
  rows.push_back(Row{.name = "HistoryCopyWithoutStick",
                     .path = {kCmdView, kCmdOpenHistory, kHistoryCopy, plat::IdNo, kHistoryExit},
                     .opens = {kHistoryDialogId, kNoStickDialogId}});
  rows.push_back(Row{.name = "HistoryCopyToStick",
                     .path = {kCmdView, kCmdOpenHistory, kHistoryCopy, plat::IdYes, plat::IdOk, kHistoryExit},
                     .opens = {kHistoryDialogId, kCopyHistoryDialogId, kMessageBox},
                     .settings = kStickInserted | kShutdownRecorded});
  rows.push_back(Row{.name = "HistoryHelpWithoutARow",
                     .path = {kCmdView, kCmdOpenHistory, kHistoryHelp, plat::IdOk, kHistoryExit},
                     .opens = {kHistoryDialogId, kMessageBox}});
  rows.push_back(Row{.name = "HistoryHelpOfARow",
                     .path = {kCmdView, kCmdOpenHistory, kWaitForFinger, kHistoryHelp, kWarningHelpClose, kHistoryExit},
                     .opens = {kHistoryDialogId, kWarningHelpDialogId},
                     .settings = kShutdownRecorded,
                     .gesture = Gesture::TouchFirstHistoryRow});
  rows.push_back(Row{.name = "HistoryClearQuestion",
                     .path = {kCmdView, kCmdOpenHistory, kWaitForGesture, plat::IdNo, kHistoryExit},
                     .opens = {kHistoryDialogId, kClearHistoryDialogId},
                     .gesture = Gesture::HoldHistoryExit});
  rows.push_back(Row{.name = "SystemInformation",
                     .path = {kCmdView, kCmdOpenSystemInfo, kInfoExit},
                     .opens = {kSystemInfoDialogId}});
  // What a finger cannot reach the automation refuses: the QS button hidden without its bit,
  // a main button while the timer screen is up.
  rows.push_back(Row{.name = "QuickStartButtonHiddenWithoutItsBit", .path = {kCmdQuickStart}, .refusedStep = 0});
  rows.push_back(Row{.name = "MainButtonHiddenUnderTheTimerScreen", .path = {kCmdTimers, kCmdView, kTimerScreenExit},
                     .refusedStep = 1});
  return rows;
}

// ---- The watcher ----

struct Seen {
  int templateId;
  plat::Rect rect;
};

struct Watch {
  std::vector<Seen> seen;
  Gesture gesture = Gesture::None;
  bool gestureDone = false;
  bool holding = false;
  uint64_t heldSinceMs = 0;
  int touchStep = 0;
};
Watch g_watch;

constexpr uint64_t kHoldMs = 6000;
constexpr int kTouchStepPixels = 6;

plat::Point Centre(const plat::Rect& r) { return plat::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void Click(plat::Point p) {
  plat::HeadlessInjectTouch(p.x, p.y, true);
  plat::HeadlessInjectTouch(p.x, p.y, false);
}

// Down the list a few pixels at a time until a row is selected: the first touches land on the
// column titles, which select nothing.
void TouchFirstRow(plat::Hwnd history) {
  const plat::Hwnd list = plat::GetDlgItem(history, dialogs::kHistoryList);
  const plat::Rect r = plat::GetWindowRect(list);
  const int y = r.top + kTouchStepPixels * ++g_watch.touchStep;
  if (plat::ListGetSelection(list) >= 0 || y >= r.bottom) {
    g_watch.gestureDone = true;
    return;
  }
  Click(plat::Point{r.left + 40, y});
}

void HoldExit(plat::Hwnd history) {
  const plat::Point exit = Centre(plat::GetWindowRect(plat::GetDlgItem(history, dialogs::kHistoryExit)));
  if (!g_watch.holding) {
    plat::HeadlessInjectTouch(exit.x, exit.y, true);
    g_watch.holding = true;
    g_watch.heldSinceMs = plat::NowMs();
  } else if (plat::NowMs() - g_watch.heldSinceMs >= kHoldMs) {
    plat::HeadlessInjectTouch(exit.x, exit.y, false);
    g_watch.gestureDone = true;
  }
}

// Notes each dialog on top while the script drives the panel, and lends the row its finger
// on the history dialog, from a window of its own that takes no touches.
plat::LResult WatchProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  const plat::Hwnd top = plat::ActiveTopLevel();
  const int id = plat::DialogTemplateId(top);
  if (id == 0) return 0;
  const plat::Rect rect = plat::GetWindowRect(top);
  if (g_watch.seen.empty() || g_watch.seen.back().templateId != id || g_watch.seen.back().rect != rect)
    g_watch.seen.push_back(Seen{id, rect});
  // A script stopped by a control it could not reach leaves its dialog open, and nothing else
  // would ever close it.
  if (!plat::ScriptRunning()) {
    plat::EndDialog(top, plat::IdCancel);
    return 0;
  }
  if (id == dialogs::kHistoryDialogId && !g_watch.gestureDone) {
    if (g_watch.gesture == Gesture::TouchFirstHistoryRow) TouchFirstRow(top);
    if (g_watch.gesture == Gesture::HoldHistoryExit) HoldExit(top);
  }
  return 0;
}

// The script of a path, and the line of each of its steps.
std::string ScriptOf(const std::vector<int>& path, std::vector<int>& lines) {
  std::string script = "wait 1200\n";  // the dryer has answered and the first second ticked
  int line = 2;
  for (int step : path) {
    lines.push_back(line);
    if (step == kWaitForFinger) {
      script += "wait 1000\n";
      line += 1;
    } else if (step == kWaitForGesture) {
      script += "wait " + std::to_string(kHoldMs + 1500) + "\n";
      line += 1;
    } else {
      script += "press " + std::to_string(step) + "\nwait 100\n";
      line += 2;
    }
  }
  return script;
}

void WriteNearlyFullLongTermLog() {
  char host[1024];
  ASSERT_TRUE(plat::ResolvePath(records::kLongTermPath, host, sizeof host));
  std::filesystem::create_directories(std::filesystem::path(host).parent_path());
  std::string line(records::kLongTermLineChars - 2, '0');
  line += "\r\n";
  std::ofstream out(host, std::ios::binary);
  for (uint64_t written = 0; written < records::kLongTermCapacity * 3 / 4; written += line.size()) out << line;
}

class DialogPlacement : public PanelTest, public ::testing::WithParamInterface<Row> {
 protected:
  void BeforeStart() override {
    {
      std::lock_guard<std::mutex> lock(g_dryer.m);
      std::memset(g_dryer.frame, 0, sizeof g_dryer.frame);
      for (const StatusByte& b : GetParam().status) g_dryer.frame[b.index] = b.value;
      lnk::AppendChecksum(g_dryer.frame, lnk::kStatusPayloadLength);
      g_dryer.due = false;
      g_dryer.cycles = 0;
    }
    const uint8_t settings = GetParam().settings;
    if (settings & kStickInserted) {
      char host[1024];
      ASSERT_TRUE(plat::ResolvePath(records::kUsbRoot, host, sizeof host));
      std::filesystem::create_directories(host);
    }
    if (settings & kLongTermLogNearlyFull) WriteNearlyFullLongTermLog();
  }

  lnk::LinkPort TestPort() override {
    return lnk::LinkPort{.context = nullptr, .read = DryerRead, .write = DryerWrite, .purge = DryerPurge};
  }

  void SetUp() override {
    PanelTest::SetUp();
    g_watch = Watch{.gesture = GetParam().gesture};
    if (GetParam().settings & kShutdownRecorded) {
      // Written at once, not queued: the list reads the store when it opens.
      records::StopHistoryWriter();
      ASSERT_EQ(records::AddShutdownRecord(kWarningNode, kWarningCode), records::HistoryResult::Ok);
      records::StartHistoryWriter();
    }
    ASSERT_TRUE(plat::RegisterClass(plat::WindowClass{.name = "PLACEMENT_WATCH", .proc = WatchProc}));
    watch_ = plat::CreateWindow(plat::WindowDesc{.className = "PLACEMENT_WATCH",
                                                 .rect = plat::RectXywh(0, 0, 1, 1)});
    ASSERT_TRUE(plat::SetTimer(watch_, kWatchTimer, 20));
  }

  // Runs the script to its end, serving the loop's requests between messages as the panel's
  // own loop does; every line must have reached its control but the refused one.
  void Run(const std::string& script, int refusedLine) {
    ASSERT_EQ(plat::StartScriptText(script.c_str()), plat::ScriptResult::Ok);
    // The link thread runs in real time while the clock is virtual: each of the first cycles is
    // let finish before the clock moves on, so the answer is decoded before the first press.
    for (int cycle = 0; cycle < 3; ++cycle) {
      plat::RunFor(2 * shell::kLinkTimerMs);
      for (int spin = 0; g_dryer.cycles.load() < lnk::LinkWakeCount() && spin < 2000; ++spin)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (int guard = 0; plat::ScriptRunning() && guard < 600; ++guard) {
      plat::RunFor(100);
      shell::ServeLoopRequests();
    }
    EXPECT_FALSE(plat::ScriptRunning());
    EXPECT_EQ(plat::ScriptErrorLine(), refusedLine) << plat::ScriptErrorText() << "\n" << script;
  }

  bool WasSeen(int templateId) const {
    for (const Seen& s : g_watch.seen) {
      if (s.templateId == templateId) return true;
    }
    return false;
  }

  plat::Hwnd watch_ = plat::kNoWindow;
};

TEST_P(DialogPlacement, EveryDialogOpenedByAFingerLiesWhollyOnTheScreen) {
  const Row& row = GetParam();
  std::vector<int> lines;
  const std::string script = ScriptOf(row.path, lines);
  Run(script, row.refusedStep >= 0 ? lines[row.refusedStep] : 0);
  for (int id : row.opens) EXPECT_TRUE(WasSeen(id)) << "dialog " << id << " was never opened";
  if (row.opens.empty()) EXPECT_TRUE(g_watch.seen.empty()) << "dialog " << g_watch.seen[0].templateId << " opened";
  if (row.refusedStep < 0) EXPECT_EQ(plat::ActiveTopLevel(), screens::MainWindow()) << "a dialog is still open";
  const plat::Rect screen{0, 0, plat::kScreenWidth, plat::kScreenHeight};
  for (const Seen& s : g_watch.seen) {
    EXPECT_EQ(plat::Intersect(s.rect, screen), s.rect)
        << "dialog " << s.templateId << " at " << s.rect.left << "," << s.rect.top << " " << s.rect.Width()
        << " x " << s.rect.Height();
  }
}

INSTANTIATE_TEST_SUITE_P(Openers, DialogPlacement, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
