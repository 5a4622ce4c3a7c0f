// The hardware setup dialog (164) with its sensor selection (613) and the burner mode dialog
// (177): the SELECT steps and forced corrections, what ACCEPT raises, and each dialog driven by
// presses in both layouts.
#include <filesystem>
#include <set>

#include "DialogDriver.h"
#include "dialogs/BurnerModeDialog.h"
#include "dialogs/HardwareSetupDialog.h"
#include "dialogs/HardwareSetupLogic.h"
#include "dialogs/SensorSelectDialog.h"
#include "platform/MessageBox.h"

using namespace testing_support;
using namespace dialogs;

namespace {

DryerStatus Snapshot() {
  DryerStatus s;
  TakeStatusSnapshot(s);
  return s;
}

std::set<int> PendingRows() {
  std::set<int> rows;
  for (int i = 0; i < kCommandRowCount; ++i)
    if (IsPending(RowFromIndex(i))) rows.insert(i + 1);
  return rows;
}

class HardwareSetupLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDryerStatus();
    ResetSettingRequest();
  }
  void TearDown() override {
    ResetDryerStatus();
    ResetSettingRequest();
  }
};

}  // namespace

TEST_F(HardwareSetupLogicTest, SelectStepsWrapAndKeepTheFanHeaterCountWithinWhatTheModulesAllow) {
  struct Case {
    const char* what;
    HardwareGroup group;
    uint8_t modules, fanHeaters, length;
    bool series;
    uint8_t wantModules, wantFanHeaters, wantLength;
  };
  const Case kCases[] = {
      {"one module: One to Two", HardwareGroup::FanHeaters, kModulesOne, kFanHeaterOne, 0, false, kModulesOne,
       kFanHeaterTwo, 0},
      {"one module: Three back to One", HardwareGroup::FanHeaters, kModulesOne, kFanHeaterThree, 0, false, kModulesOne,
       kFanHeaterOne, 0},
      {"two modules: Three to Four", HardwareGroup::FanHeaters, kModulesTwo, kFanHeaterThree, 0, false, kModulesTwo,
       kFanHeaterFour, 0},
      {"two modules: Four to Three", HardwareGroup::FanHeaters, kModulesTwo, kFanHeaterFour, 0, false, kModulesTwo,
       kFanHeaterThree, 0},
      {"three modules: Four to Six", HardwareGroup::FanHeaters, kModulesThree, kFanHeaterFour, 0, false,
       kModulesThree, kFanHeaterSix, 0},
      {"three modules: Six to Four", HardwareGroup::FanHeaters, kModulesThree, kFanHeaterSix, 0, false, kModulesThree,
       kFanHeaterFour, 0},
      {"series: One to Three", HardwareGroup::FanHeaters, kModulesOne, kFanHeaterOne, 0, true, kModulesOne,
       kFanHeaterThree, 0},
      {"series: Three to One", HardwareGroup::FanHeaters, kModulesOne, kFanHeaterThree, 0, true, kModulesOne,
       kFanHeaterOne, 0},
      {"series: Two is not a series count", HardwareGroup::FanHeaters, kModulesOne, kFanHeaterTwo, 0, true,
       kModulesOne, kFanHeaterThree, 0},
      {"two modules after Six gives Three", HardwareGroup::Modules, kModulesOne, kFanHeaterSix, 0, false, kModulesTwo,
       kFanHeaterThree, 0},
      {"two modules after One gives Three", HardwareGroup::Modules, kModulesOne, kFanHeaterOne, 0, false,
       kModulesTwo, kFanHeaterThree, 0},
      {"three modules forces Four", HardwareGroup::Modules, kModulesTwo, kFanHeaterThree, 0, false, kModulesThree,
       kFanHeaterFour, 0},
      {"three modules keep Four", HardwareGroup::Modules, kModulesTwo, kFanHeaterFour, 0, false, kModulesThree,
       kFanHeaterFour, 0},
      {"one module after Six gives Three", HardwareGroup::Modules, kModulesThree, kFanHeaterSix, 0, false, kModulesOne,
       kFanHeaterThree, 0},
      {"40 ft wraps to 8 ft", HardwareGroup::Length, kModulesOne, kFanHeaterOne, 14, false, kModulesOne,
       kFanHeaterOne, 0},
      {"28 ft steps to 34 ft", HardwareGroup::Length, kModulesOne, kFanHeaterOne, 10, false, kModulesOne,
       kFanHeaterOne, 11},
  };
  for (const Case& c : kCases) {
    HardwareSetup h{.fanHeaters = c.fanHeaters, .modules = c.modules, .length = c.length, .series = c.series};
    SelectNext(h, c.group);
    EXPECT_EQ(h.modules, c.wantModules) << c.what;
    EXPECT_EQ(h.fanHeaters, c.wantFanHeaters) << c.what;
    EXPECT_EQ(h.length, c.wantLength) << c.what;
  }
  HardwareSetup h{.fuel = 3, .loadSystem = 2};
  SelectNext(h, HardwareGroup::Fuel);
  SelectNext(h, HardwareGroup::LoadSystem);
  EXPECT_EQ(h.fuel, 0) << "Diesel wraps to LP";
  EXPECT_EQ(h.loadSystem, 0) << "Dual Fill wraps to End Fill";
}

TEST_F(HardwareSetupLogicTest, AcceptRaisesExactlyTheRegistersThatChanged) {
  // A two-module dryer with four units, 24 ft, natural gas, centre fill, dual plenum chosen,
  // grain present and the cycled sampler on.
  const int kBase[][2] = {{kStatusFanHeaterCount, kFanHeaterFour}, {kStatusModuleCount, kModulesTwo},
                          {kStatusFuelType, 1}, {kStatusLoadSystem, 1}, {kStatusDryerLengthIndex, 8},
                          {kStatusOptionBits2, kOptionBits2GrainPresent | kOptionBits2QuickStart},
                          {kStatusHardwareOption137, kHardwareOptionCycledSampler | 0x01}};
  struct Case {
    const char* what;
    void (*edit)(HardwareSetup& h);
    uint8_t optionBits;  // status byte 257
    std::set<int> rows;
  };
  const Case kCases[] = {
      {"nothing changed", [](HardwareSetup&) {}, 0, {}},
      {"length", [](HardwareSetup& h) { SelectNext(h, HardwareGroup::Length); }, 0, {5}},
      {"fuel and load system", [](HardwareSetup& h) { h.fuel = 2; h.loadSystem = 0; }, 0, {3, 4}},
      {"modules force the fan/heaters", [](HardwareSetup& h) { SelectNext(h, HardwareGroup::Modules); }, 0, {2}},
      {"modules to one force Three", [](HardwareSetup& h) {
         SelectNext(h, HardwareGroup::Modules);
         SelectNext(h, HardwareGroup::Modules);
       }, 0, {1, 2}},
      {"grain present off", [](HardwareSetup& h) { h.grainPresent = false; }, 0, {77}},
      {"cycled sampler off", [](HardwareSetup& h) { h.cycledSampler = false; }, 0, {82}},
      {"dual plenum with more than one unit", [](HardwareSetup&) {}, kOptionBitsDualPlenum | 0x10, {70}},
      {"dual plenum kept with one unit", [](HardwareSetup& h) {
         h.modules = kModulesOne;
         h.fanHeaters = kFanHeaterOne;
       }, kOptionBitsDualPlenum, {1, 2}},
  };
  for (const Case& c : kCases) {
    ResetDryerStatus();
    ResetSettingRequest();
    for (const auto& b : kBase) WriteStatusByte(b[0], static_cast<uint8_t>(b[1]));
    WriteStatusByte(kStatusOptionBits, c.optionBits);
    HardwareSetup h = OpenHardwareSetup(Snapshot());
    c.edit(h);
    EXPECT_EQ(AcceptHardwareSetup(h), static_cast<int>(c.rows.size())) << c.what;
    EXPECT_EQ(PendingRows(), c.rows) << c.what;
  }
  // The last case left the dual-plenum bit alone; the one before cleared only that bit.
  ResetSettingRequest();
  WriteStatusByte(kStatusOptionBits, kOptionBitsDualPlenum | 0x10);
  WriteStatusByte(kStatusFanHeaterCount, kFanHeaterTwo);
  WriteStatusByte(kStatusModuleCount, kModulesOne);
  AcceptHardwareSetup(OpenHardwareSetup(Snapshot()));
  EXPECT_EQ(ReadRequestByte(kStatusOptionBits), 0x10) << "Two fan/heaters clear the dual-plenum bit";
  // The bits of 1:23 and 1:37 other than bit 7 go out as the controller has them.
  ResetSettingRequest();
  HardwareSetup h = OpenHardwareSetup(Snapshot());
  h.grainPresent = false;
  h.cycledSampler = false;
  AcceptHardwareSetup(h);
  EXPECT_EQ(ReadRequestByte(kStatusOptionBits2), kOptionBits2QuickStart);
  EXPECT_EQ(ReadRequestByte(kStatusHardwareOption137), 0x01);
}

TEST_F(HardwareSetupLogicTest, AValueNotYetTakenByTheControllerIsWhatTheDialogsOpenOn) {
  WriteStatusByte(kStatusDryerLengthIndex, 3);
  WriteStatusByte(kStatusFuelType, 1);
  RequestByte(kStatusDryerLengthIndex, 9, CommandRow::DryerLength);
  RequestByte(kStatusHardwareOption137, kHardwareOptionCycledSampler, CommandRow::HardwareOption137);
  RequestByte(kStatusMoistureSensorSelection, kSensorSelectionDryNetwork, CommandRow::MoistureSensorSelection);
  WriteRequestByte(kStatusFuelType, 3);  // not raised: the controller's value holds
  const HardwareSetup h = OpenHardwareSetup(Snapshot());
  EXPECT_EQ(h.length, 9);
  EXPECT_EQ(h.fuel, 1);
  EXPECT_TRUE(h.cycledSampler);
  EXPECT_EQ(OpenSensorSelection(Snapshot()), kSensorSelectionDryNetwork);
  // Accepted unchanged, the pending length keeps going out and the fuel is not sent.
  AcceptHardwareSetup(h);
  EXPECT_TRUE(IsPending(CommandRow::DryerLength));
  EXPECT_EQ(ReadRequestByte(kStatusDryerLengthIndex), 9);
  EXPECT_FALSE(IsPending(CommandRow::FuelType));
}

TEST_F(HardwareSetupLogicTest, BurnerModesAreKeptPerUnitPresentInTheHighestRegisters) {
  WriteStatusByte(kStatusFanHeaterCount, kFanHeaterTwo);
  WriteStatusByte(BurnerModeRegister(1), kBurnerModeNoAirSwitchTest);
  EXPECT_EQ(BurnerModeRegister(1), 106);
  EXPECT_EQ(BurnerModeRegister(6), 101);
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(RowRegister(RowInfo(BurnerModeRow(n))), BurnerModeRegister(n)) << n;
  BurnerModes m = OpenBurnerModes(Snapshot());
  EXPECT_EQ(m.units, 2);
  EXPECT_EQ(m.value[0], kBurnerModeNoAirSwitchTest);
  EXPECT_EQ(AcceptBurnerModes(m), 0);
  ToggleFanOnly(m, 2);
  ToggleAirSwitchTest(m, 1);
  ToggleFanOnly(m, 5);  // not present: never sent
  EXPECT_EQ(AcceptBurnerModes(m), 2);
  EXPECT_EQ(PendingRows(), (std::set<int>{38, 39}));
  EXPECT_EQ(ReadRequestByte(105), kBurnerModeFanOnly);
  EXPECT_EQ(ReadRequestByte(106), 0);
}

namespace {

class HardwareSetupDialogs : public HeadlessFixture {
 protected:
  void SetUp() override {
    HeadlessFixture::SetUp();
    if (hasPack_) i18n::EnsureLanguageLoaded();
  }
  static std::string Text(plat::Hwnd dialog, int id) {
    return Narrow(plat::GetWindowText(plat::GetDlgItem(dialog, id)));
  }
  static bool Shown(plat::Hwnd dialog, int id) { return plat::IsWindowVisible(plat::GetDlgItem(dialog, id)); }
  template <int N>
  static int Checked(plat::Hwnd dialog, const int (&radios)[N]) {
    int found = -1;
    for (int i = 0; i < N; ++i)
      if (plat::IsDlgButtonChecked(dialog, radios[i])) found = found == -1 ? i : -2;
    return found;
  }
};

void Screenshot(const char* name) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(DRYER_BINARY_DIR) / "screenshots", ec);
  plat::ScreenshotPng((std::filesystem::path(DRYER_BINARY_DIR) / "screenshots" / name).c_str());
}

}  // namespace

TEST_F(HardwareSetupDialogs, PortDryerWalkShowsSelectsConfirmsAndSendsOnlyTheChanges) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  WriteStatusByte(kStatusFanHeaterCount, kFanHeaterSix);
  WriteStatusByte(kStatusModuleCount, kModulesOne);  // an inconsistent pair from the controller
  WriteStatusByte(kStatusFuelType, 1);
  WriteStatusByte(kStatusDryerLengthIndex, 14);
  WriteStatusByte(kStatusOptionBits, kOptionBitsDualPlenum);
  int fanOnOpening = -1, lengthAfterWrap = -1, fanAfterModules = -1;
  bool grainShownWithOneModule = true, grainShownWithTwo = false, rollsDisabled = false;
  std::string caption, lengthTitle, grainLabel, cycledLabel, fuelLabel;
  Drive({Step{0,
              [&](plat::Hwnd d) {
                caption = Narrow(plat::GetWindowText(d));
                lengthTitle = Text(d, kHwLengthGroup);
                fuelLabel = Text(d, kHwFuelRadios[1]);
                fanOnOpening = Checked(d, kHwFanRadios);
                grainShownWithOneModule = Shown(d, kHwGrainPresent);
                rollsDisabled = !plat::IsWindowEnabled(plat::GetDlgItem(d, kHwRollFourInch));
              }},
         Step{kHwLengthSelect, {}},
         Step{kHwModuleSelect,
              [&](plat::Hwnd d) { lengthAfterWrap = Checked(d, kHwLengthRadios); }},
         Step{kHwGrainPresent,
              [&](plat::Hwnd d) {
                fanAfterModules = Checked(d, kHwFanRadios);
                grainShownWithTwo = Shown(d, kHwGrainPresent);
              }},
         Step{kHwCycledSampler, {}},
         Step{plat::IdYes, {}, plat::kMessageBoxTemplateId},
         Step{kHwSensorSetup,
              [&](plat::Hwnd d) {
                grainLabel = Text(d, kHwGrainPresent);
                cycledLabel = Text(d, kHwCycledSampler);
                Screenshot("hardware_setup_port.png");
              }},
         Step{kSensorWetNetwork, {}, kSensorSelectDialogId},
         Step{kSensorAccept, [](plat::Hwnd) { Screenshot("sensor_select.png"); }, kSensorSelectDialogId},
         Step{kHwAccept, {}, kHardwareSetupDialogId}});
  OpenHardwareSetupDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(caption, "DRYER HARDWARE SETUP - 05 ");
  EXPECT_EQ(lengthTitle, "Dryer Length (ft)");
  EXPECT_EQ(fuelLabel, "Natural Gas");
  EXPECT_EQ(fanOnOpening, kFanHeaterSix);
  EXPECT_FALSE(grainShownWithOneModule);
  EXPECT_TRUE(rollsDisabled) << "the roll size is shown, not set";
  EXPECT_EQ(lengthAfterWrap, 0) << "40 ft wraps to 8 ft";
  EXPECT_EQ(fanAfterModules, kFanHeaterThree) << "two modules after Six give Three";
  EXPECT_TRUE(grainShownWithTwo);
  EXPECT_EQ(grainLabel, "GRAIN PRESENT: ON");
  EXPECT_EQ(cycledLabel, "CYCLED SAMPLER: ON");

  EXPECT_EQ(PendingRows(), (std::set<int>{1, 2, 5, 70, 77, 80, 82}));
  EXPECT_EQ(ReadRequestByte(kStatusFanHeaterCount), kFanHeaterThree);
  EXPECT_EQ(ReadRequestByte(kStatusModuleCount), kModulesTwo);
  EXPECT_EQ(ReadRequestByte(kStatusDryerLengthIndex), 0);
  EXPECT_EQ(ReadRequestByte(kStatusOptionBits) & kOptionBitsDualPlenum, 0);
  EXPECT_EQ(ReadRequestByte(kStatusOptionBits2), kOptionBits2GrainPresent);
  EXPECT_EQ(ReadRequestByte(kStatusHardwareOption137), kHardwareOptionCycledSampler);
  EXPECT_EQ(ReadRequestByte(kStatusMoistureSensorSelection), kSensorSelectionWetNetwork);
}

TEST_F(HardwareSetupDialogs, SeriesDryerNamesItsModelsHidesTheFourGroupsAndStepsOneAndThree) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  WriteStatusByte(kStatusConfigBits, kConfigBitsHardwareChoice);
  WriteStatusByte(kStatusModuleCount, kModulesTwo);
  WriteStatusByte(kStatusFanHeaterCount, kFanHeaterOne);
  std::string fanTitle, modelTitle, firstModel, lastModel, firstNotAvailable;
  bool anyHidden = true, moduleShown = true, loadShown = true, rollShown = true, grainShown = true;
  int afterOne = -1, afterTwo = -1;
  Drive({Step{kHwFanSelect,
              [&](plat::Hwnd d) {
                fanTitle = Text(d, kHwFanGroup);
                modelTitle = Text(d, kHwLengthGroup);
                firstModel = Text(d, kHwLengthRadios[0]);
                lastModel = Text(d, kHwLengthRadios[10]);
                firstNotAvailable = Text(d, kHwLengthRadios[11]);
                moduleShown = Shown(d, kHwModuleGroup) || Shown(d, kHwModuleSelect);
                loadShown = Shown(d, kHwLoadGroup) || Shown(d, kHwLoadSelect);
                rollShown = Shown(d, kHwRollGroup) || Shown(d, kHwRollFourInch);
                grainShown = Shown(d, kHwGrainPresent);
                anyHidden = !Shown(d, kHwFuelGroup) || !Shown(d, kHwLengthSelect) || !Shown(d, kHwCycledSampler);
                Screenshot("hardware_setup_series.png");
              }},
         Step{kHwFanSelect, [&](plat::Hwnd d) { afterOne = Checked(d, kHwFanRadios); }},
         Step{kHwAccept, [&](plat::Hwnd d) { afterTwo = Checked(d, kHwFanRadios); }}});
  OpenHardwareSetupDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_EQ(fanTitle, "Fan/Heater Units");
  EXPECT_EQ(modelTitle, "Dryer Model");
  EXPECT_EQ(firstModel, kSeriesModelNames[0]);
  EXPECT_EQ(lastModel, kSeriesModelNames[10]);
  EXPECT_EQ(firstNotAvailable, "N/A");
  EXPECT_FALSE(moduleShown);
  EXPECT_FALSE(loadShown);
  EXPECT_FALSE(rollShown);
  EXPECT_FALSE(grainShown) << "never on a series dryer, even with two modules";
  EXPECT_FALSE(anyHidden);
  EXPECT_EQ(afterOne, kFanHeaterThree);
  EXPECT_EQ(afterTwo, kFanHeaterOne);
  EXPECT_TRUE(PendingRows().empty()) << "back at One: nothing changed";
}

TEST_F(HardwareSetupDialogs, BurnerModeWalkSendsTheChangedUnitsHelpsAndCancelsAndNeverOpensOnASeriesDryer) {
  ASSERT_TRUE(hasPack_) << "build the language_packs target first";
  WriteStatusByte(kStatusFanHeaterCount, kFanHeaterThree);
  bool fourthShown = true, thirdShown = false;
  std::string fireLabel, airLabel, unitLabel, helpCaption;
  bool helpHasText = false;
  Drive({Step{kBurnerModeHelp,
              [&](plat::Hwnd d) {
                fourthShown = Shown(d, kBurnerFireButtons[3]);
                thirdShown = Shown(d, kBurnerFireButtons[2]) && Shown(d, kBurnerAirSwitchButtons[2]);
                unitLabel = Text(d, kBurnerUnitLabels[2]);
              }},
         Step{plat::IdOk,
              [&](plat::Hwnd box) {
                helpCaption = Narrow(plat::GetWindowText(box));
                helpHasText = plat::FindCapturedText("two buttons", box) != nullptr;
              },
              plat::kMessageBoxTemplateId},
         Step{kBurnerFireButtons[2], {}, kBurnerModeDialogId},
         Step{kBurnerAirSwitchButtons[0], {}},
         Step{kBurnerModeAccept,
              [&](plat::Hwnd d) {
                fireLabel = Text(d, kBurnerFireButtons[2]);
                airLabel = Text(d, kBurnerAirSwitchButtons[0]);
                Screenshot("burner_mode.png");
              }}});
  OpenBurnerModeDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_FALSE(fourthShown);
  EXPECT_TRUE(thirdShown);
  EXPECT_EQ(unitLabel, "FAN/HEATER UNIT 3");
  EXPECT_EQ(helpCaption, "BURNER MODE HELP");
  EXPECT_TRUE(helpHasText);
  EXPECT_EQ(fireLabel, "BURNER: OFF (FAN ONLY)");
  EXPECT_EQ(airLabel, "AIR SWITCH TEST: OFF");
  EXPECT_EQ(PendingRows(), (std::set<int>{37, 39}));
  EXPECT_EQ(ReadRequestByte(104), kBurnerModeFanOnly);
  EXPECT_EQ(ReadRequestByte(106), kBurnerModeNoAirSwitchTest);

  ResetSettingRequest();
  Drive({Step{kBurnerFireButtons[0], {}}, Step{kBurnerModeCancel, {}}});
  OpenBurnerModeDialog(parent_);
  EXPECT_TRUE(AllStepsTaken());
  EXPECT_TRUE(PendingRows().empty()) << "CANCEL sends nothing";

  WriteStatusByte(kStatusConfigBits, kConfigBitsHardwareChoice);
  bool opened = false;
  Drive({Step{kBurnerModeCancel, [&](plat::Hwnd) { opened = true; }}});
  OpenBurnerModeDialog(parent_);
  EXPECT_FALSE(opened) << "a series dryer has no burner modes";
}
