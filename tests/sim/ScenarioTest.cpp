// The scenarios and the plant behind them, stepped directly on simulated time, and one run of
// the default scenario through the panel program at a raised speed.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "link/Framing.h"
#include "link/RegisterMap.h"
#include "sim/Plant.h"
#include "sim/SimServer.h"
#include "sim/Simulator.h"

namespace {

constexpr int kTwoUnitSlots[] = {4, 5};

struct TestItem {
  int index;
  std::vector<uint8_t> data;
};

// Sends one command frame with the given items and returns the answer's kind.
SimAnswer Command(Simulator& sim, std::vector<TestItem> items) {
  std::vector<uint8_t> f = {0, static_cast<uint8_t>(items.size())};
  for (const TestItem& it : items) {
    f.push_back(static_cast<uint8_t>(it.index / lnk::kPage1Base));
    f.push_back(static_cast<uint8_t>(it.index % lnk::kPage1Base));
    f.push_back(static_cast<uint8_t>(it.data.size()));
    f.insert(f.end(), it.data.begin(), it.data.end());
  }
  f[0] = static_cast<uint8_t>(f.size() + 2);
  f.resize(f.size() + 2);
  lnk::AppendChecksum(f.data(), f.size() - 2);
  SimReply reply;
  return SimHandleRequest(sim, f.data(), static_cast<int>(f.size()), reply);
}

bool Bit(const Simulator& sim, lnk::PanelBit b) { return (sim.reg[b.byte] & b.mask) != 0; }

const SimScenario& Scenario(const char* name) {
  const SimScenario* s = SimFindScenario(name);
  EXPECT_NE(s, nullptr) << name;
  return s != nullptr ? *s : SimDefaultScenario();
}

TEST(DefaultScenario, TenMinutesSwingThePlenumsAroundTheirSetpointDryTheCornAndCountBushels) {
  Simulator sim;
  SimInit(sim);
  ASSERT_STREQ(sim.scenario->name, "corn");
  const uint16_t startOutgoing = SimU16HighFirst(sim, lnk::kStatusOutgoingMoisture);
  int16_t lowest[6] = {999, 999, 999, 999, 999, 999}, highest[6] = {};
  int burnerChanges[6] = {};
  bool normalSeen = false, loadSeen = false;
  uint32_t previousBushels = SimU32LowFirst(sim, lnk::kStatusBushelCounter);
  for (int s = 0; s < 600; ++s) {
    const uint8_t burnersBefore[2] = {sim.reg[lnk::kStatusUnitStatusD1 + 4], sim.reg[lnk::kStatusUnitStatusD1 + 5]};
    SimStep(sim, 1);
    for (int slot : kTwoUnitSlots) {
      const int16_t t = SimS16LowFirst(sim, lnk::kStatusPlenumTemp1 + 2 * slot);
      lowest[slot] = std::min(lowest[slot], t);
      highest[slot] = std::max(highest[slot], t);
      burnerChanges[slot] += (sim.reg[lnk::kStatusUnitStatusD1 + slot] ^ burnersBefore[slot - 4]) & lnk::kUnitBurnerOn;
      // The fan runs, its light is on and the burner light follows the flame.
      EXPECT_TRUE(sim.reg[lnk::kStatusUnitStatusA1 + slot] & lnk::kUnitRunFanOn);
      const int unit = kSimUnitSlots - slot;
      EXPECT_EQ(Bit(sim, lnk::kLightBurner[unit - 1]), (sim.reg[lnk::kStatusUnitStatusD1 + slot] & lnk::kUnitBurnerOn) != 0);
      EXPECT_TRUE(Bit(sim, lnk::kLightFan[unit - 1]));
    }
    const uint32_t bushels = SimU32LowFirst(sim, lnk::kStatusBushelCounter);
    EXPECT_GT(bushels, previousBushels) << "second " << s;
    previousBushels = bushels;
    const uint8_t run = sim.reg[lnk::kStatusRunFlags];
    normalSeen |= (run & (lnk::kRunFlagsGrainPresent | lnk::kRunFlagsColumnFull)) == (lnk::kRunFlagsGrainPresent | lnk::kRunFlagsColumnFull);
    loadSeen |= (sim.reg[lnk::kStatusLoadState] & lnk::kLoadStateLoadRunning) != 0 && !(run & lnk::kRunFlagsColumnFull);
  }
  for (int slot : kTwoUnitSlots) {
    const int setpoint = SimS16LowFirst(sim, lnk::kStatusPlenumSetpoint1 + 2 * slot);
    const int differential = sim.reg[lnk::kStatusPlenumDifferential1 + slot];
    // Around the setpoint, within the differential and the overshoot of one step.
    EXPECT_GE(lowest[slot], setpoint - differential - 2) << "slot " << slot;
    EXPECT_LE(highest[slot], setpoint + 3) << "slot " << slot;
    EXPECT_GE(highest[slot], setpoint - 1) << "slot " << slot;
    EXPECT_LE(lowest[slot], setpoint - differential + 2) << "slot " << slot;
    EXPECT_GE(burnerChanges[slot], 4) << "slot " << slot;
  }
  const uint16_t endOutgoing = SimU16HighFirst(sim, lnk::kStatusOutgoingMoisture);
  EXPECT_LT(endOutgoing + 20, startOutgoing);  // at least 2 % drier
  EXPECT_GT(endOutgoing, 140);
  EXPECT_TRUE(sim.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning);
  EXPECT_TRUE(sim.reg[lnk::kStatusRunFlags2] & lnk::kRunFlags2Running);
  EXPECT_TRUE(normalSeen);
  EXPECT_TRUE(loadSeen);
  EXPECT_GT(SimU16HighFirst(sim, lnk::kStatusUnloadPanel173), 0);
  EXPECT_GT(SimU16HighFirst(sim, lnk::kStatusUnloadStatusValue), 0);
}

struct OneMinute {
  const char* name;
  int units;
  bool running;
  bool celsius;
  uint8_t batchState;
  bool warnings;
};

constexpr OneMinute kOneMinute[] = {
    {"corn", 2, true, false, lnk::kBatchStateIdle, false},
    {"six-units", 6, true, false, lnk::kBatchStateIdle, false},
    {"staged-batch", 2, true, false, lnk::kBatchStateHiHeat, false},
    {"cold-start", 2, false, false, lnk::kBatchStateIdle, false},
    {"warning-storm", 2, true, false, lnk::kBatchStateIdle, true},
    {"celsius", 2, true, true, lnk::kBatchStateIdle, false},
};

TEST(Scenarios, EachShowsItsDryerAfterOneMinute) {
  ASSERT_EQ(SimScenarioCount(), static_cast<int>(std::size(kOneMinute)));
  EXPECT_STREQ(SimScenarioAt(0).name, SimDefaultScenario().name);
  EXPECT_EQ(SimFindScenario("no-such-dryer"), nullptr);
  for (const OneMinute& want : kOneMinute) {
    SCOPED_TRACE(want.name);
    Simulator sim;
    SimInitScenario(sim, Scenario(want.name));
    std::set<std::pair<int, int>> warnings;
    for (int s = 0; s < 60; ++s) {
      SimStep(sim, 1);
      if (sim.reg[lnk::kStatusWarningNode] != 0) warnings.insert({sim.reg[lnk::kStatusWarningNode], sim.reg[lnk::kStatusWarningId]});
    }
    EXPECT_EQ(PlantUnitCount(sim), want.units);
    EXPECT_EQ((sim.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning) != 0, want.running);
    EXPECT_EQ((sim.reg[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsCelsius) != 0, want.celsius);
    EXPECT_EQ(sim.reg[lnk::kStatusBatchState], want.batchState);
    EXPECT_EQ(warnings.size() >= 4, want.warnings);
    // Whatever runs or waits, the grain is there and the controller is ready.
    EXPECT_TRUE(sim.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsGrainPresent);
    EXPECT_TRUE(sim.reg[lnk::kStatusSwitches] & lnk::kSwitchesReady);
    for (int slot = 0; slot < kSimUnitSlots; ++slot) {
      const bool present = slot >= kSimUnitSlots - want.units;
      const uint8_t run = sim.reg[lnk::kStatusUnitStatusA1 + slot];
      EXPECT_EQ((run & lnk::kUnitRunFanOn) != 0, present && want.running) << "slot " << slot;
      EXPECT_EQ(Bit(sim, lnk::kSwitchFanAuto[kSimUnitSlots - slot - 1]), present) << "slot " << slot;
      if (present && want.running)
        EXPECT_GT(SimS16LowFirst(sim, lnk::kStatusPlenumTemp1 + 2 * slot), 150) << "slot " << slot;
    }
  }
}

TEST(Scenarios, ColdStartWaitsForStartThenBringsTheFansInTurnAndLightsTheBurnersAfterThem) {
  Simulator sim;
  SimInitScenario(sim, Scenario("cold-start"));
  SimStep(sim, 120);
  EXPECT_FALSE(sim.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning);
  EXPECT_FALSE(Bit(sim, lnk::kLightStart));
  EXPECT_EQ(SimU32LowFirst(sim, lnk::kStatusBushelCounter), 0u);
  const int16_t cold = SimS16LowFirst(sim, lnk::kStatusPlenumTemp6);

  SimPressStart(sim);
  EXPECT_TRUE(Bit(sim, lnk::kSwitchStart));
  EXPECT_TRUE(Bit(sim, lnk::kLightStart));
  SimStep(sim, 1);
  // The top unit (slot 6) first; the next one a fan delay later; no flame before the purge.
  EXPECT_TRUE(sim.reg[lnk::kStatusUnitStatusA1 + 5] & lnk::kUnitRunFanOn);
  EXPECT_FALSE(sim.reg[lnk::kStatusUnitStatusA1 + 4] & lnk::kUnitRunFanOn);
  EXPECT_FALSE(sim.reg[lnk::kStatusUnitStatusD1 + 5] & lnk::kUnitBurnerOn);
  SimStep(sim, SimMinSec(sim, lnk::kStatusFanDelay) + 1);
  EXPECT_TRUE(sim.reg[lnk::kStatusUnitStatusA1 + 4] & lnk::kUnitRunFanOn);
  EXPECT_FALSE(Bit(sim, lnk::kSwitchStart));
  SimStep(sim, 10);
  EXPECT_TRUE(sim.reg[lnk::kStatusUnitStatusD1 + 5] & lnk::kUnitBurnerOn);
  SimStep(sim, 300);
  EXPECT_GT(SimS16LowFirst(sim, lnk::kStatusPlenumTemp6), cold + 80);
  EXPECT_GT(SimU32LowFirst(sim, lnk::kStatusBushelCounter), 0u);
}

TEST(Scenarios, WarningStormShutsDownTheBurnerOfTheNodeThatReportsAndClearsAfterwards) {
  Simulator sim;
  SimInitScenario(sim, Scenario("warning-storm"));
  bool lockedOut = false, quietSeen = false;
  for (int s = 0; s < 90; ++s) {
    SimStep(sim, 1);
    // FAN/HEATER #2 (unit 2, slot 5) reports a shutdown in the storm's second event.
    if (sim.reg[lnk::kStatusWarningNode] == lnk::kNodeFanHeater1 + 1) {
      lockedOut = true;
      EXPECT_TRUE(sim.reg[lnk::kStatusUnitStatusD1 + 4] & lnk::kUnitBurnerFlameFail);
      EXPECT_FALSE(sim.reg[lnk::kStatusUnitStatusD1 + 4] & lnk::kUnitBurnerOn);
      EXPECT_TRUE(sim.reg[lnk::kStatusUnitStatusA1 + 4] & lnk::kUnitRunBurnerFault);
    }
    if (s > 65 && sim.reg[lnk::kStatusWarningNode] == 0 && sim.reg[lnk::kStatusWarningId] == 0) quietSeen = true;
  }
  EXPECT_TRUE(lockedOut);
  EXPECT_TRUE(quietSeen);
  EXPECT_FALSE(sim.reg[lnk::kStatusUnitStatusD1 + 4] & lnk::kUnitBurnerFlameFail);
  // An injected warning wins over the storm while it lasts.
  SimFaults faults;
  faults.warningNode = lnk::kNodeMainIo;
  faults.warningId = 9;
  faults.warningFromS = 0;
  faults.warningToS = 30;
  SimInitScenario(sim, Scenario("warning-storm"), faults);
  SimStep(sim, 20);
  EXPECT_EQ(sim.reg[lnk::kStatusWarningNode], lnk::kNodeMainIo);
  EXPECT_EQ(sim.reg[lnk::kStatusWarningId], 9);
}

TEST(Scenarios, StagedBatchHeatsHighThenLowCoolsAndUnloads) {
  Simulator sim;
  SimInitScenario(sim, Scenario("staged-batch"));
  ASSERT_TRUE(sim.reg[lnk::kStatusOptionBits] & lnk::kOptionBitsTwoHeats);
  // Short presets, so one batch fits in the test.
  SimSetMinSec(sim, lnk::kStatusHiHeatCountdown, 300);
  SimSetMinSec(sim, lnk::kStatusLoHeatCountdown, 400);
  SimSetMinSec(sim, lnk::kStatusCoolCountdown, 200);
  SimSetMinSec(sim, lnk::kStatusUnloadCountdown, 120);
  const uint16_t wet = SimU16HighFirst(sim, lnk::kStatusOutgoingMoisture);
  SimStep(sim, 295);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], lnk::kBatchStateHiHeat);
  EXPECT_GE(SimS16LowFirst(sim, lnk::kStatusPlenumTemp6), 210 - 12);
  SimStep(sim, 10);
  ASSERT_EQ(sim.reg[lnk::kStatusBatchState], lnk::kBatchStateLoHeat);
  SimStep(sim, 385);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], lnk::kBatchStateLoHeat);
  const int16_t low = SimS16LowFirst(sim, lnk::kStatusPlenumTemp6);
  EXPECT_LE(low, 160 + 3);
  EXPECT_GE(low, 160 - 12);
  EXPECT_EQ(SimU32LowFirst(sim, lnk::kStatusBushelCounter), 0u);
  SimStep(sim, 20);
  ASSERT_EQ(sim.reg[lnk::kStatusBatchState], lnk::kBatchStateCool);
  EXPECT_FALSE(sim.reg[lnk::kStatusUnitStatusD1 + 5] & lnk::kUnitBurnerOn);
  EXPECT_TRUE(sim.reg[lnk::kStatusUnitStatusA1 + 5] & lnk::kUnitRunFanOn);
  EXPECT_LT(SimU16HighFirst(sim, lnk::kStatusOutgoingMoisture), wet);
  SimStep(sim, 200);
  ASSERT_EQ(sim.reg[lnk::kStatusBatchState], lnk::kBatchStateUnload);
  SimStep(sim, 60);
  EXPECT_GT(SimU32LowFirst(sim, lnk::kStatusBushelCounter), 0u);
  EXPECT_TRUE(Bit(sim, lnk::kLightUnload));
  SimStep(sim, 70);
  EXPECT_EQ(sim.reg[lnk::kStatusBatchState], lnk::kBatchStateHiHeat);
  EXPECT_EQ(SimU16HighFirst(sim, lnk::kStatusBatchCounter), 1);
}

// What a setting sent by the panel does to the running default dryer within ten minutes.
struct SettingEffect {
  const char* what;
  std::vector<TestItem> items;
  bool (*holds)(const Simulator& before, const Simulator& after);
};

const SettingEffect kSettingEffects[] = {
    {"plenum setpoint of unit 1 down to 140 F",
     {{lnk::kStatusPlenumSetpoint6, {140, 0}}},
     [](const Simulator&, const Simulator& a) { return SimS16LowFirst(a, lnk::kStatusPlenumTemp6) <= 143; }},
    {"burner of unit 1 held off",
     {{lnk::kStatusBurnerMode1 + 5, {lnk::kBurnerModeFanOnly}}},
     [](const Simulator&, const Simulator& a) {
       return !(a.reg[lnk::kStatusUnitStatusD1 + 5] & lnk::kUnitBurnerOn) && (a.reg[lnk::kStatusUnitStatusA1 + 5] & lnk::kUnitRunFanOn) &&
              SimS16LowFirst(a, lnk::kStatusPlenumTemp6) < 100;
     }},
    {"wider differential lets the plenum fall further",
     {{lnk::kStatusPlenumDifferential1 + 5, {30}}},
     [](const Simulator&, const Simulator& a) { return SimS16LowFirst(a, lnk::kStatusPlenumTemp6) >= 150 - 3; }},
    {"a drier moisture setpoint slows the metering rolls",
     {{lnk::kStatusMoistureSetpoint, {0, 120}}},
     [](const Simulator& b, const Simulator& a) {
       return a.reg[lnk::kStatusMeterRollSpeedPercent] < b.reg[lnk::kStatusMeterRollSpeedPercent] &&
              a.reg[lnk::kStatusMeterRoll0] == lnk::kMeterRollInUseLow;
     }},
    {"temperature two-speed control runs at the high speed over the grain setpoint",
     {{lnk::kStatusMoistureControlMode, {lnk::kModeTemperature2Speed}}, {lnk::kStatusGrainTempSetpoint1, {80, 0}}},
     [](const Simulator&, const Simulator& a) {
       return a.reg[lnk::kStatusMeterRollSpeedPercent] == a.reg[lnk::kStatusMeterRoll1] && a.reg[lnk::kStatusMeterRoll0] == lnk::kMeterRollInUseHigh;
     }},
    {"variable control brings the grain to the setpoint within the unload limits",
     {{lnk::kStatusMoistureControlMode, {lnk::kModeMoistureVariable}}, {lnk::kStatusMinUnloadRate, {0, 45}}},
     [](const Simulator&, const Simulator& a) {
       const int error = SimU16HighFirst(a, lnk::kStatusOutgoingMoisture) - SimU16HighFirst(a, lnk::kStatusMoistureSetpoint);
       return a.reg[lnk::kStatusMeterRollSpeedPercent] >= 45 && error >= -8 && error <= 8;
     }},
    {"an out-of-grain time shorter than a load stops the dryer for want of grain",
     {{lnk::kStatusOutOfGrainTime, {0, 20}}},
     [](const Simulator&, const Simulator& a) {
       return !(a.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning) &&
              (a.reg[lnk::kStatusStatusBar271] & lnk::kStopReasonBits) == lnk::kStopReasonNoGrain && !(a.reg[lnk::kStatusSwitches] & lnk::kSwitchesReady);
     }},
    {"the quick-start request starts a waiting dryer (checked below); on a running one it only echoes",
     {{lnk::kStatusOptionBits2, {lnk::kOptionBits2QuickStart}}},
     [](const Simulator&, const Simulator& a) { return (a.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning) != 0; }},
};

TEST(Scenarios, EverySettingThePanelSendsChangesWhatThePlantDoes) {
  for (const SettingEffect& e : kSettingEffects) {
    SCOPED_TRACE(e.what);
    Simulator before;
    SimInit(before);
    SimStep(before, 5);
    Simulator after = before;
    ASSERT_EQ(Command(after, e.items), SimAnswer::Sent);
    SimStep(after, 600);
    SimStep(before, 600);
    EXPECT_TRUE(e.holds(before, after));
  }
  Simulator waiting;
  SimInitScenario(waiting, Scenario("cold-start"));
  Command(waiting, {{lnk::kStatusOptionBits2, {lnk::kOptionBits2QuickStart}}});
  SimStep(waiting, 30);
  EXPECT_TRUE(waiting.reg[lnk::kStatusRunFlags] & lnk::kRunFlagsRunning);
}

TEST(SimServerSpeed, SimulatedTimeRunsFasterAndFaultTimesStayOnTheLine) {
  SimServer server;
  SimServerOptions o;
  o.realPace = false;
  o.speed = 100;
  o.scenario = SimFindScenario("cold-start");
  o.faults.silentAfterS = 1;
  o.faults.silentForS = 5;
  ASSERT_EQ(server.StartOnPty(o), SimServerResult::Ok);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  Simulator s;
  server.Snapshot(s);
  EXPECT_GE(s.timeS, 50.0);
  EXPECT_LT(s.timeS, 100.0);
  // Silence from the line's first second: 100 simulated seconds at this speed.
  EXPECT_DOUBLE_EQ(s.faults.silentAfterS, 100.0);
  EXPECT_FALSE(SimIsSilent(s));
  EXPECT_STREQ(s.scenario->name, "cold-start");
  EXPECT_FALSE(s.running);
  server.PressStart();
  server.Snapshot(s);
  EXPECT_TRUE(s.running);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  server.Snapshot(s);
  EXPECT_TRUE(SimIsSilent(s));
  server.Stop();
}

// ---- The panel program on the default scenario ----

std::string Binary(const char* name) { return std::string(DRYER_BINARY_DIR) + "/bin/" + name; }

int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
}

struct TempFolder {
  TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/dryer-scenario-XXXXXX";
    if (char* made = mkdtemp(pattern.data())) path = made;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

// Short-term log records (18 bytes each) in the root's chart files.
size_t ChartRows(const std::string& root) {
  std::error_code ec;
  size_t bytes = 0;
  const std::filesystem::path folder = std::filesystem::path(root) / "Hard Disk" / "ShortTermDataLog";
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    bytes += std::filesystem::file_size(it->path(), ec);
  return bytes / 18;
}

TEST(ScenarioPrograms, OptionsNameTheScenariosAndRefuseUnknownOnes) {
  if (access(Binary("dryer-sim").c_str(), X_OK) != 0) GTEST_SKIP() << "dryer-sim is not built";
  TempFolder dir;
  const std::string out = " >'" + dir.path + "/out' 2>'" + dir.path + "/err'";
  EXPECT_EQ(Shell("'" + Binary("dryer-sim") + "' --help" + out), 0);
  std::ifstream help(dir.path + "/out");
  const std::string text((std::istreambuf_iterator<char>(help)), std::istreambuf_iterator<char>());
  for (int i = 0; i < SimScenarioCount(); ++i) EXPECT_NE(text.find(SimScenarioAt(i).name), std::string::npos);
  EXPECT_NE(text.find("--speed N"), std::string::npos);
  EXPECT_EQ(Shell("'" + Binary("dryer-sim") + "' --pty --scenario nowhere" + out), 2);
  EXPECT_EQ(Shell("'" + Binary("dryer-sim") + "' --pty --speed 0" + out), 2);
  if (access(Binary("dryer-panel").c_str(), X_OK) != 0) return;
  EXPECT_EQ(Shell("'" + Binary("dryer-panel") + "' --scenario nowhere" + out), 2);
  EXPECT_EQ(Shell("'" + Binary("dryer-panel") + "' --speed fast" + out), 2);
}

TEST(ScenarioPrograms, PanelOnTheDefaultScenarioAtSpeedLogsChartRowsAndTakesItsScreenshot) {
  if (access(Binary("dryer-panel").c_str(), X_OK) != 0) GTEST_SKIP() << "dryer-panel is not built";
  TempFolder root;
  ASSERT_FALSE(root.path.empty());
  ASSERT_EQ(ChartRows(root.path), 0u);
  const std::string shot = root.path + "/main.png";
  std::ofstream(root.path + "/shot.txt") << "wait 2500\nscreenshot " << shot << "\nquit\n";
  // Two and a half seconds at 240 times: ten simulated minutes.
  const std::string command = "'" + Binary("dryer-panel") + "' --headless --root '" + root.path +
                              "' --speed 240 --run-for 20 --script '" + root.path + "/shot.txt' >/dev/null 2>&1";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Shell(command), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  EXPECT_GE(ChartRows(root.path), 1u);
  EXPECT_TRUE(std::filesystem::exists(shot));
}

}  // namespace
